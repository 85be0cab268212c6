#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace sorvella::test {

// A fixture with the application object that widgets need (drawn offscreen).
class WidgetTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "sorvella-test";
        static char* argv[] = {name, nullptr};
        s_application = std::make_unique<QApplication>(argc, argv);
    }
    static void TearDownTestSuite() { s_application.reset(); }

    // Runs `handle` on the modal dialog of type Dialog that the next call
    // opens, from inside that dialog's event loop. Another dialog (or none)
    // fails the test; a dialog the handler left open is rejected, so the
    // call returns either way.
    template <typename Dialog> static void whenOpened(std::function<void(Dialog&)> handle)
    {
        QTimer::singleShot(0, [handle = std::move(handle)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (QPointer<Dialog> dialog = qobject_cast<Dialog*>(modal)) {
                handle(*dialog);
                if (dialog && dialog->isVisible()) {
                    dialog->reject();
                }
                return;
            }
            ADD_FAILURE() << "expected dialog did not open";
            if (auto* other = qobject_cast<QDialog*>(modal)) {
                other->reject();
            }
        });
    }

private:
    static inline std::unique_ptr<QApplication> s_application;
};

} // namespace sorvella::test
