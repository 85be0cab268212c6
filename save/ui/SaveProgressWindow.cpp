#include "save/ui/SaveProgressWindow.h"

#include "core/OpenWindows.h"
#include "core/Prompter.h"
#include "save/SaveJob.h"
#include "ui_SaveProgressWindow.h"

#include <QCloseEvent>
#include <QPointer>

namespace sorvella {

SaveProgressWindow::SaveProgressWindow(std::unique_ptr<SaveJob> job, Prompter& prompter,
                                       OpenWindows& openWindows, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::SaveProgressWindow>()), m_prompter(prompter),
      m_openWindows(openWindows), m_job(std::move(job))
{
    m_ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    // The job thread emits; the widgets are touched only here, on the main thread.
    connect(this, &SaveProgressWindow::titleReported, this, &QWidget::setWindowTitle,
            Qt::QueuedConnection);
    connect(this, &SaveProgressWindow::progressReported, m_ui->progress, &QProgressBar::setValue,
            Qt::QueuedConnection);
    connect(this, &SaveProgressWindow::endReported, this, &SaveProgressWindow::endJob,
            Qt::QueuedConnection);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &SaveProgressWindow::cancelJob);
    m_openWindows.add(*this);
}

SaveProgressWindow::~SaveProgressWindow()
{
    m_openWindows.remove(*this);
    m_job.reset();
}

void SaveProgressWindow::startJob(ThreadPriority priority)
{
    m_job->start(*this, priority);
}

void SaveProgressWindow::showWindow()
{
    showNormal();
    setEnabled(true);
}

void SaveProgressWindow::closeWindow()
{
    delete this;
}

void SaveProgressWindow::closeEvent(QCloseEvent* event)
{
    if (!m_jobEnded) {
        // The window closes itself once the job thread has stopped.
        cancelJob();
        event->ignore();
        return;
    }
    event->accept();
}

void SaveProgressWindow::reject()
{
    cancelJob();
}

void SaveProgressWindow::setTitle(const std::string& title)
{
    emit titleReported(QString::fromStdString(title));
}

void SaveProgressWindow::setProgress(int thousandths)
{
    emit progressReported(thousandths);
}

void SaveProgressWindow::jobEnded(const std::string& failure)
{
    emit endReported(QString::fromStdString(failure));
}

void SaveProgressWindow::cancelJob()
{
    m_job->cancel();
}

void SaveProgressWindow::endJob(const QString& failure)
{
    if (!failure.isEmpty()) {
        // The box runs its own event loop, in which the owner may destroy us.
        const QPointer<SaveProgressWindow> self(this);
        m_prompter.ask(failure.toStdString(), "Saving failed...", Prompter::Buttons::Ok,
                       Prompter::Icon::Warning);
        if (!self) {
            return;
        }
    }
    m_jobEnded = true;
    close();
}

} // namespace sorvella
