#pragma once

#include "platform/compression/CompressionManager.h"
#include "save/Codec.h"

#include <cstdint>
#include <memory>
#include <string>

namespace sorvella {

// MP3 through the compression manager's MPEG layer 3 driver. Its formats are
// those the driver offers at the recording's rate and then at half of it;
// a mono recording gets mono formats only. Quick compression asks for a
// real-time stream first.
class MP3Codec : public Codec {
public:
    explicit MP3Codec(std::shared_ptr<CompressionManager> manager);

    std::string extension() const override;
    void saveSettings(SettingsStore& settings) const override;
    void loadSettings(const SettingsStore& settings) override;
    void configure(CodecOptionsUi& ui) override;
    std::string description() const override;
    std::string fileTypeName() const override;
    std::unique_ptr<Codec> clone() const override;

protected:
    MP3Codec(std::shared_ptr<CompressionManager> manager, std::uint16_t formatTag,
             bool quickCompression, int sampleRatePasses);
    // The settings; no stream.
    MP3Codec(const MP3Codec& other);

    std::int32_t inputBlockSize(std::int32_t formatNumber, const WaveFormat& inputFormat) override;
    void finish() override;
    void encode(const std::uint8_t* input, std::int32_t& inputLength, std::uint8_t* output,
                std::int32_t& outputLength, bool isLast) override;
    void start(std::int32_t formatNumber, const WaveFormat& inputFormat) override;
    std::string describeFormat(std::int32_t formatNumber, const WaveFormat& inputFormat,
                               WaveFormat& formatBuffer, std::int32_t bufferSize) override;
    void buffersAllocated(std::uint8_t* inputBuffer, std::int32_t inputSize,
                          std::uint8_t* outputBuffer, std::int32_t outputSize) override;
    void buffersReleasing(std::uint8_t* inputBuffer, std::int32_t inputSize,
                          std::uint8_t* outputBuffer, std::int32_t outputSize) override;

private:
    std::shared_ptr<CompressionManager> m_manager;
    std::uint16_t m_formatTag;
    bool m_quickCompression;
    int m_sampleRatePasses;
    std::unique_ptr<CompressionStream> m_stream;
    StreamHeader m_header;
};

} // namespace sorvella
