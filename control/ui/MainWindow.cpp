#include "control/ui/MainWindow.h"

#include "control/MainCommandsSink.h"
#include "control/ProductInfo.h"
#include "control/ui/AboutDialog.h"
#include "control/ui/ControlResources.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QMessageBox>

namespace sorvella {

namespace {

constexpr int kTimerMilliseconds = 300;

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::MainWindow>()), m_tray(this)
{
    loadControlResources();
    m_ui->setupUi(this);
    // Neither maximised nor resized: the form alone decides the size.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QString::fromUtf8(kProductName));
    setWindowIcon(stateIconImage(StateIcon::Loop));
    m_mainTimer.setInterval(kTimerMilliseconds);
    connectCommands();
    setLargeForm(false);
}

MainWindow::~MainWindow() = default;

void MainWindow::connectCommands()
{
    connectCommand(m_ui->loopButton, &MainCommandsSink::loopButton);
    connectCommand(m_ui->continuousButton, &MainCommandsSink::continuousButton);
    connectCommand(m_ui->quickSaveButton, &MainCommandsSink::quickSave);
    connectCommand(m_ui->editAndSaveButton, &MainCommandsSink::editAndSave);
    connectCommand(m_ui->changeButton, &MainCommandsSink::changeTimeSettings);
    connectCommand(m_ui->configButton, &MainCommandsSink::config);
    connectCommand(m_ui->saveDefaultButton, &MainCommandsSink::saveSettingsAsDefault);
    connectCommand(m_ui->helpButton, &MainCommandsSink::help);
    connectCommand(m_ui->formButton, &MainCommandsSink::toggleForm);
    connectCommand(m_ui->aboutButton, &MainCommandsSink::about);
    connectCommand(m_ui->mixerButton, &MainCommandsSink::mixer);
    connectCommand(m_ui->browseButton, &MainCommandsSink::browseTarget);
    connectCommand(m_ui->advancedButton, &MainCommandsSink::advancedTarget);
    connectCommand(m_ui->incrementButton, &MainCommandsSink::incrementTarget);
    connectCommand(m_ui->openButton, &MainCommandsSink::openTarget);
    connectCommand(m_ui->editButton, &MainCommandsSink::editTarget);
    connectCommand(m_ui->deleteButton, &MainCommandsSink::deleteTarget);
    connectCommand(m_ui->showFolderButton, &MainCommandsSink::showTargetFolder);
    connectCommand(&MainTrayIcon::restoreRequested, &MainCommandsSink::restoreWindow);
    connectCommand(&MainTrayIcon::editAndSaveRequested, &MainCommandsSink::editAndSave);
    connectCommand(&MainTrayIcon::quickSaveRequested, &MainCommandsSink::quickSave);
    connectCommand(&MainTrayIcon::exitRequested, &MainCommandsSink::closeRequested);
    connect(&m_mainTimer, &QTimer::timeout, this,
            [this] { forward(&MainCommandsSink::timerTick); });
}

void MainWindow::connectCommand(QPushButton* button, void (MainCommandsSink::*command)())
{
    connect(button, &QPushButton::clicked, this, [this, command] { forward(command); });
}

void MainWindow::connectCommand(void (MainTrayIcon::*signal)(), void (MainCommandsSink::*command)())
{
    connect(&m_tray, signal, this, [this, command] { forward(command); });
}

void MainWindow::forward(void (MainCommandsSink::*command)())
{
    if (!m_commands) {
        return;
    }
    try {
        (m_commands->*command)();
    } catch (const std::exception& error) {
        QMessageBox::warning(this, QString::fromUtf8(kProductName),
                             QString::fromUtf8(error.what()));
    } catch (...) {
        QMessageBox::warning(this, QString::fromUtf8(kProductName), tr("Unexpected error"));
    }
}

void MainWindow::showStatus(const StatusTexts& texts)
{
    m_texts = texts;
    if (onScreen()) {
        writeStatus();
    }
}

void MainWindow::writeStatus()
{
    const auto show = [](QLineEdit* edit, const std::string& text) {
        const QString value = QString::fromStdString(text);
        // Rewriting an unchanged text would reset a selection every tick.
        if (edit->text() != value) {
            edit->setText(value);
        }
    };
    show(m_ui->loopTimeEdit, m_texts.loopTime);
    show(m_ui->stopAfterEdit, m_texts.stopAfter);
    show(m_ui->recordedTimeEdit, m_texts.recordedTime);
    show(m_ui->usedSpaceEdit, m_texts.usedSpace);
    show(m_ui->timeRunningEdit, m_texts.timeRunning);
    show(m_ui->formatEdit, m_texts.format);
    show(m_ui->targetEdit, m_texts.target);
    const QString health = QString::fromStdString(healthText(m_texts));
    if (m_ui->healthLabel->text() != health) {
        m_ui->healthLabel->setText(health);
        m_ui->healthLabel->setVisible(!health.isEmpty());
    }
}

void MainWindow::setEnabling(const ControlEnabling& enabling)
{
    m_ui->quickSaveButton->setEnabled(enabling.quickSave);
    m_ui->editAndSaveButton->setEnabled(enabling.editAndSave);
    m_ui->browseButton->setEnabled(enabling.browse);
    m_ui->advancedButton->setEnabled(enabling.advanced);
    m_ui->incrementButton->setEnabled(enabling.increment);
    m_ui->openButton->setEnabled(enabling.open);
    m_ui->editButton->setEnabled(enabling.edit);
    m_ui->deleteButton->setEnabled(enabling.deleteTarget);
    m_ui->showFolderButton->setEnabled(enabling.showFolder);
    m_ui->configButton->setEnabled(enabling.config);
    m_ui->aboutButton->setEnabled(enabling.about);
    m_tray.setSaveItemsEnabled(enabling.trayQuickSave, enabling.trayEditAndSave);
}

bool MainWindow::isChecked(RecordingButton button) const
{
    return button == RecordingButton::Loop ? m_ui->loopButton->isChecked()
                                           : m_ui->continuousButton->isChecked();
}

void MainWindow::setChecked(RecordingButton button, bool checked)
{
    (button == RecordingButton::Loop ? m_ui->loopButton : m_ui->continuousButton)
        ->setChecked(checked);
}

void MainWindow::setLevel(Meter meter, const MeterReading& reading)
{
    (meter == Meter::Left ? m_ui->leftMeter : m_ui->rightMeter)->setReading(reading);
}

void MainWindow::showState(StateIcon icon, const AnimationRun& animation)
{
    setWindowIcon(stateIconImage(icon));
    m_ui->statusAnimation->play(animation);
}

void MainWindow::setLargeForm(bool large)
{
    m_ui->formButton->setText(large ? QStringLiteral("<<") : QStringLiteral(">>"));
    m_ui->lowerPart->setVisible(large);
    // The window keeps its top left corner; only its size follows the form.
    layout()->activate();
    setFixedSize(sizeHint());
}

void MainWindow::setWindowEnabled(bool enabled)
{
    setEnabled(enabled);
}

bool MainWindow::isMinimised() const
{
    return isMinimized();
}

void MainWindow::hideWindow()
{
    hide();
}

void MainWindow::restoreWindow()
{
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::minimiseWindow()
{
    showMinimized();
}

bool MainWindow::createTrayIcon(StateIcon icon)
{
    return m_tray.create(stateIconImage(icon));
}

bool MainWindow::updateTrayIcon(StateIcon icon, const std::string& tip)
{
    return m_tray.update(stateIconImage(icon), QString::fromStdString(tip));
}

void MainWindow::removeTrayIcon()
{
    m_tray.remove();
}

void MainWindow::showNotice(const std::string& caption, const std::string& text)
{
    const QString title = QString::fromStdString(caption);
    const QString body = QString::fromStdString(text);
    if (m_tray.showMessage(title, body)) {
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Warning, title, body, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

void MainWindow::showAbout()
{
    AboutDialog about(this);
    about.exec();
}

void MainWindow::startMainTimer()
{
    m_mainTimer.start();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!m_commands) {
        event->accept();
        return;
    }
    // The controller decides: open save or editor windows may keep us.
    event->ignore();
    forward(&MainCommandsSink::closeRequested);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    drawOnlyOnScreen();
}

void MainWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    drawOnlyOnScreen();
}

bool MainWindow::onScreen() const
{
    return isVisible() && !isMinimized();
}

void MainWindow::drawOnlyOnScreen()
{
    const bool visible = onScreen();
    setUpdatesEnabled(visible);
    m_ui->statusAnimation->setOnScreen(visible);
    if (visible) {
        writeStatus();
    }
}

void MainWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        drawOnlyOnScreen();
    }
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        // After the minimise has finished: hiding inside it would be undone
        // by the rest of showMinimized().
        QMetaObject::invokeMethod(
            this, [this] { forward(&MainCommandsSink::windowMinimised); }, Qt::QueuedConnection);
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        forward(&MainCommandsSink::windowActivated);
    }
}

} // namespace sorvella
