#include "engine/ReaderSetup.h"

#include <algorithm>

namespace sorvella {
namespace {

// No total at all is a damaged setting rather than a choice: the default.
std::int64_t usableTotal(std::int32_t bufferSizeTotal)
{
    if (bufferSizeTotal <= 0) {
        return Settings{}.bufferSizeTotal;
    }
    return std::clamp<std::int64_t>(bufferSizeTotal, ReaderSetup::kMinKernelBuffer,
                                    ReaderSetup::kMaxBufferTotal);
}

} // namespace

std::uint32_t kernelBufferSize(std::int32_t bufferSizeTotal, std::int32_t granularity,
                               std::uint32_t avgBytesPerSec)
{
    const std::int64_t total = usableTotal(bufferSizeTotal);
    const std::int64_t target = avgBytesPerSec >> std::clamp(granularity, 0, 31);
    std::int64_t size = ReaderSetup::kMinKernelBuffer;
    while (size != total && size < target) {
        size *= 2;
    }
    return static_cast<std::uint32_t>(size);
}

std::uint32_t kernelBufferCount(std::int32_t bufferSizeTotal, std::uint32_t kernelBufferSize)
{
    return static_cast<std::uint32_t>(
        std::max<std::int64_t>(usableTotal(bufferSizeTotal) / kernelBufferSize, 1));
}

ReaderSetup readerSetup(const Settings& settings)
{
    ReaderSetup setup;
    const WaveFormat& stored = settings.format;
    setup.format.formatTag = kWaveFormatPcm;
    setup.format.bitsPerSample = 16;
    setup.format.channels = std::clamp<std::uint16_t>(stored.channels, 1, 2);
    setup.format.samplesPerSec = stored.samplesPerSec;
    setup.rateUsable = stored.samplesPerSec >= ReaderSetup::kMinRate &&
                       stored.samplesPerSec <= ReaderSetup::kMaxRate;
    if (!setup.rateUsable) {
        setup.format.samplesPerSec = ReaderSetup::kMinRate; // keeps the arithmetic sane
    }
    setup.format.deriveFields();
    setup.kernelBufferSize = kernelBufferSize(settings.bufferSizeTotal, settings.bufferGranularity,
                                              setup.format.avgBytesPerSec);
    setup.kernelBufferCount = kernelBufferCount(settings.bufferSizeTotal, setup.kernelBufferSize);
    return setup;
}

} // namespace sorvella
