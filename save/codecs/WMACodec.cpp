#include "save/codecs/WMACodec.h"

#include "core/RecException.h"
#include "platform/media/MediaWriter.h"
#include "platform/settings/SettingsStore.h"
#include "save/CodecOptionsUi.h"

#include <array>
#include <cstdio>

namespace sorvella {

namespace {

constexpr std::int32_t kBlockSize = 4096;
constexpr std::uint64_t kTimeFactor = 10'000'000'000'000ULL;
constexpr std::uint64_t kDurationDivisor = 1'000'000;
constexpr std::string_view kExtensionSetting = "WMACodec Extension";
const char* const kWriteFailed = "ASF-Codec: Write failed; disk full?";

struct Profile {
    const char* label;
    std::uint16_t channels;
    std::uint32_t avgBytesPerSec;
};

constexpr std::array<Profile, 7> kProfiles{{
    {"[128kBit/s Stereo]", 2, 16000},
    {"[96kBit/s Stereo]", 2, 12000},
    {"[64kBit/s Stereo]", 2, 8000},
    {"[48kBit/s Stereo]", 2, 6000},
    {"[32kBit/s Stereo]", 2, 4000},
    {"[28kBit/s Stereo]", 2, 3600},
    {"[28kBit/s Mono]", 1, 3600},
}};

const Profile& profile(std::int32_t formatNumber)
{
    if (formatNumber < 1 || formatNumber > static_cast<std::int32_t>(kProfiles.size())) {
        throw RecException("Asf codec: invalid bitrate");
    }
    return kProfiles[static_cast<std::size_t>(formatNumber) - 1];
}

void require(bool passed, const char* message)
{
    if (!passed) {
        throw RecException(message);
    }
}

} // namespace

WMACodec::WMACodec(std::shared_ptr<MediaWriters> writers, std::shared_ptr<WmaExtension> extension)
    : m_writers(std::move(writers)), m_extension(std::move(extension))
{
}

WMACodec::~WMACodec() = default;

// A clone shares the writers and the extension choice; it starts closed.
WMACodec::WMACodec(const WMACodec& other)
    : Codec(other), m_writers(other.m_writers), m_extension(other.m_extension)
{
}

std::string WMACodec::extension() const
{
    return m_extension->value() == 0 ? "wma" : "asf";
}

void WMACodec::saveSettings(SettingsStore& settings) const
{
    settings.writeInt(kDefaultSettingsSection, kExtensionSetting, m_extension->value());
}

void WMACodec::loadSettings(const SettingsStore& settings)
{
    std::int32_t value = m_extension->value();
    settings.readInt(kDefaultSettingsSection, kExtensionSetting, value);
    m_extension->set(value);
}

void WMACodec::configure(CodecOptionsUi& ui)
{
    std::int32_t value = m_extension->value();
    if (ui.editWmaOptions(value)) {
        m_extension->set(value);
    }
    if (m_extension->value() != 0 && m_extension->value() != 1) {
        m_extension->set(0);
    }
}

std::string WMACodec::description() const
{
    return "Windows Media Codec (Asf/Wma Format)";
}

std::string WMACodec::fileTypeName() const
{
    return "Windows Media Format";
}

std::unique_ptr<Codec> WMACodec::clone() const
{
    return std::unique_ptr<Codec>(new WMACodec(*this));
}

bool WMACodec::writesOwnFile() const
{
    return true;
}

std::int32_t WMACodec::inputBlockSize(std::int32_t, const WaveFormat&)
{
    return kBlockSize;
}

void WMACodec::requireInstalled() const
{
    require(m_writers && m_writers->installed(), "ASF-Codec: codec not installed");
}

std::string WMACodec::describeFormat(std::int32_t formatNumber, const WaveFormat& inputFormat,
                                     WaveFormat& formatBuffer, std::int32_t)
{
    requireInstalled();
    const Profile& row = profile(formatNumber);
    formatBuffer.channels = row.channels;
    if (row.channels == 2) {
        formatBuffer.channels = inputFormat.channels == 1 ? 1 : 2;
    }
    formatBuffer.avgBytesPerSec = row.avgBytesPerSec;
    formatBuffer.bitsPerSample = 1;
    return "Windows Media (." + extension() + ") " + row.label;
}

void WMACodec::start(std::int32_t formatNumber, const WaveFormat& inputFormat)
{
    requireInstalled();
    const Profile& row = profile(formatNumber);
    m_sampleTime = 0;
    try {
        openWriter(MediaProfile{static_cast<std::int32_t>(row.avgBytesPerSec * 8), row.channels},
                   inputFormat);
    } catch (const RecException&) {
        m_writer.reset();
        throw;
    }
}

void WMACodec::openWriter(const MediaProfile& mediaProfile, const WaveFormat& inputFormat)
{
    m_writer = m_writers->createWriter();
    require(m_writer != nullptr, "ASF-Codec: cannot create Writer");
    require(m_writer->setProfile(mediaProfile), "ASF-Codec: cannot set compression profile");
    require(m_writer->setOutputFilename(targetFiles(), fileName()),
            "ASF-Codec: invalid output file");
    // Without a byte rate no block would have a duration.
    require(inputFormat.avgBytesPerSec != 0 && m_writer->setInputFormat(inputFormat),
            "ASF-Codec: cannot set media type");
    m_durationFactor = kTimeFactor / inputFormat.avgBytesPerSec;
    require(m_writer->beginWriting(), "ASF-Codec: begin compression");
}

void WMACodec::encode(const std::uint8_t* input, std::int32_t& inputLength, std::uint8_t*,
                      std::int32_t&, bool)
{
    const auto length = static_cast<std::uint64_t>(inputLength);
    const std::int32_t result =
        m_writer->writeSample(input, static_cast<std::size_t>(length), m_sampleTime);
    if (result != 0) {
        char code[16];
        std::snprintf(code, sizeof code, "%x", static_cast<unsigned>(result));
        throw RecException(std::string("ASF-Codec: Write Samples ") + code);
    }
    m_sampleTime += m_durationFactor * length / kDurationDivisor;
    inputLength = 0;
    // The disk took no more: the rest of the sound would be lost as well.
    require(!m_writer->writeFailed(), kWriteFailed);
}

void WMACodec::finish()
{
    if (!m_writer) {
        return;
    }
    m_writer->endWriting();
    const bool failed = m_writer->writeFailed();
    m_writer.reset();
    require(!failed, kWriteFailed);
}

} // namespace sorvella
