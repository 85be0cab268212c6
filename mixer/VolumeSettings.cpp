#include "mixer/VolumeSettings.h"

#include "core/RecException.h"

#include <algorithm>
#include <charconv>

namespace sorvella {
namespace {

constexpr std::string_view kPrefix = "-v:";

[[noreturn]] void wrongArguments()
{
    throw RecException(VolumeSettings::kWrongArguments);
}

// A whole run of decimal digits no larger than `limit`.
int number(std::string_view digits, int limit)
{
    int value = 0;
    const char* end = digits.data() + digits.size();
    if (digits.empty() ||
        !std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; })) {
        wrongArguments();
    }
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (error != std::errc() || stop != end || value > limit) {
        wrongArguments();
    }
    return value;
}

VolumeItem item(std::string_view text)
{
    const auto dash = text.find('-');
    VolumeItem read;
    read.source = number(text.substr(0, dash), VolumeSettings::kMaxSources) - 1;
    if (dash != std::string_view::npos && dash + 1 < text.size()) {
        read.percent = number(text.substr(dash + 1), 100);
    }
    return read;
}

} // namespace

VolumeSettings VolumeSettings::parse(std::string_view text)
{
    VolumeSettings settings;
    if (text.empty() || text == kPrefix) {
        return settings;
    }
    if (!text.starts_with(kPrefix)) {
        wrongArguments();
    }
    text.remove_prefix(kPrefix.size());
    for (;;) {
        const auto colon = text.find(':');
        const VolumeItem read = item(text.substr(0, colon));
        if (std::ranges::any_of(settings.items, [&](const VolumeItem& known) {
                return known.source == read.source;
            })) {
            wrongArguments();
        }
        settings.items.push_back(read);
        if (colon == std::string_view::npos) {
            return settings;
        }
        text.remove_prefix(colon + 1);
    }
}

std::string VolumeSettings::text() const
{
    if (items.empty()) {
        return {};
    }
    std::string text = "-v";
    for (const VolumeItem& entry : items) {
        text += ":" + std::to_string(entry.source + 1) + "-";
        if (entry.percent) {
            text += std::to_string(*entry.percent);
        }
    }
    return text;
}

} // namespace sorvella
