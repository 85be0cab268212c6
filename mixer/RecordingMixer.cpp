#include "mixer/RecordingMixer.h"

#include "core/RecException.h"

#include <algorithm>

namespace sorvella {
namespace {

constexpr const char* kCannotOpen = "cannot open Mixer device";
constexpr const char* kNoControls = "cannot get mixer-line controls";
constexpr const char* kValueFailed = "Mixer-GetControlDetails: cannot get/set value";
constexpr const char* kNoSwitch = "no such switch";

constexpr std::uint32_t kFullScale = 65535;

[[noreturn]] void noLine(int source)
{
    const std::string name = source == -1 ? "dst-wavein" : "source " + std::to_string(source);
    throw RecException("cannot get line info: " + name);
}

} // namespace

void RecordingMixer::open(int soundCard)
{
    m_sourceItems.clear();
    m_device = m_mixers.open(soundCard);
    if (!m_device) {
        throw RecException(kCannotOpen);
    }
    buildSourceMap();
}

MixerDevice& RecordingMixer::device()
{
    if (!m_device) {
        throw RecException(kCannotOpen);
    }
    return *m_device;
}

MixerControl RecordingMixer::findControl(int source, MixerControlType type)
{
    const std::optional<MixerLine> destination = device().destination();
    if (!destination) {
        noLine(-1);
    }
    std::uint32_t lineId = destination->id;
    if (source != -1) {
        const auto line =
            source >= 0 ? device().source(static_cast<std::uint32_t>(source)) : std::nullopt;
        if (!line) {
            noLine(source);
        }
        lineId = line->id;
    }
    const std::optional<MixerControl> control = device().control(lineId, type);
    if (!control) {
        throw RecException(kNoControls);
    }
    return *control;
}

std::optional<MixerControl> RecordingMixer::selectionControl()
{
    const std::optional<MixerLine> destination = device().destination();
    if (!destination) {
        return std::nullopt;
    }
    if (auto multiple = device().control(destination->id, MixerControlType::MultipleSelect)) {
        return multiple;
    }
    return device().control(destination->id, MixerControlType::SingleSelect);
}

MixerControl RecordingMixer::findSelectionControl()
{
    if (!device().destination()) {
        noLine(-1);
    }
    const std::optional<MixerControl> control = selectionControl();
    if (!control) {
        throw RecException(kNoControls);
    }
    return *control;
}

std::vector<std::uint32_t> RecordingMixer::read(const MixerControl& control)
{
    std::vector<std::uint32_t> values(std::max<std::uint32_t>(control.itemCount, 1), 0);
    if (!device().readValues(control, values)) {
        throw RecException(kValueFailed);
    }
    return values;
}

void RecordingMixer::write(const MixerControl& control, const std::vector<std::uint32_t>& values)
{
    if (!device().writeValues(control, values)) {
        throw RecException(kValueFailed);
    }
}

int RecordingMixer::volume(int source)
{
    const std::uint64_t value = read(findControl(source, MixerControlType::Volume))[0];
    return static_cast<int>(std::min<std::uint64_t>((value * 100 + 32768) / 65536, 100));
}

void RecordingMixer::setVolume(int source, int percent)
{
    const auto share = static_cast<std::uint32_t>(std::clamp(percent, 0, 100));
    const std::uint32_t value = std::min(share * 65536 / 100, kFullScale);
    write(findControl(source, MixerControlType::Volume), {value});
}

std::uint32_t RecordingMixer::selectionItem(int source, const MixerControl& selection) const
{
    std::int64_t item = source;
    if (!m_sourceItems.empty()) {
        item = source >= 0 && static_cast<std::size_t>(source) < m_sourceItems.size()
                   ? m_sourceItems[static_cast<std::size_t>(source)]
                   : -1;
    }
    if (item < 0 || item >= selection.itemCount) {
        throw RecException(kNoSwitch);
    }
    return static_cast<std::uint32_t>(item);
}

bool RecordingMixer::isSelected(int source)
{
    const MixerControl selection = findSelectionControl();
    const std::uint32_t item = selectionItem(source, selection);
    return read(selection)[item] != 0;
}

void RecordingMixer::setSelected(int source, bool on)
{
    if (source < 0) {
        return;
    }
    const MixerControl selection = findSelectionControl();
    const std::uint32_t item = selectionItem(source, selection);
    std::vector<std::uint32_t> values = read(selection);
    values[item] = on ? 1 : 0;
    // A single-select control refuses a second item on; the read-back shows
    // that, and the item is then chosen alone.
    device().writeValues(selection, values);
    values = read(selection);
    if ((values[item] != 0) != on) {
        std::ranges::fill(values, 0);
        values[item] = on ? 1 : 0;
        write(selection, values);
    }
}

void RecordingMixer::deselectAll()
{
    const std::optional<MixerLine> destination = device().destination();
    if (!destination) {
        return;
    }
    const auto multiple = device().control(destination->id, MixerControlType::MultipleSelect);
    if (multiple) {
        write(*multiple, std::vector<std::uint32_t>(multiple->itemCount, 0));
    }
}

std::optional<std::vector<std::uint32_t>> RecordingMixer::selection()
{
    const std::optional<MixerControl> control = selectionControl();
    if (!control) {
        return std::nullopt;
    }
    return read(*control);
}

void RecordingMixer::restoreSelection(const std::vector<std::uint32_t>& values)
{
    const MixerControl control = findSelectionControl();
    write(control, values);
    if (read(control) != values) {
        throw RecException(kValueFailed);
    }
}

void RecordingMixer::buildSourceMap()
{
    const std::optional<MixerControl> selection = selectionControl();
    const auto items = selection ? device().listItems(*selection) : std::nullopt;
    if (!items) {
        return; // without the items' lines, source numbers are item numbers
    }
    std::vector<bool> claimed(items->size(), false);
    for (std::uint32_t j = 0; j < kMaxSources; ++j) {
        const std::optional<MixerLine> line = device().source(j);
        if (!line) {
            break;
        }
        std::int32_t item = -1;
        for (std::size_t k = 0; k < items->size(); ++k) {
            if ((*items)[k].lineId == line->id) {
                item = static_cast<std::int32_t>(k);
            }
        }
        if (item >= 0) {
            claimed[static_cast<std::size_t>(item)] = true;
        }
        m_sourceItems.push_back(item);
    }
    // Inputs that no line stands for ("Line" on a card without such an
    // element) are still chosen by number, after the lines.
    for (std::size_t k = 0; k < items->size() && m_sourceItems.size() < kMaxSources; ++k) {
        if (!claimed[k]) {
            m_sourceItems.push_back(static_cast<std::int32_t>(k));
        }
    }
}

} // namespace sorvella
