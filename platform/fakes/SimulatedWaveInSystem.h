#pragma once

#include "platform/audio/WaveIn.h"
#include "platform/fakes/SimulatedFrameSource.h"

#include <mutex>
#include <string>
#include <vector>

namespace sorvella {

// The capture devices of tests: every device records the shared
// SimulatedSignal through the same buffer-and-dispatch machinery as the
// sound card, so what a test proves about buffering holds for the real
// device. Faults are injected on request; what was asked is recorded.
// Controls may be called from any thread.
class SimulatedWaveInSystem : public WaveInSystem {
public:
    explicit SimulatedWaveInSystem(SimulatedSignal& signal,
                                   std::vector<std::string> deviceNames = {"Simulated input"});

    // While set, open fails.
    void failOpens(bool fail);
    // The next `count` addBuffer calls on open devices are refused.
    void refuseAddBuffers(int count);

    int openCount() const;
    int lastDevice() const;        // the device asked for by the last open
    WaveFormat lastFormat() const; // the format asked for by the last open

    std::vector<std::string> deviceNames() override;
    std::unique_ptr<WaveIn> open(int device, const WaveFormat& format,
                                 WaveInClient& client) override;

private:
    class Device;
    bool takeRefusal();

    SimulatedSignal& m_signal;
    const std::vector<std::string> m_deviceNames;
    mutable std::mutex m_mutex;
    bool m_failOpens = false;
    int m_refusals = 0;
    int m_openCount = 0;
    int m_lastDevice = kDefaultDevice;
    WaveFormat m_lastFormat;
};

} // namespace sorvella
