#pragma once

#include "core/OpenWindow.h"
#include "platform/system/ThreadPriority.h"
#include "save/SaveJobView.h"

#include <QDialog>

#include <memory>

namespace Ui {
class SaveProgressWindow;
}

namespace sorvella {

class OpenWindows;
class Prompter;
class SaveJob;

// "Saving...": the modeless window of one save job. It draws what the job
// thread reports (queued to the main thread), forwards Cancel, shows a
// failure under "Saving failed..." and closes itself when the job has ended.
// Closing it any other way cancels the job. Deletes itself on close.
class SaveProgressWindow final : public QDialog, public OpenWindow, private SaveJobView {
    Q_OBJECT

public:
    // Takes the job (not started yet) and joins `openWindows` until destroyed.
    SaveProgressWindow(std::unique_ptr<SaveJob> job, Prompter& prompter, OpenWindows& openWindows,
                       QWidget* parent);
    // Leaves `openWindows`, cancels the job and waits for its thread: at
    // most the block being written, or one look at a busy codec.
    ~SaveProgressWindow() override;

    // Starts the job thread with this window as its view.
    void startJob(ThreadPriority priority);

    // OpenWindow
    void showWindow() override;
    void closeWindow() override;
    bool closesByItself() const override { return true; }

signals:
    void titleReported(const QString& title);
    void progressReported(int thousandths);
    void endReported(const QString& failure);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape cancels the job rather than hiding the window.
    void reject() override;

private:
    // SaveJobView, on the job thread.
    void setTitle(const std::string& title) override;
    void setProgress(int thousandths) override;
    void jobEnded(const std::string& failure) override;

    void cancelJob();
    void endJob(const QString& failure);

    std::unique_ptr<Ui::SaveProgressWindow> m_ui;
    Prompter& m_prompter;
    OpenWindows& m_openWindows;
    std::unique_ptr<SaveJob> m_job;
    bool m_jobEnded = false;
};

} // namespace sorvella
