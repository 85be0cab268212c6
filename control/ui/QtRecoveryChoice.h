#pragma once

#include "control/RecoveryChoiceView.h"

class QWidget;

namespace sorvella {

// The offer of a recording a dead run left, as a message box with four
// buttons over the main window.
class QtRecoveryChoice : public RecoveryChoiceView {
public:
    explicit QtRecoveryChoice(QWidget* parent) : m_parent(parent) {}
    Choice choose(const std::string& text) override;

private:
    QWidget* m_parent;
};

} // namespace sorvella
