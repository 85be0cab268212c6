#include "control/ui/AboutDialog.h"

#include "control/ProductInfo.h"
#include "control/ui/ControlResources.h"
#include "ui_AboutDialog.h"

#include <QDesktopServices>
#include <QUrl>

namespace sorvella {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::AboutDialog>())
{
    loadControlResources();
    m_ui->setupUi(this);
    m_ui->icon->setPixmap(stateIconImage(StateIcon::Loop).pixmap(32, 32));
    m_ui->productEdit->setText(QStringLiteral("%1 %2").arg(kProductName, kProductVersion));
    m_ui->buildEdit->setText(QStringLiteral("Build number: %1").arg(kBuildNumber));
    connect(m_ui->homePageButton, &QPushButton::clicked, this, &AboutDialog::openHomePage);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::openHomePage()
{
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(kHomePageAddress) + kProductVersion));
}

} // namespace sorvella
