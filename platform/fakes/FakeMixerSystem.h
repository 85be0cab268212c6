#pragma once

#include "platform/fakes/FakeMixerDevice.h"

namespace sorvella {

// One fake mixer behind every input device. Its state outlives the devices
// opened on it, so a test sees what an operation left behind.
class FakeMixerSystem : public MixerSystem {
public:
    FakeMixerState mixer;
    bool failOpen = false;

    int lastCard() const { return m_lastCard; }
    int writeCount() const { return m_writes; }

    std::unique_ptr<MixerDevice> open(int soundCard) override;
    std::string controlName(int soundCard) override { return "fake:" + std::to_string(soundCard); }

private:
    int m_lastCard = -1;
    int m_writes = 0;
};

} // namespace sorvella
