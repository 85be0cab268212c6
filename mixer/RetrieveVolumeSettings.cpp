#include "mixer/RetrieveVolumeSettings.h"

#include "core/RecException.h"
#include "mixer/RecordingMixer.h"
#include "mixer/VolumeSettings.h"

namespace sorvella {
namespace {

constexpr const char* kPartialFailure =
    "Your mixer device does not support the standard recording-source interface. While "
    "retrieval of the volume settings was successful, retrieval of the source device(s) failed. "
    "If you apply these settings, volume will be set correctly, but you might have to set the "
    "source yourself (or activate all sources)";
constexpr const char* kPartialFailureCaption = "Warning: Mixer settings retrieval partially failed";
constexpr const char* kNothingRetrieved =
    "Sorry, could not retrieve settings or all Input-devices are disabled";

struct Retrieved {
    VolumeSettings settings;
    bool allSourcesKnown = true;
};

// What cannot be read is left out of the text, so a failed read is an answer
// here, not an error.
std::optional<int> volumeOf(RecordingMixer& mixer, int source)
{
    try {
        return mixer.volume(source);
    } catch (const RecException&) {
        return std::nullopt;
    }
}

std::optional<bool> selectionOf(RecordingMixer& mixer, int source)
{
    try {
        return mixer.isSelected(source);
    } catch (const RecException&) {
        return std::nullopt;
    }
}

Retrieved readSources(RecordingMixer& mixer)
{
    Retrieved found;
    for (int source = -1; source < RecordingMixer::kMaxSources; ++source) {
        // The recording level itself has no switch: it always records.
        const std::optional<bool> selected = source >= 0 ? selectionOf(mixer, source) : true;
        if (selected == false) {
            continue;
        }
        const std::optional<int> percent = volumeOf(mixer, source);
        if (!percent && source == -1) {
            continue;
        }
        if (!percent && !selected) {
            break; // neither switch nor volume: past the last source
        }
        found.settings.items.push_back({source, percent});
        found.allSourcesKnown = found.allSourcesKnown && selected.has_value();
    }
    return found;
}

} // namespace

std::string retrieveVolumeSettings(MixerSystem& mixers, int soundCard, Prompter& prompter)
{
    Retrieved found;
    {
        RecordingMixer mixer(mixers);
        try {
            mixer.open(soundCard);
            found = readSources(mixer);
        } catch (const RecException& error) {
            prompter.ask("Sorry, could not init Mixer: " + error.message(), std::string(),
                         Prompter::Buttons::Ok, Prompter::Icon::None);
        }
    }
    const std::string text = found.settings.text();
    if (text.empty()) {
        prompter.ask(kNothingRetrieved, std::string(), Prompter::Buttons::Ok, Prompter::Icon::None);
    } else if (!found.allSourcesKnown) {
        prompter.ask(kPartialFailure, kPartialFailureCaption, Prompter::Buttons::Ok,
                     Prompter::Icon::None);
    }
    return text;
}

} // namespace sorvella
