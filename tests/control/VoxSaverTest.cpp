// Sound-activated recording on scripted sound: which stretches become files,
// with which margins, and what the store keeps between them.

#include "tests/control/ControllerFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace sorvella {
namespace {

using test::ControllerFixture;
using Answer = Prompter::Answer;

// A stretch of the input: `seconds` of silence, or of a full square wave,
// or of silence opening with a click of `clickSamples` loud samples.
struct Stretch {
    std::int64_t seconds;
    bool loud = false;
    std::int64_t clickSamples = 0;
};
using Script = std::vector<Stretch>;

constexpr std::int16_t kLoud = 20000;           // well above the default trigger level 8192
constexpr std::int64_t kSilenceBytes = 0xC0000; // "Record CDs or LPs" at 32768 bytes/s

class VoxSaverTest : public ControllerFixture, public ::testing::Test {
protected:
    VoxSaverTest()
    {
        useWholeSecondBuffers(); // 32768 bytes a second, 16 s a block
        settings.loopMode = 2;
    }

    void play(const Script& script)
    {
        sound = [script, rate = settings.format.samplesPerSec](std::uint64_t k) -> std::int16_t {
            auto at = static_cast<std::int64_t>(k);
            for (const Stretch& s : script) {
                const std::int64_t samples = s.seconds * rate;
                if (at < samples) {
                    return s.loud || at < s.clickSamples ? (k % 2 == 0 ? kLoud : -kLoud) : 0;
                }
                at -= samples;
            }
            return 0;
        };
    }

    // Second by second, a tick after each, as the timer sees it.
    void run(std::int64_t seconds)
    {
        for (std::int64_t i = 0; i < seconds; ++i) {
            ASSERT_TRUE(record(1));
            controller->onTimer();
            maxHeld = std::max(maxHeld, controller->recorder()->heldBytes());
        }
    }

    // The saved pieces' sound lengths in bytes, in the order they were saved.
    std::vector<std::int64_t> pieces(const std::filesystem::path& folder)
    {
        EXPECT_TRUE(savesFinished());
        std::vector<std::int64_t> sizes;
        for (int n = 1; std::filesystem::exists(folder / ("take" + std::to_string(n) + ".wav"));
             ++n) {
            const test::WavContent wav =
                test::readWav(folder / ("take" + std::to_string(n) + ".wav"));
            EXPECT_TRUE(wav.valid());
            sizes.push_back(static_cast<std::int64_t>(wav.data.size()));
        }
        return sizes;
    }

    // Sizes to within one frame group of the expected seconds.
    void expectPieces(const std::vector<std::int64_t>& sizes, const std::vector<double>& seconds)
    {
        ASSERT_EQ(sizes.size(), seconds.size());
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            EXPECT_LE(std::abs(sizes[i] - static_cast<std::int64_t>(seconds[i] * 32768)), 4)
                << "piece " << i;
        }
    }

    std::int64_t maxHeld = 0;
};

struct ScriptCase {
    const char* name;
    Script script;
    std::vector<double> pieceSeconds; // one second of margin each side, clamped

    friend void PrintTo(const ScriptCase& c, std::ostream* out) { *out << c.name; }
};

class VoxScriptTest : public VoxSaverTest, public ::testing::WithParamInterface<ScriptCase> {};

TEST_P(VoxScriptTest, EachLoudStretchIsOneFileWithItsMargins)
{
    const ScriptCase& c = GetParam();
    play(c.script);
    startRecording();
    std::int64_t total = 0;
    for (const Stretch& s : c.script) {
        total += s.seconds;
    }
    run(total);

    expectPieces(pieces(targets.path()), c.pieceSeconds);
    // The last piece is gone from the store: no sound held, meters dimmed.
    EXPECT_EQ(view.texts.recordedTime, "--:--");
    EXPECT_FALSE(view.meters[Meter::Left].active);
    if (c.pieceSeconds.empty()) {
        EXPECT_LE(maxHeld, kSilenceBytes + 0x80000 + RingStore::kBlockSize);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, VoxScriptTest,
    ::testing::Values(ScriptCase{"Middle", {{10}, {5, true}, {30}}, {7}},
                      ScriptCase{"Two", {{5}, {2, true}, {30}, {3, true}, {30}}, {4, 5}},
                      ScriptCase{"AtTheStart", {{3, true}, {30}}, {4}},
                      ScriptCase{"AfterTwoBlocks", {{35}, {3, true}, {30}}, {5}},
                      ScriptCase{"SilenceOnly", {{200}}, {}},
                      ScriptCase{"ClickOf50", {{10}, {40, false, 50}}, {}},
                      ScriptCase{"ClickOf51", {{10}, {40, false, 51}}, {2 + 50.0 / 16384}}),
    [](const auto& info) { return std::string(info.param.name); });

// A sound longer than the profile's longest piece (an hour) is cut while it
// goes on, up to the end of what is held, and continues in the next piece
// from the block it goes on in.
TEST_F(VoxSaverTest, ALongSoundIsCutAndContinues)
{
    constexpr std::int64_t kLoudSeconds = 3605;
    settings.voxProfile = 20; // "Record phone or radio communication - sharp cut"
    // A low rate keeps the hour small: 8192 bytes a second, 96 s of silence end a piece.
    settings.format.samplesPerSec = 4096;
    settings.format.deriveFields();
    settings.target.sourceFormat = settings.format;
    play({{kLoudSeconds, true}, {100}});
    startRecording();
    for (int tenMinutes = 0; tenMinutes < 6; ++tenMinutes) {
        ASSERT_TRUE(record(600));
    }
    controller->onTimer();
    run(kLoudSeconds - 3600 + 100);

    const std::vector<std::int64_t> sizes = pieces(targets.path());
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_EQ(sizes[0], 3602 * bytesPerSecond()); // from the start to all that was held
    EXPECT_GE(sizes[1], (kLoudSeconds - 3602) * bytesPerSecond());
}

// An error box stays open while the recording goes on: what comes in
// meanwhile is kept, and a failed piece is dropped on Cancel.
TEST_F(VoxSaverTest, SoundRecordedWhileTheErrorBoxIsOpenIsKept)
{
    const std::filesystem::path folder = targets.path() / "later";
    settings.target.fileName = (folder / "take%n.wav").string();
    play({{5}, {2, true}, {24}, {20, true}, {30}});
    startRecording();
    prompter.answers = {Answer::Cancel};
    prompter.duringAsk = [&](const auto&) {
        std::filesystem::create_directory(folder);
        ASSERT_TRUE(record(20));
    };
    run(31);
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].caption, "Sorvella Studio Auto-Saving...");
    EXPECT_EQ(prompter.boxes[0].buttons, Prompter::Buttons::RetryCancel);
    EXPECT_TRUE(prompter.boxes[0].text.starts_with("Error Saving File " + folder.string()));

    run(30);
    expectPieces(pieces(folder), {22});
    EXPECT_TRUE(controller->hasRecorder());
}

// A profile key beyond the table: told once, vox idles, the loop trims.
TEST_F(VoxSaverTest, AnUnknownProfileIsToldOnceAndRecordingGoesOn)
{
    settings.voxProfile = 1001;
    startRecording();
    run(3);
    settings.voxProfile = 1002;
    run(2);

    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[0].text, "voxmode - no such profle");
    EXPECT_TRUE(controller->hasRecorder());
    EXPECT_EQ(controller->keepSeconds(), settings.loopTime.load());
}

// "Edit:" profiles hand the piece to the editor; with nobody to close an
// editor (no display) the piece is saved instead.
class VoxEditTest : public VoxSaverTest, public ::testing::WithParamInterface<bool> {};

TEST_P(VoxEditTest, EditProfilesOpenTheEditorUnlessUnattended)
{
    const bool unattended = GetParam();
    settings.voxProfile = 60;
    play({{5}, {3, true}, {30}});
    test::FakeEditor editor;
    startRecording(&editor);
    controller->setUnattended(unattended);
    run(38);

    EXPECT_EQ(editor.stores.size(), unattended ? 0u : 1u);
    EXPECT_EQ(pieces(targets.path()).size(), unattended ? 1u : 0u);
    EXPECT_TRUE(controller->hasRecorder());
}

INSTANTIATE_TEST_SUITE_P(Attended, VoxEditTest, ::testing::Bool());

} // namespace
} // namespace sorvella
