#include "jobs/ui/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace sorvella {

QWidget* okCancelHelpButtons(QDialog* dialog, std::function<void()> help)
{
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal);
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancel");
    QPushButton* helpButton = buttons->addButton("&Help", QDialogButtonBox::HelpRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QObject::connect(helpButton, &QPushButton::clicked, dialog, std::move(help));
    return buttons;
}

} // namespace sorvella
