#include "platform/fakes/FakeSettingsStore.h"

#include <charconv>

namespace sorvella {

const std::string* FakeSettingsStore::find(std::string_view section, std::string_view name) const
{
    const auto found = m_values.find(Key{section, name});
    return found == m_values.end() ? nullptr : &found->second;
}

void FakeSettingsStore::readInt(std::string_view section, std::string_view name,
                                std::int32_t& value) const
{
    const std::string* text = find(section, name);
    if (text == nullptr) {
        return;
    }
    std::int32_t parsed = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, parsed);
    if (error == std::errc{} && stop == end) {
        value = parsed;
    }
}

void FakeSettingsStore::readString(std::string_view section, std::string_view name,
                                   std::string& value) const
{
    if (const std::string* text = find(section, name)) {
        value = *text;
    }
}

void FakeSettingsStore::writeInt(std::string_view section, std::string_view name,
                                 std::int32_t value)
{
    m_values[Key{section, name}] = std::to_string(value);
}

void FakeSettingsStore::writeString(std::string_view section, std::string_view name,
                                    const std::string& value)
{
    m_values[Key{section, name}] = value;
}

} // namespace sorvella
