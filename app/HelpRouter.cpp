#include "app/HelpRouter.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QString>

namespace sorvella {

std::string helpTopic(std::int32_t contextId, HelpPhase phase)
{
    const std::int32_t window = contextId & 0xFFF;
    if (phase == HelpPhase::CommandLine) {
        switch (window) {
        case 176:
            return "sysagent.htm";
        case 182:
            return "codec.htm";
        default:
            return "command.htm";
        }
    }
    switch (window) {
    case 129:
        return "timesettings.htm";
    case 133:
        return "config.htm";
    case 152:
        return "config.htm#input";
    case 153:
        return "config.htm#general";
    case 154:
        return "config.htm#file";
    case 162:
        return "edit.htm";
    case 182:
        return "codec.htm";
    case 184:
    case 186:
        return "filewizard.htm";
    default:
        return "index.htm";
    }
}

QUrl HelpRouter::pageFor(std::int32_t contextId) const
{
    const QString topic = QString::fromStdString(helpTopic(contextId, m_phase));
    const qsizetype hash = topic.indexOf('#');
    QUrl page = QUrl::fromLocalFile(
        QString::fromStdString((m_folder / topic.left(hash).toStdString()).string()));
    if (hash >= 0) {
        page.setFragment(topic.mid(hash + 1));
    }
    return page;
}

void HelpRouter::showHelp(std::int32_t contextId) const
{
    QDesktopServices::openUrl(pageFor(contextId));
}

std::filesystem::path HelpRouter::defaultFolder()
{
    return folderOf(QCoreApplication::applicationDirPath().toStdString());
}

std::filesystem::path HelpRouter::folderOf(const std::filesystem::path& programFolder)
{
    std::error_code error;
    if (std::filesystem::is_directory(programFolder / "help", error)) {
        return programFolder / "help";
    }
    // SORVELLA_INSTALLED_HELP_FOLDER is relative to the installed executable's folder.
    return (programFolder / SORVELLA_INSTALLED_HELP_FOLDER).lexically_normal();
}

} // namespace sorvella
