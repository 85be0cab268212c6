#include "save/TargetPath.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <utility>

namespace sorvella {

namespace {

// More digits than this in "(n)" are part of the name, not the series
// number: the next number must stay within 32 bits.
constexpr std::size_t kMostNumberDigits = 9;

// The stem without a trailing " (n)" and n, or the stem and 0.
std::pair<std::string, std::int64_t> splitSeriesNumber(const std::string& stem)
{
    if (stem.size() < 4 || stem.back() != ')') {
        return {stem, 0};
    }
    const std::size_t close = stem.size() - 1;
    std::size_t digits = close;
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(stem[digits - 1])) != 0) {
        --digits;
    }
    const std::size_t count = close - digits;
    if (count == 0 || count > kMostNumberDigits || digits < 2 ||
        stem.compare(digits - 2, 2, " (") != 0) {
        return {stem, 0};
    }
    return {stem.substr(0, digits - 2), std::stoll(stem.substr(digits, count))};
}

} // namespace

FileNameParts splitFileName(const std::string& name)
{
    const std::size_t slash = name.rfind('/');
    const std::size_t componentStart = slash == std::string::npos ? 0 : slash + 1;
    FileNameParts parts;
    parts.folder = name.substr(0, componentStart);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot <= componentStart) {
        parts.stem = name.substr(componentStart);
    } else {
        parts.stem = name.substr(componentStart, dot - componentStart);
        parts.extension = name.substr(dot);
    }
    return parts;
}

std::string normaliseFileName(std::string name)
{
    std::replace(name.begin(), name.end(), '\\', '/');
    if (name.empty() || name.front() == '/') {
        return name;
    }
    if (name.starts_with("~/")) {
        const char* home = std::getenv("HOME");
        if (home == nullptr || *home != '/') {
            return name;
        }
        std::string folder = home;
        while (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        return (folder == "/" ? std::string() : folder) + name.substr(1);
    }
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (error) {
        return name;
    }
    return (current / name).lexically_normal().string();
}

std::string withExtension(const std::string& name, const std::string& suffix)
{
    const FileNameParts parts = splitFileName(name);
    return parts.folder + parts.stem + suffix;
}

std::string nextNumberedName(const std::string& name)
{
    const FileNameParts parts = splitFileName(name);
    const auto [base, number] = splitSeriesNumber(parts.stem);
    return parts.folder + base + " (" + std::to_string(number + 1) + ")" + parts.extension;
}

std::string nameFromExample(const std::string& currentName, const std::string& nameTemplate)
{
    const FileNameParts parts = splitFileName(currentName);
    const std::string folder = parts.folder.empty() ? std::string("~/") : parts.folder;
    return normaliseFileName(folder + nameTemplate + parts.extension);
}

} // namespace sorvella
