#include "save/ui/DialogCodecMP3Codec.h"
#include "save/ui/QtCodecOptionsUi.h"
#include "tests/save/ui/WidgetTest.h"
#include "tests/support/FakePrompter.h"

#include <QCheckBox>
#include <QPushButton>

namespace sorvella::test {
namespace {

class CodecOptionsDialogTest : public WidgetTest {
protected:
    FakePrompter prompter;
    QtCodecOptionsUi ui{nullptr, prompter};
};

QPushButton* button(QDialog& dialog, const QString& text)
{
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->text() == text) {
            return b;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

TEST_F(CodecOptionsDialogTest, Mp3OptionsTakeTheBoxOnOkOnly)
{
    whenOpened<DialogCodecMP3Codec>([](DialogCodecMP3Codec& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "MP3 Codec Options");
        QCheckBox* box = dialog.findChild<QCheckBox*>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "Use Quick Compression");
        EXPECT_TRUE(box->isChecked());
        box->setChecked(false);
        button(dialog, "OK")->click();
    });
    bool quick = true;
    EXPECT_TRUE(ui.editMp3Options(quick));
    EXPECT_FALSE(quick);

    whenOpened<DialogCodecMP3Codec>([](DialogCodecMP3Codec& dialog) {
        QCheckBox* box = dialog.findChild<QCheckBox*>();
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->isChecked());
        box->setChecked(true);
        button(dialog, "Cancel")->click();
    });
    EXPECT_FALSE(ui.editMp3Options(quick));
    EXPECT_FALSE(quick);
    EXPECT_EQ(&ui.prompter(), &prompter);
}

} // namespace
} // namespace sorvella::test
