#pragma once

#include "core/SaveTarget.h"

namespace sorvella {

class CodecCatalogue;
class SettingsStore;

// Reads "Target File", "Target File Type" and "Target File Codec" of the
// section "Default Settings"; a value that is missing keeps the field. The
// name is taken as stored (no normalisation). The codec is then made anew
// from its number; when the catalogue has none for it, the target keeps its
// codec only if the number did not change, and otherwise has no codec.
void loadTarget(const SettingsStore& store, const CodecCatalogue& catalogue, SaveTarget& target);

// Writes the three values (without flushing the store).
void saveTarget(SettingsStore& store, const SaveTarget& target);

} // namespace sorvella
