#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace sorvella {

// When the play thread next looks at its device. Every look costs a round
// trip to the sound server, and while all buffers are queued nothing changes
// until the oldest one has played out: buffers play back to back, so that is
// one piece's playing time after the previous one came free. The thread
// sleeps until then (a little early), and in short steps once it is due.
class PlayPacing {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr std::chrono::milliseconds kStep{10};
    // The longest the device may go without a poll.
    static constexpr std::chrono::milliseconds kLongest{200};
    static constexpr std::chrono::milliseconds kEarly{5};

    PlayPacing(std::int32_t pieceBytes, std::uint32_t bytesPerSecond)
        : m_piece(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
              static_cast<double>(pieceBytes) / std::max<std::uint32_t>(bytesPerSecond, 1))))
    {
    }

    // A look found `queued` buffers queued.
    void looked(int queued, Clock::time_point now)
    {
        if (queued < m_queued) {
            m_nextDue = now + m_piece - kEarly;
        }
        m_queued = queued;
    }
    // A buffer was written; into an empty queue it starts playing at once.
    void written(Clock::time_point now)
    {
        if (m_queued++ == 0) {
            m_nextDue = now + m_piece - kEarly;
        }
    }
    // Everything queued was dropped.
    void reset() { m_queued = 0; }

    Clock::duration pause(Clock::time_point now) const
    {
        if (m_queued == 0) {
            return kStep;
        }
        return std::clamp<Clock::duration>(m_nextDue - now, kStep, kLongest);
    }

private:
    const Clock::duration m_piece;
    int m_queued = 0;
    Clock::time_point m_nextDue;
};

} // namespace sorvella
