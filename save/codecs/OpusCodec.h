#pragma once

#include "save/Codec.h"

#include <opusenc.h>

#include <memory>
#include <vector>

namespace sorvella {

class CallbackTarget;

// Ogg Opus files made by libopusenc, which resamples to 48 kHz itself and
// writes the target. Its pre-skip and the end of the last page trim the
// decoded sound to the recording's start and end. The formats are bit
// rates (fewer for mono). No options.
class OpusCodec : public Codec {
public:
    OpusCodec();
    ~OpusCodec() override;

    std::string extension() const override;
    std::string description() const override;
    std::string fileTypeName() const override;
    std::unique_ptr<Codec> clone() const override;
    bool writesOwnFile() const override;

protected:
    std::int32_t inputBlockSize(std::int32_t formatNumber, const WaveFormat& inputFormat) override;
    void finish() override;
    void encode(const std::uint8_t* input, std::int32_t& inputLength, std::uint8_t* output,
                std::int32_t& outputLength, bool isLast) override;
    void start(std::int32_t formatNumber, const WaveFormat& inputFormat) override;
    std::string describeFormat(std::int32_t formatNumber, const WaveFormat& inputFormat,
                               WaveFormat& formatBuffer, std::int32_t bufferSize) override;

private:
    struct EncoderDeleter {
        void operator()(OggOpusEnc* encoder) const { ope_encoder_destroy(encoder); }
    };

    OpusCodec(const OpusCodec& other);
    void check(int result) const;

    std::unique_ptr<CallbackTarget> m_target;
    // Destroyed first: it may still write to the target.
    std::unique_ptr<OggOpusEnc, EncoderDeleter> m_encoder;
    std::vector<opus_int16> m_samples;
    std::int32_t m_frameBytes = 0;
};

} // namespace sorvella
