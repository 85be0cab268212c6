#pragma once

#include "platform/mixer/MixerDevice.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sorvella {

// The mixer a FakeMixerDevice shows. Tests set it up as plain data and read
// back what the code under test left in it.
struct FakeMixerLine {
    std::string name;
    std::optional<std::uint32_t> volume; // nothing: the line has no volume control
    bool failVolumeRead = false;
    bool failVolumeWrite = false;

    bool operator==(const FakeMixerLine&) const = default;
};

struct FakeMixerItem {
    int source = 0; // kNoLine: an item that switches no line
    bool on = false;

    static constexpr int kNoLine = -1;
    bool operator==(const FakeMixerItem&) const = default;
};

struct FakeMixerState {
    enum class Selection { None, Multiple, Single };

    bool hasCaptureLines = true;
    FakeMixerLine destination{"Capture", 65535};
    std::vector<FakeMixerLine> sources;
    Selection selection = Selection::None;
    std::vector<FakeMixerItem> items; // the selection control's values, in order
    bool failSelectionRead = false;
    bool failSelectionWrite = false;
    bool failListItems = false;
    std::optional<int> writesLeft; // when set, writes fail once this many have been made

    // Adds a source with its item at the end of the selection list; returns
    // its source number.
    int addSource(std::string name, std::optional<std::uint32_t> volume, bool on);

    bool operator==(const FakeMixerState&) const = default;
};

// A recording mixer held in memory. Single-select controls enforce exactly
// one item on, as a hardware multiplexer does; writes are counted.
class FakeMixerDevice : public MixerDevice {
public:
    FakeMixerDevice(FakeMixerState& state, int& writeCount) : m_state(state), m_writes(writeCount)
    {
    }

    std::optional<MixerLine> destination() override;
    std::optional<MixerLine> source(std::uint32_t index) override;
    std::optional<MixerControl> control(std::uint32_t lineId, MixerControlType type) override;
    bool readValues(const MixerControl& control, std::span<std::uint32_t> values) override;
    bool writeValues(const MixerControl& control, std::span<const std::uint32_t> values) override;
    std::optional<std::vector<MixerListItem>> listItems(const MixerControl& control) override;

private:
    bool mayWrite();
    FakeMixerLine* lineWithId(std::uint32_t lineId);
    bool isSelectionControl(const MixerControl& control) const;

    FakeMixerState& m_state;
    int& m_writes;
};

} // namespace sorvella
