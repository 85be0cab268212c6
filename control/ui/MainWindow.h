#pragma once

#include "control/MainView.h"
#include "control/ui/MainTrayIcon.h"

#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace Ui {
class MainWindow;
}

namespace sorvella {

class MainCommandsSink;

// The main window: shows what the status display decides and passes every
// command to the controller.
class MainWindow : public QWidget, public MainView {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Where the commands go; until then they are dropped and the window
    // closes like any other.
    void setCommands(MainCommandsSink* commands) { m_commands = commands; }

    void showStatus(const StatusTexts& texts) override;
    void setEnabling(const ControlEnabling& enabling) override;
    bool isChecked(RecordingButton button) const override;
    void setChecked(RecordingButton button, bool checked) override;
    void setLevel(Meter meter, const MeterReading& reading) override;
    void showState(StateIcon icon, const AnimationRun& animation) override;
    void setLargeForm(bool large) override;
    void setWindowEnabled(bool enabled) override;
    bool isMinimised() const override;
    void hideWindow() override;
    void restoreWindow() override;
    void minimiseWindow() override;
    bool createTrayIcon(StateIcon icon) override;
    bool updateTrayIcon(StateIcon icon, const std::string& tip) override;
    void removeTrayIcon() override;
    void showNotice(const std::string& caption, const std::string& text) override;
    void showAbout() override;
    void startMainTimer() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Minimised or hidden, nothing is drawn: the meters, texts and animation
    // catch up when the window shows again.
    void drawOnlyOnScreen();
    bool onScreen() const;
    // Writes the texts into their fields; off screen that would still lay
    // each text out every tick, so the latest texts wait in m_texts.
    void writeStatus();
    void connectCommands();
    void connectCommand(QPushButton* button, void (MainCommandsSink::*command)());
    void connectCommand(void (MainTrayIcon::*signal)(), void (MainCommandsSink::*command)());
    // Runs a command; nothing it throws may leave the event handler.
    void forward(void (MainCommandsSink::*command)());

    std::unique_ptr<Ui::MainWindow> m_ui;
    MainTrayIcon m_tray;
    QTimer m_mainTimer;
    MainCommandsSink* m_commands = nullptr;
    StatusTexts m_texts;
};

} // namespace sorvella
