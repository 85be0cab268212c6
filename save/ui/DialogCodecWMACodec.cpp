#include "save/ui/DialogCodecWMACodec.h"

#include "ui_DialogCodecWMACodec.h"

namespace sorvella {

DialogCodecWMACodec::DialogCodecWMACodec(QWidget* parent, std::int32_t extension)
    : QDialog(parent), m_ui(std::make_unique<Ui::DialogCodecWMACodec>())
{
    m_ui->setupUi(this);
    m_ui->wmaButton->setChecked(extension == 0);
    m_ui->asfButton->setChecked(extension == 1);
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

DialogCodecWMACodec::~DialogCodecWMACodec() = default;

std::int32_t DialogCodecWMACodec::extension() const
{
    if (m_ui->wmaButton->isChecked()) {
        return 0;
    }
    return m_ui->asfButton->isChecked() ? 1 : -1;
}

} // namespace sorvella
