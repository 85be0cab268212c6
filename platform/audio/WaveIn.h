#pragma once

#include "core/RecException.h"
#include "core/WaveFormat.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sorvella {

// One kernel buffer. Its owner allocates it once and hands it to an open
// WaveIn again and again; while the device holds it, only the device touches
// it.
struct WaveBuffer {
    explicit WaveBuffer(std::uint32_t size) : data(size) {}

    std::vector<std::uint8_t> data; // its size is the buffer's length
    std::uint32_t bytesRecorded = 0;
    WaveBuffer* next = nullptr; // the device's queue link while it holds the buffer
};

// What an open device calls back. Both run on the device's callback thread,
// never on its capture thread, so a slow client delays no recording until
// every queued buffer is full.
class WaveInClient {
public:
    virtual ~WaveInClient() = default;

    // A completely filled buffer, in recording order. It belongs to the client
    // again until it is queued anew.
    virtual void bufferFilled(WaveBuffer& buffer) noexcept = 0;

    // Sound was lost `count` more times (overruns, already recovered from);
    // the latest gap lies before the device's byte `position`, counted from
    // its start. Recording goes on.
    virtual void soundLost(std::int64_t count, std::int64_t position) noexcept = 0;

    // The input failed for good (the device went away, the sound server
    // ended the stream): no buffer follows. The text is meant for the user.
    virtual void inputFault(const RecException& fault) noexcept = 0;
};

// An open capture device. A capture thread fills the queued buffers in order
// and hands each full one to the callback thread. Destroying the object
// closes the device: capture stops, both threads end, no callback follows,
// and buffers still queued are simply no longer used.
class WaveIn {
public:
    virtual ~WaveIn() = default;

    // Any thread. Queues the buffer (its bytesRecorded is reset) behind the
    // others; never blocks on the device. Throws RecException when the device
    // refuses it (for example, not a whole number of frames); then it is not
    // queued.
    virtual void addBuffer(WaveBuffer& buffer) = 0;

    // Control thread. Starts capturing into the queued buffers; returns once
    // the device runs. Throws RecException when the device cannot start.
    virtual void start() = 0;

    // Control thread, never the callback thread. Stops capturing (at most one
    // bounded device wait) and waits up to `limit` until every buffer already
    // filled has been passed to bufferFilled. False when the client was still
    // busy then: the rest are still passed on, later. A partly filled buffer
    // stays queued with what it holds.
    virtual bool stop(std::chrono::milliseconds limit) = 0;

    // Control thread. Stops capturing, then hands back every buffer still
    // queued, in queue order, with bytesRecorded 0: the sound of a partly
    // filled one is dropped. Does not wait for the client.
    virtual std::vector<WaveBuffer*> reset() = 0;
};

// The machine's capture devices. Device numbers run from 0 to
// deviceNames().size() - 1; kDefaultDevice is the system's default input.
class WaveInSystem {
public:
    static constexpr int kDefaultDevice = -1;

    virtual ~WaveInSystem() = default;

    // Any thread; may take a moment (asks the sound system). An empty list
    // when the devices cannot be listed.
    virtual std::vector<std::string> deviceNames() = 0;

    // Control thread. Opens the device for exactly this 16-bit PCM format.
    // The client must outlive the returned object. Throws RecException when
    // the device does not exist, is busy, or refuses the format.
    virtual std::unique_ptr<WaveIn> open(int device, const WaveFormat& format,
                                         WaveInClient& client) = 0;
};

} // namespace sorvella
