#pragma once

namespace sorvella {

// What the exit code tells whoever started the program (a scheduler, a
// script): the first thing that went wrong, else that the run completed.
// Main thread.
class RunOutcome {
public:
    enum Code : int { Completed = 0, NeverStarted = 1, SaveFailed = 2, SoundLost = 3 };

    void note(Code code)
    {
        if (m_code == Completed) {
            m_code = code;
        }
    }
    int exitCode() const { return m_code; }

private:
    Code m_code = Completed;
};

} // namespace sorvella
