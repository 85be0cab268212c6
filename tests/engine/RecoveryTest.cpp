#include "engine/CrashRecovery.h"
#include "tests/engine/LeftSession.h"
#include "tests/engine/StoreFixture.h"
#include "tests/support/FakePrompter.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace sorvella::test {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kBlock = StoreBlock::kSize;

std::vector<std::string> journalsIn(const std::string& dir)
{
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir, error)) {
        if (entry.path().filename().string().rfind("journal-", 0) == 0 &&
            entry.path().extension() == ".txt") {
            found.push_back(entry.path().string());
        }
    }
    return found;
}

std::string readText(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(StoreJournalTest, TheFileThreadWritesTheBlocksOnDiskAndACleanCloseDeletesIt)
{
    StoreFixture f;
    const std::string dir = f.session.sessionDir();
    auto store = f.makeStore();
    WaveFormat format;
    format.samplesPerSec = 48000;
    format.deriveFields();
    store->keepJournal(format);
    appendBytes(*store, pattern(0, kBlock * 5 / 2));

    StoreJournal::Parsed parsed;
    ASSERT_TRUE(waitFor([&] {
        const auto journals = journalsIn(dir);
        parsed = StoreJournal::parse(journals.empty() ? "" : readText(journals.front()));
        return parsed.journal.blocks.size() == 3;
    }));
    EXPECT_EQ(parsed.problem, "");
    EXPECT_EQ(parsed.journal.format, format);
    EXPECT_EQ(parsed.journal.blocks.back().fill, kBlock / 2);
    EXPECT_EQ(parsed.journal.blocks.front().fill, kBlock);
    EXPECT_GT(parsed.journal.startMs, 0);

    store.reset();
    FakePrompter prompter;
    f.session.closeSession(prompter);
    EXPECT_FALSE(fs::exists(dir));
}

class LeftRecordings : public ::testing::TestWithParam<LeftCase> {
protected:
    LeftRecordings() { makeLeftDirectory(dir, GetParam()); }

    StoreFixture f;
    std::string dir = (f.base.path() / "Quillet-5").string();
};

TEST_P(LeftRecordings, RecoverWhatIsConsistentAndSayWhatIsNot)
{
    const LeftCase& c = GetParam();
    CrashRecovery recovery(f.settings, f.session, {});
    recovery.scan();
    std::vector<std::uint8_t> expected;
    for (const auto& [from, bytes] : c.expected) {
        const auto part = pattern(from, static_cast<std::size_t>(bytes));
        expected.insert(expected.end(), part.begin(), part.end());
    }
    if (expected.empty()) {
        EXPECT_TRUE(recovery.recordings().empty());
        EXPECT_EQ(recovery.unreadable(), std::vector<std::string>{dir}); // kept, said
        EXPECT_TRUE(fs::exists(dir + "/0/" + TempSession::fileNameFor(0)));
        return;
    }
    ASSERT_EQ(recovery.recordings().size(), 1u);
    EXPECT_EQ(!recovery.recordings()[0].problems.empty(), c.problem);
    EXPECT_EQ(recovery.recordings()[0].startMs, c.startMs);
    auto store = recovery.take(0);
    EXPECT_EQ(readAll(*store), expected);
    store.reset();
    FakePrompter prompter;
    f.session.closeSession(prompter);
    EXPECT_FALSE(fs::exists(dir)); // its sound taken, the directory went with ours
}

INSTANTIATE_TEST_SUITE_P(
    Journals, LeftRecordings,
    ::testing::Values(
        LeftCase{"Whole", journalOf(kAll), -1, -1, {{0, 3 * kBlock + kBlock / 2}}, false},
        LeftCase{"WrittenBeforeTheTailGrewAndANewBlockBegan",
                 journalOf("blocks 0 3 1000\n"),
                 -1,
                 -1,
                 {{0, 3 * kBlock + kBlock / 2}},
                 false},
        LeftCase{"Truncated",
                 journalOf("blocks 0 2 524288\nblocks 2 2 26", ""),
                 -1,
                 -1,
                 {{0, 3 * kBlock + kBlock / 2}},
                 true},
        LeftCase{"Empty", "", -1, -1, {}, true},
        LeftCase{"Garbage",
                 std::string("\x7f"
                             "ELF\x02\x01\x01\0\0",
                             9),
                 -1,
                 -1,
                 {},
                 true},
        LeftCase{
            "AnotherVersion", "Sorvella journal 9\nformat 44100 2 16\nend\n", -1, -1, {}, true},
        LeftCase{"ABlockMissingFromTheMiddle",
                 journalOf(kAll),
                 1,
                 -1,
                 {{0, kBlock}, {2 * kBlock, kBlock + kBlock / 2}},
                 true},
        // Died after a loop-mode trim deleted the head, before the journal said so.
        LeftCase{"TheHeadTrimmedAfterTheJournal",
                 journalOf(kAll),
                 0,
                 -1,
                 {{kBlock, 2 * kBlock + kBlock / 2}},
                 false,
                 1000000 + 1000 + kBlock * 1000 / 176400},
        LeftCase{"ABlockShorterThanItsEntry",
                 journalOf(kAll),
                 -1,
                 1,
                 {{0, kBlock + 1000}, {2 * kBlock, kBlock + kBlock / 2}},
                 true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CrashRecoveryTest, OfTwoInstancesOnlyOneTakesACrashedSessionAndKeptSoundStays)
{
    StoreFixture first;
    const std::string dir = (first.base.path() / "Quillet-5").string();
    makeLeftDirectory(dir, LeftCase{"", journalOf(kAll)});
    TempSession second(first.settings, first.files);
    second.setUp();
    {
        CrashRecovery one(first.settings, first.session, {});
        CrashRecovery other(first.settings, second, {});
        one.scan();
        other.scan();
        EXPECT_EQ(one.recordings().size(), 1u);
        EXPECT_TRUE(other.recordings().empty());
    } // kept for later
    CrashRecovery later(first.settings, second, {});
    later.scan();
    EXPECT_EQ(later.recordings().size(), 1u);
}

} // namespace
} // namespace sorvella::test
