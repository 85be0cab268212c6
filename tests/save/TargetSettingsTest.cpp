#include "save/TargetSettings.h"
#include "platform/fakes/FakeSettingsStore.h"
#include "tests/save/RecordingCodecFactory.h"

#include <gtest/gtest.h>

namespace sorvella::test {
namespace {

class TargetSettingsTest : public ::testing::Test {
protected:
    FakeSettingsStore store;
    // Number 2 has no codec on this system.
    CodecCatalogue catalogue{store, {recordingCodec("One", 1), {}, recordingCodec("Three", 1)}};
};

TEST_F(TargetSettingsTest, RoundTripMakesTheCodecAnew)
{
    SaveTarget saved;
    saved.fileName = "rec %n.wav";
    saved.formatNumber = 2;
    saved.codecNumber = 3;
    saveTarget(store, saved);

    SaveTarget loaded;
    loadTarget(store, catalogue, loaded);
    EXPECT_EQ(loaded.fileName, "rec %n.wav"); // as stored, not normalised
    EXPECT_EQ(loaded.formatNumber, 2);
    EXPECT_EQ(loaded.codecNumber, 3);
    ASSERT_NE(loaded.codec, nullptr);
    EXPECT_EQ(loaded.codec->description(), "Three");
}

TEST_F(TargetSettingsTest, CodecThatCannotBeMadeLeavesNoMismatch)
{
    SaveTarget target;
    loadTarget(store, catalogue, target);
    const auto codecOne = target.codec;
    ASSERT_NE(codecOne, nullptr);

    // Same number, codec gone: the one in hand still fits the number.
    loadTarget(store, CodecCatalogue{store, {}}, target);
    EXPECT_EQ(target.codec, codecOne);

    // Another number without a codec: the old codec must not stay.
    store.writeInt(kDefaultSettingsSection, "Target File Codec", 2);
    loadTarget(store, catalogue, target);
    EXPECT_EQ(target.codecNumber, 2);
    EXPECT_EQ(target.codec, nullptr);
}

} // namespace
} // namespace sorvella::test
