#include "platform/AlsaMixerSystem.h"

#include "platform/AlsaMixerDevice.h"

#include <alsa/asoundlib.h>

#include <cstdlib>
#include <cstring>

namespace sorvella {
namespace {

constexpr const char* kDefaultCtl = "default";

struct HintsFree {
    void operator()(void** hints) const { snd_device_name_free_hint(hints); }
};
struct TextFree {
    void operator()(char* text) const { std::free(text); }
};
using HintText = std::unique_ptr<char, TextFree>;

// The PCM behind capture device `device`, counted as the wave-in layer counts
// them (capturing hints, "null" left out); empty when there is none.
std::string capturePcm(int device)
{
    void** raw = nullptr;
    if (device < 0 || snd_device_name_hint(-1, "pcm", &raw) < 0 || raw == nullptr) {
        return {};
    }
    const std::unique_ptr<void*, HintsFree> hints(raw);
    int number = 0;
    for (void** hint = hints.get(); *hint != nullptr; ++hint) {
        const HintText name(snd_device_name_get_hint(*hint, "NAME"));
        const HintText io(snd_device_name_get_hint(*hint, "IOID"));
        if (!name || std::strcmp(name.get(), "null") == 0 ||
            (io && std::strcmp(io.get(), "Input") != 0)) {
            continue;
        }
        if (number++ == device) {
            return name.get();
        }
    }
    return {};
}

std::string ctlOf(const std::string& pcm)
{
    if (pcm.empty()) {
        return kDefaultCtl;
    }
    if (const auto card = pcm.find("CARD="); card != std::string::npos) {
        const auto start = card + 5;
        return "hw:CARD=" + pcm.substr(start, pcm.find(',', start) - start);
    }
    return pcm.substr(0, pcm.find(':'));
}

} // namespace

std::unique_ptr<MixerDevice> AlsaMixerSystem::open(int soundCard)
{
    const std::string ctl = ctlOf(soundCard > 0 ? capturePcm(soundCard - 1) : std::string());
    std::unique_ptr<MixerDevice> mixer = openAlsaMixer(ctl);
    if (!mixer && ctl != kDefaultCtl) {
        mixer = openAlsaMixer(kDefaultCtl);
    }
    return mixer;
}

} // namespace sorvella
