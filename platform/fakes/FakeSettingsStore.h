#pragma once

#include "platform/settings/SettingsStore.h"

#include <map>
#include <string>
#include <utility>

namespace sorvella {

// An in-memory store for tests. Like the settings file it keeps every value
// as text, so an integer read of a text that is no number leaves the field
// alone.
class FakeSettingsStore final : public SettingsStore {
public:
    using Key = std::pair<std::string, std::string>; // section, name

    void readInt(std::string_view section, std::string_view name,
                 std::int32_t& value) const override;
    void readString(std::string_view section, std::string_view name,
                    std::string& value) const override;
    void writeInt(std::string_view section, std::string_view name, std::int32_t value) override;
    void writeString(std::string_view section, std::string_view name,
                     const std::string& value) override;
    void flush() override {}

    // Everything stored so far.
    const std::map<Key, std::string>& values() const { return m_values; }

private:
    const std::string* find(std::string_view section, std::string_view name) const;

    std::map<Key, std::string> m_values;
};

} // namespace sorvella
