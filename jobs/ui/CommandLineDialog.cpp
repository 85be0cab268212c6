#include "jobs/ui/CommandLineDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
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
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal);
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancel");
    QPushButton* helpButton = buttons->addButton("&Help", QDialogButtonBox::HelpRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [help] { help(kHelpTopic); });
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
