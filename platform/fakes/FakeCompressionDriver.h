#pragma once

#include "platform/compression/CompressionDriver.h"

#include <cstdint>
#include <vector>

namespace sorvella {

// A driver for tests: lists formats of its tag at the given rates and bit
// rates (stereo before mono), "encodes" by copying the PCM bytes, records
// what it is asked and injects faults. The test sets faults and reads the
// records while no stream of it is in use; it must outlive its streams.
class FakeCompressionDriver final : public CompressionDriver {
public:
    struct Open {
        WaveFormat source;
        WaveFormat destination;
        bool realTime;
        bool accepted;
    };
    struct Conversion {
        std::uint32_t sourceLength;
        bool end;
    };

    FakeCompressionDriver(std::uint16_t formatTag, std::vector<std::uint32_t> sampleRates,
                          std::vector<std::int32_t> bitRates);

    // Refuse real-time streams, or every stream, with kAcmNotPossible.
    bool refuseRealTime = false;
    bool refuseStreams = false;
    // Conversions and stream ends fail (the stream is closed all the same).
    bool failConverts = false;
    bool failCloses = false;

    // Every open asked for, and the successful conversions and closes.
    std::vector<Open> opens;
    std::vector<Conversion> conversions;
    int closes = 0;

    std::uint16_t formatTag() const override { return m_formatTag; }
    std::vector<DriverFormat> formats(std::optional<std::uint32_t> samplesPerSec,
                                      std::optional<std::uint16_t> channels) const override;
    std::int32_t open(const WaveFormat& source, const WaveFormat& destination, bool realTime,
                      std::unique_ptr<DriverStream>& stream) override;

private:
    std::uint16_t m_formatTag;
    std::vector<std::uint32_t> m_sampleRates;
    std::vector<std::int32_t> m_bitRates;
};

} // namespace sorvella
