#include "save/TargetFileChoice.h"
#include "platform/fakes/FakeSettingsStore.h"
#include "save/CodecCatalogue.h"
#include "tests/save/FakeSaveAsWindows.h"
#include "tests/save/RecordingCodecFactory.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace sorvella::test {
namespace {

class TargetFileChoiceTest : public ::testing::Test {
protected:
    TargetFileChoiceTest()
    {
        target.codec = catalogue.createCodec(1);
        target.codecNumber = 1;
        target.fileName = name("take.wav");
    }

    std::string name(const std::string& file) const { return (dir.path() / file).string(); }

    bool choose(OverwriteCheck overwrite = OverwriteCheck::Skip)
    {
        return chooseTargetFile(target, catalogue, ui.windows(), overwrite);
    }

    TempDir dir;
    FakeSettingsStore settings;
    // Codec 2 fails its test; codec 4 has three formats.
    CodecCatalogue catalogue{
        settings,
        {recordingCodec("One", 2), recordingCodec("Two", 0), {}, recordingCodec("Four", 3)}};
    SaveTarget target;
    FakeSaveAsWindows ui;
};

TEST_F(TargetFileChoiceTest, ListsWavTheCodecsFormatsAndOtherWorkingCodecs)
{
    target.formatNumber = 2;
    EXPECT_FALSE(choose());
    ASSERT_EQ(ui.requests.size(), 1U);
    const SaveFileDialog::Request& request = ui.requests[0];
    EXPECT_EQ(request.filters, (std::vector<FileTypeFilter>{{"Wave Audio", "wav"},
                                                            {"REC [1]", "rec"},
                                                            {"REC [2]", "rec"},
                                                            {"Four Format", "rec"}}));
    EXPECT_EQ(request.selectedFilter, 2U);

    // A target without a codec can still switch to its own number's codec.
    target.codec.reset();
    target.formatNumber = 5;
    choose();
    EXPECT_EQ(ui.requests[1].filters,
              (std::vector<FileTypeFilter>{
                  {"Wave Audio", "wav"}, {"One Format", "rec"}, {"Four Format", "rec"}}));
    EXPECT_EQ(ui.requests[1].selectedFilter, 0U);
}

TEST_F(TargetFileChoiceTest, ExtensionIsAdaptedToTheChosenFormat)
{
    ui.fileChoices = {SaveFileDialog::Choice{name("take.wav"), 2},
                      SaveFileDialog::Choice{name("folder.v2/recording"), 0}};
    ASSERT_TRUE(choose());
    EXPECT_EQ(target.formatNumber, 2);
    EXPECT_EQ(target.fileName, name("take.rec"));

    ASSERT_TRUE(choose());
    EXPECT_EQ(target.formatNumber, 0);
    EXPECT_EQ(target.fileName, name("folder.v2/recording.wav"));

    ASSERT_EQ(ui.prompter.boxes.size(), 2U);
    EXPECT_EQ(ui.prompter.boxes[0].text,
              "Filename adapted to filetype: " + name("take.wav") + " -> " + name("take.rec"));
    EXPECT_EQ(ui.prompter.boxes[1].text,
              "Filename adapted to filetype: " + name("folder.v2/recording") + " -> " +
                  name("folder.v2/recording.wav"));
}

TEST_F(TargetFileChoiceTest, AnotherCodecAsksForOneOfItsFormats)
{
    ui.fileChoices = {SaveFileDialog::Choice{name("a.rec"), 3},
                      SaveFileDialog::Choice{name("a.rec"), 3}};
    ui.formatChoices = {std::nullopt, 3};

    EXPECT_FALSE(choose());
    EXPECT_EQ(target.codecNumber, 1);
    EXPECT_EQ(target.fileName, name("take.wav"));

    ASSERT_TRUE(choose());
    EXPECT_EQ(ui.formatLists[1], (std::vector<std::string>{"REC [1]", "REC [2]", "REC [3]"}));
    EXPECT_EQ(target.codecNumber, 4);
    EXPECT_EQ(target.codec->description(), "Four");
    EXPECT_EQ(target.formatNumber, 3);
    EXPECT_EQ(target.fileName, name("a.rec"));
    EXPECT_TRUE(ui.prompter.boxes.empty());
}

TEST_F(TargetFileChoiceTest, ExistingFileIsOverwrittenOnlyWhenAllowed)
{
    std::ofstream(name("old.wav")).put('x');
    ui.fileChoices = {SaveFileDialog::Choice{name("old.wav"), 0}, std::nullopt};
    ui.prompter.answers = {Prompter::Answer::No};

    // "No" lets the user choose again; cancelling then keeps the target.
    EXPECT_FALSE(choose(OverwriteCheck::Ask));
    EXPECT_EQ(ui.requests.size(), 2U);
    EXPECT_EQ(ui.requests[1].initialName, name("old.wav"));
    ASSERT_EQ(ui.prompter.boxes.size(), 1U);
    EXPECT_EQ(ui.prompter.boxes[0].text,
              "File " + name("old.wav") + " already exists. Overwrite file?");
    EXPECT_EQ(ui.prompter.boxes[0].caption, "Save As...");
    EXPECT_EQ(target.fileName, name("take.wav"));

    ui.fileChoices = {SaveFileDialog::Choice{name("old.wav"), 0}};
    ASSERT_TRUE(choose(OverwriteCheck::Skip));
    EXPECT_EQ(target.fileName, name("old.wav"));
    EXPECT_EQ(ui.prompter.boxes.size(), 1U);
}

} // namespace
} // namespace sorvella::test
