#include "platform/fakes/FakeCompressionDriver.h"

#include "platform/compression/CompressionManager.h"
#include "platform/compression/MpegFormat.h"

#include <algorithm>
#include <cstring>

namespace sorvella {

namespace {

class CopyingStream final : public DriverStream {
public:
    CopyingStream(FakeCompressionDriver& driver, std::uint32_t blockAlign)
        : m_driver(driver), m_blockAlign(blockAlign)
    {
    }

    std::int32_t convert(const std::uint8_t* source, std::uint32_t sourceLength,
                         std::uint32_t& sourceUsed, std::uint8_t* destination,
                         std::uint32_t destinationLength, std::uint32_t& destinationUsed,
                         bool end) override
    {
        if (m_driver.failConverts) {
            return kAcmError;
        }
        const std::uint32_t n =
            std::min(sourceLength, destinationLength) / m_blockAlign * m_blockAlign;
        std::memcpy(destination, source, n);
        sourceUsed = n;
        destinationUsed = n;
        m_driver.conversions.push_back({sourceLength, end});
        return kAcmOk;
    }

    std::int32_t close() override
    {
        if (m_driver.failCloses) {
            return kAcmError;
        }
        ++m_driver.closes;
        return kAcmOk;
    }

private:
    FakeCompressionDriver& m_driver;
    std::uint32_t m_blockAlign;
};

} // namespace

FakeCompressionDriver::FakeCompressionDriver(std::uint16_t formatTag,
                                             std::vector<std::uint32_t> sampleRates,
                                             std::vector<std::int32_t> bitRates)
    : m_formatTag(formatTag), m_sampleRates(std::move(sampleRates)), m_bitRates(std::move(bitRates))
{
}

std::vector<DriverFormat>
FakeCompressionDriver::formats(std::optional<std::uint32_t> samplesPerSec,
                               std::optional<std::uint16_t> channels) const
{
    std::vector<DriverFormat> out;
    for (const std::uint32_t rate : m_sampleRates) {
        for (const std::uint16_t count : {std::uint16_t{2}, std::uint16_t{1}}) {
            if ((samplesPerSec && *samplesPerSec != rate) || (channels && *channels != count)) {
                continue;
            }
            for (const std::int32_t kbps : m_bitRates) {
                out.push_back(mpegFormat(m_formatTag, rate, count, kbps));
            }
        }
    }
    return out;
}

std::int32_t FakeCompressionDriver::open(const WaveFormat& source, const WaveFormat& destination,
                                         bool realTime, std::unique_ptr<DriverStream>& stream)
{
    const bool accepted = !refuseStreams && !(realTime && refuseRealTime);
    opens.push_back({source, destination, realTime, accepted});
    if (!accepted) {
        return kAcmNotPossible;
    }
    stream = std::make_unique<CopyingStream>(*this, source.blockAlign);
    return kAcmOk;
}

} // namespace sorvella
