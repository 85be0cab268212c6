#include "engine/BlockFileWorker.h"

#include "platform/system/ThreadPriority.h"

#include <utility>

namespace sorvella {

BlockFileWorker::BlockFileWorker(BlockFiles& files, std::function<NewBlockFile()> make,
                                 std::function<void()> removed, std::function<void()> periodic)
    : m_files(files), m_make(std::move(make)), m_removed(std::move(removed)),
      m_periodic(std::move(periodic)), m_thread([this] { run(); })
{
}

BlockFileWorker::~BlockFileWorker()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_work.notify_one();
    m_thread.join();
    deleteSpares(std::move(m_spares));
}

bool BlockFileWorker::wantsSpare() const
{
    return m_refill && !m_stopping && m_spares.size() < kSpares;
}

bool BlockFileWorker::idle() const
{
    return !m_busy && m_removals.empty() && !wantsSpare();
}

void BlockFileWorker::run()
{
    // Below the thread that wakes it (the device callback, a save), so that
    // making files never takes the processor from recording.
    setCurrentThreadPriority(ThreadPriority::BelowNormal);
    std::unique_lock lock(m_mutex);
    auto nextSync = std::chrono::steady_clock::now() + kSyncInterval;
    for (;;) {
        const bool woken = m_work.wait_until(
            lock, nextSync, [this] { return m_stopping || !m_removals.empty() || wantsSpare(); });
        if (!m_stopping && (!woken || std::chrono::steady_clock::now() >= nextSync)) {
            m_busy = true;
            lock.unlock();
            attempt(m_periodic);
            lock.lock();
            m_busy = false;
            nextSync = std::chrono::steady_clock::now() + kSyncInterval;
            m_idle.notify_all();
            continue;
        }
        // A spare first: a store may be about to need it.
        if (wantsSpare()) {
            m_busy = true;
            m_making = true;
            lock.unlock();
            NewBlockFile file;
            attempt([&] { file = m_make(); });
            lock.lock();
            m_busy = false;
            m_making = false;
            const bool made = file.handle != nullptr;
            if (made) {
                m_spares.push_back(std::move(file));
            }
            m_refill = made && m_spares.size() < kSpares;
        } else if (!m_removals.empty()) {
            const std::string name = std::move(m_removals.front());
            m_removals.pop_front();
            m_busy = true;
            lock.unlock();
            attempt([&] {
                if (m_files.removeFile(name)) {
                    m_removed();
                }
            });
            lock.lock();
            m_busy = false;
        } else {
            return; // stopping, and every deletion is done
        }
        m_idle.notify_all(); // drain and discardSpares wait for different things
    }
}

void BlockFileWorker::attempt(const std::function<void()>& work)
{
    RecException failure;
    try {
        work();
        return;
    } catch (const RecException& error) {
        failure = error;
    } catch (const std::exception& error) {
        failure = RecException(error.what());
    } catch (...) {
        failure = RecException("Unknown failure of the temporary file thread");
    }
    std::lock_guard lock(m_mutex);
    if (m_failure.kind() == RecException::None) {
        m_failure = std::move(failure);
    }
}

NewBlockFile BlockFileWorker::takeSpare()
{
    std::unique_lock lock(m_mutex);
    // A file being made comes sooner than a second one made by the caller,
    // which would also wait for the directory that the first one holds.
    m_idle.wait(lock, [this] { return !m_spares.empty() || !m_making; });
    if (m_failure.kind() != RecException::None) {
        throw std::exchange(m_failure, RecException());
    }
    if (m_spares.empty()) {
        return NewBlockFile{};
    }
    NewBlockFile file = std::move(m_spares.front());
    m_spares.pop_front();
    return file;
}

void BlockFileWorker::topUp()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_refill || m_spares.size() > kRefillAt) {
            return;
        }
        m_refill = true;
    }
    m_work.notify_one();
}

void BlockFileWorker::remove(std::string name)
{
    {
        std::lock_guard lock(m_mutex);
        m_removals.push_back(std::move(name));
    }
    m_work.notify_one();
}

void BlockFileWorker::drain()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return idle(); });
}

void BlockFileWorker::discardSpares()
{
    std::deque<NewBlockFile> spares;
    {
        std::unique_lock lock(m_mutex);
        m_refill = false;
        m_idle.wait(lock, [this] { return !m_busy; });
        spares.swap(m_spares);
    }
    deleteSpares(std::move(spares));
}

void BlockFileWorker::deleteSpares(std::deque<NewBlockFile> spares)
{
    for (auto& spare : spares) {
        spare.handle.reset();
        m_files.removeFile(spare.name);
    }
}

std::size_t BlockFileWorker::spareCount() const
{
    std::lock_guard lock(m_mutex);
    return m_spares.size();
}

} // namespace sorvella
