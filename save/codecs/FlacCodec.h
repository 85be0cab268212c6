#pragma once

#include "save/Codec.h"

#include <FLAC/stream_encoder.h>

#include <memory>
#include <vector>

namespace sorvella {

class CallbackTarget;

// Lossless FLAC files made by libFLAC's stream encoder, which writes the
// target itself: at the end it goes back to the start of the file to enter
// the sample count and MD5 signature into STREAMINFO. The formats are the
// compression levels 5, 0 and 8; any rate libFLAC takes, mono or stereo,
// 16 bits. No options.
class FlacCodec : public Codec {
public:
    FlacCodec();
    ~FlacCodec() override;

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
        void operator()(FLAC__StreamEncoder* encoder) const
        {
            FLAC__stream_encoder_delete(encoder);
        }
    };

    FlacCodec(const FlacCodec& other);
    void raiseEncoderFailure() const;

    std::unique_ptr<FLAC__StreamEncoder, EncoderDeleter> m_encoder;
    std::unique_ptr<CallbackTarget> m_target;
    std::vector<FLAC__int32> m_samples;
    std::int32_t m_frameBytes = 0;
};

} // namespace sorvella
