#pragma once

#include "save/SaveAsWindows.h"
#include "save/ui/HelpTopicOpener.h"

class QWidget;

namespace sorvella {

// "Select Format Options" as the chooser of Save As.
class QtFormatOptionChooser final : public FormatOptionChooser {
public:
    QtFormatOptionChooser(QWidget* parent, HelpTopicOpener help)
        : m_parent(parent), m_help(std::move(help))
    {
    }

    std::optional<std::int32_t> chooseFormat(const std::vector<std::string>& labels) override;

private:
    QWidget* m_parent;
    HelpTopicOpener m_help;
};

} // namespace sorvella
