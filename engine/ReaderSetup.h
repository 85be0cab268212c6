#pragma once

#include "core/Settings.h"
#include "core/WaveFormat.h"

#include <cstdint>

namespace sorvella {

// What a recording takes from the settings. A settings file may hold
// anything, so every value is guarded here, where it is used.
struct ReaderSetup {
    static constexpr std::uint32_t kMinRate = 1000;
    static constexpr std::uint32_t kMaxRate = 768000;
    static constexpr std::uint32_t kMinKernelBuffer = 512;
    static constexpr std::int32_t kMaxBufferTotal = 64 * 1024 * 1024;

    WaveFormat format;      // 16-bit PCM, 1 or 2 channels, derived fields recomputed
    bool rateUsable = true; // false: no device records at this rate
    std::uint32_t kernelBufferSize = kMinKernelBuffer;
    std::uint32_t kernelBufferCount = 1;
};

ReaderSetup readerSetup(const Settings& settings);

// One second of sound halved `granularity` times, rounded up to a power of
// two from 512 on, unless the doubling meets "Buffer Size Total" first.
std::uint32_t kernelBufferSize(std::int32_t bufferSizeTotal, std::int32_t granularity,
                               std::uint32_t avgBytesPerSec);
// As many buffers as "Buffer Size Total" holds, at least one.
std::uint32_t kernelBufferCount(std::int32_t bufferSizeTotal, std::uint32_t kernelBufferSize);

} // namespace sorvella
