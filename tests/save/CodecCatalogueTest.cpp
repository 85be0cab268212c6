#include "save/CodecCatalogue.h"
#include "platform/fakes/FakeSettingsStore.h"
#include "tests/save/RecordingCodec.h"

#include <gtest/gtest.h>

namespace sorvella::test {
namespace {

CodecCatalogue::Factory working(const std::string& name)
{
    return [name] { return std::make_unique<RecordingCodec>(name); };
}

CodecCatalogue::Factory untestable(const std::string& name)
{
    return [name] {
        auto codec = std::make_unique<RecordingCodec>(name);
        codec->formatCount = 0;
        return codec;
    };
}

class CodecCatalogueTest : public ::testing::Test {
protected:
    FakeSettingsStore settings;
    // Number 3 has no codec, so the numbers after it are never listed.
    CodecCatalogue catalogue{settings,
                             {working("Alpha"),
                              untestable("Beta"),
                              {},
                              working("Delta"),
                              []() -> std::unique_ptr<Codec> { throw RecException("no library"); },
                              [] {
                                  auto codec = std::make_unique<RecordingCodec>();
                                  codec->loadSettingsFailure = RecException("unreadable");
                                  return codec;
                              }}};
};

TEST_F(CodecCatalogueTest, CreatesCodecsWithTheirSettingsLoaded)
{
    settings.writeInt(kDefaultSettingsSection, "Recording Codec Setting", 7);
    const auto codec = catalogue.createCodec(4);
    ASSERT_NE(codec, nullptr);
    EXPECT_EQ(codec->description(), "Delta");
    EXPECT_EQ(static_cast<RecordingCodec&>(*codec).loadedSetting, 7);

    // Unknown numbers, and codecs that raise while made or loading settings.
    for (const std::int32_t none : {-1, 0, 3, 5, 6, 7}) {
        EXPECT_EQ(catalogue.createCodec(none), nullptr) << none;
    }
}

TEST_F(CodecCatalogueTest, ListEndsAtTheFirstNumberWithoutACodec)
{
    EXPECT_EQ(catalogue.listLines(false), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(catalogue.listLines(true),
              (std::vector<std::string>{"Alpha (installed)", "Beta (not installed)"}));
}

TEST_F(CodecCatalogueTest, TestTellsWhatFailedAndWhere)
{
    EXPECT_EQ(catalogue.testCodec(1), "");
    EXPECT_EQ(catalogue.testCodec(2),
              "Error initializing Codec:\nRecording codec: no such format while testing Beta");
    EXPECT_EQ(catalogue.testCodec(3),
              "Error initializing Codec:\nError: no codec while testing unknown");
    EXPECT_EQ(catalogue.testCodec(std::nullopt),
              "Error initializing Codec:\nInvalid Codec Number while testing unknown");
}

} // namespace
} // namespace sorvella::test
