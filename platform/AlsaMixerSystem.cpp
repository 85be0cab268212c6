#include "platform/AlsaMixerSystem.h"

#include "platform/AlsaCaptureDevices.h"
#include "platform/AlsaErrors.h"
#include "platform/AlsaMixerDevice.h"

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
