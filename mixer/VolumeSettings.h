#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvella {

// One recorded line of the recording mixer.
struct VolumeItem {
    int source = -1;            // -1 the recording level itself, 0.. the mixer's sources
    std::optional<int> percent; // 0..100; nothing when it could not be read

    bool operator==(const VolumeItem&) const = default;
};

// The text form of the recording mixer's state: "-v" and one item ":n-v" per
// selected line, n the source number + 1, v the volume in per cent or nothing
// ("-v:0-80:2-55", "-v:3-"). Sources that are not listed are to be
// deselected; no items means the mixer is left alone.
struct VolumeSettings {
    static constexpr int kMaxSources = 100;
    static constexpr const char* kWrongArguments =
        "Error: You supplied wrong arguments to -v Option. Please check Manual!";

    std::vector<VolumeItem> items;

    // Reads the text; "" and "-v:" hold no items. An item is "n", "n-" or
    // "n-v" with decimal digits only, n up to kMaxSources, v up to 100, each n
    // once. Throws RecException with kWrongArguments for anything else, so a
    // string is taken whole or not at all.
    static VolumeSettings parse(std::string_view text);

    // "" without items; the items in their order otherwise.
    std::string text() const;
};

} // namespace sorvella
