#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace sorvella {

// A line of the recording mixer: the destination that feeds the capture
// device, or one of the sources that are switched or mixed into it.
struct MixerLine {
    std::uint32_t id = 0;
    std::string name;
};

enum class MixerControlType {
    Volume,         // one value, the line's level from 0 to 65535
    MultipleSelect, // destination only: one on/off value per item, any number on
    SingleSelect,   // destination only: one value per item, exactly one on
};

struct MixerControl {
    std::uint32_t id = 0;
    std::uint32_t itemCount = 1; // how many values it reads and writes
};

// One item of a selection control: the line it switches into the recording.
struct MixerListItem {
    std::uint32_t lineId = 0;
    std::string name;
};

// One open recording mixer; closing it is destroying it. All calls come from
// the main thread and return at once (one request to the sound system each).
// Nothing is buffered: a write takes effect before it returns, and a read
// shows what the device holds, including what a write did to other items.
// Failures are results, never exceptions: the caller has the user's words.
class MixerDevice {
public:
    virtual ~MixerDevice() = default;

    // The destination that feeds the capture device; nothing when the card
    // has no capture lines at all.
    virtual std::optional<MixerLine> destination() = 0;

    // The destination's source number `index` (0, 1, ... in a fixed order);
    // nothing beyond the last one. Never the destination itself.
    virtual std::optional<MixerLine> source(std::uint32_t index) = 0;

    // The line's control of that type; nothing when the line has none.
    virtual std::optional<MixerControl> control(std::uint32_t lineId, MixerControlType type) = 0;

    // Fills `values` with the control's current values; its size must be the
    // control's itemCount. False when the device cannot be read.
    virtual bool readValues(const MixerControl& control, std::span<std::uint32_t> values) = 0;

    // Sets all the control's values. False, with nothing changed, when the
    // count is wrong, a single-select control is not given exactly one value
    // that is on, or the device refuses.
    virtual bool writeValues(const MixerControl& control,
                             std::span<const std::uint32_t> values) = 0;

    // A selection control's items in the order of its values; nothing when
    // they cannot be read.
    virtual std::optional<std::vector<MixerListItem>> listItems(const MixerControl& control) = 0;
};

// The recording mixers of the machine.
class MixerSystem {
public:
    virtual ~MixerSystem() = default;

    // Main thread. The mixer of the card behind input device `soundCard`
    // (0 the default input, n the input device n - 1; a number without a
    // device means the default input). Null when it cannot be opened.
    virtual std::unique_ptr<MixerDevice> open(int soundCard) = 0;

    // Main thread. The name under which the system's mixer programs know the
    // control device of input device `soundCard` (e.g. "hw:CARD=PCH").
    virtual std::string controlName(int soundCard) = 0;
};

} // namespace sorvella
