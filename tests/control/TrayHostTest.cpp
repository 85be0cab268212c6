// The tray icon on a real X server: Xvfb with trayer as the tray host. Skipped
// where either program is missing.

#include "control/ui/MainWindow.h"
#include "tests/control/RecordingCommands.h"
#include "tests/support/WaitFor.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace sorvella {
namespace {

class TrayHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        const QString trayer = QStandardPaths::findExecutable(QStringLiteral("trayer"));
        if (xvfb.isEmpty() || trayer.isEmpty()) {
            GTEST_SKIP() << "Xvfb or trayer is not installed";
        }
        // Xvfb picks a free display and writes its number to standard output.
        m_server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"),
                              QStringLiteral("-screen"), QStringLiteral("0"),
                              QStringLiteral("800x600x24"), QStringLiteral("-nolisten"),
                              QStringLiteral("tcp")});
        ASSERT_TRUE(test::waitFor([&] {
            m_server.waitForReadyRead(100);
            return m_server.canReadLine() || m_server.state() == QProcess::NotRunning;
        }));
        const QByteArray display = ":" + m_server.readLine().trimmed();
        ASSERT_GT(display.size(), 1) << "Xvfb did not start";
        setenv("DISPLAY", display.constData(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        // Without a session bus Qt embeds its icon the classic way, into trayer.
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        m_trayHost.start(trayer, {QStringLiteral("--edge"), QStringLiteral("top")});
        ASSERT_TRUE(m_trayHost.waitForStarted());

        static int argc = 1;
        static char name[] = "sorvella-test";
        static char* argv[] = {name, nullptr};
        m_application = std::make_unique<QApplication>(argc, argv);
        ASSERT_TRUE(test::waitFor([] {
            QCoreApplication::processEvents();
            return QSystemTrayIcon::isSystemTrayAvailable();
        })) << "trayer did not become the tray";

        m_window = std::make_unique<MainWindow>();
        m_commands = std::make_unique<test::RecordingCommands>(*m_window, m_settings, m_input);
        m_window->setCommands(m_commands.get());
        m_settings.iconInTray = true;
    }

    void TearDown() override
    {
        m_commands.reset();
        m_window.reset();
        m_application.reset();
        for (QProcess* process : {&m_trayHost, &m_server}) {
            process->terminate();
            process->waitForFinished();
        }
    }

    QSystemTrayIcon* trayIcon() { return m_window->findChild<QSystemTrayIcon*>(); }

    // Qt's embedded icon is a small top-level widget of its own.
    QWidget* embeddedIcon()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget != m_window.get() && widget->isVisible() &&
                widget->inherits("QSystemTrayIconSys")) {
                return widget;
            }
        }
        return nullptr;
    }

    bool waitForEvents(const std::function<bool()>& condition)
    {
        return test::waitFor([&] {
            QCoreApplication::processEvents();
            return condition();
        });
    }

    QProcess m_server;
    QProcess m_trayHost;
    std::unique_ptr<QApplication> m_application;
    Settings m_settings;
    StatusInput m_input;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<test::RecordingCommands> m_commands;
};

TEST_F(TrayHostTest, IconIsEmbeddedWithItsTip)
{
    m_commands->refresh();
    m_commands->display().trayCreate(m_settings);
    ASSERT_NE(trayIcon(), nullptr);
    EXPECT_TRUE(waitForEvents([&] { return embeddedIcon() != nullptr; }));
    EXPECT_TRUE(waitForEvents([&] { return !trayIcon()->geometry().isEmpty(); }));
    EXPECT_EQ(trayIcon()->toolTip(), "Sorvella Studio");

    m_commands->display().trayRemove();
    EXPECT_EQ(trayIcon(), nullptr);
    EXPECT_TRUE(waitForEvents([&] { return embeddedIcon() == nullptr; }));
}

// Most tray hosts send a single click only; some a double click.
class TrayHostClickTest : public TrayHostTest,
                          public ::testing::WithParamInterface<QEvent::Type> {};

TEST_P(TrayHostClickTest, MinimisingHidesTheWindowAndAClickBringsItBack)
{
    m_commands->refresh();
    m_commands->display().trayCreate(m_settings);
    m_window->show();
    ASSERT_TRUE(waitForEvents([&] { return embeddedIcon() != nullptr; }));

    m_window->showMinimized();
    EXPECT_TRUE(waitForEvents([&] { return !m_window->isVisible(); }));

    QWidget* icon = embeddedIcon();
    const QPointF centre = QPointF(icon->rect().center());
    QMouseEvent click(GetParam(), centre, icon->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(icon, &click);
    EXPECT_TRUE(waitForEvents([&] { return m_window->isVisible(); }));
    EXPECT_FALSE(m_window->isMinimized());
}

INSTANTIATE_TEST_SUITE_P(Clicks, TrayHostClickTest,
                         ::testing::Values(QEvent::MouseButtonPress, QEvent::MouseButtonDblClick),
                         [](const auto& info) {
                             return info.param == QEvent::MouseButtonPress ? "Single" : "Double";
                         });

TEST_F(TrayHostTest, RightClickOpensTheMenu)
{
    m_commands->refresh();
    m_commands->display().trayCreate(m_settings);
    ASSERT_TRUE(waitForEvents([&] { return embeddedIcon() != nullptr; }));

    QWidget* icon = embeddedIcon();
    const QPointF centre = QPointF(icon->rect().center());
    QMouseEvent press(QEvent::MouseButtonPress, centre, icon->mapToGlobal(centre), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(icon, &press);
    auto* menu = m_window->findChild<QMenu*>(QStringLiteral("trayMenu"));
    EXPECT_TRUE(waitForEvents([&] { return menu->isVisible(); }));
    menu->close();
}

} // namespace
} // namespace sorvella
