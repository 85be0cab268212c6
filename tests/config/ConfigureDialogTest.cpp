// The "Configure Sorvella" dialog (offscreen), clicked through as a user
// would.

#include "config/ui/ConfigureDialog.h"
#include "core/Settings.h"
#include "platform/fakes/FakeSettingsStore.h"
#include "save/CodecCatalogue.h"
#include "tests/support/FakePrompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace sorvella {
namespace {

int argc = 1;
char programName[] = "sorvella_config_tests";
char* argv[] = {programName, nullptr};

template <typename Button> Button* find(const QDialog& dialog, const QString& text)
{
    for (Button* button : dialog.findChildren<Button*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    ADD_FAILURE() << text.toStdString();
    return nullptr;
}

QStringList entries(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i) {
        texts << box->itemText(i);
    }
    return texts;
}

class ConfigureDialogTest : public ::testing::Test {
protected:
    std::unique_ptr<ConfigureDialog> open()
    {
        ConfigSheet::Services sheet{
            .deviceNames = {"Card A", "Card B"},
            .retrieveVolume = [](std::int32_t) { return "-v:0-80"; },
            .directoryExists = [](const std::string& path) { return path == "/existing"; },
            .prompter = prompter,
        };
        return std::make_unique<ConfigureDialog>(
            nullptr, settings, std::move(sheet),
            SaveDialogServices{catalogue, store, prompter, [](std::int32_t) {}});
    }

    void press(QDialog& dialog, QDialogButtonBox::StandardButton which)
    {
        dialog.findChild<QDialogButtonBox*>()->button(which)->click();
    }

    QApplication qt{argc, argv};
    Settings settings;
    test::FakePrompter prompter;
    FakeSettingsStore store;
    CodecCatalogue catalogue{store, {}};
};

TEST_F(ConfigureDialogTest, ShowsTheDefaultsAndTheDevices)
{
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), "Configure Sorvella");
    EXPECT_EQ(dialog->findChild<QComboBox*>("bufferSize")->currentText(), "2048");
    EXPECT_EQ(dialog->findChild<QComboBox*>("granularity")->currentText(), "medium");
    EXPECT_EQ(dialog->findChild<QComboBox*>("rate")->currentText(), "44100");
    EXPECT_TRUE(find<QRadioButton>(*dialog, "Stereo")->isChecked());
    EXPECT_EQ(entries(dialog->findChild<QComboBox*>("soundCard")),
              (QStringList{"0: Default Audio Device", "1: Card A", "2: Card B"}));
    EXPECT_TRUE(find<QPushButton>(*dialog, "Retrieve Volume settings")->isEnabled());
    EXPECT_TRUE(find<QRadioButton>(*dialog, "continue recording (share data)")->isChecked());
    EXPECT_TRUE(find<QRadioButton>(*dialog, "continue recording (full duplex soundcard req.)")
                    ->isChecked());
    EXPECT_TRUE(
        find<QRadioButton>(*dialog, "Stop playing automatically on focus loss")->isChecked());
    EXPECT_TRUE(find<QCheckBox>(*dialog, "Animated status display")->isChecked());
    EXPECT_FALSE(find<QCheckBox>(*dialog, "Show Icon in Tray")->isChecked());
    EXPECT_EQ(dialog->findChild<QComboBox*>("profile")->currentText(),
              "Default (Prio: low-normal)");
    EXPECT_EQ(dialog->findChild<QLineEdit*>("editProgram")->text(), "audacity");
    EXPECT_TRUE(find<QRadioButton>(*dialog, "System Temp")->isChecked());
    EXPECT_FALSE(dialog->findChild<QLineEdit*>("tempDirectory")->isEnabled());
    EXPECT_TRUE(find<QCheckBox>(*dialog, "Bypass Cache")->isChecked());
    EXPECT_FALSE(find<QCheckBox>(*dialog, "Bypass Message Queue (not available on this system)")
                     ->isEnabled());
}

TEST_F(ConfigureDialogTest, OkStoresTheChoicesAndRefusesAMissingFolder)
{
    auto dialog = open();
    dialog->findChild<QComboBox*>("granularity")->setCurrentText("very small");
    dialog->findChild<QComboBox*>("bufferSize")->setCurrentText("128");
    dialog->findChild<QComboBox*>("soundCard")->setCurrentIndex(2);
    find<QPushButton>(*dialog, "Retrieve Volume settings")->click();
    find<QRadioButton>(*dialog, "Other:")->click();
    EXPECT_TRUE(dialog->findChild<QLineEdit*>("tempDirectory")->isEnabled());
    dialog->findChild<QLineEdit*>("tempDirectory")->setText("/missing");
    press(*dialog, QDialogButtonBox::Ok);

    EXPECT_EQ(settings.bufferGranularity, 4);
    EXPECT_EQ(settings.bufferSizeTotal, 131072);
    EXPECT_EQ(settings.soundCard, 2);
    EXPECT_EQ(settings.volumeSettings, "-v:0-80");
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, "/missing does not exist. Resetting to System Temp.");
    EXPECT_TRUE(settings.tempDirectoryUseWindows);
}

// The reset counts even when the sheet is cancelled; nothing else does.
TEST_F(ConfigureDialogTest, CancelKeepsOnlyTheResetOfTheMessages)
{
    settings.showWarningMixer = false;
    auto dialog = open();
    find<QPushButton>(*dialog, "Reset all \"don't show again\" messages")->click();
    dialog->findChild<QComboBox*>("bufferSize")->setCurrentText("128");
    press(*dialog, QDialogButtonBox::Cancel);
    EXPECT_TRUE(settings.showWarningMixer);
    EXPECT_EQ(settings.bufferSizeTotal, 2097152);
}

} // namespace
} // namespace sorvella
