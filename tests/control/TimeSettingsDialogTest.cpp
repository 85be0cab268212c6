// The "Time Settings" window as a real Qt dialog (offscreen), clicked
// through as a user would.

#include "control/ui/TimeSettingsDialog.h"
#include "core/Settings.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <gtest/gtest.h>

namespace sorvella {
namespace {

int argc = 1;
char programName[] = "sorvella_time_settings_dialog_tests";
char* argv[] = {programName, nullptr};

QRadioButton* radio(const QDialog& dialog, const QString& text)
{
    for (QRadioButton* button : dialog.findChildren<QRadioButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    ADD_FAILURE() << text.toStdString();
    return nullptr;
}

TEST(TimeSettingsDialogTest, ClicksReachTheSettingsOnlyThroughOk)
{
    QApplication qt{argc, argv};
    Settings settings;
    std::int32_t helpTopic = 0;
    TimeSettingsDialog dialog(nullptr, settings, [&](std::int32_t topic) { helpTopic = topic; });
    EXPECT_EQ(dialog.windowTitle(), "Time Settings");
    auto* slider = dialog.findChild<QSlider*>("triggerLevel");
    auto* interval = dialog.findChild<QComboBox*>("archiverInterval");
    ASSERT_NE(slider, nullptr);
    ASSERT_NE(interval, nullptr);
    EXPECT_FALSE(slider->isEnabled());

    radio(dialog, "Save after:")->click();
    radio(dialog, "close application")->click();
    radio(dialog, "Edit after:")->click();
    EXPECT_FALSE(radio(dialog, "close application")->isEnabled());
    EXPECT_TRUE(radio(dialog, "enter idle mode")->isChecked());
    radio(dialog, "Archive Mode. Save every:")->click();
    EXPECT_TRUE(interval->isEnabled());
    interval->setCurrentText("20:00");
    radio(dialog, "Archive vox mode - record sound only")->click();
    EXPECT_TRUE(slider->isEnabled());
    EXPECT_FALSE(interval->isEnabled());
    slider->setValue(0);

    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    for (QAbstractButton* button : buttons->buttons()) {
        if (button->text() == "Help") {
            button->click();
        }
    }
    EXPECT_EQ(helpTopic, 129);
    EXPECT_EQ(settings.loopMode, 0);
    buttons->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.autoSaveFollow, 1);
    EXPECT_EQ(settings.loopMode, 2);
    EXPECT_EQ(settings.archiverInterval, 1200);
    EXPECT_EQ(settings.voxVolume, 1);
}

} // namespace
} // namespace sorvella
