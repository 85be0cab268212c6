#pragma once

#include "save/codecs/CallbackCodec.h"

#include <FLAC/stream_encoder.h>

#include <memory>
#include <vector>

namespace sorvella {

// Lossless FLAC files made by libFLAC's stream encoder, which writes the
// target itself: at the end it goes back to the start of the file to enter
// the sample count and MD5 signature into STREAMINFO. The formats are the
// compression levels 5, 0 and 8; any rate libFLAC takes, mono or stereo,
// 16 bits. No options.
class FlacCodec : public CallbackCodec {
public:
    FlacCodec();
    ~FlacCodec() override;

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
        void operator()(FLAC__StreamEncoder* encoder) const
        {
            FLAC__stream_encoder_delete(encoder);
        }
    };

    FlacCodec(const FlacCodec& other);

    std::unique_ptr<FLAC__StreamEncoder, EncoderDeleter> m_encoder;
    // The samples widened as libFLAC takes them.
    std::vector<FLAC__int32> m_wide;
    std::int32_t m_channels = 0;
};

} // namespace sorvella
