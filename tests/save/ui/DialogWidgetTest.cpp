#include "platform/fakes/FakeSettingsStore.h"
#include "save/CodecCatalogue.h"
#include "save/ui/DialogCodecConfigure.h"
#include "save/ui/DialogCodecFormatSelector.h"
#include "save/ui/DialogTargetFile.h"
#include "tests/save/RecordingCodecFactory.h"
#include "tests/save/ui/WidgetTest.h"
#include "tests/support/FakePrompter.h"
#include "tests/support/TempDir.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace sorvella::test {
namespace {

// The dialog's buttons with that text, in the order of the layout.
QList<QPushButton*> buttons(QWidget& dialog, const QString& text)
{
    QList<QPushButton*> found;
    for (QPushButton* candidate : dialog.findChildren<QPushButton*>()) {
        if (candidate->text() == text) {
            found.append(candidate);
        }
    }
    return found;
}

QPushButton* button(QWidget& dialog, const QString& text)
{
    const QList<QPushButton*> found = buttons(dialog, text);
    EXPECT_EQ(found.size(), 1) << text.toStdString();
    return found.value(0);
}

QString inDir(const TempDir& dir, const std::string& name)
{
    return QString::fromStdString((dir.path() / name).string());
}

class DialogWidgetTest : public WidgetTest {
protected:
    DialogWidgetTest()
    {
        target.fileName = (dir.path() / "old.flac").string();
        target.codec = catalogue.createCodec(1);
    }

    TempDir dir{"dotted.dir"};
    FakeSettingsStore settings;
    CodecCatalogue catalogue{
        settings, {recordingCodec("One", 2), recordingCodec("Two", 0), recordingCodec("Three", 1)}};
    FakePrompter prompter;
    SaveDialogServices services{catalogue, settings, prompter, [](std::int32_t) {}};
    SaveTarget target;
};

TEST_F(DialogWidgetTest, CopyButtonsPutTheExampleIntoTheEditBox)
{
    DialogTargetFile dialog(nullptr, target, services);
    EXPECT_EQ(dialog.windowTitle(), "Select Targetfile...");
    QLineEdit* edit = dialog.findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), inDir(dir, "old.flac"));

    const QList<QPushButton*> copies = buttons(dialog, "Copy");
    ASSERT_EQ(copies.size(), 3);
    copies[0]->click();
    EXPECT_EQ(edit->text(), inDir(dir, "20%y.%o.%d_%h.%m.%s-%H.%M.%S%N.flac"));
    copies[1]->click();
    EXPECT_EQ(edit->text(), inDir(dir, "20%y.%o.%d_%h.%m.%s%N.flac"));
    edit->setText("/some.folder/typed");
    copies[2]->click();
    EXPECT_EQ(edit->text(), "/some.folder/recording %n");

    button(dialog, "Cancel")->click();
    EXPECT_EQ(target.fileName, (dir.path() / "old.flac").string());

    DialogTargetFile again(nullptr, target, services);
    again.findChild<QLineEdit*>()->setText("/some.folder/kept.wav");
    button(again, "OK")->click();
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(target.fileName, "/some.folder/kept.wav");
}

TEST_F(DialogWidgetTest, BrowseOffersTheCatalogueAndAdaptsTheExtension)
{
    DialogTargetFile dialog(nullptr, target, services);
    QLineEdit* edit = dialog.findChild<QLineEdit*>();

    whenOpened<QFileDialog>([this](QFileDialog& files) {
        EXPECT_EQ(files.nameFilters(), QStringList({"Wave Audio (*.wav)", "REC [1] (*.rec)",
                                                    "REC [2] (*.rec)", "Three Format (*.rec)"}));
        EXPECT_EQ(files.selectedNameFilter(), "Wave Audio (*.wav)");
        files.selectNameFilter("REC [2] (*.rec)");
        files.selectFile(inDir(dir, "recording"));
        static_cast<QDialog&>(files).accept(); // QFileDialog hides its accept
    });
    button(dialog, "&Browse...")->click();
    // The dialog adds its default ".wav"; the chosen format wants ".rec".
    EXPECT_EQ(edit->text(), inDir(dir, "recording.rec"));
    ASSERT_EQ(prompter.boxes.size(), 1U);
    EXPECT_EQ(prompter.boxes[0].text,
              "Filename adapted to filetype: " + inDir(dir, "recording.wav").toStdString() +
                  " -> " + inDir(dir, "recording.rec").toStdString());

    whenOpened<QFileDialog>([this](QFileDialog& files) {
        EXPECT_EQ(files.selectedNameFilter(), "REC [2] (*.rec)");
        files.selectNameFilter("Three Format (*.rec)");
        files.selectFile(inDir(dir, "other.rec"));
        whenOpened<DialogCodecFormatSelector>([](DialogCodecFormatSelector& selector) {
            EXPECT_EQ(selector.windowTitle(), "Select Format Options");
            const QComboBox* formats = selector.findChild<QComboBox*>();
            ASSERT_NE(formats, nullptr);
            EXPECT_EQ(formats->count(), 1);
            EXPECT_EQ(formats->currentText(), "REC [1]");
            button(selector, "OK")->click();
        });
        static_cast<QDialog&>(files).accept(); // QFileDialog hides its accept
    });
    button(dialog, "&Browse...")->click();
    EXPECT_EQ(edit->text(), inDir(dir, "other.rec"));

    button(dialog, "OK")->click();
    EXPECT_EQ(target.codecNumber, 3);
    EXPECT_EQ(target.formatNumber, 1);
    EXPECT_EQ(target.codec->description(), "Three");
}

TEST_F(DialogWidgetTest, CatalogueListsTheCodecsOnTheTargetsOne)
{
    DialogCodecConfigure dialog(nullptr, services, 3);
    QListWidget* list = dialog.findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentRow(), 2);
    button(dialog, "Test all Codecs")->click();
    EXPECT_EQ(list->item(1)->text(), "Two (not installed)");
}

} // namespace
} // namespace sorvella::test
