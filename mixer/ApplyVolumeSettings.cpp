#include "mixer/ApplyVolumeSettings.h"

#include "core/RecException.h"
#include "mixer/RecordingMixer.h"
#include "mixer/VolumeSettings.h"

#include <optional>
#include <string>
#include <vector>

namespace sorvella {
namespace {

constexpr const char* kCaption = "Command line parsing";

void report(Prompter& prompter, const std::string& text)
{
    prompter.ask(text, kCaption, Prompter::Buttons::Ok, Prompter::Icon::None);
}

void reportMixer(Prompter& prompter, const RecException& error)
{
    report(prompter, "Sorry, could not set Mixer: " + error.message());
}

// What the mixer held before: its selection and the volumes about to change.
struct Found {
    std::optional<std::vector<std::uint32_t>> selection;
    std::vector<std::optional<int>> volumes; // one per item
};

// Reading every volume first also proves that each one can be reached.
Found readFound(RecordingMixer& mixer, const VolumeSettings& settings)
{
    Found found{mixer.selection(), {}};
    for (const VolumeItem& item : settings.items) {
        found.volumes.push_back(item.percent ? std::optional(mixer.volume(item.source))
                                             : std::nullopt);
    }
    return found;
}

void selectIfSwitchable(RecordingMixer& mixer, int source)
{
    try {
        mixer.setSelected(source, true);
    } catch (const RecException&) {
        // A source without a switch is part of the recording anyway.
    }
}

bool putBack(RecordingMixer& mixer, const VolumeSettings& settings, const Found& found,
             std::size_t itemsSet, Prompter& prompter)
{
    try {
        if (found.selection) {
            mixer.restoreSelection(*found.selection);
        }
        for (std::size_t i = 0; i < itemsSet; ++i) {
            if (found.volumes[i]) {
                mixer.setVolume(settings.items[i].source, *found.volumes[i]);
            }
        }
        return true;
    } catch (const RecException& error) {
        reportMixer(prompter, error);
        return false;
    }
}

} // namespace

VolumeApplyResult applyVolumeSettings(std::string_view volumeSettings, int soundCard,
                                      MixerSystem& mixers, Prompter& prompter)
{
    VolumeSettings settings;
    try {
        settings = VolumeSettings::parse(volumeSettings);
    } catch (const RecException& error) {
        report(prompter, error.message());
        return VolumeApplyResult::Rejected;
    }
    if (settings.items.empty()) {
        return VolumeApplyResult::NothingToApply;
    }
    RecordingMixer mixer(mixers);
    Found found;
    try {
        mixer.open(soundCard);
        found = readFound(mixer, settings);
    } catch (const RecException& error) {
        reportMixer(prompter, error);
        return VolumeApplyResult::Rejected;
    }
    std::size_t itemsSet = 0;
    try {
        mixer.deselectAll();
        for (const VolumeItem& item : settings.items) {
            selectIfSwitchable(mixer, item.source);
            if (item.percent) {
                mixer.setVolume(item.source, *item.percent);
            }
            ++itemsSet;
        }
    } catch (const RecException& error) {
        reportMixer(prompter, error);
        return putBack(mixer, settings, found, itemsSet, prompter) ? VolumeApplyResult::PutBack
                                                                   : VolumeApplyResult::LeftChanged;
    }
    return VolumeApplyResult::Applied;
}

} // namespace sorvella
