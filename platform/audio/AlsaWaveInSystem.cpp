#include "platform/audio/AlsaWaveInSystem.h"

#include "platform/audio/AlsaCaptureDevices.h"
#include "platform/audio/AlsaErrors.h"
#include "platform/audio/AlsaFrameSource.h"
#include "platform/audio/BufferedWaveIn.h"

namespace sorvella {

AlsaWaveInSystem::AlsaWaveInSystem()
{
    routeAlsaErrors();
}

std::vector<std::string> AlsaWaveInSystem::deviceNames()
{
    std::vector<std::string> names;
    for (const AlsaCaptureDevice& device : alsaCaptureDevices()) {
        names.push_back(device.description);
    }
    return names;
}

std::unique_ptr<WaveIn> AlsaWaveInSystem::open(int device, const WaveFormat& format,
                                               WaveInClient& client)
{
    std::string pcmName = "default";
    if (device != kDefaultDevice) {
        const std::vector<AlsaCaptureDevice> devices = alsaCaptureDevices();
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
