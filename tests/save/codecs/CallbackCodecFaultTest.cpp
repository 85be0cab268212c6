// Faults of the codecs whose libraries write the target themselves: what
// they leave behind must still decode, and the save job's rules hold.

#include "save/codecs/FlacCodec.h"
#include "save/codecs/OpusCodec.h"
#include "tests/save/GatedCodec.h"
#include "tests/save/codecs/DecodedBytes.h"
#include "tests/save/codecs/EncodedSaveFixture.h"
#include "tests/save/codecs/Tone.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace sorvella::test {
namespace {

constexpr std::int32_t kFlacNumber = 7;
constexpr std::int32_t kOpusNumber = 8;
constexpr double kSeconds = 5.0;
constexpr std::uintmax_t kRoom = 20000;

struct CodecCase {
    const char* name;
    std::function<std::shared_ptr<Codec>()> make;
    std::int32_t number;
};

void PrintTo(const CodecCase& c, std::ostream* out)
{
    *out << c.name;
}

class CallbackCodecFaults : public ::testing::Test,
                            public EncodedSaveFixture,
                            public ::testing::WithParamInterface<CodecCase> {
protected:
    std::string fileName(const std::string& stem) const
    {
        return stem + "." + GetParam().make()->extension();
    }

    Result saveTone(const std::string& stem, const std::vector<std::uint8_t>& sound)
    {
        return save(fileName(stem), GetParam().make(), 1, format, sound, GetParam().number);
    }

    WaveFormat format = pcmFormat(44100, 2);
    std::vector<std::uint8_t> sound = tone(format, kSeconds);
};

// The disk fills up halfway: the save fails with the reason, and the file
// kept under its incomplete name decodes to the start of what was saved
// (exactly, for FLAC).
TEST_P(CallbackCodecFaults, AFullDiskKeepsAFileThatDecodesToWhatWasWritten)
{
    beforeRun = [this] { targetFiles.setDiskFull(kRoom); };
    const Result result = saveTone("full", sound);
    EXPECT_EQ(result.failure.rfind("Write failed. Disk full?", 0), 0U) << result.failure;
    const std::string kept = fileName("full (incomplete)");
    ASSERT_EQ(result.files, std::vector<std::string>{kept});
    EXPECT_EQ(std::filesystem::file_size(targetPath(kept)), kRoom);
    const std::optional<DecodedSound> decoded = decodeWithFfmpeg(targetPath(kept));
    ASSERT_TRUE(decoded);
    EXPECT_GT(decoded->seconds(), 0.05);
    EXPECT_LT(decoded->seconds(), kSeconds / 2);
    EXPECT_NEAR(decoded->frequency(), kToneHz, 20);
    if (GetParam().number == kFlacNumber) {
        const std::optional<std::vector<std::uint8_t>> bytes = ffmpegBytes(targetPath(kept));
        ASSERT_TRUE(bytes);
        EXPECT_TRUE(std::equal(bytes->begin(), bytes->end(), sound.begin()));
    }
}

// A write the file refuses halfway ends the save with the reason (shown
// under "Saving failed...") and keeps the part before it.
TEST_P(CallbackCodecFaults, AFailedWriteMidFileIsReportedAndThePartKept)
{
    onProgress = [this](int thousandths) {
        if (thousandths >= 500) {
            targetFiles.failWrites(true);
        }
    };
    const std::vector<std::uint8_t> longer = tone(format, 4 * kSeconds);
    const Result result = saveTone("broken", longer);
    EXPECT_EQ(result.failure.rfind("Write failed. Disk full?", 0), 0U) << result.failure;
    const std::string kept = fileName("broken (incomplete)");
    ASSERT_EQ(result.files, std::vector<std::string>{kept});
    const std::optional<DecodedSound> decoded = decodeWithFfmpeg(targetPath(kept));
    ASSERT_TRUE(decoded);
    EXPECT_GT(decoded->seconds(), 1.0);
    EXPECT_LT(decoded->seconds(), 4 * kSeconds);
}

// While another save encodes, this one waits without touching its file,
// then saves all of it.
TEST_P(CallbackCodecFaults, ASecondSaveWaitsForTheCodec)
{
    auto gate = std::make_shared<Gate>();
    auto first = job(storeWith(100000), codecTarget("a.rec", gate));
    RecordingView firstView;
    first->start(firstView, ThreadPriority::Normal);
    ASSERT_TRUE(waitFor([&] { return gate->held(); }));

    auto store = makeStore();
    appendBytes(*store, sound);
    store->endRecording();
    SaveTarget target;
    target.sourceFormat = format;
    target.fileName = targetPath(fileName("second"));
    target.formatNumber = 1;
    target.codec = GetParam().make();
    target.codecNumber = GetParam().number;
    auto second = job(std::move(store), target);
    RecordingView secondView;
    second->start(secondView, ThreadPriority::Normal);
    ASSERT_TRUE(waitFor([&] { return secondView.showedTitle("codec busy, waiting..."); }));
    EXPECT_EQ(std::filesystem::file_size(target.fileName), 0U);
    gate->open();
    ASSERT_TRUE(waitFor([&] { return firstView.ended() && secondView.ended(); }));
    EXPECT_EQ(secondView.failure(), "");
    const std::optional<DecodedSound> decoded = decodeWithFfmpeg(target.fileName);
    ASSERT_TRUE(decoded);
    EXPECT_NEAR(decoded->seconds(), kSeconds, 0.01);
}

INSTANTIATE_TEST_SUITE_P(
    Codecs, CallbackCodecFaults,
    ::testing::Values(CodecCase{"flac", [] { return std::make_shared<FlacCodec>(); }, kFlacNumber},
                      CodecCase{"opus", [] { return std::make_shared<OpusCodec>(); }, kOpusNumber}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace sorvella::test
