#include "platform/mixer/AlsaMixerSystem.h"

#include "platform/audio/AlsaCaptureDevices.h"
#include "platform/mixer/AlsaMixerDevice.h"

namespace sorvella {

std::unique_ptr<MixerDevice> AlsaMixerSystem::open(int soundCard)
{
    const std::string control = controlName(soundCard);
    std::unique_ptr<MixerDevice> mixer = openAlsaMixer(control);
    if (!mixer && control != "default") {
        mixer = openAlsaMixer("default");
    }
    return mixer;
}

std::string AlsaMixerSystem::controlName(int soundCard)
{
    return alsaControlOf(soundCard);
}

} // namespace sorvella
