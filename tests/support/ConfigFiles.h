#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace sorvella::test {

// Files in the test process's private configuration home (XDG_CONFIG_HOME).
inline std::filesystem::path configHome()
{
    return std::getenv("XDG_CONFIG_HOME");
}

// Where the settings of `application` are kept.
inline std::filesystem::path settingsFile(const std::string& application)
{
    return configHome() / "Quillet-Application" / (application + ".conf");
}

inline std::string readText(const std::filesystem::path& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

inline void writeText(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Makes `folder` the desktop's documents folder (it need not exist).
inline void setDocumentsFolder(const std::filesystem::path& folder)
{
    writeText(configHome() / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"" + folder.string() + "\"\n");
}

} // namespace sorvella::test
