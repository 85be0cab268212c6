#include "save/ui/DialogTargetFile.h"

#include "save/ui/DialogCodecConfigure.h"

#include "ui_DialogTargetFile.h"

namespace sorvella {

DialogTargetFile::DialogTargetFile(QWidget* parent, SaveTarget& target,
                                   const SaveDialogServices& services)
    : QDialog(parent), m_ui(std::make_unique<Ui::DialogTargetFile>()), m_target(target),
      m_services(services), m_saveAs(this, services.prompter, services.help),
      m_presenter(*this, target, services.catalogue, m_saveAs.windows(), services.help)
{
    m_ui->setupUi(this);
    connect(m_ui->copyButton1, &QPushButton::clicked, this, &DialogTargetFile::copyFirstExample);
    connect(m_ui->copyButton2, &QPushButton::clicked, this, &DialogTargetFile::copySecondExample);
    connect(m_ui->copyButton3, &QPushButton::clicked, this, &DialogTargetFile::copyThirdExample);
    connect(m_ui->browseButton, &QPushButton::clicked, this, &DialogTargetFile::browse);
    connect(m_ui->installedCodecsButton, &QPushButton::clicked, this,
            &DialogTargetFile::installedCodecs);
    connect(m_ui->okButton, &QPushButton::clicked, this, &DialogTargetFile::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->helpButton, &QPushButton::clicked, this, &DialogTargetFile::openHelp);
    m_presenter.open();
}

DialogTargetFile::~DialogTargetFile() = default;

void DialogTargetFile::accept()
{
    m_target = m_presenter.accept();
    QDialog::accept();
}

std::string DialogTargetFile::fileName() const
{
    return m_ui->fileNameEdit->text().toStdString();
}

void DialogTargetFile::showFileName(const std::string& name)
{
    m_ui->fileNameEdit->setText(QString::fromStdString(name));
}

void DialogTargetFile::showInstalledCodecs(std::int32_t codecNumber)
{
    DialogCodecConfigure(this, m_services, codecNumber).exec();
}

void DialogTargetFile::copyFirstExample()
{
    m_presenter.copyExample(0);
}

void DialogTargetFile::copySecondExample()
{
    m_presenter.copyExample(1);
}

void DialogTargetFile::copyThirdExample()
{
    m_presenter.copyExample(2);
}

void DialogTargetFile::browse()
{
    m_presenter.browse();
}

void DialogTargetFile::installedCodecs()
{
    m_presenter.installedCodecs();
}

void DialogTargetFile::openHelp()
{
    m_presenter.help();
}

} // namespace sorvella
