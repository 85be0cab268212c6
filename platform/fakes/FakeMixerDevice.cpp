#include "platform/fakes/FakeMixerDevice.h"

#include <algorithm>

namespace sorvella {
namespace {

// Line 0 is never used, so items that switch no line can point at it.
constexpr std::uint32_t kNoLineId = 0;
constexpr std::uint32_t kDestinationId = 1;
constexpr std::uint32_t kFirstSourceId = 2;
// The selection control is odd, every volume control is twice its line's id.
constexpr std::uint32_t kSelectionControlId = 1;

std::uint32_t sourceLineId(std::size_t source)
{
    return kFirstSourceId + static_cast<std::uint32_t>(source);
}

} // namespace

int FakeMixerState::addSource(std::string name, std::optional<std::uint32_t> volume, bool on)
{
    const int number = static_cast<int>(sources.size());
    sources.push_back({std::move(name), volume});
    items.push_back({number, on});
    return number;
}

FakeMixerLine* FakeMixerDevice::lineWithId(std::uint32_t lineId)
{
    if (!m_state.hasCaptureLines) {
        return nullptr;
    }
    if (lineId == kDestinationId) {
        return &m_state.destination;
    }
    if (lineId >= kFirstSourceId && lineId - kFirstSourceId < m_state.sources.size()) {
        return &m_state.sources[lineId - kFirstSourceId];
    }
    return nullptr;
}

bool FakeMixerDevice::mayWrite()
{
    if (m_state.writesLeft) {
        if (*m_state.writesLeft == 0) {
            return false;
        }
        --*m_state.writesLeft;
    }
    ++m_writes;
    return true;
}

bool FakeMixerDevice::isSelectionControl(const MixerControl& control) const
{
    return control.id == kSelectionControlId;
}

std::optional<MixerLine> FakeMixerDevice::destination()
{
    if (!m_state.hasCaptureLines) {
        return std::nullopt;
    }
    return MixerLine{kDestinationId, m_state.destination.name};
}

std::optional<MixerLine> FakeMixerDevice::source(std::uint32_t index)
{
    if (!m_state.hasCaptureLines || index >= m_state.sources.size()) {
        return std::nullopt;
    }
    return MixerLine{sourceLineId(index), m_state.sources[index].name};
}

std::optional<MixerControl> FakeMixerDevice::control(std::uint32_t lineId, MixerControlType type)
{
    const FakeMixerLine* line = lineWithId(lineId);
    if (line == nullptr) {
        return std::nullopt;
    }
    if (type == MixerControlType::Volume) {
        if (!line->volume) {
            return std::nullopt;
        }
        return MixerControl{lineId * 2, 1};
    }
    const auto wanted = type == MixerControlType::MultipleSelect
                            ? FakeMixerState::Selection::Multiple
                            : FakeMixerState::Selection::Single;
    if (lineId != kDestinationId || m_state.selection != wanted || m_state.items.empty()) {
        return std::nullopt;
    }
    return MixerControl{kSelectionControlId, static_cast<std::uint32_t>(m_state.items.size())};
}

bool FakeMixerDevice::readValues(const MixerControl& control, std::span<std::uint32_t> values)
{
    if (isSelectionControl(control)) {
        if (m_state.failSelectionRead || values.size() != m_state.items.size()) {
            return false;
        }
        std::ranges::transform(m_state.items, values.begin(),
                               [](const FakeMixerItem& item) { return item.on ? 1u : 0u; });
        return true;
    }
    const FakeMixerLine* line = lineWithId(control.id / 2);
    if (line == nullptr || !line->volume || line->failVolumeRead || values.size() != 1) {
        return false;
    }
    values[0] = *line->volume;
    return true;
}

bool FakeMixerDevice::writeValues(const MixerControl& control,
                                  std::span<const std::uint32_t> values)
{
    if (isSelectionControl(control)) {
        if (m_state.failSelectionWrite || values.size() != m_state.items.size()) {
            return false;
        }
        if (m_state.selection == FakeMixerState::Selection::Single &&
            std::ranges::count_if(values, [](std::uint32_t v) { return v != 0; }) != 1) {
            return false;
        }
        if (!mayWrite()) {
            return false;
        }
        for (std::size_t i = 0; i < values.size(); ++i) {
            m_state.items[i].on = values[i] != 0;
        }
        return true;
    }
    FakeMixerLine* line = lineWithId(control.id / 2);
    if (line == nullptr || !line->volume || line->failVolumeWrite || values.size() != 1 ||
        values[0] > 65535 || !mayWrite()) {
        return false;
    }
    line->volume = values[0];
    return true;
}

std::optional<std::vector<MixerListItem>> FakeMixerDevice::listItems(const MixerControl& control)
{
    if (!isSelectionControl(control) || m_state.failListItems) {
        return std::nullopt;
    }
    std::vector<MixerListItem> list;
    for (const FakeMixerItem& item : m_state.items) {
        if (item.source == FakeMixerItem::kNoLine) {
            list.push_back({kNoLineId, "unconnected"});
        } else {
            const auto source = static_cast<std::size_t>(item.source);
            list.push_back({sourceLineId(source), m_state.sources.at(source).name});
        }
    }
    return list;
}

} // namespace sorvella
