#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class AboutDialog;
}

namespace sorvella {

// "About Sorvella": the product's name, version and build number, and a way
// to its home page.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);
    ~AboutDialog() override;

private:
    void openHomePage();

    std::unique_ptr<Ui::AboutDialog> m_ui;
};

} // namespace sorvella
