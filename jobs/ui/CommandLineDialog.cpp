#include "jobs/ui/CommandLineDialog.h"

#include "jobs/ui/DialogButtons.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace sorvella {

CommandLineDialog::CommandLineDialog(QWidget* parent, const std::string& line,
                                     std::function<void(std::int32_t topic)> help)
    : QDialog(parent), m_options(new QLineEdit(QString::fromStdString(line)))
{
    setWindowTitle("Sorvella Command Line");
    m_options->setObjectName("options");
    m_options->setMinimumWidth(480);
    auto* fields = new QFormLayout;
    fields->addRow("Options:", m_options);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(okCancelHelpButtons(this, [help] { help(kHelpTopic); }));
}

std::string CommandLineDialog::line() const
{
    return m_options->text().toStdString();
}

std::optional<std::string>
CommandLineDialog::edit(QWidget* parent, const std::string& line,
                        const std::function<void(std::int32_t topic)>& help)
{
    CommandLineDialog dialog(parent, line, help);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.line();
}

} // namespace sorvella
