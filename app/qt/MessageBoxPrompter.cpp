#include "app/qt/MessageBoxPrompter.h"

#include <QCoreApplication>
#include <QMessageBox>

#include <cstdio>

namespace sorvella {
namespace {

QMessageBox::StandardButtons standardButtons(Prompter::Buttons buttons)
{
    switch (buttons) {
    case Prompter::Buttons::Ok:
        return QMessageBox::Ok;
    case Prompter::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompter::Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case Prompter::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Prompter::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon boxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::None:
        return QMessageBox::NoIcon;
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Error:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

Prompter::Answer answerOf(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return Prompter::Answer::Ok;
    case QMessageBox::Retry:
        return Prompter::Answer::Retry;
    case QMessageBox::Yes:
        return Prompter::Answer::Yes;
    case QMessageBox::No:
        return Prompter::Answer::No;
    default:
        return Prompter::Answer::Cancel;
    }
}

} // namespace

Prompter::Answer MessageBoxPrompter::unattendedAnswer(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::OkCancel:
    case Buttons::RetryCancel:
    case Buttons::YesNoCancel:
        break;
    }
    return Answer::Cancel;
}

Prompter::Answer MessageBoxPrompter::ask(const std::string& text, const std::string& caption,
                                         Buttons buttons, Icon icon)
{
    const QString title =
        caption.empty() ? QCoreApplication::applicationName() : QString::fromStdString(caption);
    if (m_unattended) {
        std::fprintf(stderr, "%s: %s\n", title.toLocal8Bit().constData(),
                     QString::fromStdString(text).toLocal8Bit().constData());
        return unattendedAnswer(buttons);
    }
    QMessageBox box(boxIcon(icon), title, QString::fromStdString(text), standardButtons(buttons),
                    m_parent);
    box.setWindowModality(Qt::ApplicationModal);
    return answerOf(box.exec());
}

} // namespace sorvella
