#pragma once

#include <string>

namespace sorvella {

// What a save job shows: its window's title and progress, and the end of the
// job. Every call comes from the job thread, so an implementation that draws
// hands the values to its own thread and never blocks on it.
class SaveJobView {
public:
    virtual ~SaveJobView() = default;

    virtual void setTitle(const std::string& title) = 0;

    // 0 to 1000.
    virtual void setProgress(int thousandths) = 0;

    // The last call of a job. `failure` is the text to show under "Saving
    // failed..." (empty when the job succeeded or was cancelled); after it is
    // shown the window closes.
    virtual void jobEnded(const std::string& failure) = 0;
};

// A save job that nobody watches (a run without windows): keeps only the
// failure text.
class SilentSaveView : public SaveJobView {
public:
    void setTitle(const std::string&) override {}
    void setProgress(int) override {}
    void jobEnded(const std::string& failure) override { m_failure = failure; }
    const std::string& failure() const { return m_failure; }

private:
    std::string m_failure;
};

} // namespace sorvella
