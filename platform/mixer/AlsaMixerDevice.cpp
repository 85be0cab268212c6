#include "platform/mixer/AlsaMixerDevice.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace sorvella {
namespace {

struct MixerCloser {
    void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
};
using MixerHandle = std::unique_ptr<snd_mixer_t, MixerCloser>;

// Line 0 is the destination, line n the source n - 1.
constexpr std::uint32_t kDestinationId = 0;
constexpr std::uint32_t kNoLineId = 0xffffffff;
// Control ids: the two selection controls, then one volume per line.
constexpr std::uint32_t kSwitchesId = 0;
constexpr std::uint32_t kInputSourceId = 1;
constexpr std::uint32_t kFirstVolumeId = 2;

constexpr std::uint32_t kFullScale = 65535;

std::string elementName(snd_mixer_elem_t* element)
{
    std::string name = snd_mixer_selem_get_name(element);
    if (const unsigned index = snd_mixer_selem_get_index(element); index != 0) {
        name += " " + std::to_string(index);
    }
    return name;
}

bool isInputSelector(snd_mixer_elem_t* element)
{
    const char* name = snd_mixer_selem_get_name(element);
    return snd_mixer_selem_is_enumerated(element) &&
           (std::strcmp(name, "Input Source") == 0 || std::strcmp(name, "Capture Source") == 0);
}

bool hasCaptureChannel(snd_mixer_elem_t* element, snd_mixer_selem_channel_id_t channel)
{
    return snd_mixer_selem_has_capture_channel(element, channel) != 0;
}

constexpr auto kChannels = [] {
    std::array<snd_mixer_selem_channel_id_t, SND_MIXER_SCHN_LAST + 1> all{};
    for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
        all[static_cast<std::size_t>(c)] = static_cast<snd_mixer_selem_channel_id_t>(c);
    }
    return all;
}();

class AlsaMixer : public MixerDevice {
public:
    explicit AlsaMixer(MixerHandle handle);

    std::optional<MixerLine> destination() override;
    std::optional<MixerLine> source(std::uint32_t index) override;
    std::optional<MixerControl> control(std::uint32_t lineId, MixerControlType type) override;
    bool readValues(const MixerControl& control, std::span<std::uint32_t> values) override;
    bool writeValues(const MixerControl& control, std::span<const std::uint32_t> values) override;
    std::optional<std::vector<MixerListItem>> listItems(const MixerControl& control) override;

private:
    snd_mixer_elem_t* lineElement(std::uint32_t lineId) const;
    std::uint32_t lineIdOf(snd_mixer_elem_t* element) const;
    std::uint32_t inputSourceCount() const;
    bool readVolume(snd_mixer_elem_t* element, std::uint32_t& value);
    bool writeVolume(snd_mixer_elem_t* element, std::uint32_t value);
    bool readSwitches(std::span<std::uint32_t> values);
    bool writeSwitches(std::span<const std::uint32_t> values);
    bool readInputSource(std::span<std::uint32_t> values);
    bool writeInputSource(std::span<const std::uint32_t> values);

    MixerHandle m_handle;
    snd_mixer_elem_t* m_capture = nullptr;
    std::vector<snd_mixer_elem_t*> m_sources;
    std::vector<snd_mixer_elem_t*> m_switched; // sources with a capture switch
    snd_mixer_elem_t* m_inputSource = nullptr;
};

AlsaMixer::AlsaMixer(MixerHandle handle) : m_handle(std::move(handle))
{
    for (snd_mixer_elem_t* element = snd_mixer_first_elem(m_handle.get()); element != nullptr;
         element = snd_mixer_elem_next(element)) {
        if (!snd_mixer_selem_is_active(element)) {
            continue;
        }
        if (isInputSelector(element)) {
            m_inputSource = m_inputSource != nullptr ? m_inputSource : element;
            continue;
        }
        const bool volume = snd_mixer_selem_has_capture_volume(element) != 0;
        const bool captureSwitch = snd_mixer_selem_has_capture_switch(element) != 0;
        if (!volume && !captureSwitch) {
            continue;
        }
        if (m_capture == nullptr &&
            std::strcmp(snd_mixer_selem_get_name(element), "Capture") == 0 &&
            snd_mixer_selem_get_index(element) == 0) {
            m_capture = element;
            continue;
        }
        m_sources.push_back(element);
        if (captureSwitch) {
            m_switched.push_back(element);
        }
    }
}

snd_mixer_elem_t* AlsaMixer::lineElement(std::uint32_t lineId) const
{
    if (lineId == kDestinationId) {
        return m_capture;
    }
    return lineId <= m_sources.size() ? m_sources[lineId - 1] : nullptr;
}

std::uint32_t AlsaMixer::lineIdOf(snd_mixer_elem_t* element) const
{
    const auto at = std::ranges::find(m_sources, element);
    return static_cast<std::uint32_t>(at - m_sources.begin()) + 1;
}

std::uint32_t AlsaMixer::inputSourceCount() const
{
    const int items = snd_mixer_selem_get_enum_items(m_inputSource);
    return items > 0 ? static_cast<std::uint32_t>(items) : 0;
}

std::optional<MixerLine> AlsaMixer::destination()
{
    if (m_capture == nullptr && m_sources.empty() && m_inputSource == nullptr) {
        return std::nullopt;
    }
    return MixerLine{kDestinationId, "Capture"};
}

std::optional<MixerLine> AlsaMixer::source(std::uint32_t index)
{
    if (index >= m_sources.size()) {
        return std::nullopt;
    }
    return MixerLine{index + 1, elementName(m_sources[index])};
}

std::optional<MixerControl> AlsaMixer::control(std::uint32_t lineId, MixerControlType type)
{
    switch (type) {
    case MixerControlType::Volume: {
        snd_mixer_elem_t* element = lineElement(lineId);
        if (element == nullptr || !snd_mixer_selem_has_capture_volume(element)) {
            return std::nullopt;
        }
        return MixerControl{kFirstVolumeId + lineId, 1};
    }
    case MixerControlType::MultipleSelect:
        if (lineId != kDestinationId || m_switched.empty()) {
            return std::nullopt;
        }
        return MixerControl{kSwitchesId, static_cast<std::uint32_t>(m_switched.size())};
    case MixerControlType::SingleSelect:
        if (lineId != kDestinationId || m_inputSource == nullptr || inputSourceCount() == 0) {
            return std::nullopt;
        }
        return MixerControl{kInputSourceId, inputSourceCount()};
    }
    return std::nullopt;
}

bool AlsaMixer::readValues(const MixerControl& control, std::span<std::uint32_t> values)
{
    // Other programs (and the kernel, for exclusive switches) change values.
    snd_mixer_handle_events(m_handle.get());
    if (control.id == kSwitchesId) {
        return readSwitches(values);
    }
    if (control.id == kInputSourceId) {
        return readInputSource(values);
    }
    snd_mixer_elem_t* element = lineElement(control.id - kFirstVolumeId);
    return element != nullptr && values.size() == 1 && readVolume(element, values[0]);
}

bool AlsaMixer::writeValues(const MixerControl& control, std::span<const std::uint32_t> values)
{
    if (control.id == kSwitchesId) {
        return writeSwitches(values);
    }
    if (control.id == kInputSourceId) {
        return writeInputSource(values);
    }
    snd_mixer_elem_t* element = lineElement(control.id - kFirstVolumeId);
    return element != nullptr && values.size() == 1 && values[0] <= kFullScale &&
           writeVolume(element, values[0]);
}

std::optional<std::vector<MixerListItem>> AlsaMixer::listItems(const MixerControl& control)
{
    std::vector<MixerListItem> items;
    if (control.id == kSwitchesId) {
        for (snd_mixer_elem_t* element : m_switched) {
            items.push_back({lineIdOf(element), elementName(element)});
        }
        return items;
    }
    if (control.id != kInputSourceId || m_inputSource == nullptr) {
        return std::nullopt;
    }
    for (unsigned item = 0; item < inputSourceCount(); ++item) {
        std::array<char, 64> text{};
        if (snd_mixer_selem_get_enum_item_name(m_inputSource, item, text.size(), text.data()) < 0) {
            return std::nullopt;
        }
        // An input ("Mic") belongs to the source of that name or to its
        // boost ("Mic Boost"); the exact name wins.
        const std::string name = text.data();
        std::uint32_t lineId = kNoLineId;
        for (snd_mixer_elem_t* element : m_sources) {
            const std::string sourceName = elementName(element);
            if (sourceName == name) {
                lineId = lineIdOf(element);
                break;
            }
            if (lineId == kNoLineId && sourceName.starts_with(name + " ")) {
                lineId = lineIdOf(element);
            }
        }
        items.push_back({lineId, name});
    }
    return items;
}

bool AlsaMixer::readVolume(snd_mixer_elem_t* element, std::uint32_t& value)
{
    long low = 0;
    long high = 0;
    if (snd_mixer_selem_get_capture_volume_range(element, &low, &high) < 0) {
        return false;
    }
    bool any = false;
    long loudest = low;
    for (const auto channel : kChannels) {
        long level = 0;
        if (!hasCaptureChannel(element, channel)) {
            continue;
        }
        if (snd_mixer_selem_get_capture_volume(element, channel, &level) < 0) {
            return false;
        }
        loudest = std::max(loudest, level);
        any = true;
    }
    if (!any) {
        return false;
    }
    const long long span = high - low;
    const long long above = std::clamp(loudest, low, high) - low;
    value = span <= 0 ? 0 : static_cast<std::uint32_t>((above * kFullScale + span / 2) / span);
    return true;
}

bool AlsaMixer::writeVolume(snd_mixer_elem_t* element, std::uint32_t value)
{
    long low = 0;
    long high = 0;
    if (snd_mixer_selem_get_capture_volume_range(element, &low, &high) < 0) {
        return false;
    }
    const long long span = high - low;
    const long level = low + static_cast<long>((value * span + kFullScale / 2) / kFullScale);
    return snd_mixer_selem_set_capture_volume_all(element, level) >= 0;
}

bool AlsaMixer::readSwitches(std::span<std::uint32_t> values)
{
    if (values.size() != m_switched.size()) {
        return false;
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = 0;
        for (const auto channel : kChannels) {
            int on = 0;
            if (!hasCaptureChannel(m_switched[i], channel)) {
                continue;
            }
            if (snd_mixer_selem_get_capture_switch(m_switched[i], channel, &on) < 0) {
                return false;
            }
            values[i] |= on != 0 ? 1u : 0u;
        }
    }
    return true;
}

bool AlsaMixer::writeSwitches(std::span<const std::uint32_t> values)
{
    std::vector<std::uint32_t> before(m_switched.size());
    if (values.size() != m_switched.size() || !readSwitches(before)) {
        return false;
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (snd_mixer_selem_set_capture_switch_all(m_switched[i], values[i] != 0 ? 1 : 0) < 0) {
            // Undo what this write changed, so a refused write leaves nothing behind.
            for (std::size_t j = 0; j < i; ++j) {
                snd_mixer_selem_set_capture_switch_all(m_switched[j], before[j] != 0 ? 1 : 0);
            }
            return false;
        }
    }
    return true;
}

bool AlsaMixer::readInputSource(std::span<std::uint32_t> values)
{
    unsigned chosen = 0;
    if (values.size() != inputSourceCount() ||
        snd_mixer_selem_get_enum_item(m_inputSource, SND_MIXER_SCHN_MONO, &chosen) < 0) {
        return false;
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = i == chosen ? 1 : 0;
    }
    return true;
}

bool AlsaMixer::writeInputSource(std::span<const std::uint32_t> values)
{
    const auto isOn = [](std::uint32_t value) { return value != 0; };
    if (values.size() != inputSourceCount() || std::ranges::count_if(values, isOn) != 1) {
        return false;
    }
    const auto chosen = static_cast<unsigned>(std::ranges::find_if(values, isOn) - values.begin());
    // An element carries one item per channel; the first channel always exists.
    if (snd_mixer_selem_set_enum_item(m_inputSource, SND_MIXER_SCHN_MONO, chosen) < 0) {
        return false;
    }
    for (const auto channel : kChannels) {
        if (channel != SND_MIXER_SCHN_MONO &&
            snd_mixer_selem_set_enum_item(m_inputSource, channel, chosen) < 0) {
            break;
        }
    }
    return true;
}

} // namespace

std::unique_ptr<MixerDevice> openAlsaMixer(const std::string& ctlName)
{
    snd_mixer_t* raw = nullptr;
    if (snd_mixer_open(&raw, 0) < 0) {
        return nullptr;
    }
    MixerHandle handle(raw);
    if (snd_mixer_attach(raw, ctlName.c_str()) < 0 ||
        snd_mixer_selem_register(raw, nullptr, nullptr) < 0 || snd_mixer_load(raw) < 0) {
        return nullptr;
    }
    return std::make_unique<AlsaMixer>(std::move(handle));
}

} // namespace sorvella
