#include "platform/fakes/FakeSettingsStore.h"
#include "save/CodecCatalogue.h"
#include "save/ui/CodecCataloguePresenter.h"
#include "save/ui/FormatSelectorPresenter.h"
#include "save/ui/TargetFilePresenter.h"
#include "tests/save/FakeCodecOptionsUi.h"
#include "tests/save/FakeSaveAsWindows.h"
#include "tests/save/RecordingCodecFactory.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace sorvella::test {
namespace {

struct FakeCatalogueView : CodecCatalogueView {
    void showLines(const std::vector<std::string>& shown) override { lines = shown; }
    void selectLine(std::optional<std::size_t> line) override { selected = line; }
    std::optional<std::size_t> selectedLine() const override { return selected; }

    std::vector<std::string> lines;
    std::optional<std::size_t> selected;
};

struct FakeTargetView : TargetFileView {
    std::string fileName() const override { return edit; }
    void showFileName(const std::string& name) override { edit = name; }
    void showInstalledCodecs(std::int32_t) override {}

    std::string edit;
};

struct FakeSelectorView : FormatSelectorView {
    void showOptions(const std::vector<std::string>& shown) override { options = shown; }
    void selectOption(int index) override { selected = index; }
    int selectedOption() const override { return selected; }

    std::vector<std::string> options;
    int selected = -1;
};

class DialogPresenterTest : public ::testing::Test {
protected:
    FakeSettingsStore settings;
    CodecCatalogue catalogue{
        settings, {recordingCodec("One", 2), recordingCodec("Two", 0), recordingCodec("Three", 1)}};
    FakeSaveAsWindows ui;
    HelpTopicOpener help = [](std::int32_t) {};
};

TEST_F(DialogPresenterTest, CatalogueSelectsTheTargetsCodecAndTestsTheSelection)
{
    FakeCatalogueView view;
    FakeCodecOptionsUi options(ui.prompter);
    CodecCataloguePresenter presenter(view, catalogue, settings, options, help, 2);
    presenter.open();
    EXPECT_EQ(view.lines, (std::vector<std::string>{"One", "Two", "Three"}));
    EXPECT_EQ(view.selected, 1U);

    // The selected line's codec is tested: line 1 is codec 2.
    presenter.testCodec();
    view.selected.reset();
    presenter.codecOptions(); // nothing selected: nothing happens
    view.selected = 2;
    presenter.testCodec();
    ASSERT_EQ(ui.prompter.boxes.size(), 2U);
    EXPECT_EQ(ui.prompter.boxes[0].text,
              "Error initializing Codec:\nRecording codec: no such format while testing Two");
    EXPECT_EQ(ui.prompter.boxes[0].caption, "Testing Codec");
    EXPECT_EQ(ui.prompter.boxes[1].text, "Codec is working successfully.");

    view.selected = 0;
    presenter.codecOptions();
    EXPECT_EQ(ui.prompter.boxes.back().text, "This Codec does not have configurable options.");

    // Codec 0 (or one beyond the list) selects no line.
    CodecCataloguePresenter(view, catalogue, settings, options, help, 0).open();
    EXPECT_FALSE(view.selected);
}

TEST_F(DialogPresenterTest, FormatSelectorOffersLabelsUpToTheFirstEmptyOne)
{
    FakeSelectorView view;
    FormatSelectorPresenter presenter(view, {"64 kBit/s", "128 kBit/s", "", "late"}, help);
    presenter.open();
    EXPECT_EQ(view.options, (std::vector<std::string>{"64 kBit/s", "128 kBit/s"}));
    view.selected = 1;
    EXPECT_EQ(presenter.accept(), 2);

    FakeSelectorView emptyView;
    FormatSelectorPresenter empty(emptyView, {}, help);
    empty.open();
    EXPECT_EQ(empty.accept(), std::nullopt);
}

TEST_F(DialogPresenterTest, TargetFileWorksOnACopyUntilOk)
{
    SaveTarget main;
    main.fileName = "/a.b/old.flac";
    main.codec = catalogue.createCodec(1);
    FakeTargetView view;
    TargetFilePresenter presenter(view, main, catalogue, ui.windows(), help);
    presenter.open();
    EXPECT_EQ(view.edit, "/a.b/old.flac");

    ui.fileChoices = {SaveFileDialog::Choice{"/c.d/chosen.rec", 1}};
    presenter.browse();
    EXPECT_EQ(view.edit, "/c.d/chosen.rec");
    EXPECT_EQ(main.fileName, "/a.b/old.flac");
    EXPECT_EQ(main.formatNumber, 0);

    view.edit = "relative.rec";
    const SaveTarget edited = presenter.accept();
    EXPECT_EQ(edited.fileName, (std::filesystem::current_path() / "relative.rec").string());
    EXPECT_EQ(edited.formatNumber, 1);
    EXPECT_NE(edited.codec, main.codec);
}

} // namespace
} // namespace sorvella::test
