#pragma once

#include "save/SaveJobView.h"

#include <algorithm>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace sorvella::test {

// Records what a save job shows, from the job thread; read from the test's.
// `onProgress` runs on the job thread after each progress report, so a test
// can cancel or hold a job at a chosen block.
class RecordingView : public SaveJobView {
public:
    void setTitle(const std::string& title) override
    {
        std::lock_guard lock(m_mutex);
        m_titles.push_back(title);
    }

    void setProgress(int thousandths) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_progress.push_back(thousandths);
        }
        if (onProgress) {
            onProgress(thousandths);
        }
    }

    void jobEnded(const std::string& failure) override
    {
        std::lock_guard lock(m_mutex);
        m_failure = failure;
        ++m_endings;
    }

    std::vector<std::string> titles() const
    {
        std::lock_guard lock(m_mutex);
        return m_titles;
    }
    bool showedTitle(const std::string& title) const
    {
        std::lock_guard lock(m_mutex);
        return std::find(m_titles.begin(), m_titles.end(), title) != m_titles.end();
    }
    std::vector<int> progress() const
    {
        std::lock_guard lock(m_mutex);
        return m_progress;
    }
    bool ended() const
    {
        std::lock_guard lock(m_mutex);
        return m_endings > 0;
    }
    int endings() const
    {
        std::lock_guard lock(m_mutex);
        return m_endings;
    }
    std::string failure() const
    {
        std::lock_guard lock(m_mutex);
        return m_failure;
    }

    std::function<void(int)> onProgress;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_titles;
    std::vector<int> m_progress;
    std::string m_failure;
    int m_endings = 0;
};

} // namespace sorvella::test
