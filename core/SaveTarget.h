#pragma once

#include "core/WaveFormat.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace sorvella {

class Codec;

// Where and how a save goes. "Target File" is `fileName` (a template in the
// main target, an expanded name in a save's copy), "Target File Type" is
// `formatNumber` (0 plain WAV, n >= 1 the codec's n-th output format) and
// "Target File Codec" is `codecNumber`.
//
// A plain copy shares the codec object. Anything that hands a target to
// another thread (a save job) takes copyTarget() from save/TargetRecord.h,
// which gives the copy a codec of its own.
struct SaveTarget {
    // The PCM format of the sound being saved (the recording format).
    WaveFormat sourceFormat;
    // The codec's output format for `formatNumber`, filled in by
    // codecFormat() in save/TargetRecord.h; empty in a fresh copy.
    std::optional<WaveFormat> codecFormat;
    // The codec's label of that format.
    std::string formatLabel;
    std::int32_t formatNumber = 0;
    std::string fileName;
    // Null when the catalogue could not create codec `codecNumber`.
    std::shared_ptr<Codec> codec;
    std::int32_t codecNumber = 1;
};

} // namespace sorvella
