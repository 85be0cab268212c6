#include "control/ui/QtRetryDialog.h"

#include "ui_QtRetryDialog.h"

#include <QPushButton>
#include <QWindow>

namespace sorvella {

QtRetryDialog::QtRetryDialog(QWidget* over) : m_ui(std::make_unique<Ui::QtRetryDialog>())
{
    m_ui->setupUi(this);
    m_ui->reason->hide();
    setModal(false);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QtRetryDialog::reject);
    if (over != nullptr) {
        winId(); // creates the native window, so that it can be kept above `over`
        over->winId();
        windowHandle()->setTransientParent(over->window()->windowHandle());
        adjustSize();
        move(over->window()->geometry().center() - rect().center());
    }
    QDialog::show();
}

QtRetryDialog::~QtRetryDialog() = default;

void QtRetryDialog::show(std::int32_t remaining)
{
    // The largest count seen sets the range, so the bar fills as the
    // retries run out.
    if (remaining > m_maxTicks) {
        m_maxTicks = remaining;
        m_ui->progress->setRange(0, m_maxTicks);
    }
    m_ui->progress->setValue(m_maxTicks - remaining);
}

void QtRetryDialog::showReason(const std::string& reason)
{
    m_ui->reason->setText(QString::fromStdString(reason));
    m_ui->reason->setVisible(!reason.empty());
}

void QtRetryDialog::reject()
{
    m_cancelled = true;
    m_ui->buttons->button(QDialogButtonBox::Cancel)->setEnabled(false);
}

} // namespace sorvella
