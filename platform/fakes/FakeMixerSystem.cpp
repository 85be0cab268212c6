#include "platform/fakes/FakeMixerSystem.h"

namespace sorvella {

std::unique_ptr<MixerDevice> FakeMixerSystem::open(int soundCard)
{
    m_lastCard = soundCard;
    if (failOpen) {
        return nullptr;
    }
    return std::make_unique<FakeMixerDevice>(mixer, m_writes);
}

} // namespace sorvella
