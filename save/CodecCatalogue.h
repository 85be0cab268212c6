#pragma once

#include "save/Codec.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sorvella {

class SettingsStore;

// The codecs by their catalogue number (the stored "Target File Codec"),
// counted from 1, and the texts of the catalogue dialog.
class CodecCatalogue {
public:
    // Makes one codec; may raise RecException.
    using Factory = std::function<std::unique_ptr<Codec>()>;

    // factories[i] makes codec number i + 1; an empty entry is a number with
    // no codec on this system. The codecs read their settings from `settings`,
    // which must outlive the catalogue.
    CodecCatalogue(const SettingsStore& settings, std::vector<Factory> factories);

    // The codec of that number with its settings loaded; none for an unknown
    // number and when making it or loading its settings raises.
    std::unique_ptr<Codec> createCodec(std::int32_t number) const;

    // The catalogue list: the description of each codec from number 1 up to
    // the first number without one; with `testAll`, each marked " (installed)"
    // or " (not installed)" by its test.
    std::vector<std::string> listLines(bool testAll) const;

    // Tests codec `number` (none: no line selected). Empty text when the
    // codec works, else the message to show.
    std::string testCodec(std::optional<std::int32_t> number) const;

private:
    const SettingsStore& m_settings;
    std::vector<Factory> m_factories;
};

} // namespace sorvella
