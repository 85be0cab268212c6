#pragma once

#include <QApplication>

#include <optional>

namespace sorvella::bench {

// The Qt application of a benchmark that draws real windows: offscreen
// unless QT_QPA_PLATFORM names a platform.
class OffscreenApplication {
public:
    OffscreenApplication()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        m_application.emplace(m_argc, m_argv);
    }

private:
    int m_argc = 1; // QApplication keeps references to both
    char m_name[15] = "sorvella-bench";
    char* m_argv[2] = {m_name, nullptr};
    std::optional<QApplication> m_application;
};

} // namespace sorvella::bench
