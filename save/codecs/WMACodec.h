#pragma once

#include "save/Codec.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace sorvella {

class MediaWriter;
class MediaWriters;
struct MediaProfile;

// The extension of Windows Media files, one choice for the whole process
// ("WMACodec Extension"): 0 ".wma", anything else ".asf". Every WMACodec of
// a catalogue shares one; any thread may read it.
class WmaExtension {
public:
    std::int32_t value() const { return m_value.load(std::memory_order_relaxed); }
    void set(std::int32_t value) { m_value.store(value, std::memory_order_relaxed); }

private:
    std::atomic<std::int32_t> m_value{0};
};

// Windows Media Audio files written by the system's media writer, which
// compresses the PCM blocks by one of seven profiles and writes the file
// itself.
class WMACodec : public Codec {
public:
    WMACodec(std::shared_ptr<MediaWriters> writers, std::shared_ptr<WmaExtension> extension);
    ~WMACodec() override;

    std::string extension() const override;
    void saveSettings(SettingsStore& settings) const override;
    void loadSettings(const SettingsStore& settings) override;
    void configure(CodecOptionsUi& ui) override;
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
    WMACodec(const WMACodec& other);
    void requireInstalled() const;
    void openWriter(const MediaProfile& profile, const WaveFormat& inputFormat);

    // Presentation time of the next block, in 100-nanosecond units.
    std::uint64_t m_sampleTime = 0;
    // 10^13 / input bytes per second: a block of n bytes lasts
    // m_durationFactor * n / 10^6 units.
    std::uint64_t m_durationFactor = 0;
    std::unique_ptr<MediaWriter> m_writer;
    std::shared_ptr<MediaWriters> m_writers;
    std::shared_ptr<WmaExtension> m_extension;
};

} // namespace sorvella
