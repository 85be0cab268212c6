#pragma once

#include "platform/fakes/FakeMixerSystem.h"
#include "tests/support/FakePrompter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <ostream>
#include <string>

namespace sorvella::test {

// A fake card whose capture destination and sources have the given raw
// volumes (65535 is 100 %); `selected` lists the sources switched on.
inline void setUpSources(FakeMixerState& mixer, FakeMixerState::Selection selection,
                         std::uint32_t destination, std::initializer_list<std::uint32_t> sources,
                         std::initializer_list<int> selected)
{
    mixer.selection = selection;
    mixer.destination.volume = destination;
    int number = 0;
    for (const std::uint32_t volume : sources) {
        mixer.addSource("Source " + std::to_string(number), volume,
                        std::find(selected.begin(), selected.end(), number) != selected.end());
        ++number;
    }
}

inline std::vector<int> selectedSources(const FakeMixerState& mixer)
{
    std::vector<int> on;
    for (const FakeMixerItem& item : mixer.items) {
        if (item.on) {
            on.push_back(item.source);
        }
    }
    return on;
}

} // namespace sorvella::test

namespace sorvella {

// Failure messages show the volumes and switches, not the object's bytes.
inline void PrintTo(const FakeMixerState& mixer, std::ostream* out)
{
    const auto volume = [](const FakeMixerLine& line) {
        return line.volume ? std::to_string(*line.volume) : std::string("none");
    };
    *out << "destination " << volume(mixer.destination) << ", sources";
    for (const FakeMixerLine& line : mixer.sources) {
        *out << " " << volume(line);
    }
    *out << ", items";
    for (const FakeMixerItem& item : mixer.items) {
        *out << " " << item.source << (item.on ? "+" : "-");
    }
}

} // namespace sorvella
