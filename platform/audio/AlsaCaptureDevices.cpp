#include "platform/audio/AlsaCaptureDevices.h"

#include <alsa/asoundlib.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace sorvella {
namespace {

constexpr const char* kDefaultControl = "default";

struct HintsFree {
    void operator()(void** hints) const { snd_device_name_free_hint(hints); }
};
struct CharFree {
    void operator()(char* text) const { std::free(text); }
};
using HintText = std::unique_ptr<char, CharFree>;

// A description spans lines ("card, device\nrole"); a list entry is one line.
std::string oneLine(const char* text)
{
    std::string line(text);
    for (std::size_t at = line.find('\n'); at != std::string::npos; at = line.find('\n', at)) {
        line.replace(at, 1, ", ");
    }
    return line;
}

} // namespace

std::vector<AlsaCaptureDevice> alsaCaptureDevices()
{
    void** raw = nullptr;
    if (snd_device_name_hint(-1, "pcm", &raw) < 0 || raw == nullptr) {
        return {};
    }
    const std::unique_ptr<void*, HintsFree> hints(raw);
    std::vector<AlsaCaptureDevice> devices;
    for (void** hint = hints.get(); *hint != nullptr; ++hint) {
        const HintText name(snd_device_name_get_hint(*hint, "NAME"));
        const HintText description(snd_device_name_get_hint(*hint, "DESC"));
        const HintText direction(snd_device_name_get_hint(*hint, "IOID"));
        if (!name || std::strcmp(name.get(), "null") == 0 ||
            (direction && std::strcmp(direction.get(), "Input") != 0)) {
            continue;
        }
        devices.push_back({name.get(), oneLine(description ? description.get() : name.get())});
    }
    return devices;
}

std::string alsaControlOf(int soundCard)
{
    const std::vector<AlsaCaptureDevice> devices = alsaCaptureDevices();
    if (soundCard < 1 || soundCard > static_cast<int>(devices.size())) {
        return kDefaultControl;
    }
    const std::string& pcm = devices[static_cast<std::size_t>(soundCard - 1)].pcmName;
    if (const auto card = pcm.find("CARD="); card != std::string::npos) {
        const auto start = card + 5;
        return "hw:CARD=" + pcm.substr(start, pcm.find(',', start) - start);
    }
    return pcm.substr(0, pcm.find(':'));
}

} // namespace sorvella
