#pragma once

#include "save/SaveAsWindows.h"

class QWidget;

namespace sorvella {

// "Save As..." through Qt's own file dialog (the same on every desktop, and
// reachable by tests).
class QtSaveFileDialog final : public SaveFileDialog {
public:
    explicit QtSaveFileDialog(QWidget* parent) : m_parent(parent) {}

    std::optional<Choice> choose(const Request& request) override;

private:
    QWidget* m_parent;
};

} // namespace sorvella
