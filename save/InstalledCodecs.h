#pragma once

#include "save/CodecCatalogue.h"

#include <vector>

namespace sorvella {

// The codecs of this program by catalogue number: the one place where a codec
// is registered.
std::vector<CodecCatalogue::Factory> installedCodecs();

} // namespace sorvella
