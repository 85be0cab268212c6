#pragma once

#include <QObject>

#include <functional>

namespace sorvella {

// Holds back the application's quit event (the end of the desktop session
// sends one) and calls `quitting` instead, so that the program closes its own
// way: saving first, and with its own exit code. Install it on the
// application object.
class QuitInterceptor : public QObject {
public:
    explicit QuitInterceptor(std::function<void()> quitting) : m_quitting(std::move(quitting)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_quitting;
};

} // namespace sorvella
