#include "save/ui/DialogCodecFormatSelector.h"

#include "ui_DialogCodecFormatSelector.h"

namespace sorvella {

DialogCodecFormatSelector::DialogCodecFormatSelector(QWidget* parent,
                                                     std::vector<std::string> labels,
                                                     HelpTopicOpener help)
    : QDialog(parent), m_ui(std::make_unique<Ui::DialogCodecFormatSelector>()),
      m_presenter(*this, std::move(labels), std::move(help))
{
    m_ui->setupUi(this);
    connect(m_ui->okButton, &QPushButton::clicked, this, &DialogCodecFormatSelector::acceptChoice);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->helpButton, &QPushButton::clicked, this, &DialogCodecFormatSelector::openHelp);
    m_presenter.open();
}

DialogCodecFormatSelector::~DialogCodecFormatSelector() = default;

void DialogCodecFormatSelector::showOptions(const std::vector<std::string>& options)
{
    m_ui->formatList->clear();
    for (const std::string& option : options) {
        m_ui->formatList->addItem(QString::fromStdString(option));
    }
}

void DialogCodecFormatSelector::selectOption(int index)
{
    m_ui->formatList->setCurrentIndex(index);
}

int DialogCodecFormatSelector::selectedOption() const
{
    return m_ui->formatList->currentIndex();
}

void DialogCodecFormatSelector::openHelp()
{
    m_presenter.help();
}

void DialogCodecFormatSelector::acceptChoice()
{
    m_chosen = m_presenter.accept();
    accept();
}

} // namespace sorvella
