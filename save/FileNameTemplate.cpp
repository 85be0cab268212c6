#include "save/FileNameTemplate.h"

#include <array>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string_view>

namespace sorvella {

namespace {

// Bounds the number search: a file system that answers "taken" for every
// name must not keep the save waiting forever.
constexpr std::int64_t kNumbersTried = 1'000'000;

void replaceAll(std::string& text, std::string_view pattern, std::string_view value)
{
    for (auto at = text.find(pattern); at != std::string::npos;
         at = text.find(pattern, at + value.size())) {
        text.replace(at, pattern.size(), value);
    }
}

std::tm localFields(std::int64_t time)
{
    const auto seconds = static_cast<std::time_t>(time);
    std::tm fields{};
    localtime_r(&seconds, &fields);
    return fields;
}

std::string twoDigits(int value)
{
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%02d", value);
    return text.data();
}

void replaceTimes(std::string& name, std::int64_t start, std::int64_t end)
{
    const std::tm from = localFields(start);
    const std::tm to = localFields(end);
    const auto replaceBoth = [&name](std::string_view startVariable, std::string_view endVariable,
                                     int startValue, int endValue) {
        replaceAll(name, startVariable, twoDigits(startValue));
        replaceAll(name, endVariable, twoDigits(endValue));
    };
    replaceBoth("%s", "%S", from.tm_sec, to.tm_sec);
    replaceBoth("%m", "%M", from.tm_min, to.tm_min);
    replaceBoth("%h", "%H", from.tm_hour, to.tm_hour);
    replaceBoth("%d", "%D", from.tm_mday, to.tm_mday);
    replaceBoth("%o", "%O", from.tm_mon + 1, to.tm_mon + 1);
    // tm_year counts from 1900.
    replaceBoth("%y", "%Y", from.tm_year - 100, to.tm_year - 100);
}

} // namespace

bool nameExists(const std::string& name)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(name, error));
}

std::string expandTemplate(const std::string& nameTemplate, std::int64_t start, std::int64_t end,
                           const NameTaken& taken)
{
    std::string name = nameTemplate;
    replaceTimes(name, start, end);

    std::string_view pattern;
    std::int64_t first = 0;
    if (name.find("%N") != std::string::npos) {
        pattern = "%N";
    } else if (name.find("%n") != std::string::npos) {
        pattern = "%n";
        first = 1;
    } else {
        return name;
    }

    std::string candidate;
    for (std::int64_t number = first; number < first + kNumbersTried; ++number) {
        candidate = name;
        replaceAll(candidate, pattern, number == 0 ? std::string() : std::to_string(number));
        if (!taken(candidate)) {
            break;
        }
    }
    return candidate;
}

} // namespace sorvella
