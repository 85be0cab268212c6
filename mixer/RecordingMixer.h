#pragma once

#include "platform/mixer/MixerDevice.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace sorvella {

// The recording side of a sound card's mixer: per-source volume and
// selection. Source -1 is the destination that feeds the capture device (the
// recording level), sources 0.. are the lines mixed or switched into it.
// Every operation throws RecException (kind 1) with the mixer's reason.
// Main thread only; lives for one operation; destroying it closes the mixer.
class RecordingMixer {
public:
    static constexpr int kMaxSources = 100;

    explicit RecordingMixer(MixerSystem& mixers) : m_mixers(mixers) {}

    // Opens the mixer of input device `soundCard` and works out which item of
    // the selection control belongs to which source.
    void open(int soundCard);

    // The source's volume in per cent, 0..100.
    int volume(int source);
    // Sets it; per cent outside 0..100 is taken as the nearest end.
    void setVolume(int source, int percent);

    // Whether source (>= 0) is selected for recording.
    bool isSelected(int source);
    // Selects or deselects it; on a single-select mixer selecting one
    // deselects the others. A negative source is left alone.
    void setSelected(int source, bool on);
    // Deselects every source of a multiple-select mixer. A single-select
    // mixer, which always records one source, and a mixer without any
    // selection are left as they are.
    void deselectAll();

    // The selection control's raw values, so that a failed change can be put
    // back; nothing when the mixer has no selection control.
    std::optional<std::vector<std::uint32_t>> selection();
    void restoreSelection(const std::vector<std::uint32_t>& values);

private:
    MixerDevice& device();
    MixerControl findControl(int source, MixerControlType type);
    std::optional<MixerControl> selectionControl();
    MixerControl findSelectionControl();
    std::vector<std::uint32_t> read(const MixerControl& control);
    void write(const MixerControl& control, const std::vector<std::uint32_t>& values);
    std::uint32_t selectionItem(int source, const MixerControl& selection) const;
    void buildSourceMap();

    MixerSystem& m_mixers;
    std::unique_ptr<MixerDevice> m_device;
    // The selection item of each source: first the mixer's source lines,
    // then one source for each item that switches none of them. Empty when
    // sources address items directly. -1: the line has no item.
    std::vector<std::int32_t> m_sourceItems;
};

} // namespace sorvella
