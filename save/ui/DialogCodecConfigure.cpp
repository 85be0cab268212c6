#include "save/ui/DialogCodecConfigure.h"

#include "ui_DialogCodecConfigure.h"

namespace sorvella {

DialogCodecConfigure::DialogCodecConfigure(QWidget* parent, const SaveDialogServices& services,
                                           std::int32_t codecNumber)
    : QDialog(parent), m_ui(std::make_unique<Ui::DialogCodecConfigure>()),
      m_options(this, services.prompter), m_presenter(*this, services.catalogue, services.settings,
                                                      m_options, services.help, codecNumber)
{
    m_ui->setupUi(this);
    connect(m_ui->testCodecButton, &QPushButton::clicked, this, &DialogCodecConfigure::testCodec);
    connect(m_ui->codecOptionsButton, &QPushButton::clicked, this,
            &DialogCodecConfigure::codecOptions);
    connect(m_ui->testAllButton, &QPushButton::clicked, this, &DialogCodecConfigure::testAllCodecs);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->helpButton, &QPushButton::clicked, this, &DialogCodecConfigure::openHelp);
    m_presenter.open();
}

DialogCodecConfigure::~DialogCodecConfigure() = default;

void DialogCodecConfigure::showLines(const std::vector<std::string>& lines)
{
    m_ui->codecList->clear();
    for (const std::string& line : lines) {
        m_ui->codecList->addItem(QString::fromStdString(line));
    }
}

void DialogCodecConfigure::selectLine(std::optional<std::size_t> line)
{
    m_ui->codecList->setCurrentRow(line ? static_cast<int>(*line) : -1);
}

std::optional<std::size_t> DialogCodecConfigure::selectedLine() const
{
    const int row = m_ui->codecList->currentRow();
    if (row < 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(row);
}

void DialogCodecConfigure::testCodec()
{
    m_presenter.testCodec();
}

void DialogCodecConfigure::codecOptions()
{
    m_presenter.codecOptions();
}

void DialogCodecConfigure::testAllCodecs()
{
    m_presenter.testAllCodecs();
}

void DialogCodecConfigure::openHelp()
{
    m_presenter.help();
}

} // namespace sorvella
