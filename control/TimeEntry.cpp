#include "control/TimeEntry.h"

#include "control/TimeText.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string_view>
#include <vector>

namespace sorvella {
namespace {

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The decimal number a part starts with; 0 when it starts with none. Large
// values are capped well before they could overflow the sum.
std::int64_t partValue(std::string_view part)
{
    constexpr std::int64_t huge = std::int64_t{1} << 40;
    part = trimmed(part);
    std::int64_t value = 0;
    const std::errc error = std::from_chars(part.data(), part.data() + part.size(), value).ec;
    if (error == std::errc::result_out_of_range) {
        return huge;
    }
    return error == std::errc() ? std::clamp<std::int64_t>(value, 0, huge) : 0;
}

} // namespace

std::int32_t parseTimeEntry(const std::string& text)
{
    std::string_view rest = trimmed(text);
    const bool negative = !rest.empty() && rest.front() == '-';
    if (negative) {
        rest.remove_prefix(1);
    }
    std::vector<std::string_view> parts;
    for (std::size_t colon = rest.find(':'); colon != std::string_view::npos;
         colon = rest.find(':')) {
        parts.push_back(rest.substr(0, colon));
        rest.remove_prefix(colon + 1);
    }
    parts.push_back(rest);
    std::int64_t seconds = 0;
    if (parts.size() == 1) {
        seconds = partValue(parts.front()) * 60;
    } else {
        std::int64_t unit = 1;
        for (auto part = parts.rbegin(); part != parts.rend() && unit <= 3600; ++part) {
            seconds += partValue(*part) * unit;
            unit *= 60;
        }
    }
    constexpr std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::min(seconds, limit) * (negative ? -1 : 1));
}

std::string timeEntryText(std::int64_t seconds)
{
    return seconds < 0 ? "-" + timeText(-seconds, TimeStyle::Short)
                       : timeText(seconds, TimeStyle::Short);
}

} // namespace sorvella
