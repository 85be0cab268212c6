// Archive mode: saves at fixed UTC clock times, on the fake clock with the
// stepped counter device, written by real save jobs.

#include "tests/control/ControllerFixture.h"
#include "tests/support/CounterRun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <set>

namespace sorvella {
namespace {

using test::ControllerFixture;
using test::readWav;
using Answer = Prompter::Answer;

constexpr std::int64_t kMidnight = 1'700'006'400; // 2023-11-15 00:00:00 UTC

class ArchiveSaveTest : public ControllerFixture, public ::testing::Test {
protected:
    ArchiveSaveTest()
    {
        useWholeSecondBuffers();
        settings.loopMode = 1;
        settings.startRetryTicks = 0;
    }

    void archive(std::int32_t interval, std::int32_t overlap, std::int32_t delay)
    {
        settings.archiverInterval = interval;
        settings.archiverOverlap = overlap;
        settings.archiverDelay = delay;
    }

    void setClock(double secondOfDay, std::int64_t day = kMidnight)
    {
        const double whole = std::floor(secondOfDay);
        clock.time = day + static_cast<std::int64_t>(whole);
        clock.milliseconds = static_cast<std::int32_t>(std::lround((secondOfDay - whole) * 1000));
    }

    // Recording starts at `secondOfDay` of the fake day.
    void startAt(double secondOfDay)
    {
        setClock(secondOfDay);
        m_startedAt = secondOfDay;
        startRecording();
        ASSERT_TRUE(controller->hasRecorder());
    }

    // The sound up to `secondOfDay` has arrived (nothing is trimmed here).
    void recordTo(double secondOfDay)
    {
        const auto frames = static_cast<std::uint64_t>(
            std::llround((secondOfDay - m_startedAt) * settings.format.samplesPerSec));
        signal.step(frames - m_frames);
        m_frames = frames;
        const std::int64_t target = static_cast<std::int64_t>(frames) * 2;
        ASSERT_TRUE(test::waitFor([&] { return controller->recorder()->heldBytes() >= target; }));
    }

    // A timer tick at `secondOfDay`, the save it defers, and its job.
    void tickAt(double secondOfDay, std::int64_t day = kMidnight)
    {
        setClock(secondOfDay, day);
        controller->onTimer();
        pump.runDeferred();
        ASSERT_TRUE(savesFinished());
    }

    std::vector<std::uint8_t> fileData(int n) const { return readWav(targetFile(n)).data; }

    ::testing::AssertionResult holds(int n, double from, double seconds) const
    {
        const std::vector<std::uint8_t> data = fileData(n);
        const auto bytes = std::llround(seconds * static_cast<double>(bytesPerSecond()));
        if (static_cast<std::int64_t>(data.size()) != bytes) {
            return ::testing::AssertionFailure()
                   << "file " << n << " holds " << data.size() << " bytes, not " << bytes;
        }
        return test::isCounterRun(
            data, static_cast<std::uint64_t>(std::llround(from * settings.format.samplesPerSec)));
    }

    double m_startedAt = 0;
    std::uint64_t m_frames = 0;
};

// The next save time, as seconds after the midnight of the computation.
struct NextTimeCase {
    std::int32_t interval;
    std::int32_t overlap;
    std::int64_t now;
    std::int64_t next;
};

class NextArchiveTime : public ArchiveSaveTest,
                        public ::testing::WithParamInterface<NextTimeCase> {};

TEST_P(NextArchiveTime, CountsIntervalsFromUtcMidnight)
{
    const NextTimeCase c = GetParam();
    archive(c.interval, c.overlap, 0);
    make();
    setClock(static_cast<double>(c.now));
    settings.lastArchiveEnd = 5;
    controller->computeNextArchiveTime();
    EXPECT_EQ(settings.nextArchiveTime - kMidnight, c.next);
    EXPECT_EQ(settings.lastArchiveEnd, -1);
}

INSTANTIATE_TEST_SUITE_P(
    Schedules, NextArchiveTime,
    ::testing::Values(NextTimeCase{600, 60, 30, 660},      // rounds toward zero
                      NextTimeCase{600, 60, 657, 1260},    // 3 s before a save: the next
                      NextTimeCase{600, 60, 86399, 86460}, // past midnight
                      NextTimeCase{1, 0, 100, 104},        // interval 1 s
                      NextTimeCase{10, 25, 0, 15}));       // overlap beyond the interval

// One file each: its range, for the margins at their extremes; a store that
// holds less than the file starts at its beginning.
struct RangeCase {
    std::int32_t interval;
    std::int32_t overlap;
    std::int32_t delay;
    std::int64_t due;
    double from;
    double seconds;
};

class ArchiveRange : public ArchiveSaveTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(ArchiveRange, SavesTheIntervalWithItsMargins)
{
    const RangeCase c = GetParam();
    archive(c.interval, c.overlap, c.delay);
    startAt(0);
    EXPECT_EQ(settings.nextArchiveTime - kMidnight, c.due);
    recordTo(static_cast<double>(c.due));
    tickAt(static_cast<double>(c.due));
    EXPECT_TRUE(holds(1, c.from, c.seconds));
    EXPECT_FALSE(std::filesystem::exists(targetFile(2)));
}

INSTANTIATE_TEST_SUITE_P(Margins, ArchiveRange,
                         ::testing::Values(RangeCase{600, 60, 0, 660, 0,
                                                     660}, // 00:11:00 covers 00:00:00-00:11:00
                                           RangeCase{1, 0, 0, 4, 3, 1}, RangeCase{5, 8, 0, 8, 0, 8},
                                           RangeCase{10, 0, -3600, 10, 0, 10}));

TEST_F(ArchiveSaveTest, CountdownWithoutARecorderIsInParenthesesAndSavesNothing)
{
    archive(600, 60, 0);
    signal.failStarts(true);
    setClock(30);
    startRecording();
    ASSERT_FALSE(controller->hasRecorder());
    controller->onTimer();
    EXPECT_EQ(view.texts.stopAfter, "(10:30 minutes)");
    tickAt(660);
    EXPECT_TRUE(std::filesystem::is_empty(targets.path()));
    EXPECT_EQ(settings.nextArchiveTime - kMidnight, 1260);
}

// Up to 30 s late the save still covers the interval that was due; later
// (a suspended computer) it is skipped and the schedule goes on from now.
struct LateCase {
    std::int64_t late;
    bool saved;
    std::int64_t next;
};

class LateTick : public ArchiveSaveTest, public ::testing::WithParamInterface<LateCase> {};

TEST_P(LateTick, SavesWhatWasDueOrSkips)
{
    const LateCase c = GetParam();
    archive(10, 0, 0);
    startAt(0);
    recordTo(static_cast<double>(10 + c.late));
    tickAt(static_cast<double>(10 + c.late));
    EXPECT_EQ(std::filesystem::exists(targetFile(1)), c.saved);
    if (c.saved) {
        EXPECT_TRUE(holds(1, 0, 10));
    }
    EXPECT_EQ(settings.nextArchiveTime - kMidnight, c.next);
}

INSTANTIATE_TEST_SUITE_P(Lateness, LateTick,
                         ::testing::Values(LateCase{29, true, 50}, LateCase{31, false, 50}));

TEST_F(ArchiveSaveTest, AClockSteppedBackNeitherSavesTwiceNorStops)
{
    archive(10, 0, 0);
    startAt(3600);
    recordTo(3610);
    tickAt(3610);
    recordTo(3620);
    tickAt(10); // an hour back
    EXPECT_EQ(settings.nextArchiveTime - kMidnight, 20);
    EXPECT_FALSE(std::filesystem::exists(targetFile(2)));
    recordTo(3630);
    tickAt(20);
    EXPECT_TRUE(holds(1, 0, 10));
    EXPECT_TRUE(holds(2, 20, 10));
    EXPECT_FALSE(std::filesystem::exists(targetFile(3)));
}

// The schedule runs on UTC: a local zone's daylight-saving changes and
// midnight neither drop nor double a save.
class ZoneChange : public ArchiveSaveTest, public ::testing::WithParamInterface<std::int64_t> {
protected:
    ZoneChange()
    {
        const char* zone = std::getenv("TZ");
        m_zone = zone ? zone : "";
        m_hadZone = zone != nullptr;
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
    ~ZoneChange() override
    {
        if (m_hadZone) {
            setenv("TZ", m_zone.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

    std::string m_zone;
    bool m_hadZone = false;
};

TEST_P(ZoneChange, SavesEveryIntervalAcrossIt)
{
    const std::int64_t change = GetParam();
    archive(600, 60, 0);
    signal.failStarts(true);
    clock.time = change - 3000;
    startRecording();
    std::set<std::int64_t> dueTimes;
    for (std::int64_t t = change - 3000; t <= change + 3600; ++t) {
        clock.time = t;
        const std::int64_t next = settings.nextArchiveTime;
        controller->onTimer();
        if (settings.nextArchiveTime != next) {
            EXPECT_EQ(settings.nextArchiveTime, next + 600);
            EXPECT_EQ(t, next); // on time, not an hour early or late
            dueTimes.insert(next);
        }
    }
    EXPECT_EQ(dueTimes.size(), 11u); // xx:11 to yy:51
}

INSTANTIATE_TEST_SUITE_P(BerlinAndMidnight, ZoneChange,
                         ::testing::Values(1'711'846'800,   // 2024-03-31 01:00 UTC, spring
                                           1'729'990'800,   // 2024-10-27 01:00 UTC, autumn
                                           1'704'067'200)); // 2024-01-01 00:00 UTC

// Without margins consecutive files join sample-exactly, also after a tick
// that came 5.5 s late.
TEST_F(ArchiveSaveTest, FilesWithoutMarginsJoinSampleExactly)
{
    archive(10, 0, 0);
    startAt(3);
    for (const double tick : {10.0, 20.0, 35.5, 40.0, 50.0}) {
        recordTo(tick);
        tickAt(tick);
    }
    std::vector<std::uint8_t> joined;
    for (int n = 1; n <= 5; ++n) {
        const std::vector<std::uint8_t> data = fileData(n);
        ASSERT_FALSE(data.empty()) << "file " << n;
        joined.insert(joined.end(), data.begin(), data.end());
    }
    EXPECT_EQ(static_cast<std::int64_t>(joined.size()), 47 * bytesPerSecond());
    EXPECT_TRUE(test::isCounterRun(joined, 0));
}

// A target that cannot be created: Retry saves the same snapshot, Cancel
// (or a run without anyone to ask) drops it, and recording goes on.
struct TargetCase {
    Answer answer;
    bool unattended;
    bool saved;
};

class UncreatableTarget : public ArchiveSaveTest,
                          public ::testing::WithParamInterface<TargetCase> {};

TEST_P(UncreatableTarget, RetriesOrDrops)
{
    const TargetCase c = GetParam();
    const std::filesystem::path folder = targets.path() / "later";
    const std::string name = (folder / "take.wav").string();
    settings.target.fileName = name;
    archive(10, 0, 0);
    startAt(0);
    controller->setUnattended(c.unattended);
    recordTo(10);
    prompter.answers = {c.answer};
    prompter.duringAsk = [&](const auto&) {
        std::filesystem::create_directory(folder);
        recordTo(12); // sound that came while the box was open stays out
    };
    tickAt(10);
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].caption, "Sorvella Studio Auto-Saving...");
    EXPECT_EQ(prompter.boxes[0].buttons, Prompter::Buttons::RetryCancel);
    EXPECT_EQ(prompter.boxes[0].text,
              "Error Saving File " + name + ": Cannot open targetfile: " + name);
    EXPECT_EQ(std::filesystem::exists(name), c.saved);
    if (c.saved) {
        EXPECT_EQ(static_cast<std::int64_t>(readWav(name).data.size()), 10 * bytesPerSecond());
    }
    EXPECT_TRUE(controller->hasRecorder());
}

INSTANTIATE_TEST_SUITE_P(Answers, UncreatableTarget,
                         ::testing::Values(TargetCase{Answer::Retry, false, true},
                                           TargetCase{Answer::Cancel, false, false},
                                           TargetCase{Answer::Retry, true, false}));

} // namespace
} // namespace sorvella
