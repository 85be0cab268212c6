#include "save/ui/QtFormatOptionChooser.h"

#include "save/ui/DialogCodecFormatSelector.h"

namespace sorvella {

std::optional<std::int32_t>
QtFormatOptionChooser::chooseFormat(const std::vector<std::string>& labels)
{
    DialogCodecFormatSelector dialog(m_parent, labels, m_help);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.chosenFormat();
}

} // namespace sorvella
