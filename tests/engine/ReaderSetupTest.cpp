#include "engine/ReaderSetup.h"

#include <gtest/gtest.h>

#include <limits>

namespace sorvella {
namespace {

struct Geometry {
    std::int32_t total;
    std::int32_t granularity;
    std::uint32_t rate;
    std::uint16_t channels;
    std::uint32_t size;
    std::uint32_t count;
};

void PrintTo(const Geometry& g, std::ostream* out)
{
    *out << "total " << g.total << ", granularity " << g.granularity << ", " << g.rate << " Hz x "
         << g.channels;
}

class KernelBuffers : public ::testing::TestWithParam<Geometry> {};

TEST_P(KernelBuffers, SizeAndCount)
{
    const Geometry& g = GetParam();
    Settings settings;
    settings.bufferSizeTotal = g.total;
    settings.bufferGranularity = g.granularity;
    settings.format.samplesPerSec = g.rate;
    settings.format.channels = g.channels;
    const ReaderSetup setup = readerSetup(settings);
    EXPECT_EQ(setup.kernelBufferSize, g.size);
    EXPECT_EQ(setup.kernelBufferCount, g.count);
    EXPECT_EQ(setup.kernelBufferSize % setup.format.blockAlign, 0u);
}

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Settings, KernelBuffers,
    ::testing::Values(
        // The defaults: one second is 176400 bytes, halved twice 44100.
        Geometry{2097152, 2, 44100, 2, 65536, 32},
        // A total of 512 gives 512-byte buffers whatever the rate.
        Geometry{512, 0, 48000, 2, 512, 1},
        // A target just above 512 rounds up; at or below it gives 512.
        Geometry{2097152, 4, 8000, 1, 1024, 2048}, Geometry{2097152, 5, 8000, 1, 512, 4096},
        // The doubling meets the total before it reaches the target.
        Geometry{131072, 0, 44100, 2, 131072, 1},
        // Damaged settings: no total means the default total; a total that
        // is no power of two still gives one buffer; a huge one is capped.
        Geometry{0, 2, 44100, 2, 65536, 32}, Geometry{-5, 2, 44100, 2, 65536, 32},
        Geometry{1000, 2, 44100, 2, 65536, 1}, Geometry{kMax, 2, 44100, 2, 65536, 1024},
        // Granularity beyond any halving, or negative (no halving at all).
        Geometry{2097152, 40, 44100, 2, 512, 4096}, Geometry{2097152, -3, 44100, 2, 262144, 8}));

TEST(RecordingFormat, ChannelsAreClampedAndUnusableRatesRefused)
{
    Settings settings;
    settings.format.channels = 0;
    settings.format.avgBytesPerSec = 0;
    settings.format.bitsPerSample = 8;
    ReaderSetup setup = readerSetup(settings);
    EXPECT_EQ(setup.format.channels, 1);
    EXPECT_EQ(setup.format.bitsPerSample, 16);
    EXPECT_EQ(setup.format.avgBytesPerSec, 88200u);
    EXPECT_TRUE(setup.rateUsable);

    settings.format.channels = 7;
    EXPECT_EQ(readerSetup(settings).format.channels, 2);

    for (const std::uint32_t rate : {0u, 999u, 768001u, 4000000000u}) {
        settings.format.samplesPerSec = rate;
        setup = readerSetup(settings);
        EXPECT_FALSE(setup.rateUsable) << rate;
        EXPECT_GT(setup.format.avgBytesPerSec, 0u) << rate;
    }
}

} // namespace
} // namespace sorvella
