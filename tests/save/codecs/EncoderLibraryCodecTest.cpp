#include "platform/fakes/FakeLibraryLoader.h"
#include "platform/files/PosixTargetFiles.h"
#include "platform/system/DlopenLibraryLoader.h"
#include "save/codecs/BladeCodec.h"
#include "save/codecs/LameCodec.h"
#include "tests/save/RaisedBy.h"
#include "tests/save/codecs/Tone.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <vector>

namespace sorvella::test {
namespace {

const std::string kNotLoaded =
    "\nNote, that you have to provide this library seperately - it is not included with "
    "Sorvella. Read Help for more details.";

// An encoder library of the test's own: it records every call and writes one
// byte for every two samples. The entry points are plain C functions, so they
// reach the library of the running test through `current`.
struct RecordingLibrary {
    static inline RecordingLibrary* current = nullptr;

    RecordingLibrary() { current = this; }
    ~RecordingLibrary() { current = nullptr; }
    RecordingLibrary(const RecordingLibrary&) = delete;
    RecordingLibrary& operator=(const RecordingLibrary&) = delete;

    std::uint32_t samplesPerChunk = 2304;
    std::uint32_t bufferSize = 8640;
    bool failInit = false;
    bool failEncode = false;
    bool failDeinit = false;

    std::vector<std::array<std::uint8_t, be::kConfigSize>> configs;
    std::vector<std::uint32_t> chunks;
    std::vector<std::uint32_t> deinitRooms;
    int closes = 0;
    int versions = 0;

    static be::Error init(const std::uint8_t* config, std::uint32_t* samples,
                          std::uint32_t* bufferSize, be::Stream* stream)
    {
        std::array<std::uint8_t, be::kConfigSize> copy{};
        std::copy(config, config + be::kConfigSize, copy.begin());
        current->configs.push_back(copy);
        *samples = current->samplesPerChunk;
        *bufferSize = current->bufferSize;
        *stream = 42;
        return current->failInit ? 1 : 0;
    }
    static be::Error encode(be::Stream, std::uint32_t samples, const std::int16_t*,
                            std::uint8_t* output, std::uint32_t* written)
    {
        current->chunks.push_back(samples);
        std::fill_n(output, samples / 2, std::uint8_t{0xAB});
        *written = samples / 2;
        return current->failEncode ? 1 : 0;
    }
    static be::Error deinit(be::Stream, std::uint8_t* output, std::uint32_t* written)
    {
        current->deinitRooms.push_back(*written);
        output[0] = 0xCD;
        *written = 1;
        return current->failDeinit ? 1 : 0;
    }
    static be::Error close(be::Stream)
    {
        ++current->closes;
        return 0;
    }
    static void version(be::Version*) { ++current->versions; }

    static FakeLibraryLoader::Symbols symbols()
    {
        return {{"beInitStream", reinterpret_cast<void*>(&init)},
                {"beEncodeChunk", reinterpret_cast<void*>(&encode)},
                {"beDeinitStream", reinterpret_cast<void*>(&deinit)},
                {"beCloseStream", reinterpret_cast<void*>(&close)},
                {"beVersion", reinterpret_cast<void*>(&version)}};
    }
};

class EncoderLibraryCodecTest : public ::testing::Test {
protected:
    EncoderLibraryCodecTest() { loader->addLibrary("libbladeenc.so", RecordingLibrary::symbols()); }

    std::string target() const { return (dir.path() / "take.mp3").string(); }
    std::uintmax_t targetSize() const { return std::filesystem::file_size(target()); }

    RecordingLibrary library;
    std::shared_ptr<FakeLibraryLoader> loader = std::make_shared<FakeLibraryLoader>();
    BladeCodec codec{loader};
    TempDir dir;
    PosixTargetFiles files;
    const WaveFormat stereo = pcmFormat(44100, 2);
};

TEST_F(EncoderLibraryCodecTest, MissingOrIncompleteLibrariesAreRefused)
{
    BladeCodec missing(std::make_shared<FakeLibraryLoader>());
    EXPECT_EQ(raisedBy([&] { missing.test(); }).message(),
              "cannot load encoder library: libbladeenc.so" + kNotLoaded);

    // The codec never needs the version, but a library without it is not one.
    FakeLibraryLoader::Symbols symbols = RecordingLibrary::symbols();
    symbols.erase("beVersion");
    auto incomplete = std::make_shared<FakeLibraryLoader>();
    incomplete->addLibrary("liblame_enc.so", symbols);
    LameCodec lame(incomplete);
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(raisedBy([&] { lame.test(); }).message(), "encoder library has wrong format");
        EXPECT_EQ(raisedBy([&] { lame.open(files, 9, stereo, target()); }).message(),
                  "encoder library has wrong format");
    }
    EXPECT_TRUE(library.configs.empty());
}

// Real files: an empty directory and the system's search path have no
// libbladeenc.so; a shared library of another kind under the right name has
// the wrong format.
TEST_F(EncoderLibraryCodecTest, RealLoaderFindsNeitherAMissingNorAForeignLibrary)
{
    BladeCodec blade(std::make_shared<DlopenLibraryLoader>(std::vector{dir.path()}));
    EXPECT_EQ(raisedBy([&] { blade.test(); }).message(),
              "cannot load encoder library: libbladeenc.so" + kNotLoaded);

    std::filesystem::copy_file(SORVELLA_FOREIGN_LIBRARY, dir.path() / "libbladeenc.so");
    BladeCodec foreign(std::make_shared<DlopenLibraryLoader>(std::vector{dir.path()}));
    EXPECT_EQ(raisedBy([&] { foreign.test(); }).message(), "encoder library has wrong format");
}

TEST_F(EncoderLibraryCodecTest, FourteenBitRatesAtThreeSampleRates)
{
    const std::int32_t rates[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    for (const std::uint32_t rate : {32000U, 44100U, 48000U}) {
        for (const std::uint16_t channels : {1, 2}) {
            const WaveFormat input = pcmFormat(rate, channels);
            for (std::int32_t n = 1; n <= 14; ++n) {
                std::optional<WaveFormat> format;
                EXPECT_EQ(codec.queryFormat(n, input, &format),
                          "MP3(Blade) [" + std::to_string(rates[n - 1]) + " kBit/s," +
                              std::to_string(rate) + " kHz," + (channels == 2 ? "stereo" : "mono") +
                              "]");
                ASSERT_TRUE(format);
                EXPECT_EQ(format->formatTag, 85); // MPEG layer 3
                EXPECT_EQ(format->avgBytesPerSec, static_cast<std::uint32_t>(rates[n - 1] * 125));
                EXPECT_EQ(format->channels, channels);
                EXPECT_EQ(format->cbSize(), 0);
            }
            for (const std::int32_t beyond : {0, 15}) {
                EXPECT_EQ(raisedBy([&] { codec.queryFormat(beyond, input); }).message(),
                          "Blade-compatible codec: invalid bitrate");
            }
        }
    }
    EXPECT_EQ(LameCodec(loader).clone()->description(),
              "Lame-Encoder compatible library (liblame_enc.so)");
}

TEST_F(EncoderLibraryCodecTest, OtherSampleRatesAreRefusedBeforeTheLibraryIsAsked)
{
    for (const std::uint32_t rate : {22050U, 8000U, 96000U}) {
        const WaveFormat input = pcmFormat(rate, 2);
        const std::string message = "Blade-Interface supports only 32000 44100 and 48000 kbps";
        EXPECT_EQ(raisedBy([&] { codec.queryFormat(1, input); }).message(), message);
        EXPECT_EQ(raisedBy([&] { codec.open(files, 1, input, target()); }).message(), message);
    }
    EXPECT_TRUE(library.configs.empty());
    EXPECT_EQ(library.versions, 1);
}

TEST_F(EncoderLibraryCodecTest, TheConfigurationRecordCarriesRateModeAndBitRate)
{
    codec.open(files, 9, pcmFormat(44100, 1), target());
    codec.close();
    codec.open(files, 14, pcmFormat(48000, 2), target());
    codec.close();
    ASSERT_EQ(library.configs.size(), 2U);
    std::array<std::uint8_t, be::kConfigSize> mono{};
    mono[4] = 0x44; // 44100 = 0xAC44
    mono[5] = 0xAC;
    mono[8] = 3;
    mono[9] = 128;
    EXPECT_EQ(library.configs[0], mono);
    std::array<std::uint8_t, be::kConfigSize> stereo48{};
    stereo48[4] = 0x80; // 48000 = 0xBB80
    stereo48[5] = 0xBB;
    stereo48[8] = 0;
    stereo48[9] = 0x40; // 320 = 0x140
    stereo48[10] = 0x01;
    EXPECT_EQ(library.configs[1], stereo48);
}

// Blocks of twice the chunk's samples; the last block goes with its true
// sample count and then drains the encoder into the room that is left.
TEST_F(EncoderLibraryCodecTest, ChunksAndTheLastPart)
{
    const std::vector<std::uint8_t> pcm(2 * 4608 + 1000, 0);
    codec.open(files, 9, stereo, target());
    codec.write(pcm.data(), pcm.size());
    codec.close();
    EXPECT_EQ(library.chunks, (std::vector<std::uint32_t>{2304, 2304, 500}));
    EXPECT_EQ(library.deinitRooms, std::vector<std::uint32_t>{4608 + 10000 - 250});
    EXPECT_EQ(targetSize(), 1152U + 1152U + 250U + 1U);
    EXPECT_EQ(library.closes, 1);

    library.chunks.clear();
    codec.open(files, 9, stereo, target());
    codec.close();
    EXPECT_EQ(library.chunks, std::vector<std::uint32_t>{2});
    EXPECT_EQ(library.closes, 2);
    EXPECT_EQ(library.versions, 1);
}

TEST_F(EncoderLibraryCodecTest, AnOutputBufferSmallerThanTheLibraryNeedsIsRefused)
{
    library.bufferSize = 2 * 2304 + 10001;
    EXPECT_EQ(raisedBy([&] { codec.open(files, 9, stereo, target()); }).message(),
              "blade-compatible codec: output buffer too small");
    codec.close();
    EXPECT_TRUE(library.chunks.empty());
    EXPECT_EQ(library.closes, 1);
}

TEST_F(EncoderLibraryCodecTest, LibraryFailuresRaise)
{
    library.failInit = true;
    EXPECT_EQ(raisedBy([&] { codec.open(files, 9, stereo, target()); }).message(),
              "blade-compatible codec: initialization failed");
    EXPECT_FALSE(codec.isOpen());

    library.failInit = false;
    library.failEncode = true;
    const std::vector<std::uint8_t> pcm(2 * 4608, 0);
    codec.open(files, 9, stereo, target());
    EXPECT_EQ(raisedBy([&] { codec.write(pcm.data(), pcm.size()); }).message(),
              "blade-compatible codec: coding data failed");
    EXPECT_EQ(raisedBy([&] { codec.close(); }).message(),
              "blade-compatible codec: coding data failed");

    library.failEncode = false;
    library.failDeinit = true;
    codec.open(files, 9, stereo, target());
    EXPECT_EQ(raisedBy([&] { codec.close(); }).message(),
              "blade-compatible codec: coding data (last part) failed");
    EXPECT_EQ(library.closes, 2);
}

TEST_F(EncoderLibraryCodecTest, AClonesUsesTheLoadedLibrary)
{
    codec.test();
    const std::unique_ptr<Codec> copy = codec.clone();
    copy->test();
    copy->open(files, 1, stereo, target());
    copy->close();
    EXPECT_EQ(loader->loads(), 1);
    EXPECT_EQ(library.closes, 1);
}

} // namespace
} // namespace sorvella::test
