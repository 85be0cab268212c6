#include "platform/DriverCompressionManager.h"

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
            return MMSYSERR_INVALHANDLE;
        }
        if (m_header != nullptr || header.prepared || header.pbSrc == nullptr ||
            header.pbDst == nullptr) {
            return MMSYSERR_INVALPARAM;
        }
        m_header = &header;
        m_prepared = header;
        header.prepared = true;
        return MMSYSERR_NOERROR;
    }

    std::int32_t convert(StreamHeader& header, std::uint32_t flags) override
    {
        if (!m_stream) {
            return MMSYSERR_INVALHANDLE;
        }
        if (&header != m_header || !header.prepared) {
            return ACMERR_UNPREPARED;
        }
        if (m_ended || header.pbSrc != m_prepared.pbSrc || header.pbDst != m_prepared.pbDst ||
            header.cbSrcLength > m_prepared.cbSrcLength ||
            header.cbDstLength > m_prepared.cbDstLength) {
            return MMSYSERR_INVALPARAM;
        }
        const bool end = (flags & ACM_STREAMCONVERTF_END) != 0;
        const std::uint32_t whole = header.cbSrcLength / m_blockAlign * m_blockAlign;
        std::uint32_t sourceUsed = 0;
        std::uint32_t destinationUsed = 0;
        const std::int32_t result = m_stream->convert(header.pbSrc, whole, sourceUsed, header.pbDst,
                                                      header.cbDstLength, destinationUsed, end);
        header.cbSrcLengthUsed = sourceUsed;
        header.cbDstLengthUsed = destinationUsed;
        m_ended = end && result == MMSYSERR_NOERROR;
        return result;
    }

    std::int32_t unprepareHeader(StreamHeader& header) override
    {
        if (&header != m_header || !header.prepared) {
            return ACMERR_UNPREPARED;
        }
        header.prepared = false;
        m_header = nullptr;
        return MMSYSERR_NOERROR;
    }

    std::int32_t close() override
    {
        if (!m_stream) {
            return MMSYSERR_INVALHANDLE;
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
    if (details.pwfx == nullptr || details.cbwfx < kFormatRecordSize) {
        return MMSYSERR_INVALPARAM;
    }
    const WaveFormat query = *details.pwfx;
    const auto rate = (flags & ACM_FORMATENUMF_NSAMPLESPERSEC) != 0
                          ? std::optional<std::uint32_t>(query.samplesPerSec)
                          : std::nullopt;
    const auto channels = (flags & ACM_FORMATENUMF_NCHANNELS) != 0
                              ? std::optional<std::uint16_t>(query.channels)
                              : std::nullopt;
    for (const auto& driver : m_drivers) {
        if ((flags & ACM_FORMATENUMF_WFORMATTAG) != 0 && driver->formatTag() != query.formatTag) {
            continue;
        }
        for (DriverFormat& format : driver->formats(rate, channels)) {
            if (kFormatRecordSize + format.format.cbSize() > details.cbwfx) {
                continue;
            }
            *details.pwfx = std::move(format.format);
            details.szFormat = std::move(format.description);
            if (!callback(details)) {
                return MMSYSERR_NOERROR;
            }
        }
    }
    return MMSYSERR_NOERROR;
}

std::int32_t DriverCompressionManager::streamOpen(std::unique_ptr<CompressionStream>& stream,
                                                  const WaveFormat& source,
                                                  const WaveFormat& destination,
                                                  std::uint32_t flags)
{
    if (!takesPcm(source)) {
        return ACMERR_NOTPOSSIBLE;
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
        const bool realTime = (flags & ACM_STREAMOPENF_NONREALTIME) == 0;
        const std::int32_t result = driver->open(source, destination, realTime, opened);
        if (result != MMSYSERR_NOERROR) {
            return result;
        }
        if (!opened) {
            return MMSYSERR_ERROR;
        }
        stream = std::make_unique<ManagedStream>(std::move(opened), source.blockAlign);
        return MMSYSERR_NOERROR;
    }
    return ACMERR_NOTPOSSIBLE;
}

} // namespace sorvella
