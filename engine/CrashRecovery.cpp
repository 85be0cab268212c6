#include "engine/CrashRecovery.h"

#include "engine/TempSession.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace sorvella {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSessionPrefix = "Quillet-";

bool isJournal(const fs::path& path)
{
    const std::string name = path.filename().string();
    return name.rfind("journal-", 0) == 0 && path.extension() == ".txt";
}

// The block files of a session directory that hold sound (or, with
// `withSound` false, those that hold none).
std::vector<std::string> filesIn(const std::string& dir, bool withSound)
{
    std::vector<std::string> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(dir, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code sizeError;
        if (it->path().extension() == ".tmp" && it->is_regular_file(sizeError) &&
            (it->file_size(sizeError) > 0) == withSound && !sizeError) {
            files.push_back(it->path().string());
        }
    }
    return files;
}

} // namespace

CrashRecovery::CrashRecovery(const Settings& settings, TempSession& session,
                             KeepCutSave keepCutSave)
    : m_settings(settings), m_session(session), m_keepCutSave(std::move(keepCutSave))
{
}

CrashRecovery::~CrashRecovery() = default;

void CrashRecovery::scan()
{
    const std::string base = m_session.baseDir();
    if (base.empty()) {
        return;
    }
    std::vector<std::string> dirs;
    std::error_code error;
    for (fs::directory_iterator it(base, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (it->path().filename().string().rfind(kSessionPrefix, 0) == 0 &&
            it->is_directory(typeError) && it->path().string() != m_session.sessionDir()) {
            dirs.push_back(it->path().string());
        }
    }
    std::sort(dirs.begin(), dirs.end());
    for (const std::string& dir : dirs) {
        examine(dir);
    }
}

void CrashRecovery::examine(const std::string& dir)
{
    auto lock = m_session.files().lockFile(dir + "/lock.txt");
    if (!lock) {
        return; // a live instance's, or one another instance is recovering
    }
    std::vector<std::string> journals;
    std::error_code error;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        if (isJournal(it->path())) {
            journals.push_back(it->path().string());
        }
    }
    std::sort(journals.begin(), journals.end());
    std::vector<LeftRecording> lefts;
    bool allReadable = true;
    for (const std::string& journal : journals) {
        bool readable = false;
        lefts.push_back(checkJournal(dir, journal, readable));
        allReadable = allReadable && readable;
        if (!readable) {
            lefts.pop_back();
        }
    }
    // A save's blocks are its own: the recording it was a snapshot of
    // shares them, and starts after them.
    std::stable_partition(lefts.begin(), lefts.end(),
                          [](const LeftRecording& left) { return !left.target.empty(); });
    std::set<std::string> claimed;
    const std::size_t heldIndex = m_held.size();
    int found = 0;
    for (LeftRecording& left : lefts) {
        const std::string journal = left.journalPath;
        std::vector<HeldBlockFile> own;
        std::int64_t claimedBefore = 0;
        for (const HeldBlockFile& block : left.blocks) {
            if (claimed.insert(block.path).second) {
                own.push_back(block);
            } else if (own.empty()) {
                claimedBefore += block.bytes;
            }
        }
        left.blocks = std::move(own);
        if (left.format.avgBytesPerSec != 0) {
            left.startMs += claimedBefore * 1000 / left.format.avgBytesPerSec;
        }
        keepCutSave(left);
        if (!left.blocks.empty()) {
            m_recordings.push_back(std::move(left));
            m_heldOf.push_back(heldIndex);
            m_settled.push_back(false);
            ++found;
        } else {
            m_session.files().removeFile(journal); // names nothing left
        }
    }
    if (found > 0) {
        m_held.push_back({dir, std::move(lock), found, std::move(claimed)});
    } else if (filesIn(dir, true).empty()) {
        fs::remove_all(dir, error); // nothing recoverable: the dead run's leftovers
    } else if (!allReadable || journals.empty()) {
        m_unreadable.push_back(dir); // sound no journal describes: left for the user
    }
}

void CrashRecovery::keepCutSave(LeftRecording& left)
{
    if (left.target.empty()) {
        return;
    }
    std::error_code error;
    if (fs::exists(left.target, error)) {
        left.keptCutSave = m_keepCutSave(left.target);
    }
    // The journal no longer names it, so that a later start does not rename
    // a new file of that name.
    std::ifstream in(left.journalPath, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::size_t at = text.find("\ntarget ");
    if (at != std::string::npos) {
        text.erase(at + 1, text.find('\n', at + 1) - at);
        m_session.files().replaceFile(left.journalPath, text);
    }
    left.target.clear();
}

std::unique_ptr<RingStore> CrashRecovery::take(std::size_t i)
{
    LeftRecording& left = m_recordings.at(i);
    auto store = std::make_unique<RingStore>(m_settings, m_session, left.blocks);
    store->keepJournal(left.format, {}, left.journalPath);
    settle(i);
    return store;
}

void CrashRecovery::discard(std::size_t i)
{
    const LeftRecording& left = m_recordings.at(i);
    for (const HeldBlockFile& block : left.blocks) {
        m_session.files().removeFile(block.path);
    }
    m_session.files().removeFile(left.journalPath);
    settle(i);
}

// Once every recording of a directory is taken or discarded, the directory
// goes with this session's (when its files are gone).
void CrashRecovery::settle(std::size_t i)
{
    if (m_settled.at(i)) {
        return;
    }
    m_settled[i] = true;
    Held& held = m_held.at(m_heldOf[i]);
    if (--held.open == 0 && held.lock) {
        // Spares the dead run made ahead never held sound; blocks no journal
        // names it had released (trimmed, or saved) and was deleting.
        for (const bool withSound : {false, true}) {
            for (const std::string& file : filesIn(held.dir, withSound)) {
                if (!held.named.contains(file)) {
                    m_session.files().removeFile(file);
                }
            }
        }
        m_session.adoptDirectory(held.dir, std::move(held.lock));
    }
}

} // namespace sorvella
