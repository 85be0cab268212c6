#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sorvella {

// The section that holds the program's own settings.
inline constexpr std::string_view kDefaultSettingsSection = "Default Settings";

// The per-user store of named values, grouped in sections. One thread at a
// time uses a given store; no operation throws. Failures are silent: a value
// that cannot be read leaves the caller's field alone, a value that cannot be
// written is skipped.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Puts the value `name` of `section` into `value` when it is a decimal
    // 32-bit signed integer (as writeInt stores one); when the value is
    // missing or holds anything else, `value` keeps what it had.
    virtual void readInt(std::string_view section, std::string_view name,
                         std::int32_t& value) const = 0;

    // Puts the value `name` of `section`, as text, into `value`; when the
    // value is missing or is not a single text, `value` keeps what it had.
    virtual void readString(std::string_view section, std::string_view name,
                            std::string& value) const = 0;

    // Stores `value` as `name` of `section`, replacing any value of either
    // kind. The write may stay in memory until flush() or the store's end.
    virtual void writeInt(std::string_view section, std::string_view name, std::int32_t value) = 0;
    virtual void writeString(std::string_view section, std::string_view name,
                             const std::string& value) = 0;

    // Blocks until every write so far has reached the backing file (or has
    // failed, silently).
    virtual void flush() = 0;
};

} // namespace sorvella
