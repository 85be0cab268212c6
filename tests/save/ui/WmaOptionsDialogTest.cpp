// "Windows Media Codec Options" drawn offscreen: it opens on the current
// extension and hands back the one chosen with OK.

#include "save/ui/DialogCodecWMACodec.h"
#include "save/ui/QtCodecOptionsUi.h"
#include "tests/save/ui/WidgetTest.h"
#include "tests/support/FakePrompter.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace sorvella::test {
namespace {

class WmaOptionsDialogTest : public WidgetTest {
protected:
    FakePrompter prompter;
    QtCodecOptionsUi ui{nullptr, prompter};
};

TEST_F(WmaOptionsDialogTest, OkTakesTheChosenExtension)
{
    whenOpened<DialogCodecWMACodec>([](DialogCodecWMACodec& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Windows Media Codec Options");
        EXPECT_EQ(dialog.findChild<QGroupBox*>("extensionGroup")->title(),
                  "Extension for Media Files");
        auto* wma = dialog.findChild<QRadioButton*>("wmaButton");
        auto* asf = dialog.findChild<QRadioButton*>("asfButton");
        EXPECT_EQ(wma->text(), "Use Extension .WMA for Windows Media Audio Files (default)");
        EXPECT_EQ(asf->text(), "Use Extension .ASF for Windows Media Audio Files");
        EXPECT_TRUE(wma->isChecked());
        asf->click();
        dialog.findChild<QPushButton*>("okButton")->click();
    });
    std::int32_t extension = 0;
    EXPECT_TRUE(ui.editWmaOptions(extension));
    EXPECT_EQ(extension, 1);
}

TEST_F(WmaOptionsDialogTest, CancelKeepsTheExtension)
{
    whenOpened<DialogCodecWMACodec>([](DialogCodecWMACodec& dialog) {
        EXPECT_TRUE(dialog.findChild<QRadioButton*>("asfButton")->isChecked());
        dialog.findChild<QRadioButton*>("wmaButton")->click();
        dialog.findChild<QPushButton*>("cancelButton")->click();
    });
    std::int32_t extension = 1;
    EXPECT_FALSE(ui.editWmaOptions(extension));
    EXPECT_EQ(extension, 1);
}

} // namespace
} // namespace sorvella::test
