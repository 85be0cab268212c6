#include "platform/AlsaWaveInSystem.h"

#include "platform/AlsaFrameSource.h"
#include "platform/BufferedWaveIn.h"

#include <alsa/asoundlib.h>

#include <cstdlib>
#include <cstring>

namespace sorvella {
namespace {

struct HintsFree {
    void operator()(void** hints) const { snd_device_name_free_hint(hints); }
};
struct CharFree {
    void operator()(char* text) const { std::free(text); }
};
using HintText = std::unique_ptr<char, CharFree>;

struct CaptureDevice {
    std::string pcmName;
    std::string description;
};

// A description spans lines ("card, device\nrole"); a list entry is one line.
std::string oneLine(const char* text)
{
    std::string line(text);
    for (std::size_t at = line.find('\n'); at != std::string::npos; at = line.find('\n', at)) {
        line.replace(at, 1, ", ");
    }
    return line;
}

std::vector<CaptureDevice> captureDevices()
{
    void** raw = nullptr;
    if (snd_device_name_hint(-1, "pcm", &raw) < 0 || raw == nullptr) {
        return {};
    }
    const std::unique_ptr<void*, HintsFree> hints(raw);
    std::vector<CaptureDevice> devices;
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

} // namespace

std::vector<std::string> AlsaWaveInSystem::deviceNames()
{
    std::vector<std::string> names;
    for (const CaptureDevice& device : captureDevices()) {
        names.push_back(device.description);
    }
    return names;
}

std::unique_ptr<WaveIn> AlsaWaveInSystem::open(int device, const WaveFormat& format,
                                               WaveInClient& client)
{
    std::string pcmName = "default";
    if (device != kDefaultDevice) {
        const std::vector<CaptureDevice> devices = captureDevices();
        if (device < 0 || device >= static_cast<int>(devices.size())) {
            throw RecException(RecException::OpenFailure,
                               "No ALSA capture device number " + std::to_string(device));
        }
        pcmName = devices[static_cast<std::size_t>(device)].pcmName;
    }
    return std::make_unique<BufferedWaveIn>(openAlsaCapture(pcmName, format), format.blockAlign,
                                            client);
}

} // namespace sorvella
