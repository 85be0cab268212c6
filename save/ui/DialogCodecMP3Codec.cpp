#include "save/ui/DialogCodecMP3Codec.h"

#include "ui_DialogCodecMP3Codec.h"

namespace sorvella {

DialogCodecMP3Codec::DialogCodecMP3Codec(QWidget* parent, bool quickCompression)
    : QDialog(parent), m_ui(std::make_unique<Ui::DialogCodecMP3Codec>())
{
    m_ui->setupUi(this);
    m_ui->quickCompressionBox->setChecked(quickCompression);
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

DialogCodecMP3Codec::~DialogCodecMP3Codec() = default;

bool DialogCodecMP3Codec::quickCompression() const
{
    return m_ui->quickCompressionBox->isChecked();
}

} // namespace sorvella
