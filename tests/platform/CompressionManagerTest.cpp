#include "platform/compression/DriverCompressionManager.h"
#include "platform/compression/LameCompressionDriver.h"
#include "platform/compression/MpegFormat.h"
#include "platform/compression/SystemCompressionManager.h"
#include "platform/compression/TwoLameCompressionDriver.h"
#include "platform/fakes/FakeCompressionDriver.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace sorvella {
namespace {

WaveFormat pcm(std::uint32_t rate, std::uint16_t channels)
{
    WaveFormat format;
    format.samplesPerSec = rate;
    format.channels = channels;
    format.deriveFields();
    return format;
}

// The descriptions listed for a query, and the result.
std::vector<std::string> listed(CompressionManager& manager, std::uint16_t tag, std::uint32_t rate,
                                std::uint16_t channels, std::uint32_t flags,
                                std::int32_t room = 1800)
{
    WaveFormat query;
    query.formatTag = tag;
    query.samplesPerSec = rate;
    query.channels = channels;
    FormatDetails details{&query, room, {}};
    std::vector<std::string> out;
    EXPECT_EQ(manager.formatEnum(
                  details,
                  [&](const FormatDetails& d) {
                      out.push_back(d.description);
                      EXPECT_EQ(d.format->formatTag, tag);
                      return true;
                  },
                  flags),
              kAcmOk);
    return out;
}

constexpr std::uint32_t kByTagAndRate = kEnumByFormatTag | kEnumBySampleRate;
constexpr std::uint32_t kByAll = kByTagAndRate | kEnumByChannels;

class FakeDriverManagerTest : public ::testing::Test {
protected:
    std::shared_ptr<FakeCompressionDriver> driver = std::make_shared<FakeCompressionDriver>(
        kFormatTagMpegLayer3, std::vector<std::uint32_t>{44100, 22050},
        std::vector<std::int32_t>{64});
    DriverCompressionManager manager{{driver}};
    const WaveFormat stereo = pcm(44100, 2);
    const WaveFormat destination = mpegFormat(kFormatTagMpegLayer3, 44100, 2, 64).format;
};

TEST_F(FakeDriverManagerTest, ListsByTagRateAndChannels)
{
    EXPECT_EQ(
        listed(manager, kFormatTagMpegLayer3, 44100, 2, kByTagAndRate),
        (std::vector<std::string>{"64 kBit/s, 44100 Hz, Stereo", "64 kBit/s, 44100 Hz, Mono"}));
    EXPECT_EQ(listed(manager, kFormatTagMpegLayer3, 22050, 1, kByAll),
              std::vector<std::string>{"64 kBit/s, 22050 Hz, Mono"});
    EXPECT_EQ(listed(manager, kFormatTagMpegLayer3, 0, 0, kEnumByFormatTag).size(), 4U);
    EXPECT_TRUE(listed(manager, kFormatTagMpeg, 44100, 2, kByTagAndRate).empty());
    EXPECT_TRUE(listed(manager, kFormatTagMpegLayer3, 48000, 2, kByTagAndRate).empty());
    // A format whose codec data does not fit the caller's room is not listed.
    EXPECT_TRUE(listed(manager, kFormatTagMpegLayer3, 44100, 2, kByTagAndRate, 29).empty());
    EXPECT_EQ(listed(manager, kFormatTagMpegLayer3, 44100, 2, kByTagAndRate, 30).size(), 2U);

    WaveFormat query;
    FormatDetails tooSmall{&query, 17, {}};
    EXPECT_EQ(manager.formatEnum(
                  tooSmall, [](const FormatDetails&) { return true; }, 0),
              kAcmInvalidParameter);
    int calls = 0;
    FormatDetails details{&query, 1800, {}};
    manager.formatEnum(
        details, [&](const FormatDetails&) { return ++calls < 3; }, 0);
    EXPECT_EQ(calls, 3);
}

TEST_F(FakeDriverManagerTest, OpensOnlyFrom16BitPcmToAListedFormat)
{
    std::unique_ptr<CompressionStream> stream;
    WaveFormat eightBit = stereo;
    eightBit.bitsPerSample = 8;
    eightBit.deriveFields();
    EXPECT_EQ(manager.streamOpen(stream, eightBit, destination, 0), kAcmNotPossible);
    EXPECT_EQ(manager.streamOpen(stream, pcm(44100, 3), destination, 0), kAcmNotPossible);
    WaveFormat unlisted = destination;
    unlisted.avgBytesPerSec = 12345;
    EXPECT_EQ(manager.streamOpen(stream, stereo, unlisted, 0), kAcmNotPossible);
    EXPECT_FALSE(stream);
    driver->refuseRealTime = true;
    EXPECT_EQ(manager.streamOpen(stream, stereo, destination, 0), kAcmNotPossible);
    EXPECT_EQ(manager.streamOpen(stream, stereo, destination, kOpenNonRealTime), kAcmOk);
    EXPECT_TRUE(stream);
}

TEST_F(FakeDriverManagerTest, StreamsKeepTheHeaderRules)
{
    std::unique_ptr<CompressionStream> stream;
    ASSERT_EQ(manager.streamOpen(stream, stereo, destination, 0), kAcmOk);
    std::vector<std::uint8_t> source(5000, 7);
    std::vector<std::uint8_t> target(15000);
    StreamHeader header;
    header.source = source.data();
    header.sourceLength = 5000;
    header.destination = target.data();
    header.destinationLength = 15000;
    EXPECT_EQ(stream->convert(header, 0), kAcmUnprepared);
    ASSERT_EQ(stream->prepareHeader(header), kAcmOk);
    EXPECT_EQ(stream->prepareHeader(header), kAcmInvalidParameter);

    // Only whole source blocks go to the driver; the rest is left.
    header.sourceLength = 4003;
    ASSERT_EQ(stream->convert(header, kConvertBlockAlign), kAcmOk);
    EXPECT_EQ(header.sourceUsed, 4000U);
    EXPECT_EQ(header.destinationUsed, 4000U);
    header.sourceLength = 5001;
    EXPECT_EQ(stream->convert(header, 0), kAcmInvalidParameter);
    header.sourceLength = 4;
    ASSERT_EQ(stream->convert(header, kConvertEnd), kAcmOk);
    EXPECT_EQ(stream->convert(header, 0), kAcmInvalidParameter); // ended
    ASSERT_EQ(driver->conversions.size(), 2U);
    EXPECT_EQ(driver->conversions[0].sourceLength, 4000U);
    EXPECT_TRUE(driver->conversions[1].end);

    EXPECT_EQ(stream->unprepareHeader(header), kAcmOk);
    EXPECT_EQ(stream->unprepareHeader(header), kAcmUnprepared);
    driver->failCloses = true;
    EXPECT_EQ(stream->close(), kAcmError);
    EXPECT_EQ(stream->close(), kAcmInvalidHandle);
}

// Opens `format` from PCM of its rate (or `sourceRate`) and encodes half a
// second of silence to the end; false when the driver refuses it.
bool encodes(CompressionDriver& driver, const WaveFormat& format, std::uint16_t sourceChannels,
             std::uint32_t sourceRate = 0)
{
    std::unique_ptr<DriverStream> stream;
    const WaveFormat source =
        pcm(sourceRate != 0 ? sourceRate : format.samplesPerSec, sourceChannels);
    if (driver.open(source, format, true, stream) != kAcmOk) {
        return false;
    }
    const std::vector<std::uint8_t> silence(source.samplesPerSec / 2 * source.blockAlign, 0);
    std::vector<std::uint8_t> out(silence.size() + 10000);
    std::uint32_t used = 0;
    std::uint32_t written = 0;
    EXPECT_EQ(stream->convert(silence.data(), static_cast<std::uint32_t>(silence.size()), used,
                              out.data(), static_cast<std::uint32_t>(out.size()), written, true),
              kAcmOk);
    EXPECT_EQ(used, silence.size());
    EXPECT_GT(written, 0U);
    EXPECT_EQ(stream->close(), kAcmOk);
    return true;
}

TEST(LameCompressionDriverTest, ListsLamesRatesAndEveryListedFormatEncodes)
{
    LameCompressionDriver driver;
    EXPECT_EQ(driver.formats(44100, 2).size(), 14U);
    EXPECT_EQ(driver.formats(44100, std::nullopt).size(), 28U);
    EXPECT_EQ(driver.formats(22050, 1).front().description, "8 kBit/s, 22050 Hz, Mono");
    EXPECT_EQ(driver.formats(22050, 1).back().description, "160 kBit/s, 22050 Hz, Mono");
    EXPECT_EQ(driver.formats(8000, 2).back().description, "64 kBit/s, 8000 Hz, Stereo");
    EXPECT_TRUE(driver.formats(96000, 2).empty());
    EXPECT_TRUE(driver.formats(44100, 3).empty());
    const std::vector<DriverFormat> all = driver.formats(std::nullopt, std::nullopt);
    EXPECT_EQ(all.size(), 2U * (3 * 14 + 3 * 14 + 3 * 8));
    for (const DriverFormat& f : all) {
        SCOPED_TRACE(f.description);
        EXPECT_TRUE(encodes(driver, f.format, 2));
    }
    // Half the recording's rate (LAME resamples) and a downmix.
    const WaveFormat halfRateMono = mpegFormat(kFormatTagMpegLayer3, 22050, 1, 64).format;
    EXPECT_TRUE(encodes(driver, halfRateMono, 2, 44100));
    EXPECT_FALSE(encodes(driver, mpegFormat(kFormatTagMpegLayer3, 44100, 2, 128).format, 1));
}

// A destination that cannot take the worst case of a block takes fewer
// samples instead of losing what the encoder made.
TEST(LameCompressionDriverTest, TakesNoMoreThanTheDestinationCanHold)
{
    LameCompressionDriver driver;
    std::unique_ptr<DriverStream> stream;
    ASSERT_EQ(driver.open(pcm(44100, 2), mpegFormat(kFormatTagMpegLayer3, 44100, 2, 320).format,
                          true, stream),
              kAcmOk);
    const std::vector<std::uint8_t> source(40000, 0);
    std::vector<std::uint8_t> out(8000);
    std::uint32_t used = 0;
    std::uint32_t written = 0;
    ASSERT_EQ(stream->convert(source.data(), 40000, used, out.data(), 8000, written, false),
              kAcmOk);
    EXPECT_EQ(used, 640U * 4); // (8000 - 7200) * 4 / 5 frames
    EXPECT_LE(written, 8000U);
}

TEST(TwoLameCompressionDriverTest, ListsExactlyTheBitRatesTwoLameTakes)
{
    TwoLameCompressionDriver driver;
    const std::int32_t candidates[] = {8,   16,  24,  32,  40,  48,  56,  64,  80, 96,
                                       112, 128, 144, 160, 192, 224, 256, 320, 384};
    // TwoLAME tells of each refusal on standard error.
    testing::internal::CaptureStderr();
    for (const std::uint32_t rate : {16000U, 22050U, 24000U, 32000U, 44100U, 48000U}) {
        for (const std::uint16_t channels : {std::uint16_t{1}, std::uint16_t{2}}) {
            std::set<std::string> offered;
            for (const DriverFormat& f : driver.formats(rate, channels)) {
                offered.insert(f.description);
            }
            for (const std::int32_t kbps : candidates) {
                const DriverFormat f = mpegFormat(kFormatTagMpeg, rate, channels, kbps);
                SCOPED_TRACE(f.description);
                EXPECT_EQ(encodes(driver, f.format, channels), offered.count(f.description) == 1);
            }
        }
    }
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(driver.formats(std::nullopt, std::nullopt).size(), 3U * 2 * 14 + 3U * 2 * 10);
    EXPECT_TRUE(driver.formats(11025, 2).empty());
    // A downmix, but no resampling.
    EXPECT_TRUE(encodes(driver, mpegFormat(kFormatTagMpeg, 44100, 1, 96).format, 2));
    EXPECT_FALSE(encodes(driver, mpegFormat(kFormatTagMpeg, 22050, 2, 64).format, 2, 44100));
}

TEST(SystemCompressionManagerTest, HasBothMpegDrivers)
{
    const std::shared_ptr<CompressionManager> manager = systemCompressionManager();
    EXPECT_EQ(listed(*manager, kFormatTagMpegLayer3, 44100, 2, kByTagAndRate).size(), 28U);
    EXPECT_EQ(listed(*manager, kFormatTagMpeg, 44100, 1, kByAll).size(), 10U);
}

} // namespace
} // namespace sorvella
