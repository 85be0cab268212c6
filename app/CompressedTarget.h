#pragma once

#include "core/Prompter.h"
#include "core/SaveTarget.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace sorvella {

class CodecCatalogue;

// Wanted bit rate of a compressed target: any format of a codec that writes
// the file's extension.
inline constexpr std::int32_t kAnyBitrate = -1;

// Whether a "-f:" name asks for a compressed target: longer than its suffix
// and ending in ".mp3", ".mp2", ".ogg", ".asf", ".wma", ".flac" or ".opus"
// in any case.
bool isCompressedName(std::string_view name);

// Points `target` at `fileName` (its suffix in lower case names the codec's
// extension) with a codec and format for it. With
// kAnyBitrate a current codec of that extension keeps its format; otherwise
// the current codec, then the catalogue's codecs from number 1, are searched
// for the first format with `bitrate` kBit/s (counted by 1000 or by 1024) and
// the channels of target.sourceFormat, or with kAnyBitrate their first
// format. When none has one, the user is told and the target keeps its codec
// and format (format 1 when it was plain WAV) with the new name.
void selectCompressedTarget(SaveTarget& target, const std::string& fileName, std::int32_t bitrate,
                            const CodecCatalogue& catalogue, Prompter& prompter);

} // namespace sorvella
