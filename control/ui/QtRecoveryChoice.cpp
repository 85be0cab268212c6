#include "control/ui/QtRecoveryChoice.h"

#include <QMessageBox>
#include <QPushButton>

namespace sorvella {

RecoveryChoiceView::Choice QtRecoveryChoice::choose(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Sorvella"), QString::fromStdString(text),
                    QMessageBox::NoButton, m_parent);
    QPushButton* save = box.addButton(QStringLiteral("&Save..."), QMessageBox::AcceptRole);
    QPushButton* edit = box.addButton(QStringLiteral("&Open in Editor"), QMessageBox::ActionRole);
    QPushButton* keep = box.addButton(QStringLiteral("&Keep for Later"), QMessageBox::RejectRole);
    QPushButton* discard = box.addButton(QStringLiteral("&Discard"), QMessageBox::DestructiveRole);
    box.setDefaultButton(save);
    box.setEscapeButton(keep);
    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked == save) {
        return Choice::Save;
    }
    if (clicked == edit) {
        return Choice::OpenInEditor;
    }
    return clicked == discard ? Choice::Discard : Choice::KeepForLater;
}

} // namespace sorvella
