#include "control/ui/MainWindow.h"
#include "control/ui/AboutDialog.h"
#include "control/ui/LevelMeter.h"
#include "control/ui/StatusAnimation.h"
#include "tests/control/RecordingCommands.h"
#include "tests/save/ui/WidgetTest.h"
#include "tests/support/WaitFor.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>

namespace sorvella {
namespace {

class MainWindowTest : public test::WidgetTest {
protected:
    MainWindowTest()
    {
        settings.target.fileName = "/nonexistent/take.wav";
        input.keepSeconds = settings.loopTime;
        window.setCommands(&commands);
    }

    template <typename Widget> Widget* child(const char* name)
    {
        auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QAction* trayAction(const QString& text)
    {
        for (QAction* action : child<QMenu>("trayMenu")->actions()) {
            if (action->text() == text) {
                return action;
            }
        }
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }

    Settings settings;
    StatusInput input;
    MainWindow window;
    test::RecordingCommands commands{window, settings, input};
};

TEST_F(MainWindowTest, ShowsWithTitleAndStatusTexts)
{
    commands.refresh();
    window.show();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Sorvella Studio");
    EXPECT_EQ(child<QLineEdit>("loopTimeEdit")->text(), "10 minutes");
    EXPECT_EQ(child<QLineEdit>("formatEdit")->text(), "stereo, 44100 Hz");
    EXPECT_EQ(child<QLineEdit>("targetEdit")->text(), "/nonexistent/take.wav");
    EXPECT_TRUE(child<QLineEdit>("targetEdit")->isReadOnly());
}

TEST_F(MainWindowTest, ButtonsEnablePerState)
{
    settings.showModeLarge = true;
    commands.refresh();
    EXPECT_FALSE(child<QPushButton>("quickSaveButton")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("editAndSaveButton")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("openButton")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("browseButton")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("loopButton")->isChecked());

    input.hasRecorder = true;
    input.editorAvailable = true;
    commands.refresh();
    EXPECT_TRUE(child<QPushButton>("quickSaveButton")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("editAndSaveButton")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("loopButton")->isChecked());
    EXPECT_FALSE(child<QPushButton>("continuousButton")->isChecked());

    settings.showModeLarge = false;
    commands.refresh();
    EXPECT_FALSE(child<QPushButton>("quickSaveButton")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("configButton")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("editAndSaveButton")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("changeButton")->isEnabled());
}

TEST_F(MainWindowTest, FormButtonSwitchesBetweenTheTwoHeights)
{
    commands.refresh();
    window.show();
    const QPoint corner = window.pos();
    const int smallHeight = window.height();
    auto* form = child<QPushButton>("formButton");
    EXPECT_EQ(form->text(), ">>");
    EXPECT_FALSE(child<QPushButton>("quickSaveButton")->isVisible());

    form->click();
    EXPECT_EQ(form->text(), "<<");
    EXPECT_GT(window.height(), smallHeight + 50);
    EXPECT_TRUE(child<QPushButton>("quickSaveButton")->isVisible());
    EXPECT_EQ(window.pos(), corner);

    form->click();
    EXPECT_EQ(form->text(), ">>");
    EXPECT_EQ(window.height(), smallHeight);
    EXPECT_EQ(commands.calls, (std::vector<std::string>{"toggleForm", "toggleForm"}));
}

TEST_F(MainWindowTest, TrayMenuGreysItsSaveItemsWithoutARecorder)
{
    commands.refresh();
    EXPECT_TRUE(trayAction("&Restore")->isEnabled());
    EXPECT_EQ(child<QMenu>("trayMenu")->defaultAction(), trayAction("&Restore"));
    EXPECT_FALSE(trayAction("E&dit and Save")->isEnabled());
    EXPECT_FALSE(trayAction("Quick &Save")->isEnabled());
    EXPECT_TRUE(trayAction("&Exit")->isEnabled());

    input.hasRecorder = true;
    commands.refresh();
    EXPECT_FALSE(trayAction("E&dit and Save")->isEnabled()) << "no editor to open";
    EXPECT_TRUE(trayAction("Quick &Save")->isEnabled());

    input.editorAvailable = true;
    commands.refresh();
    EXPECT_TRUE(trayAction("E&dit and Save")->isEnabled());
}

TEST_F(MainWindowTest, ButtonsAndTrayItemsReachTheController)
{
    settings.showModeLarge = true;
    input.hasRecorder = true;
    input.editorAvailable = true;
    commands.refresh();
    auto* loop = child<QPushButton>("loopButton");
    loop->click();
    EXPECT_FALSE(window.isChecked(RecordingButton::Loop)) << "the controller reads the new state";
    for (const char* name :
         {"continuousButton", "quickSaveButton", "editAndSaveButton", "changeButton",
          "configButton", "saveDefaultButton", "helpButton", "aboutButton", "mixerButton",
          "browseButton", "advancedButton", "showFolderButton"}) {
        child<QPushButton>(name)->click();
    }
    trayAction("&Restore")->trigger();
    trayAction("E&dit and Save")->trigger();
    trayAction("Quick &Save")->trigger();
    trayAction("&Exit")->trigger();
    EXPECT_EQ(commands.calls,
              (std::vector<std::string>{"loop", "continuous", "quickSave", "editAndSave", "change",
                                        "config", "saveDefault", "help", "about", "mixer", "browse",
                                        "advanced", "showFolder", "restore", "editAndSave",
                                        "quickSave", "close"}));
}

TEST_F(MainWindowTest, MinimisingIsReportedOnceItHasHappened)
{
    window.show();
    window.showMinimized();
    EXPECT_TRUE(commands.calls.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(commands.calls, (std::vector<std::string>{"minimised"}));
    EXPECT_TRUE(window.isMinimised());
}

TEST_F(MainWindowTest, CloseIsTheControllersDecision)
{
    window.show();
    window.close();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(commands.calls, (std::vector<std::string>{"close"}));
}

TEST_F(MainWindowTest, WithoutATrayNoIconIsMadeAndTheWindowStays)
{
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        GTEST_SKIP() << "this desktop has a tray";
    }
    settings.iconInTray = true;
    EXPECT_FALSE(window.createTrayIcon(StateIcon::Loop));
    EXPECT_EQ(window.findChild<QSystemTrayIcon*>(), nullptr);
    EXPECT_FALSE(window.updateTrayIcon(StateIcon::Loop, "Sorvella Studio"));
}

TEST_F(MainWindowTest, StateShowsTheAnimationFrames)
{
    auto* animation = child<StatusAnimation>("statusAnimation");
    window.showState(StateIcon::Continuous, {5, 10, true});
    EXPECT_EQ(animation->currentFrame(), 5);
    EXPECT_FALSE(animation->pixmap().isNull());
    EXPECT_TRUE(test::waitFor([&] {
        QCoreApplication::processEvents();
        return animation->currentFrame() == 6;
    }));
    window.showState(StateIcon::Idle, {4, 4, false});
    EXPECT_EQ(animation->currentFrame(), 4);
}

TEST_F(MainWindowTest, NothingIsDrawnWhileMinimisedOrInTheTray)
{
    auto* animation = child<StatusAnimation>("statusAnimation");
    window.show();
    window.showState(StateIcon::Continuous, {5, 10, true});
    for (const bool minimise : {true, false}) {
        SCOPED_TRACE(minimise ? "minimised" : "hidden");
        minimise ? window.minimiseWindow() : window.hideWindow();
        QCoreApplication::processEvents();
        EXPECT_FALSE(animation->stepping());
        EXPECT_FALSE(window.updatesEnabled());
        window.restoreWindow();
        QCoreApplication::processEvents();
        EXPECT_TRUE(animation->stepping());
        EXPECT_TRUE(window.updatesEnabled());
    }
}

TEST_F(MainWindowTest, MeterPaintsFullScaleRedAtTheEnd)
{
    window.setLevel(Meter::Right, {kMeterRange, -1, true});
    EXPECT_EQ(child<LevelMeter>("rightMeter")->reading().value, kMeterRange);

    LevelMeter meter;
    meter.setReading({kMeterRange, -1, true});
    meter.resize(42, 12); // ten segments
    const QImage image = meter.grab().toImage();
    EXPECT_EQ(image.pixelColor(1, 6), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(1 + 9 * 4, 6), QColor(255, 0, 0));
    EXPECT_NE(image.pixelColor(4, 6), QColor(0, 255, 0)) << "gap between segments";
}

TEST_F(MainWindowTest, AboutBoxNamesVersionAndBuild)
{
    AboutDialog about;
    EXPECT_EQ(about.windowTitle(), "About Sorvella");
    EXPECT_EQ(about.findChild<QLineEdit*>("productEdit")->text(), "Sorvella Studio 2.07");
    EXPECT_EQ(about.findChild<QLineEdit*>("buildEdit")->text(), "Build number: 20700");
}

} // namespace
} // namespace sorvella
