// The media writers' module is loaded by the first question, not before, and
// once; without it there are no writers.

#include "platform/media/ModuleMediaWriters.h"
#include "platform/fakes/FakeLibraryLoader.h"
#include "platform/fakes/FakeMediaWriters.h"

#include <gtest/gtest.h>

namespace sorvella::test {
namespace {

FakeMediaWriters* moduleWriters()
{
    static FakeMediaWriters writers;
    return &writers;
}

MediaWriters* entryPoint()
{
    return moduleWriters();
}

TEST(ModuleMediaWritersTest, LoadsTheModuleOnFirstUseOnlyAndKeepsItForItsWriters)
{
    auto loader = std::make_shared<FakeLibraryLoader>();
    loader->addLibrary(ModuleMediaWriters::kModuleFile,
                       {{ModuleMediaWriters::kEntryPoint, reinterpret_cast<void*>(&entryPoint)}});
    auto writers = std::make_unique<ModuleMediaWriters>(loader);
    EXPECT_EQ(loader->loads(), 0);

    EXPECT_TRUE(writers->installed());
    std::unique_ptr<MediaWriter> writer = writers->createWriter();
    ASSERT_NE(writer, nullptr);
    EXPECT_EQ(loader->loads(), 1);

    writers.reset(); // as a codec drops its writers before its writer
    EXPECT_TRUE(writer->setProfile({.bitsPerSecond = 128000, .channels = 2}));
    EXPECT_EQ(moduleWriters()->records().back()->profile->bitsPerSecond, 128000);
}

TEST(ModuleMediaWritersTest, WithoutTheModuleNothingIsInstalled)
{
    ModuleMediaWriters writers(std::make_shared<FakeLibraryLoader>());
    EXPECT_FALSE(writers.installed());
    EXPECT_EQ(writers.createWriter(), nullptr);
}

} // namespace
} // namespace sorvella::test
