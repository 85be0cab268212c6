#include "save/SaveJob.h"

#include "core/RecException.h"
#include "engine/RingStore.h"
#include "save/BlockFilter.h"
#include "save/HeldTarget.h"
#include "save/IncompleteTarget.h"
#include "save/SaveJobEnvironment.h"
#include "save/SaveJobView.h"
#include "save/SaveOutput.h"
#include "save/TargetRecord.h"

#include <algorithm>
#include <exception>
#include <optional>

namespace sorvella {

namespace {

constexpr std::int64_t kBlockSize = RingStore::kBlockSize;
constexpr int kFullProgress = 1000;
// The codec wait looks every 50 ms and swaps its title every 2 s.
constexpr std::chrono::milliseconds kCodecPoll{50};
constexpr int kTitleCycleMs = 4000;
constexpr int kBusyTitleAtMs = 2000;
// Short enough to need no allocation: what is shown when even that fails.
constexpr const char* kUnknownFailure = "Unknown error";

std::string exceptionText(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const RecException& e) {
        return e.message();
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return kUnknownFailure;
    }
}

// The head block of a store while it is being saved: deleted when its turn
// is over, also after a failure, so the store's files go as the save goes.
class ConsumedBlock {
public:
    explicit ConsumedBlock(RingStore& store) : m_store(store) {}
    ~ConsumedBlock() { m_store.dropOldestBlock(); }
    ConsumedBlock(const ConsumedBlock&) = delete;
    ConsumedBlock& operator=(const ConsumedBlock&) = delete;

    StoreBlock& block() { return m_store.block(0); }

private:
    RingStore& m_store;
};

} // namespace

ThreadPriority saveThreadPriority(std::int32_t timingProfile)
{
    switch (std::clamp(timingProfile, 0, 2)) {
    case 0:
        return ThreadPriority::Lowest;
    case 1:
        return ThreadPriority::BelowNormal;
    default:
        return ThreadPriority::Normal;
    }
}

SaveJob::SaveJob(SaveJobEnvironment& environment, std::unique_ptr<RingStore>& store,
                 const SaveTarget& target, const BlockFilter* filter)
    : m_environment(environment),
      m_file(std::make_unique<HeldTarget>(environment.files(), target.fileName)),
      m_store(std::move(store)), m_target(copyTarget(target)),
      m_filter(filter != nullptr ? filter->clone() : nullptr)
{
    // A crash during the save must find the target cut short and the
    // blocks not yet consumed.
    m_store->keepJournal(m_target.sourceFormat, m_target.fileName);
}

SaveJob::~SaveJob()
{
    cancel();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void SaveJob::start(SaveJobView& view, ThreadPriority priority)
{
    m_thread = std::thread([this, &view, priority] {
        setCurrentThreadPriority(priority);
        run(view);
    });
}

void SaveJob::cancel()
{
    State running = Running;
    m_state.compare_exchange_strong(running, CancelRequested, std::memory_order_acq_rel);
}

void SaveJob::run(SaveJobView& view)
{
    std::string failure;
    try {
        m_store->flushJournal();
        while (!saveWhenCodecFree(view)) {
        }
    } catch (...) {
        // Whatever ends a save (a codec library's exception, a failed
        // allocation) ends only the save: the recording goes on.
        failure = afterFailure();
    }
    m_store.reset();
    view.jobEnded(failure);
    m_state.store(Finished, std::memory_order_release);
}

// False when another job took the codec between the wait and the claim.
bool SaveJob::saveWhenCodecFree(SaveJobView& view)
{
    waitForCodec(view);
    view.setTitle("Saving: " + m_target.fileName);
    return saveOnce(view);
}

void SaveJob::waitForCodec(SaveJobView& view)
{
    for (int t = 0; codecBusy(); t = (t + static_cast<int>(kCodecPoll.count())) % kTitleCycleMs) {
        if (t == 0) {
            view.setTitle("(Saving: " + m_target.fileName + ")");
        } else if (t == kBusyTitleAtMs) {
            view.setTitle("codec busy, waiting...");
        }
        if (cancelRequested()) {
            throw RecException("user break");
        }
        m_environment.pause(kCodecPoll);
    }
}

bool SaveJob::codecBusy() const
{
    return m_target.formatNumber != 0 && m_environment.codecOpen();
}

bool SaveJob::saveOnce(SaveJobView& view)
{
    view.setProgress(0);
    std::optional<CodecClaim> claim;
    if (m_target.formatNumber != 0) {
        claim.emplace(m_environment);
        if (!claim->held()) {
            return false;
        }
    }
    const BlockPlan plan = planBlocks();
    SaveOutput output(*m_file, m_target, plan.bytes);
    try {
        writeBlocks(view, output, plan.progressTotal);
        output.close();
    } catch (...) {
        output.closeAfterFailure();
        m_soundWritten = output.bytesWritten();
        throw;
    }
    return true;
}

// Progress counts the blocks that take part; the byte count is what the
// target may receive at most (the filter only ever narrows).
SaveJob::BlockPlan SaveJob::planBlocks() const
{
    BlockPlan plan{0, 0};
    for (std::size_t k = 0; k < m_store->blockCount(); ++k) {
        const std::int64_t offset = static_cast<std::int64_t>(k) * kBlockSize;
        if (!m_filter || m_filter->selects(offset, kBlockSize - 1)) {
            ++plan.progressTotal;
        }
        if (!m_filter || m_filter->selects(offset, kBlockSize)) {
            plan.bytes += m_store->block(k).fill();
        }
    }
    plan.progressTotal = std::max(plan.progressTotal, 1);
    return plan;
}

void SaveJob::writeBlocks(SaveJobView& view, SaveOutput& output, std::int32_t progressTotal)
{
    const std::size_t count = m_store->blockCount();
    std::int32_t done = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const std::int64_t offset = static_cast<std::int64_t>(k) * kBlockSize;
        if (!m_filter || m_filter->selects(offset, kBlockSize - 1)) {
            ++done;
        }
        view.setProgress(static_cast<int>(std::int64_t{done} * kFullProgress / progressTotal));
        writeHeadBlock(offset, output);
        if (cancelRequested()) {
            throw RecException("Saving canceled");
        }
    }
}

void SaveJob::writeHeadBlock(std::int64_t offset, SaveOutput& output)
{
    ConsumedBlock head(*m_store);
    if (m_filter && !m_filter->selects(offset, kBlockSize)) {
        return;
    }
    StoreBlock& block = head.block();
    block.load();
    const std::uint8_t* data = block.data();
    auto length = static_cast<std::int32_t>(block.fill());
    if (m_filter) {
        m_filterBuffer.assign(data, data + length);
        std::uint8_t* kept = m_filterBuffer.data();
        m_filter->cut(offset, kept, length);
        data = kept;
    }
    if (length > 0) {
        output.write(data, static_cast<std::size_t>(length));
    }
}

// The text to show for the exception being handled, if any. The partial file
// is gone after a cancel or when no sound reached it; otherwise it is
// finished (the output closed it) and kept under its incomplete name.
std::string SaveJob::afterFailure()
{
    try {
        return keepPartialTarget(exceptionText(std::current_exception()));
    } catch (...) {
        return kUnknownFailure;
    }
}

std::string SaveJob::keepPartialTarget(const std::string& message)
{
    TargetFiles& files = m_environment.files();
    if (cancelRequested() || m_soundWritten == 0) {
        files.remove(m_target.fileName);
        m_file->release();
        return cancelRequested() ? std::string() : message;
    }
    const std::string kept = keepIncompleteTarget(files, m_target.fileName);
    return message + "\n\nThe sound saved until then is kept in \"" + kept + "\".";
}

} // namespace sorvella
