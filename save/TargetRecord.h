#pragma once

#include "core/SaveTarget.h"

#include <cstdint>
#include <string>

namespace sorvella {

// The copy a save works on: every field, but with a clone of the codec of
// its own (none when the target has none) and no codec format yet.
SaveTarget copyTarget(const SaveTarget& target);

// The output format of the save: the codec's format `formatNumber` of the
// source format, kept in target.codecFormat with its label in
// target.formatLabel. A number the codec cannot describe (or any number
// without a codec) is lowered until one can be described; at 0 the save is
// plain WAV and the source format is the answer. Asks the codec each time,
// so a changed number or codec is never answered from an old description.
const WaveFormat& codecFormat(SaveTarget& target);

// Assigns a normalised name for plain WAV (format 0).
void setFileName(SaveTarget& target, const std::string& name);

// Assigns a normalised name for an encoded format: `formatNumber`, or the
// current number when that is 0; a result of 0 or less becomes 1.
void setFileName(SaveTarget& target, const std::string& name, std::int32_t formatNumber);

// Expands the target's template for a save from `start` to `end` (calendar
// times) into its normalised file name. Used on a save's own copy.
void applyTimes(SaveTarget& target, std::int64_t start, std::int64_t end);

// Whether something (a file or a folder) has the target's name.
bool targetExists(const SaveTarget& target);

// Whether the target's format can be written: plain WAV always, otherwise
// when the codec describes format `formatNumber` of the source format.
bool formatUsable(const SaveTarget& target);

// Renames the target along the "(n)" series until the name is free.
void nextFreeName(SaveTarget& target);

// The suffix the target's file should end in: ".wav" for plain WAV, else
// "." and the codec's extension.
std::string targetSuffix(const SaveTarget& target);

} // namespace sorvella
