#pragma once

#include "platform/compression/CompressionManager.h"

#include <memory>

namespace sorvella {

// The compression manager of this system, with a driver for each encoder
// library the program was built with: MPEG layer 3 over libmp3lame and MPEG
// layer 2 over libtwolame. Each call makes a new manager.
std::shared_ptr<CompressionManager> systemCompressionManager();

} // namespace sorvella
