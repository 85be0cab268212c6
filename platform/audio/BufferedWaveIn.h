#pragma once

#include "platform/audio/FrameSource.h"
#include "platform/audio/WaveIn.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace sorvella {

// The buffer-and-dispatch machinery of an open capture device, whatever the
// frames come from. The capture thread (raised to time-critical priority)
// only reads frames into the queued buffers and moves full ones on; the
// callback thread (normal priority) hands them to the client. So a client
// that is slow, for example on a stalled disk, costs nothing until every
// queued buffer is full, as with a driver that fills queued kernel buffers on
// its own. Nothing is allocated per buffer.
class BufferedWaveIn : public WaveIn {
public:
    // The longest a capture read waits: commands interrupt the wait, so it
    // only bounds how long a source that missed one could hold them up.
    static constexpr std::chrono::milliseconds kReadWait{2000};

    // Starts both threads; capturing begins with start(). `frameBytes` is the
    // format's block size: queued buffers must hold whole frames. The client
    // must outlive this object.
    BufferedWaveIn(std::unique_ptr<FrameSource> source, std::uint32_t frameBytes,
                   WaveInClient& client);
    ~BufferedWaveIn() override;
    BufferedWaveIn(const BufferedWaveIn&) = delete;
    BufferedWaveIn& operator=(const BufferedWaveIn&) = delete;

    void addBuffer(WaveBuffer& buffer) override;
    void start() override;
    bool stop(std::chrono::milliseconds limit) override;
    std::vector<WaveBuffer*> reset() override;

private:
    // A FIFO linked through WaveBuffer::next, so queuing never allocates.
    class Queue {
    public:
        bool empty() const { return m_head == nullptr; }
        WaveBuffer* front() const { return m_head; }
        void push(WaveBuffer& buffer);
        WaveBuffer* pop();

    private:
        WaveBuffer* m_head = nullptr;
        WaveBuffer* m_tail = nullptr;
    };

    void endThreads() noexcept;
    void haltCapture(std::unique_lock<std::mutex>& lock);
    void captureLoop();
    void switchRunning(std::unique_lock<std::mutex>& lock);
    void readIntoFront(std::unique_lock<std::mutex>& lock);
    void callbackLoop();
    template <typename Call> void deliver(std::unique_lock<std::mutex>& lock, const Call& call);

    std::unique_ptr<FrameSource> m_source;
    const std::uint32_t m_frameBytes;
    WaveInClient& m_client;

    std::mutex m_mutex;
    std::condition_variable m_captureWake;  // a command, a queued buffer, the end
    std::condition_variable m_callbackWake; // a filled buffer, a fault, the end
    std::condition_variable m_settled;      // a command done, callbacks drained
    Queue m_queued;                         // waiting to be filled; the front is being filled
    Queue m_filled;                         // full, waiting for the callback thread
    bool m_wantRunning = false;
    bool m_running = false;
    bool m_sourceFailed = false; // the source threw: capture is over for this device
    bool m_delivering = false;   // the callback thread is inside the client
    bool m_closing = false;
    std::int64_t m_capturedBytes = 0; // since the device was opened
    std::int64_t m_unreportedOverruns = 0;
    std::int64_t m_lastOverrunAt = 0; // the captured bytes before the latest gap
    bool m_startFailed = false;
    RecException m_startError;
    bool m_faultPending = false; // m_sourceFault is not yet reported
    RecException m_sourceFault;

    std::thread m_callbackThread;
    std::thread m_captureThread;
};

} // namespace sorvella
