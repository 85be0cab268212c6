#pragma once

#include "control/RetryDialog.h"

#include <QDialog>

#include <memory>

namespace Ui {
class QtRetryDialog;
}

namespace sorvella {

// The retry dialog as a modeless Qt window over the main window. It is a
// window of its own rather than the main window's child, because the main
// window is disabled while it is up and would disable its children with it.
// Cancel only marks the dialog: the controller closes it on its next tick.
class QtRetryDialog : public QDialog, public RetryDialog {
    Q_OBJECT

public:
    explicit QtRetryDialog(QWidget* over);
    ~QtRetryDialog() override;

    void show(std::int32_t remaining) override;
    void showReason(const std::string& reason) override;
    bool cancelled() const override { return m_cancelled; }

    // Escape and the window's close button count as Cancel too.
    void reject() override;

private:
    std::unique_ptr<Ui::QtRetryDialog> m_ui;
    bool m_cancelled = false;
    std::int32_t m_maxTicks = 0;
};

} // namespace sorvella
