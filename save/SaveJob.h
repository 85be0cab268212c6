#pragma once

#include "core/SaveTarget.h"
#include "platform/system/ThreadPriority.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace sorvella {

class BlockFilter;
class HeldTarget;
class RingStore;
class SaveJobEnvironment;
class SaveJobView;
class SaveOutput;

// The save-thread priority of a timing profile ("TimingProfile" 0 to 2;
// larger values count as 2).
ThreadPriority saveThreadPriority(std::int32_t timingProfile);

// Writes one private store into one target file on a thread of its own,
// consuming the store block by block. Only one job of the process encodes
// through a codec at a time; the others wait for it. On a failure the
// partial file is finished and kept as "<name> (incomplete).<ext>", since the
// store it consumed may have been the only copy of the sound; a cancelled
// save deletes it.
class SaveJob {
public:
    enum State : std::int32_t { Finished = 0, Running = 1, CancelRequested = 2 };

    // Main thread. Creates the target file and holds it, then takes over the
    // store (only then: when it raises, `store` stays with the caller), a
    // copy of the target with a codec of its own and a clone of the filter.
    // Raises RecException kind 2 "Cannot open targetfile: " + name.
    SaveJob(SaveJobEnvironment& environment, std::unique_ptr<RingStore>& store,
            const SaveTarget& target, const BlockFilter* filter);
    // Cancels the job and waits for its thread.
    ~SaveJob();
    SaveJob(const SaveJob&) = delete;
    SaveJob& operator=(const SaveJob&) = delete;

    // Runs the job on a thread of its own at `priority`. Once.
    void start(SaveJobView& view, ThreadPriority priority);

    // Runs the job on the calling thread: what the job thread does. Once.
    void run(SaveJobView& view);

    // Any thread: the job stops after the block it is writing (or stops
    // waiting for the codec).
    void cancel();

    // Running from construction until run ends.
    State state() const { return m_state.load(std::memory_order_acquire); }

private:
    struct BlockPlan {
        std::int32_t progressTotal = 1;
        std::int64_t bytes = 0;
    };

    bool saveWhenCodecFree(SaveJobView& view);
    void waitForCodec(SaveJobView& view);
    bool codecBusy() const;
    bool saveOnce(SaveJobView& view);
    BlockPlan planBlocks() const;
    void writeBlocks(SaveJobView& view, SaveOutput& output, std::int32_t progressTotal);
    void writeHeadBlock(std::int64_t offset, SaveOutput& output);
    std::string afterFailure();
    std::string keepPartialTarget(const std::string& message);
    bool cancelRequested() const { return state() == CancelRequested; }

    SaveJobEnvironment& m_environment;
    std::unique_ptr<HeldTarget> m_file;
    std::unique_ptr<RingStore> m_store;
    SaveTarget m_target;
    std::unique_ptr<BlockFilter> m_filter;
    // A filter reworks the sound in place: it gets a copy of each block.
    std::vector<std::uint8_t> m_filterBuffer;
    // What reached the target file before a failure.
    std::int64_t m_soundWritten = 0;
    std::atomic<State> m_state{Running};
    std::thread m_thread;
};

} // namespace sorvella
