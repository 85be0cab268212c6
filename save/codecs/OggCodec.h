#pragma once

#include "save/Codec.h"
#include "save/codecs/OggPageOutput.h"

#include <memory>

namespace sorvella {

class VorbisEncoder;

// Ogg Vorbis files made by the encoder built into the program (libvorbis,
// libogg). The formats are nominal bit rates chosen by the recording's rate
// and channels; the nominal rate only selects the quality. No options.
class OggCodec : public Codec {
public:
    OggCodec();
    ~OggCodec() override;

    std::string extension() const override;
    std::string description() const override;
    std::string fileTypeName() const override;
    std::unique_ptr<Codec> clone() const override;

protected:
    std::int32_t inputBlockSize(std::int32_t formatNumber, const WaveFormat& inputFormat) override;
    void finish() override;
    void encode(const std::uint8_t* input, std::int32_t& inputLength, std::uint8_t* output,
                std::int32_t& outputLength, bool isLast) override;
    void start(std::int32_t formatNumber, const WaveFormat& inputFormat) override;
    std::string describeFormat(std::int32_t formatNumber, const WaveFormat& inputFormat,
                               WaveFormat& formatBuffer, std::int32_t bufferSize) override;

private:
    OggCodec(const OggCodec& other);

    bool m_stereo = false;
    std::unique_ptr<VorbisEncoder> m_encoder;
    OggPageOutput m_pages;
    bool m_headersPending = false;
};

} // namespace sorvella
