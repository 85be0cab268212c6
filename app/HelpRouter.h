#pragma once

#include <QUrl>

#include <cstdint>
#include <filesystem>
#include <string>

namespace sorvella {

// Where the program is in its start-up: while the command line and a
// scheduled job are processed, help requests lead to their pages.
enum class HelpPhase { Constructed, CommandLine, Running };

// The help page (with its anchor) of a window's help identifier.
std::string helpTopic(std::int32_t contextId, HelpPhase phase);

// Every help request of the program ends here: it opens the page of the
// request's window in the browser.
class HelpRouter {
public:
    // `helpFolder` holds the pages.
    explicit HelpRouter(std::filesystem::path helpFolder) : m_folder(std::move(helpFolder)) {}

    void setPhase(HelpPhase phase) { m_phase = phase; }

    // The page as the browser gets it: a file address with the anchor.
    QUrl pageFor(std::int32_t contextId) const;
    void showHelp(std::int32_t contextId) const;

    // The pages of the running executable (folderOf its folder).
    static std::filesystem::path defaultFolder();
    // The pages beside the executable in `programFolder` (a build folder),
    // else those of the installed data folder.
    static std::filesystem::path folderOf(const std::filesystem::path& programFolder);

private:
    std::filesystem::path m_folder;
    HelpPhase m_phase = HelpPhase::Constructed;
};

} // namespace sorvella
