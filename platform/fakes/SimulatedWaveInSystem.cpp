#include "platform/fakes/SimulatedWaveInSystem.h"

#include "platform/audio/BufferedWaveIn.h"

#include <utility>

namespace sorvella {

// An open simulated device: the shared machinery, with refusals of buffers.
class SimulatedWaveInSystem::Device : public WaveIn {
public:
    Device(SimulatedWaveInSystem& system, const WaveFormat& format, WaveInClient& client)
        : m_system(system),
          m_buffered(std::make_unique<SimulatedFrameSource>(system.m_signal, format),
                     format.blockAlign, client)
    {
    }

    void addBuffer(WaveBuffer& buffer) override
    {
        if (m_system.takeRefusal()) {
            throw RecException("Simulated device refused a buffer");
        }
        m_buffered.addBuffer(buffer);
    }
    void start() override { m_buffered.start(); }
    bool stop(std::chrono::milliseconds limit) override { return m_buffered.stop(limit); }
    std::vector<WaveBuffer*> reset() override { return m_buffered.reset(); }

private:
    SimulatedWaveInSystem& m_system;
    BufferedWaveIn m_buffered;
};

SimulatedWaveInSystem::SimulatedWaveInSystem(SimulatedSignal& signal,
                                             std::vector<std::string> deviceNames)
    : m_signal(signal), m_deviceNames(std::move(deviceNames))
{
}

void SimulatedWaveInSystem::failOpens(bool fail)
{
    std::lock_guard lock(m_mutex);
    m_failOpens = fail;
}

void SimulatedWaveInSystem::refuseAddBuffers(int count)
{
    std::lock_guard lock(m_mutex);
    m_refusals = count;
}

bool SimulatedWaveInSystem::takeRefusal()
{
    std::lock_guard lock(m_mutex);
    if (m_refusals <= 0) {
        return false;
    }
    --m_refusals;
    return true;
}

int SimulatedWaveInSystem::openCount() const
{
    std::lock_guard lock(m_mutex);
    return m_openCount;
}

int SimulatedWaveInSystem::lastDevice() const
{
    std::lock_guard lock(m_mutex);
    return m_lastDevice;
}

WaveFormat SimulatedWaveInSystem::lastFormat() const
{
    std::lock_guard lock(m_mutex);
    return m_lastFormat;
}

std::vector<std::string> SimulatedWaveInSystem::deviceNames()
{
    return m_deviceNames;
}

std::unique_ptr<WaveIn> SimulatedWaveInSystem::open(int device, const WaveFormat& format,
                                                    WaveInClient& client)
{
    {
        std::lock_guard lock(m_mutex);
        ++m_openCount;
        m_lastDevice = device;
        m_lastFormat = format;
        if (m_failOpens) {
            throw RecException(RecException::OpenFailure, "Simulated device is busy");
        }
    }
    if (device != kDefaultDevice &&
        (device < 0 || device >= static_cast<int>(m_deviceNames.size()))) {
        throw RecException(RecException::OpenFailure, "No such simulated device");
    }
    return std::make_unique<Device>(*this, format, client);
}

} // namespace sorvella
