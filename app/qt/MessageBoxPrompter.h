#pragma once

#include "core/Prompter.h"

class QWidget;

namespace sorvella {

// Message boxes as modal Qt boxes over the main window. Once a forced close
// has begun, or when no screen is there that anybody sees (an unattended run
// under the offscreen platform), nobody may be waited for: every box is
// written to standard error instead and answered with the choice that goes on
// without waiting.
class MessageBoxPrompter : public Prompter {
public:
    Answer ask(const std::string& text, const std::string& caption, Buttons buttons,
               Icon icon) override;

    // The boxes' parent: a window that lives as long as the prompter is used.
    // Not any active window: a save window deletes itself (and its children)
    // when its job ends, which may be while a box is up.
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    void stopAsking() { m_unattended = true; }

    // The answer a forced close gives: OK, or else Cancel or No.
    static Answer unattendedAnswer(Buttons buttons);

private:
    QWidget* m_parent = nullptr;
    bool m_unattended = false;
};

} // namespace sorvella
