#pragma once

#include "save/codecs/CallbackCodec.h"

#include <opusenc.h>

#include <memory>

namespace sorvella {

// Ogg Opus files made by libopusenc, which resamples to 48 kHz itself and
// writes the target. Its pre-skip and the end of the last page trim the
// decoded sound to the recording's start and end. The formats are bit
// rates (fewer for mono). No options.
class OpusCodec : public CallbackCodec {
public:
    OpusCodec();
    ~OpusCodec() override;

    std::unique_ptr<Codec> clone() const override;

protected:
    std::string describeFormat(std::int32_t formatNumber, const WaveFormat& inputFormat,
                               WaveFormat& formatBuffer, std::int32_t bufferSize) override;
    void startEncoder(std::int32_t formatNumber, const WaveFormat& inputFormat,
                      CallbackTarget& target) override;
    void encodeSamples(const std::int16_t* samples, std::int32_t frames, bool isLast) override;
    std::string finishEncoder() override;

private:
    struct EncoderDeleter {
        void operator()(OggOpusEnc* encoder) const { ope_encoder_destroy(encoder); }
    };

    OpusCodec(const OpusCodec& other);
    void check(int result) const;

    std::unique_ptr<OggOpusEnc, EncoderDeleter> m_encoder;
};

} // namespace sorvella
