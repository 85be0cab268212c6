#include "engine/JournalKeeper.h"

#include "engine/RingStore.h"
#include "engine/TempSession.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace sorvella {

namespace {

std::string uniquePrefix()
{
    using namespace std::chrono;
    return "journal-" +
           std::to_string(
               duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count()) +
           "-";
}

} // namespace

JournalKeeper::JournalKeeper(BlockFiles& files) : m_files(files), m_namePrefix(uniquePrefix()) {}

int JournalKeeper::add(const RingStore& store, const WaveFormat& format, std::string target,
                       std::string earlier)
{
    std::lock_guard lock(m_mutex);
    Entry entry;
    entry.serial = m_nextSerial++;
    entry.store = &store;
    entry.journal.format = format;
    entry.journal.target = std::move(target);
    entry.earlier = std::move(earlier);
    m_entries.push_back(std::move(entry));
    return m_entries.back().serial;
}

void JournalKeeper::remove(int serial)
{
    std::lock_guard lock(m_mutex);
    for (Entry& entry : m_entries) {
        if (entry.serial == serial) {
            entry.store = nullptr;
        }
    }
}

void JournalKeeper::retarget(int serial, std::string target)
{
    std::lock_guard lock(m_mutex);
    for (Entry& entry : m_entries) {
        if (entry.serial == serial) {
            entry.journal.target = std::move(target);
        }
    }
}

void JournalKeeper::writeAll()
{
    // Copies of what each store holds now, taken without touching the disk
    // so that neither the store nor a remover waits for it.
    struct Pass {
        int serial;
        std::string earlier;
        StoreJournal journal;
        std::string directory; // empty: no journal (store gone or empty)
    };
    // One pass at a time, so that an older copy never overwrites a newer one.
    std::lock_guard files(m_fileMutex);
    std::vector<Pass> passes;
    {
        std::lock_guard lock(m_mutex);
        passes.reserve(m_entries.size());
        for (const Entry& entry : m_entries) {
            Pass pass{entry.serial, entry.earlier, entry.journal, {}};
            if (entry.store) {
                pass.directory = entry.store->journalBlocks(pass.journal);
            }
            passes.push_back(std::move(pass));
        }
        std::erase_if(m_entries, [](const Entry& e) { return e.store == nullptr; });
    }
    for (Pass& pass : passes) {
        auto found = std::find_if(m_written.begin(), m_written.end(),
                                  [&](const Written& w) { return w.serial == pass.serial; });
        if (found == m_written.end()) {
            found = m_written.insert(m_written.end(), Written{pass.serial, pass.earlier, {}, 0});
        }
        if (pass.directory.empty()) {
            deleteFile(*found);
        } else {
            write(*found, pass.journal, pass.directory);
        }
    }
    std::erase_if(m_written, [](const Written& w) { return w.path.empty(); });
}

void JournalKeeper::write(Written& written, const StoreJournal& journal,
                          const std::string& directory)
{
    // The sound first: a journal never names bytes that may not be on disk.
    for (const JournalBlock& block : journal.blocks) {
        if (block.index >= written.syncedFrom) {
            m_files.syncFile(directory + "/" +
                             std::to_string(TempSession::subdirectoryFor(block.index)) + "/" +
                             TempSession::fileNameFor(block.index));
        }
    }
    if (!journal.blocks.empty()) {
        written.syncedFrom = journal.blocks.back().index;
    }
    const std::string path =
        directory + "/" + m_namePrefix + std::to_string(written.serial) + ".txt";
    std::string text = journal.text();
    if (path == written.path && text == written.text) {
        return;
    }
    if (m_files.replaceFile(path, text)) {
        if (path != written.path) {
            deleteFile(written); // only now: until here it was the one on disk
        }
        written.path = path;
        written.text = std::move(text);
    }
}

void JournalKeeper::deleteFile(Written& written)
{
    if (!written.path.empty()) {
        m_files.removeFile(written.path);
        written.path.clear();
        written.text.clear();
    }
}

void JournalKeeper::removeAll()
{
    {
        std::lock_guard lock(m_mutex);
        for (Entry& entry : m_entries) {
            if (!entry.earlier.empty()) {
                m_files.removeFile(std::exchange(entry.earlier, {}));
            }
        }
    }
    std::lock_guard lock(m_fileMutex);
    for (Written& written : m_written) {
        deleteFile(written);
    }
    m_written.clear();
}

} // namespace sorvella
