// The save job on the test's own thread: what reaches the target, what is
// left of the store, and every way a save can fail.

#include "save/HeldTarget.h"
#include "tests/save/RaisedBy.h"
#include "tests/save/RecordingView.h"
#include "tests/save/SaveJobFixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace sorvella::test {
namespace {

class SaveJobTest : public ::testing::Test, public SaveJobFixture {};

class SaveJobSizes : public SaveJobTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(SaveJobSizes, WritesTheWholeStoreAndDeletesItsBlocks)
{
    const std::size_t bytes = GetParam();
    auto store = storeWith(bytes);
    const std::size_t blocks = store->blockCount();
    auto saving = job(std::move(store), wavTarget("out.wav"));
    RecordingView view;
    saving->run(view);

    const WavContent wav = readWav(targetPath("out.wav"));
    EXPECT_TRUE(wav.valid());
    EXPECT_EQ(wav.data, pattern(0, bytes));
    EXPECT_EQ(view.failure(), "");
    EXPECT_EQ(view.endings(), 1);
    EXPECT_EQ(view.titles(), std::vector<std::string>{"Saving: " + targetPath("out.wav")});
    // One report before the blocks, then one per block, ending full.
    const std::vector<int> progress = view.progress();
    ASSERT_EQ(progress.size(), blocks + 1);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), blocks == 0 ? 0 : 1000);
    EXPECT_EQ(session.outstanding(), 0);
    EXPECT_EQ(saving->state(), SaveJob::Finished);
}

INSTANTIATE_TEST_SUITE_P(StoreSizes, SaveJobSizes,
                         ::testing::Values(0, 1000, kBlock, 2 * kBlock + kBlock / 2 + 4));

struct Selection {
    const char* name;
    std::int64_t start;
    std::int64_t end;
};

class SaveJobFilter : public SaveJobTest, public ::testing::WithParamInterface<Selection> {};

TEST_P(SaveJobFilter, WritesOnlyTheSelection)
{
    const std::size_t bytes = 3 * kBlock - 400;
    const Selection selection = GetParam();
    const RangeFilter filter(selection.start, selection.end);
    auto saving = job(storeWith(bytes), wavTarget("cut.wav"), &filter);
    RecordingView view;
    saving->run(view);

    const std::int64_t start = std::min<std::int64_t>(selection.start, bytes);
    const std::int64_t end = std::min<std::int64_t>(selection.end, bytes);
    const WavContent wav = readWav(targetPath("cut.wav"));
    EXPECT_TRUE(wav.valid());
    EXPECT_EQ(wav.data, pattern(start, static_cast<std::size_t>(end - start)));
    EXPECT_EQ(view.failure(), "");
    EXPECT_EQ(session.outstanding(), 0);
}

INSTANTIATE_TEST_SUITE_P(Ranges, SaveJobFilter,
                         ::testing::Values(Selection{"AcrossBlockEdges", kBlock - 1000,
                                                     2 * kBlock + 5000},
                                           Selection{"OneWholeBlock", kBlock, 2 * kBlock},
                                           Selection{"OneFrame", 100, 104},
                                           Selection{"PastTheEnd", 4 * kBlock, 5 * kBlock}),
                         [](const auto& info) { return std::string(info.param.name); });

// Names that cannot be created fail before the job takes anything.
class SaveJobUncreatableTarget : public SaveJobTest,
                                 public ::testing::WithParamInterface<std::string> {};

TEST_P(SaveJobUncreatableTarget, FailsAtThePreCreationAndLeavesTheStore)
{
    const std::string name = targetPath(GetParam());
    auto store = storeWith(1000);
    SaveTarget target = wavTarget("");
    target.fileName = name;

    const RecException e = raisedBy([&] { SaveJob created(environment, store, target, nullptr); });
    EXPECT_EQ(e.kind(), RecException::OpenFailure);
    EXPECT_EQ(e.message(), "Cannot open targetfile: " + name);
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(readAll(*store), pattern(0, 1000));
    EXPECT_TRUE(targetNames().empty());
}

INSTANTIATE_TEST_SUITE_P(Names, SaveJobUncreatableTarget,
                         ::testing::Values("missing folder/out.wav", std::string(256, 'n') + ".wav",
                                           ""),
                         [](const auto& info) {
                             return std::string(info.index == 0   ? "MissingFolder"
                                                : info.index == 1 ? "ComponentOver255Bytes"
                                                                  : "AFolder");
                         });

// The store was a snapshot of a recording that went on and dropped its
// oldest block meanwhile: that block's file is the job's alone.
TEST_F(SaveJobTest, FullDiskKeepsTheFinishedPartialFileAndReleasesTheStore)
{
    auto live = storeWith(3 * kBlock);
    auto snapshot = live->snapshot();
    live->dropOldestBlock();
    const std::vector<std::uint8_t> liveBytes = readAll(*live);
    targetFiles.setDiskFull(kWavHeader + kBlock + 1000);
    auto saving = job(std::move(snapshot), wavTarget("full.wav"));
    RecordingView view;
    saving->run(view);

    const std::string kept = targetPath("full (incomplete).wav");
    EXPECT_EQ(view.failure(),
              "Disk full!\n\nThe sound saved until then is kept in \"" + kept + "\".");
    EXPECT_EQ(targetNames(), std::vector<std::string>{"full (incomplete).wav"});
    const WavContent wav = readWav(kept);
    EXPECT_TRUE(wav.valid());
    EXPECT_EQ(wav.data, pattern(0, kBlock + 1000));
    EXPECT_EQ(session.outstanding(), 2); // the live store's two blocks
    EXPECT_EQ(readAll(*live), liveBytes);
}

struct FullDiskCase {
    const char* name;
    std::vector<std::string> taken;
    std::int64_t space;
    std::string kept; // empty: nothing is kept
};

class SaveJobFullDisk : public SaveJobTest, public ::testing::WithParamInterface<FullDiskCase> {};

// A partial file never keeps the final name, and one without sound is not kept.
TEST_P(SaveJobFullDisk, KeepsWhatReachedTheFileUnderAFreeIncompleteName)
{
    const FullDiskCase c = GetParam();
    for (const std::string& name : c.taken) {
        std::ofstream(targetPath(name)) << "other";
    }
    targetFiles.setDiskFull(c.space);
    RecordingView view;
    job(storeWith(2 * kBlock), wavTarget("full.wav"))->run(view);

    std::vector<std::string> names = c.taken;
    std::string failure = "Disk full!";
    if (!c.kept.empty()) {
        names.push_back(c.kept);
        failure += "\n\nThe sound saved until then is kept in \"" + targetPath(c.kept) + "\".";
        EXPECT_EQ(readWav(targetPath(c.kept)).data, pattern(0, 1000));
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(targetNames(), names);
    EXPECT_EQ(view.failure(), failure);
    for (const std::string& name : c.taken) {
        EXPECT_EQ(fileBytes(targetPath(name)).size(), 5U) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, SaveJobFullDisk,
    ::testing::Values(FullDiskCase{"IncompleteNameTaken",
                                   {"full (incomplete).wav"},
                                   kWavHeader + 1000,
                                   "full (incomplete) (1).wav"},
                      FullDiskCase{"NumberedNameTaken",
                                   {"full (incomplete).wav", "full (incomplete) (1).wav"},
                                   kWavHeader + 1000,
                                   "full (incomplete) (2).wav"},
                      FullDiskCase{"NoSoundReachedTheFile", {}, kWavHeader, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// A block file that lost bytes: what was saved before it is kept, and a
// target without any sound is not.
TEST_F(SaveJobTest, StoreErrorsEndTheSave)
{
    auto firstShort = storeWith(2 * kBlock);
    std::filesystem::resize_file(firstShort->block(0).fileName(), 100);
    RecordingView firstView;
    job(std::move(firstShort), wavTarget("first.wav"))->run(firstView);
    EXPECT_EQ(firstView.failure(), "Temorary File too short (100 524288)...");
    EXPECT_TRUE(targetNames().empty());

    auto secondShort = storeWith(2 * kBlock);
    std::filesystem::resize_file(secondShort->block(1).fileName(), 100);
    RecordingView secondView;
    job(std::move(secondShort), wavTarget("second.wav"))->run(secondView);
    EXPECT_EQ(secondView.failure(), "Temorary File too short (100 524288)...\n\nThe sound saved "
                                    "until then is kept in \"" +
                                        targetPath("second (incomplete).wav") + "\".");
    EXPECT_EQ(readWav(targetPath("second (incomplete).wav")).data, pattern(0, kBlock));
    EXPECT_EQ(session.outstanding(), 0);
}

// A filter that raises what a library would, not a RecException, at the
// second block: the save ends as for a full disk, the program goes on.
class ThrowingFilter : public RangeFilter {
public:
    ThrowingFilter() : RangeFilter(0, 3 * kBlock) {}
    void cut(std::int64_t offset, std::uint8_t*& data, std::int32_t& length) override
    {
        if (offset == kBlock) {
            throw std::out_of_range("cut past the block");
        }
        RangeFilter::cut(offset, data, length);
    }
    std::unique_ptr<BlockFilter> clone() const override
    {
        return std::make_unique<ThrowingFilter>(*this);
    }
};

TEST_F(SaveJobTest, AnyExceptionEndsTheSaveAndKeepsThePartialFile)
{
    const ThrowingFilter filter;
    auto saving = job(storeWith(3 * kBlock), wavTarget("thrown.wav"), &filter);
    RecordingView view;
    saving->run(view);

    const std::string kept = targetPath("thrown (incomplete).wav");
    EXPECT_EQ(view.failure(),
              "cut past the block\n\nThe sound saved until then is kept in \"" + kept + "\".");
    EXPECT_EQ(view.endings(), 1);
    const WavContent wav = readWav(kept);
    EXPECT_TRUE(wav.valid());
    EXPECT_EQ(wav.data, pattern(0, kBlock));
    EXPECT_EQ(session.outstanding(), 0);
    EXPECT_EQ(saving->state(), SaveJob::Finished);
}

TEST_F(SaveJobTest, CancelStopsAfterTheCurrentBlockAndDeletesTheTarget)
{
    auto saving = job(storeWith(3 * kBlock), wavTarget("cancel.wav"));
    RecordingView view;
    view.onProgress = [&](int thousandths) {
        if (thousandths == 666) {
            saving->cancel();
        }
    };
    saving->run(view);

    EXPECT_EQ(view.progress(), (std::vector<int>{0, 333, 666}));
    EXPECT_EQ(view.failure(), "");
    EXPECT_TRUE(targetNames().empty());
    EXPECT_EQ(session.outstanding(), 0);
}

TEST_F(SaveJobTest, CodecFailuresEndTheSaveAndFreeTheCodec)
{
    auto gate = std::make_shared<Gate>();
    gate->open();
    SaveTarget failing = codecTarget("start.rec", gate);
    static_cast<RecordingCodec&>(*failing.codec).startFailure = RecException("REC: cannot start");
    RecordingView startView;
    job(storeWith(kBlock), failing)->run(startView);
    EXPECT_EQ(startView.failure(), "REC: cannot start");
    EXPECT_TRUE(targetNames().empty());
    EXPECT_FALSE(environment.codecOpen());

    SaveTarget uninstalled = codecTarget("none.rec", gate);
    uninstalled.codec.reset();
    RecordingView noCodecView;
    job(storeWith(kBlock), uninstalled)->run(noCodecView);
    EXPECT_EQ(noCodecView.failure(), "Error: no codec");
    EXPECT_TRUE(targetNames().empty());

    // The codec closes itself on a short write; its place must still be freed.
    targetFiles.setDiskFull(70000);
    RecordingView fullView;
    job(storeWith(kBlock), codecTarget("full.rec", gate))->run(fullView);
    EXPECT_EQ(fullView.failure().substr(0, 24), "Write failed. Disk full?");
    EXPECT_EQ(targetNames(), std::vector<std::string>{"full (incomplete).rec"});
    EXPECT_EQ(fileBytes(targetPath("full (incomplete).rec")), pattern(0, 70000));
    EXPECT_FALSE(environment.codecOpen());
}

} // namespace
} // namespace sorvella::test
