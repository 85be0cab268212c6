#include "core/RecException.h"
#include "tests/engine/StoreFixture.h"
#include "tests/support/FakePrompter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace sorvella::test {
namespace {

namespace fs = std::filesystem;

struct NameCase {
    std::uint64_t v;
    const char* name;
    int subdirectory;
};

class FileNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(FileNames, AreEightBase36DigitsInTheirSubdirectory)
{
    EXPECT_EQ(TempSession::fileNameFor(GetParam().v), GetParam().name);
    EXPECT_EQ(TempSession::subdirectoryFor(GetParam().v), GetParam().subdirectory);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FileNames,
    ::testing::Values(NameCase{0, "00000000.tmp", 0}, NameCase{35, "0000000Z.tmp", 0},
                      NameCase{37, "00000011.tmp", 1}, NameCase{36 * 8, "00000080.tmp", 8},
                      NameCase{36 * 9, "00000090.tmp", 0}, NameCase{36 * 35, "000000Z0.tmp", 8},
                      NameCase{1296, "00000100.tmp", 0},
                      NameCase{2821109907456ull, "00000000.tmp", 0}, // 36^8 keeps the low digits
                      NameCase{2821109907456ull - 1, "ZZZZZZZZ.tmp", 8}));

std::string systemTemp()
{
    std::string system = fs::temp_directory_path().string();
    if (system.size() > 1 && system.back() == '/') {
        system.pop_back();
    }
    return system;
}

class TempSessionTest : public ::testing::Test {
protected:
    TempSessionTest()
    {
        settings.tempDirectoryUseWindows = false;
        settings.tempDirectory = base.path().string();
    }

    std::string dir(int n) const
    {
        return (base.path() / ("Quillet-" + std::to_string(n))).string();
    }

    TempDir base{"base"};
    Settings settings;
    PosixBlockFiles posix;
    FaultBlockFiles files{posix};
};

TEST_F(TempSessionTest, SetUpMakesTheDirectoryItsLockAndNineSubdirectories)
{
    TempSession session(settings, files);
    EXPECT_EQ(session.sessionDir(), "");
    session.setUp();
    EXPECT_EQ(session.sessionDir(), dir(0));
    EXPECT_EQ(session.baseDir(), base.path().string());
    EXPECT_TRUE(session.lockHeld());
    for (int i = 0; i < 9; ++i) {
        EXPECT_TRUE(fs::is_directory(dir(0) + "/" + std::to_string(i)));
    }
    EXPECT_EQ(posix.lockFile(dir(0) + "/lock.txt"), nullptr); // held by the session
    EXPECT_EQ(session.createBlockFile().name, dir(0) + "/0/00000000.tmp");
    session.finishFileWork(); // the next ones are made ahead, in order
    EXPECT_EQ(session.createBlockFile().name, dir(0) + "/0/00000001.tmp");
    EXPECT_EQ(session.outstanding(), 2);
}

TEST_F(TempSessionTest, TwoSessionsInOneBaseGetZeroAndOne)
{
    TempSession first(settings, files);
    TempSession second(settings, files);
    first.setUp();
    second.setUp();
    EXPECT_EQ(first.sessionDir(), dir(0));
    EXPECT_EQ(second.sessionDir(), dir(1));
}

TEST_F(TempSessionTest, AStaleDirectoryIsSkippedAndKept)
{
    fs::create_directories(dir(0) + "/3");
    {
        std::ofstream(dir(0) + "/lock.txt") << "";
    } // left by a crashed run, not locked
    FakePrompter prompter;
    {
        TempSession session(settings, files);
        session.setUp();
        EXPECT_EQ(session.sessionDir(), dir(1));
        session.closeSession(prompter);
    }
    EXPECT_TRUE(fs::exists(dir(0) + "/lock.txt"));
    EXPECT_TRUE(fs::exists(dir(0) + "/3"));
    EXPECT_FALSE(fs::exists(dir(1)));
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(TempSessionTest, ADirectoryWhoseLockIsHeldElsewhereIsSkipped)
{
    fs::create_directories(dir(0));
    auto other = posix.lockFile(dir(0) + "/lock.txt");
    ASSERT_NE(other, nullptr);
    TempSession session(settings, files);
    session.setUp();
    EXPECT_EQ(session.sessionDir(), dir(1));
}

// Another instance makes the directory between our choice and our mkdir:
// the directory is theirs, never shared.
TEST_F(TempSessionTest, ADirectoryMadeByAnotherInstanceInTheSameMomentIsNotShared)
{
    TempSession other(settings, posix);
    bool raced = false;
    files.setBeforeMakeDirectory([&](const std::string& path) {
        if (!raced && path == dir(0)) {
            raced = true;
            other.setUp();
        }
    });
    TempSession session(settings, files);
    session.setUp();
    EXPECT_TRUE(raced);
    EXPECT_EQ(other.sessionDir(), dir(0));
    EXPECT_EQ(session.sessionDir(), dir(1));
    EXPECT_TRUE(session.lockHeld());
}

TEST_F(TempSessionTest, ADirectoryWithoutItsLockIsNotTakenNorLeftBehind)
{
    files.failLocks(true);
    TempSession session(settings, files);
    session.setUp();
    EXPECT_EQ(session.sessionDir(), "");
    EXPECT_FALSE(session.lockHeld());
    EXPECT_TRUE(fs::is_empty(base.path()));
}

TEST_F(TempSessionTest, CloseWarnsAboutFilesStillHeldAndKeepsThem)
{
    TempSession session(settings, files);
    session.setUp();
    auto store = std::make_unique<RingStore>(settings, session);
    std::vector<std::uint8_t> bytes(RingStore::kBlockSize + 10, 1);
    store->append(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    auto copy = store->snapshot(); // shares the two files: still two
    store.reset();

    FakePrompter prompter;
    session.closeSession(prompter);
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, "Warning: Temp Files were not deleted: 2 files left");
    EXPECT_EQ(prompter.boxes[0].caption, "Application Close");
    EXPECT_EQ(prompter.boxes[0].buttons, Prompter::Buttons::Ok);
    // Files still inside keep their directories and the lock file.
    EXPECT_TRUE(fs::exists(copy->block(0).fileName()));
    EXPECT_TRUE(fs::exists(dir(0) + "/lock.txt"));
    EXPECT_TRUE(session.lockHeld());
    EXPECT_FALSE(fs::exists(dir(0) + "/2")); // empty subdirectories went
    copy.reset();
    EXPECT_EQ(session.outstanding(), 0);
}

// Stores made before the session moved keep their files, in their old
// directory, until they let them go; the close then removes it.
TEST_F(TempSessionTest, AMovedSessionLeavesHeldFilesWhereTheyAre)
{
    TempSession session(settings, files);
    session.setUp();
    auto store = std::make_unique<RingStore>(settings, session);
    std::vector<std::uint8_t> bytes(5000, 1);
    store->append(bytes.data(), 5000);
    TempDir moved{"moved"};
    settings.tempDirectory = moved.path().string();
    EXPECT_EQ(session.setUp(), "");
    EXPECT_EQ(session.baseDir(), moved.path().string());
    EXPECT_TRUE(fs::exists(store->block(0).fileName()));
    EXPECT_EQ(readAll(*store), bytes);

    store.reset();
    FakePrompter prompter;
    session.closeSession(prompter);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_TRUE(fs::is_empty(base.path()));
    EXPECT_TRUE(fs::is_empty(moved.path()));
}

TEST_F(TempSessionTest, CloseWithoutFilesLeftRemovesEverything)
{
    TempSession session(settings, files);
    session.setUp();
    {
        RingStore store(settings, session);
        std::vector<std::uint8_t> bytes(5000, 1);
        store.append(bytes.data(), 5000);
    }
    FakePrompter prompter;
    session.closeSession(prompter);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_FALSE(session.lockHeld());
    EXPECT_TRUE(fs::is_empty(base.path()));
}

TEST_F(TempSessionTest, FilesMadeAheadAreNotCountedAndGoAtClose)
{
    FakePrompter prompter;
    std::string released;
    {
        TempSession session(settings, files);
        session.setUp();
        NewBlockFile first = session.createBlockFile();
        session.finishFileWork();
        ASSERT_EQ(session.filesMadeAhead(), BlockFileWorker::kSpares);
        EXPECT_TRUE(fs::exists(dir(0) + "/0/00000002.tmp"));
        EXPECT_EQ(session.outstanding(), 1);

        // The disk takes no new files: no try while enough are left, then one
        // try after each file taken, no more.
        files.failCreates(true);
        const auto creates = files.createCalls();
        std::vector<std::string> taken;
        while (session.filesMadeAhead() > BlockFileWorker::kRefillAt + 1) {
            taken.push_back(session.createBlockFile().name);
        }
        session.finishFileWork();
        EXPECT_EQ(files.createCalls(), creates);
        for (int k = 1; k <= 2; ++k) {
            taken.push_back(session.createBlockFile().name);
            session.finishFileWork();
            EXPECT_EQ(files.createCalls(), creates + k);
        }
        EXPECT_EQ(session.filesMadeAhead(), BlockFileWorker::kRefillAt - 1);
        files.failCreates(false);

        session.releaseBlockFile(first.name);
        for (std::size_t k = 1; k < taken.size(); ++k) {
            session.releaseBlockFile(taken[k]);
        }
        EXPECT_EQ(session.outstanding(), 1);
        EXPECT_FALSE(fs::exists(first.name));
        session.closeSession(prompter); // warns about the file still held only
        released = taken[0];
        session.releaseBlockFile(released);
    } // the session finishes the deletion asked for before it goes
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, "Warning: Temp Files were not deleted: 1 files left");
    EXPECT_FALSE(fs::exists(released));
    EXPECT_FALSE(fs::exists(dir(0) + "/0/00000002.tmp"));
}

// Nothing the file thread meets may end the program: it reaches the next
// taker of a block file, as the store's own file errors do, once.
TEST_F(TempSessionTest, AnExceptionOnTheFileThreadReachesTheNextTaker)
{
    TempSession session(settings, files);
    session.setUp();
    NewBlockFile file = session.createBlockFile();
    file.handle.reset();
    files.throwFromNextRemove();
    session.releaseBlockFile(file.name);
    session.finishFileWork();
    try {
        session.createBlockFile();
        ADD_FAILURE() << "no exception";
    } catch (const RecException& error) {
        EXPECT_EQ(error.message(), FaultBlockFiles::kThrownText);
    }
    EXPECT_NE(session.createBlockFile().handle, nullptr);
}

class UnusableTempDirectory : public TempSessionTest,
                              public ::testing::WithParamInterface<std::string> {};

// Settings come unchecked from the settings file.
TEST_P(UnusableTempDirectory, FallsBackToTheSystemOne)
{
    std::ofstream(base.path() / "file") << "x";
    settings.tempDirectory = GetParam() == "<file>" ? (base.path() / "file").string() : GetParam();
    TempSession session(settings, files);
    session.setUp();
    const std::string system = systemTemp();
    EXPECT_EQ(session.baseDir(), system);
    EXPECT_EQ(session.sessionDir().rfind(system + "/Quillet-", 0), 0u);
    EXPECT_TRUE(session.lockHeld());
    FakePrompter prompter;
    session.closeSession(prompter);
}

INSTANTIATE_TEST_SUITE_P(Names, UnusableTempDirectory,
                         ::testing::Values("/nonexistent/sorvella", "<file>", "",
                                           "c:", std::string("bad\0name", 8)));

// A base that exists but takes no directory (read-only, no permission,
// full) sends the session to the system's directory, and the user is told.
TEST_F(TempSessionTest, ABaseThatTakesNoDirectoryFallsBackToTheSystemOneWithANotice)
{
    files.refuseDirectoriesIn(base.path().string());
    TempSession session(settings, files);
    const std::string notice = session.setUp();
    EXPECT_EQ(session.baseDir(), systemTemp());
    EXPECT_TRUE(session.lockHeld());
    EXPECT_NE(notice.find(base.path().string()), std::string::npos) << notice;
    EXPECT_NE(notice.find(systemTemp()), std::string::npos) << notice;
    NewBlockFile file = session.createBlockFile();
    EXPECT_NE(file.handle, nullptr);
    file.handle.reset();
    session.releaseBlockFile(file.name);
    EXPECT_EQ(session.setUp(), ""); // the same settings again: the session stays
    FakePrompter prompter;
    session.closeSession(prompter);
}

TEST_F(TempSessionTest, SameBaseAgainKeepsTheSessionANewBaseMovesIt)
{
    TempSession session(settings, files);
    session.setUp();
    session.releaseBlockFile(session.createBlockFile().name);
    session.setUp(); // unchanged base: nothing happens
    EXPECT_EQ(session.sessionDir(), dir(0));
    session.finishFileWork();
    EXPECT_EQ(session.createBlockFile().name, dir(0) + "/0/00000001.tmp");
    session.releaseBlockFile(dir(0) + "/0/00000001.tmp");
    session.finishFileWork();
    ASSERT_GT(session.filesMadeAhead(), 0u);

    TempDir other("other");
    settings.tempDirectory = other.path().string() + "/"; // trailing "/" is the same directory
    session.setUp();
    const std::string moved = (other.path() / "Quillet-0").string();
    EXPECT_EQ(session.sessionDir(), moved);
    const NewBlockFile first = session.createBlockFile();
    EXPECT_EQ(first.name, moved + "/0/00000000.tmp"); // counter restarted
    EXPECT_FALSE(fs::exists(dir(0))); // old directory removed, files made ahead there too
    session.releaseBlockFile(first.name);
    FakePrompter prompter;
    session.closeSession(prompter);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_TRUE(fs::is_empty(other.path()));
}

TEST_F(TempSessionTest, WithoutASessionDirectoryBlocksFailUntilSetUpSucceeds)
{
    files.failLocks(true);
    TempSession session(settings, files);
    session.setUp();
    RingStore store(settings, session);
    std::uint8_t byte = 0;
    EXPECT_THROW(store.append(&byte, 1), RecException);
    EXPECT_EQ(session.outstanding(), 0);

    files.failLocks(false);
    session.setUp(); // the same base, tried again since it gave no directory
    EXPECT_EQ(session.sessionDir(), dir(0));
    store.append(&byte, 1);
    EXPECT_EQ(store.heldBytes(), 1);
}

} // namespace
} // namespace sorvella::test
