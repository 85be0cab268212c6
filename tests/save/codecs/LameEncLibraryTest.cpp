#include "platform/system/DlopenLibraryLoader.h"
#include "save/codecs/EncoderLibraryInterface.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <vector>

namespace sorvella::test {
namespace {

// liblame_enc.so as the codecs find it: on the search path of this test
// (its run path names the executable's build folder).
class LameEncLibraryTest : public ::testing::Test {
protected:
    LameEncLibraryTest()
    {
        if (library) {
            init = reinterpret_cast<be::InitStream>(library->findSymbol("beInitStream"));
            encode = reinterpret_cast<be::EncodeChunk>(library->findSymbol("beEncodeChunk"));
            deinit = reinterpret_cast<be::DeinitStream>(library->findSymbol("beDeinitStream"));
            close = reinterpret_cast<be::CloseStream>(library->findSymbol("beCloseStream"));
            version = reinterpret_cast<be::GetVersion>(library->findSymbol("beVersion"));
        }
    }

    static std::array<std::uint8_t, be::kConfigSize> config(std::uint32_t rate, std::uint8_t mode,
                                                            std::uint16_t kbps)
    {
        std::array<std::uint8_t, be::kConfigSize> c{};
        for (int i = 0; i < 4; ++i) {
            c[be::kConfigSampleRateAt + i] = static_cast<std::uint8_t>(rate >> (8 * i));
        }
        c[be::kConfigModeAt] = mode;
        c[be::kConfigBitRateAt] = static_cast<std::uint8_t>(kbps & 0xFF);
        c[be::kConfigBitRateAt + 1] = static_cast<std::uint8_t>(kbps >> 8);
        return c;
    }

    DlopenLibraryLoader loader{std::vector<std::filesystem::path>()};
    std::shared_ptr<LoadedLibrary> library = loader.loadLibrary("liblame_enc.so");
    be::InitStream init = nullptr;
    be::EncodeChunk encode = nullptr;
    be::DeinitStream deinit = nullptr;
    be::CloseStream close = nullptr;
    be::GetVersion version = nullptr;
};

TEST_F(LameEncLibraryTest, ExportsTheFiveEntryPoints)
{
    ASSERT_TRUE(library);
    EXPECT_TRUE(init && encode && deinit && close && version);
    be::Version v{};
    version(&v);
    EXPECT_EQ(v.libraryMajor, 1);
    EXPECT_EQ(v.engineMajor, 3);
}

TEST_F(LameEncLibraryTest, ChunksAreOneFrameOfEveryChannel)
{
    ASSERT_TRUE(init);
    struct Case {
        std::uint8_t mode;
        std::uint32_t samples;
    };
    for (const Case c : {Case{be::kModeStereo, 2304}, Case{be::kModeJointStereo, 2304},
                         Case{be::kModeMono, 1152}}) {
        std::uint32_t samples = 0;
        std::uint32_t room = 0;
        be::Stream stream = 0;
        ASSERT_EQ(init(config(44100, c.mode, 128).data(), &samples, &room, &stream), 0U);
        EXPECT_EQ(samples, c.samples);
        EXPECT_EQ(room, 1152U + 288U + 7200U);
        EXPECT_EQ(close(stream), 0U);
    }
    std::uint32_t samples = 0;
    std::uint32_t room = 0;
    be::Stream stream = 0;
    EXPECT_NE(init(config(44100, 2, 128).data(), &samples, &room, &stream), 0U); // dual channel
    auto otherKind = config(44100, be::kModeStereo, 128);
    otherKind[be::kConfigKindAt] = 1;
    EXPECT_NE(init(otherKind.data(), &samples, &room, &stream), 0U);
}

// The library writes no more than it said a chunk needs, and drains only
// into the room it is given.
TEST_F(LameEncLibraryTest, RefusesWhatCouldOverrunTheCallersBuffer)
{
    ASSERT_TRUE(init);
    std::uint32_t samples = 0;
    std::uint32_t room = 0;
    be::Stream stream = 0;
    ASSERT_EQ(init(config(48000, be::kModeStereo, 320).data(), &samples, &room, &stream), 0U);
    const std::vector<std::int16_t> pcm(samples + 2, 1000);
    std::vector<std::uint8_t> out(room);
    std::uint32_t written = 0;
    EXPECT_NE(encode(stream, samples + 2, pcm.data(), out.data(), &written), 0U);
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(encode(stream, samples, pcm.data(), out.data(), &written), 0U);
        EXPECT_LE(written, room);
    }
    written = 0;
    EXPECT_NE(deinit(stream, out.data(), &written), 0U);
    written = room;
    EXPECT_EQ(deinit(stream, out.data(), &written), 0U);
    EXPECT_GT(written, 0U);
    EXPECT_EQ(close(stream), 0U);
}

// The program's folders come first (beside the executable, then the
// installed private folder): a library in either is found under a name that
// is on no search path.
TEST(DlopenLibraryLoaderTest, LooksInItsDirectoriesFirst)
{
    TempDir dir;
    TempDir empty;
    std::filesystem::copy_file(SORVELLA_LAME_ENC_FILE, dir.path() / "libcopied_enc.so");
    DlopenLibraryLoader beside({empty.path(), dir.path()});
    const std::shared_ptr<LoadedLibrary> copied = beside.loadLibrary("libcopied_enc.so");
    ASSERT_TRUE(copied);
    EXPECT_NE(copied->findSymbol("beInitStream"), nullptr);
    EXPECT_EQ(copied->findSymbol("noSuchSymbol"), nullptr);
    EXPECT_FALSE(DlopenLibraryLoader({empty.path()}).loadLibrary("libcopied_enc.so"));
    EXPECT_FALSE(beside.loadLibrary((dir.path() / "libcopied_enc.so").string()));
    EXPECT_FALSE(beside.loadLibrary(""));
}

} // namespace
} // namespace sorvella::test
