#include "app/OptionNumbers.h"

#include <limits>

namespace sorvella {
namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kSecondsPerUnit = 60;

bool isSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::optional<std::int32_t> narrowed(std::int64_t value)
{
    if (value < kMin || value > kMax) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

std::optional<std::int32_t> leadingNumber(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && isSpace(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    std::int64_t magnitude = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        magnitude = magnitude * 10 + (text[at] - '0');
        if (magnitude > kMax + 1) {
            return std::nullopt;
        }
    }
    return narrowed(negative ? -magnitude : magnitude);
}

std::optional<std::int32_t> timeInSeconds(std::string_view text)
{
    if (text.find(':') == std::string_view::npos) {
        const std::optional<std::int32_t> minutes = leadingNumber(text);
        return minutes ? narrowed(*minutes * kSecondsPerUnit) : std::nullopt;
    }
    std::int64_t seconds = 0;
    for (;;) {
        const auto colon = text.find(':');
        const std::optional<std::int32_t> part = leadingNumber(text.substr(0, colon));
        if (!part || !narrowed(seconds * kSecondsPerUnit + *part)) {
            return std::nullopt;
        }
        seconds = seconds * kSecondsPerUnit + *part;
        if (colon == std::string_view::npos) {
            return narrowed(seconds);
        }
        text.remove_prefix(colon + 1);
    }
}

} // namespace sorvella
