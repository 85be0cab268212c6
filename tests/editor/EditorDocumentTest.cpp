// The editor's document without a window: selection clicks, fade lengths,
// texts, and the paths by which an editor closes or stays open.

#include "editor/EditorDocument.h"
#include "editor/EditorTexts.h"
#include "editor/PlaybackEvents.h"
#include "platform/fakes/FakeFreeSpace.h"
#include "tests/editor/EditorFakes.h"
#include "tests/engine/StoreFixture.h"
#include "tests/support/FakePrompter.h"

#include <gtest/gtest.h>

namespace sorvella::test {
namespace {

constexpr std::int64_t kSeconds = 10;

class NoEvents : public PlaybackEvents {
    void cursorAt(int) override {}
    void playbackEnded() override {}
};

class EditorDocumentTest : public ::testing::Test, public StoreFixture {
protected:
    std::int64_t rate() const { return settings.format.avgBytesPerSec; }

    EditorDocument& open()
    {
        auto store = makeStore();
        appendBytes(*store, std::vector<std::uint8_t>(static_cast<std::size_t>(kSeconds * rate())));
        store->endRecording();
        document = std::make_unique<EditorDocument>(
            EditorDocument::Services{settings, view, prompter, clock, saves, events,
                                     FakePlayback::factory(played), freeSpace},
            std::move(store));
        document->mapping().setWidth(1000);
        return *document;
    }

    RecordingEditorView view;
    FakePrompter prompter;
    FixedClock clock;
    FakeSaves saves;
    FakeFreeSpace freeSpace;
    NoEvents events;
    FakePlayback::Log played;
    std::unique_ptr<EditorDocument> document;
};

TEST_F(EditorDocumentTest, ClicksMoveTheEndsAndPlayThem)
{
    EditorDocument& d = open();
    const std::int64_t held = d.store().heldBytes();
    d.setMode(EditMode::AdjustEnd);
    d.pressAt(500);
    EXPECT_EQ(d.mapping().selectionEnd(), held / 2);
    d.setMode(EditMode::AdjustStart);
    d.pressAt(700); // past the end: the end goes to the end of the sound
    EXPECT_EQ(d.mapping().selectionStart(), held * 7 / 10);
    EXPECT_EQ(d.mapping().selectionEnd(), held);
    d.setMode(EditMode::AdjustEnd);
    d.pressAt(100); // before the start: the start goes to 0
    EXPECT_EQ(d.mapping().selectionStart(), 0);
    EXPECT_EQ(d.mapping().selectionEnd(), held / 10);
    EXPECT_EQ(played.presses, (std::vector<EditMode>{EditMode::AdjustEnd, EditMode::AdjustStart,
                                                     EditMode::AdjustEnd}));
    EXPECT_EQ(view.displays.selectedRange, "0:01");
}

TEST_F(EditorDocumentTest, FadeSliderSetsTheLengthOfTheAdjustedEnd)
{
    EditorDocument& d = open();
    d.moveFadeSlider(9); // "P": nothing changes
    EXPECT_EQ(d.settings().fadeIn, 3);
    EXPECT_FALSE(view.displays.fadeEnabled);
    d.setMode(EditMode::AdjustStart);
    d.moveFadeSlider(9);
    EXPECT_EQ(d.mapping().fadeInBytes(), 7500 * rate() / 1000);
    EXPECT_EQ(view.displays.fadeText, "7.5 s");
    EXPECT_EQ(view.displays.fadeToolTip, "Fade-in time");
    d.setMode(EditMode::AdjustEnd);
    EXPECT_EQ(view.displays.fadeStep, 6); // the default 3000 ms
    d.moveFadeSlider(0);
    EXPECT_EQ(d.mapping().fadeOutBytes(), 0);
    EXPECT_EQ(view.displays.fadeText, "0 s");
    prompter.answers = {Prompter::Answer::No};
    EXPECT_TRUE(d.requestClose());
    EXPECT_EQ(settings.fadeIn, 7500);
    EXPECT_EQ(settings.fadeOut, 0);
}

TEST_F(EditorDocumentTest, TitleNamesTheDayAndBothEnds)
{
    const EditorDocument& d = open();
    EXPECT_EQ(d.recordingStart(), clock.time - kSeconds);
    const std::string title = d.title();
    EXPECT_EQ(title.rfind("Sorvella Edit  -  ", 0), 0u);
    const std::string ends =
        ", " + clockTimeText(clock.time - kSeconds) + " - " + clockTimeText(clock.time);
    EXPECT_EQ(title.substr(title.size() - ends.size()), ends);
}

struct RangeCase {
    double seconds;
    const char* text;
};

void PrintTo(const RangeCase& c, std::ostream* os)
{
    *os << c.seconds << " s";
}

class SelectedRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(SelectedRange, ShowsWholeSeconds)
{
    EXPECT_EQ(selectedRangeText(static_cast<std::int64_t>(GetParam().seconds)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Lengths, SelectedRange,
                         ::testing::Values(RangeCase{3725, "1:02:05"}, RangeCase{65, "1:05"},
                                           RangeCase{59.9, "0:59"}, RangeCase{0, "0:00"}),
                         [](const auto& info) { return "Length" + std::to_string(info.index); });

struct CloseCase {
    const char* name;
    Prompter::Answer answer;
    bool choose;
    bool failStart;
    bool closes;
    std::size_t boxes;
    bool noRoom = false; // "Save anyway?" comes and is answered No
};

void PrintTo(const CloseCase& c, std::ostream* os)
{
    *os << c.name;
}

class ClosingEditor : public EditorDocumentTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingEditor, AsksUnlessSaved)
{
    const CloseCase c = GetParam();
    EditorDocument& d = open();
    prompter.answers = {c.answer, Prompter::Answer::No};
    saves.choose = c.choose;
    saves.failStart = c.failStart;
    if (c.noRoom) {
        freeSpace.setAvailable(0);
    }
    EXPECT_EQ(d.requestClose(), c.closes);
    ASSERT_EQ(prompter.boxes.size(), c.boxes);
    EXPECT_EQ(prompter.boxes[0].text, "Do you want to save?");
    EXPECT_EQ(prompter.boxes[0].caption, "Closing Editor");
    EXPECT_EQ(d.saved(), saves.started == 1);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ClosingEditor,
    ::testing::Values(CloseCase{"Cancel", Prompter::Answer::Cancel, true, false, false, 1},
                      CloseCase{"No", Prompter::Answer::No, true, false, true, 1},
                      CloseCase{"YesSaves", Prompter::Answer::Yes, true, false, true, 1},
                      CloseCase{"YesThenCancelled", Prompter::Answer::Yes, false, false, false, 1},
                      CloseCase{"YesButUnwritable", Prompter::Answer::Yes, true, true, false, 2},
                      CloseCase{"YesButNoRoom", Prompter::Answer::Yes, true, false, false, 2,
                                true}),
    [](const auto& info) { return std::string(info.param.name); });

// A save that cannot start keeps the editor and its sound: closing asks again.
TEST_F(EditorDocumentTest, SaveAndCloseStaysOpenWhenTheSaveCannotStart)
{
    EditorDocument& d = open();
    saves.failStart = true;
    EXPECT_FALSE(d.saveAndClose());
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, "Cannot open targetfile: take.wav");
    EXPECT_EQ(prompter.boxes[0].caption, "");
    EXPECT_FALSE(d.saved());
    saves.failStart = false;
    EXPECT_TRUE(d.saveAndClose());
    EXPECT_TRUE(d.saved());
    EXPECT_TRUE(d.requestClose());
    EXPECT_EQ(prompter.boxes.size(), 1u);
}

} // namespace
} // namespace sorvella::test
