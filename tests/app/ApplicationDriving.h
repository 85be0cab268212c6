#pragma once

#include "app/Application.h"
#include "save/ui/SaveProgressWindow.h"
#include "tests/support/WaitFor.h"

#include <QCoreApplication>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace sorvella::test {

// Runs the event loop until the condition holds (within waitFor's limit).
inline bool processUntil(const std::function<bool()>& condition)
{
    return waitFor([&] {
        QCoreApplication::processEvents();
        return condition();
    });
}

inline bool recordedAtLeast(const Application& application, std::int64_t seconds)
{
    return processUntil([&] {
        const SoundReader* recorder = application.controller().recorder();
        return recorder != nullptr && recorder->recordedSeconds() >= seconds;
    });
}

// Presses a button of the main window as the user would.
inline void click(Application& application, const char* button)
{
    auto* found = application.window().findChild<QPushButton*>(button);
    ASSERT_NE(found, nullptr) << button;
    found->click();
}

// Every "Saving..." window has closed: its file is complete.
inline bool savesFinished(Application& application)
{
    return processUntil(
        [&] { return application.window().findChildren<SaveProgressWindow*>().isEmpty(); });
}

// No session directory is left in `folder` (Qt may keep a runtime folder
// there too).
inline bool
noSessionDirectories(const std::filesystem::path& folder = std::filesystem::temp_directory_path())
{
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with("Quillet-")) {
            return false;
        }
    }
    return true;
}

} // namespace sorvella::test
