#include "platform/mixer/AlsaMixerSystem.h"

#include "platform/audio/AlsaCaptureDevices.h"
#include "platform/audio/AlsaErrors.h"
#include "platform/mixer/AlsaMixerDevice.h"

namespace sorvella {

AlsaMixerSystem::AlsaMixerSystem()
{
    routeAlsaErrors();
}

std::unique_ptr<MixerDevice> AlsaMixerSystem::open(int soundCard)
{
    return openAlsaMixer(controlName(soundCard));
}

std::string AlsaMixerSystem::controlName(int soundCard)
{
    return alsaControlOf(soundCard);
}

} // namespace sorvella
