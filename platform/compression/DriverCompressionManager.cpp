#include "platform/compression/DriverCompressionManager.h"

namespace sorvella {

namespace {

// The fixed part of a format record; the extra bytes follow it.
constexpr std::int32_t kFormatRecordSize = 18;

bool takesPcm(const WaveFormat& source)
{
    return source.formatTag == kWaveFormatPcm && source.bitsPerSample == 16 &&
           (source.channels == 1 || source.channels == 2) &&
           source.blockAlign == source.channels * 2 && source.samplesPerSec > 0;
}

// A driver's run behind the manager's stream rules: one prepared header,
// whose buffers must not change, and only whole source blocks for the driver.
class ManagedStream final : public CompressionStream {
public:
    ManagedStream(std::unique_ptr<DriverStream> stream, std::uint32_t blockAlign)
        : m_stream(std::move(stream)), m_blockAlign(blockAlign)
    {
    }

    std::int32_t prepareHeader(StreamHeader& header) override
    {
        if (!m_stream) {
            return kAcmInvalidHandle;
        }
        if (m_header != nullptr || header.prepared || header.source == nullptr ||
            header.destination == nullptr) {
            return kAcmInvalidParameter;
        }
        m_header = &header;
        m_prepared = header;
        header.prepared = true;
        return kAcmOk;
    }

    std::int32_t convert(StreamHeader& header, std::uint32_t flags) override
    {
        if (!m_stream) {
            return kAcmInvalidHandle;
        }
        if (&header != m_header || !header.prepared) {
            return kAcmUnprepared;
        }
        if (m_ended || header.source != m_prepared.source ||
            header.destination != m_prepared.destination ||
            header.sourceLength > m_prepared.sourceLength ||
            header.destinationLength > m_prepared.destinationLength) {
            return kAcmInvalidParameter;
        }
        const bool end = (flags & kConvertEnd) != 0;
        const std::uint32_t whole = header.sourceLength / m_blockAlign * m_blockAlign;
        std::uint32_t sourceUsed = 0;
        std::uint32_t destinationUsed = 0;
        const std::int32_t result =
            m_stream->convert(header.source, whole, sourceUsed, header.destination,
                              header.destinationLength, destinationUsed, end);
        header.sourceUsed = sourceUsed;
        header.destinationUsed = destinationUsed;
        m_ended = end && result == kAcmOk;
        return result;
    }

    std::int32_t unprepareHeader(StreamHeader& header) override
    {
        if (&header != m_header || !header.prepared) {
            return kAcmUnprepared;
        }
        header.prepared = false;
        m_header = nullptr;
        return kAcmOk;
    }

    std::int32_t close() override
    {
        if (!m_stream) {
            return kAcmInvalidHandle;
        }
        const std::int32_t result = m_stream->close();
        m_stream.reset();
        return result;
    }

private:
    std::unique_ptr<DriverStream> m_stream;
    std::uint32_t m_blockAlign;
    const StreamHeader* m_header = nullptr;
    StreamHeader m_prepared;
    bool m_ended = false;
};

} // namespace

DriverCompressionManager::DriverCompressionManager(
    std::vector<std::shared_ptr<CompressionDriver>> drivers)
    : m_drivers(std::move(drivers))
{
}

std::int32_t DriverCompressionManager::formatEnum(FormatDetails& details,
                                                  const FormatEnumCallback& callback,
                                                  std::uint32_t flags)
{
    if (details.format == nullptr || details.formatSize < kFormatRecordSize) {
        return kAcmInvalidParameter;
    }
    const WaveFormat query = *details.format;
    const auto rate = (flags & kEnumBySampleRate) != 0
                          ? std::optional<std::uint32_t>(query.samplesPerSec)
                          : std::nullopt;
    const auto channels = (flags & kEnumByChannels) != 0
                              ? std::optional<std::uint16_t>(query.channels)
                              : std::nullopt;
    for (const auto& driver : m_drivers) {
        if ((flags & kEnumByFormatTag) != 0 && driver->formatTag() != query.formatTag) {
            continue;
        }
        for (DriverFormat& format : driver->formats(rate, channels)) {
            if (kFormatRecordSize + format.format.cbSize() > details.formatSize) {
                continue;
            }
            *details.format = std::move(format.format);
            details.description = std::move(format.description);
            if (!callback(details)) {
                return kAcmOk;
            }
        }
    }
    return kAcmOk;
}

std::int32_t DriverCompressionManager::streamOpen(std::unique_ptr<CompressionStream>& stream,
                                                  const WaveFormat& source,
                                                  const WaveFormat& destination,
                                                  std::uint32_t flags)
{
    if (!takesPcm(source)) {
        return kAcmNotPossible;
    }
    for (const auto& driver : m_drivers) {
        if (driver->formatTag() != destination.formatTag) {
            continue;
        }
        bool listed = false;
        for (const DriverFormat& format :
             driver->formats(destination.samplesPerSec, destination.channels)) {
            listed = listed || format.format == destination;
        }
        if (!listed) {
            continue;
        }
        std::unique_ptr<DriverStream> opened;
        const bool realTime = (flags & kOpenNonRealTime) == 0;
        const std::int32_t result = driver->open(source, destination, realTime, opened);
        if (result != kAcmOk) {
            return result;
        }
        if (!opened) {
            return kAcmError;
        }
        stream = std::make_unique<ManagedStream>(std::move(opened), source.blockAlign);
        return kAcmOk;
    }
    return kAcmNotPossible;
}

} // namespace sorvella
