#pragma once

#include "core/Prompter.h"

namespace sorvella {

// Message boxes as modal Qt boxes over the active window. Once a forced close
// has begun, nobody may be waited for: every box is written to standard
// error instead and answered with the choice that goes on without waiting.
class MessageBoxPrompter : public Prompter {
public:
    Answer ask(const std::string& text, const std::string& caption, Buttons buttons,
               Icon icon) override;

    void beginForcedClose() { m_forcedClose = true; }

    // The answer a forced close gives: OK, or else Cancel or No.
    static Answer unattendedAnswer(Buttons buttons);

private:
    bool m_forcedClose = false;
};

} // namespace sorvella
