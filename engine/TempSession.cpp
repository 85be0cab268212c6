#include "engine/TempSession.h"

#include "engine/StoreBlock.h"

#include <cstdlib>
#include <filesystem>

namespace sorvella {

namespace {

constexpr const char* kDigits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr const char* kLockName = "lock.txt";
// Candidates tried before giving up; only reached when that many session
// directories exist already.
constexpr int kMaxCandidates = 10000;

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string systemTempPath()
{
    std::error_code error;
    const auto path = std::filesystem::temp_directory_path(error);
    return withoutTrailingSlash(error ? std::string("/tmp") : path.string());
}

// "~/" is the home directory; other relative names are taken against the
// current directory.
std::string absoluteName(const std::string& name)
{
    if (name.rfind("~/", 0) == 0) {
        const char* home = std::getenv("HOME");
        return std::string(home ? home : "") + name.substr(1);
    }
    if (!name.empty() && name.front() == '/') {
        return name;
    }
    std::error_code error;
    const auto current = std::filesystem::current_path(error);
    return (error ? std::string() : current.string()) + "/" + name;
}

} // namespace

TempSession::TempSession(const Settings& settings, BlockFiles& files)
    : m_settings(settings), m_files(files), m_journals(files),
      m_worker(
          files, [this] { return makeFile(); },
          [this] { m_outstanding.fetch_sub(1, std::memory_order_relaxed); },
          [this] { m_journals.writeAll(); })
{
}

TempSession::~TempSession() = default;

// The directory a name stands for, empty when there is none.
std::string TempSession::existingDirectory(const std::string& name) const
{
    if (name.empty()) {
        return {};
    }
    const std::string wanted = absoluteName(name);
    if (m_files.directoryExists(wanted)) {
        return wanted;
    }
    if (m_files.directoryExists(wanted + "/")) {
        return wanted + "/";
    }
    return {};
}

bool TempSession::directoryExists(const std::string& name) const
{
    return !existingDirectory(name).empty();
}

std::string TempSession::chooseBase() const
{
    const std::string wanted = m_settings.tempDirectoryUseWindows
                                   ? std::string()
                                   : existingDirectory(m_settings.tempDirectory);
    return wanted.empty() ? systemTempPath() : wanted;
}

std::string TempSession::setUp()
{
    const std::string chosen = withoutTrailingSlash(chooseBase());
    {
        std::lock_guard lock(m_mutex);
        if (chosen == m_chosenBase && !m_sessionDir.empty()) {
            return {}; // a base that gave no session directory is tried again
        }
    }
    // Files made ahead are in the current directory, which goes now; the
    // file thread needs the mutex to name new ones, so it is done with first.
    m_worker.discardSpares();
    m_worker.drain();
    std::lock_guard lock(m_mutex);
    if (!m_sessionDir.empty() && !removeSessionDir(m_sessionDir, m_lockFile)) {
        // The directory stays theirs, locked, until the stores let go.
        m_retired.push_back({m_sessionDir, std::move(m_lockFile)});
    }
    m_sessionDir.clear();
    m_chosenBase = chosen;
    makeSessionLocked(chosen);
    const std::string system = systemTempPath();
    if (!m_sessionDir.empty() || chosen == system) {
        return {};
    }
    // Recording into nothing would lose everything: the system's directory
    // is better than the one chosen.
    makeSessionLocked(system);
    if (m_sessionDir.empty()) {
        return {}; // block files fail to create, and say so when recording
    }
    return "Cannot make a directory for temporary files in " + chosen + ". Using " + system +
           " instead.";
}

void TempSession::makeSessionLocked(const std::string& base)
{
    m_baseDir = base;
    const std::string prefix = (base == "/" ? std::string() : base) + "/Quillet-";

    // mkdir is the claim: a directory that exists already (a running
    // instance's, or a stale one of a crashed run) is never taken over.
    for (int n = 0; n < kMaxCandidates; ++n) {
        const std::string candidate = prefix + std::to_string(n);
        const auto made = m_files.makeDirectory(candidate);
        if (made == BlockFiles::DirResult::AlreadyExists) {
            continue;
        }
        if (made == BlockFiles::DirResult::Failed) {
            break; // the base cannot take directories
        }
        auto held = m_files.lockFile(candidate + "/" + kLockName);
        if (!held) {
            // Nobody else locks a directory we just made: this file system
            // refuses the lock file, and would refuse it in the next one too.
            m_files.removeFile(candidate + "/" + kLockName);
            m_files.removeDirectory(candidate);
            break;
        }
        m_sessionDir = candidate;
        m_lockFile = std::move(held);
        break;
    }
    m_nameCounter = 0;
    if (!m_sessionDir.empty()) {
        for (int i = 0; i < kSubdirectories; ++i) {
            m_files.makeDirectory(m_sessionDir + "/" + std::to_string(i));
        }
    }
}

std::string TempSession::fileNameFor(std::uint64_t v)
{
    std::string name(8, '0');
    for (int i = 7; i >= 0; --i) {
        name[static_cast<std::size_t>(i)] = kDigits[v % 36];
        v /= 36;
    }
    return name + ".tmp";
}

int TempSession::subdirectoryFor(std::uint64_t v)
{
    return static_cast<int>((v / 36) % 36 % kSubdirectories);
}

NewBlockFile TempSession::makeFile()
{
    NewBlockFile file;
    {
        std::lock_guard lock(m_mutex);
        const std::uint64_t v = m_nameCounter++;
        if (m_sessionDir.empty()) {
            return file; // no session directory: nothing can be created
        }
        file.name = m_sessionDir + "/" + std::to_string(subdirectoryFor(v)) + "/" + fileNameFor(v);
        file.index = v;
    }
    file.handle = m_files.createExclusive(file.name);
    if (file.handle) {
        file.handle->reserve(StoreBlock::kSize); // a block's bytes together on disk
    }
    return file;
}

NewBlockFile TempSession::createBlockFile()
{
    NewBlockFile file = m_worker.takeSpare();
    if (!file.handle) {
        file = makeFile();
        if (!file.handle) {
            return file; // no top-up: the next try creates (and reports) again
        }
    }
    m_outstanding.fetch_add(1, std::memory_order_relaxed);
    m_worker.topUp();
    return file;
}

void TempSession::releaseBlockFile(std::string name)
{
    m_worker.remove(std::move(name));
}

void TempSession::adoptBlockFile()
{
    m_outstanding.fetch_add(1, std::memory_order_relaxed);
}

void TempSession::adoptDirectory(std::string dir, std::unique_ptr<FileLock> lock)
{
    std::lock_guard guard(m_mutex);
    m_retired.push_back({std::move(dir), std::move(lock)});
}

void TempSession::finishFileWork()
{
    m_worker.drain();
}

std::size_t TempSession::filesMadeAhead() const
{
    return m_worker.spareCount();
}

void TempSession::closeSession(Prompter& prompter)
{
    m_worker.discardSpares();
    // The box is asked without the mutex held: a modal box must not stall a
    // recording thread that wants a file name.
    const std::int64_t left = outstanding();
    if (left != 0) {
        prompter.ask("Warning: Temp Files were not deleted: " + std::to_string(left) +
                         " files left",
                     "Application Close", Prompter::Buttons::Ok, Prompter::Icon::None);
    }
    // No store is left to journal: what they held is saved or discarded.
    m_journals.removeAll();
    std::lock_guard lock(m_mutex);
    removeSessionLocked();
    std::erase_if(m_retired, [this](RetiredSession& retired) {
        return removeSessionDir(retired.dir, retired.lock);
    });
    m_baseDir.clear();
    m_chosenBase.clear();
}

bool TempSession::removeSessionDir(const std::string& dir, std::unique_ptr<FileLock>& lock)
{
    bool allRemoved = true;
    for (int i = 0; i < kSubdirectories; ++i) {
        // An earlier try may have removed the empty ones already.
        const std::string subdirectory = dir + "/" + std::to_string(i);
        allRemoved =
            (m_files.removeDirectory(subdirectory) || !m_files.directoryExists(subdirectory)) &&
            allRemoved;
    }
    if (allRemoved) {
        lock.reset();
        m_files.removeFile(dir + "/" + kLockName);
    }
    m_files.removeDirectory(dir);
    return allRemoved;
}

void TempSession::removeSessionLocked()
{
    if (!m_sessionDir.empty()) {
        removeSessionDir(m_sessionDir, m_lockFile);
        m_sessionDir.clear();
    }
}

std::int64_t TempSession::outstanding()
{
    m_worker.drain();
    return m_outstanding.load(std::memory_order_relaxed);
}

std::string TempSession::sessionDir() const
{
    std::lock_guard lock(m_mutex);
    return m_sessionDir;
}

std::string TempSession::baseDir() const
{
    std::lock_guard lock(m_mutex);
    return m_baseDir;
}

bool TempSession::lockHeld() const
{
    std::lock_guard lock(m_mutex);
    return m_lockFile != nullptr;
}

std::int64_t TempSession::nextBlockNumber()
{
    std::lock_guard lock(m_blockLock);
    return ++m_blockSequence;
}

} // namespace sorvella
