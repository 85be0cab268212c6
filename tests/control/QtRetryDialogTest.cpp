// The "Trying to open Wav-In-Device..." window as a real Qt dialog (offscreen).

#include "control/ui/QtRetryDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace sorvella {
namespace {

int argc = 1;
char programName[] = "sorvella_retry_dialog_tests";
char* argv[] = {programName, nullptr};

class QtRetryDialogTest : public ::testing::Test {
protected:
    QApplication qt{argc, argv};
    QWidget mainWindow;
};

// The main window is disabled while the dialog is up; Cancel must still work.
TEST_F(QtRetryDialogTest, CancelWorksWhileTheMainWindowIsDisabled)
{
    mainWindow.show();
    QtRetryDialog dialog(&mainWindow);
    mainWindow.setEnabled(false);
    QPushButton* cancel = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(cancel->isEnabled());

    cancel->click();
    EXPECT_TRUE(dialog.cancelled());
    EXPECT_TRUE(dialog.isVisible()); // the controller closes it on its next tick
}

} // namespace
} // namespace sorvella
