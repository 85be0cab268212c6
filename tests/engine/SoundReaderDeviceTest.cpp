// Records from the real ALSA "default" device. Needs the PulseAudio test
// input: eval "$(scripts/test-input.sh start)".

#include "engine/SoundReader.h"
#include "platform/audio/AlsaWaveInSystem.h"
#include "tests/engine/ReaderFixture.h"
#include "tests/support/SineInput.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace sorvella {
namespace {

using test::readAll;
using test::waitFor;

constexpr double kToneHz = 1000.0;
constexpr double kToneDbfs = -6.02;

std::vector<double> channel(const std::vector<std::uint8_t>& bytes, std::size_t channels,
                            std::size_t which, std::size_t firstFrame, std::size_t frameCount)
{
    std::vector<double> out;
    for (std::size_t f = firstFrame; f < firstFrame + frameCount; ++f) {
        const std::size_t at = (f * channels + which) * 2;
        out.push_back(
            static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8)));
    }
    return out;
}

// Sample times of the upward zero crossings, interpolated between samples.
std::vector<double> upwardCrossings(const std::vector<double>& samples)
{
    std::vector<double> times;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0) {
            times.push_back(static_cast<double>(i - 1) +
                            samples[i - 1] / (samples[i - 1] - samples[i]));
        }
    }
    return times;
}

// The largest distance of a crossing from the straight line through all of
// them: a jump in the tone's phase (lost or doubled sound) stands out.
double largestPhaseDeviation(const std::vector<double>& times)
{
    const double n = static_cast<double>(times.size());
    double sumK = 0, sumT = 0, sumKK = 0, sumKT = 0;
    for (std::size_t k = 0; k < times.size(); ++k) {
        sumK += static_cast<double>(k);
        sumT += times[k];
        sumKK += static_cast<double>(k * k);
        sumKT += static_cast<double>(k) * times[k];
    }
    const double slope = (n * sumKT - sumK * sumT) / (n * sumKK - sumK * sumK);
    const double start = (sumT - slope * sumK) / n;
    double worst = 0;
    for (std::size_t k = 0; k < times.size(); ++k) {
        worst = std::max(worst, std::abs(times[k] - (start + slope * static_cast<double>(k))));
    }
    return worst;
}

TEST(SoundReaderDevice, RecordsTheSteadyToneOfTheDefaultInput)
{
    ASSERT_NE(std::getenv("PULSE_SERVER"), nullptr)
        << "No PulseAudio test input: run eval \"$(scripts/test-input.sh start)\" first";
    const test::SineInput sine;

    test::StoreFixture fx;
    test::FakeOwner owner;
    AlsaWaveInSystem alsa;
    auto reader = std::make_unique<SoundReader>(owner, fx.settings, alsa, fx.session);
    const WaveFormat format = reader->format();
    const std::int64_t threeSeconds = 3 * std::int64_t{format.avgBytesPerSec};
    ASSERT_TRUE(
        waitFor([&] { return reader->heldBytes() >= threeSeconds; }, std::chrono::seconds(30)));
    reader->stop();
    auto store = reader->detachStore();
    reader->shutDown();
    EXPECT_EQ(reader->claimPendingError().kind(), RecException::None);
    EXPECT_TRUE(owner.prompts.boxes.empty());

    const std::vector<std::uint8_t> bytes = readAll(*store);
    const std::size_t rate = format.samplesPerSec;
    for (std::size_t which = 0; which < format.channels; ++which) {
        SCOPED_TRACE("channel " + std::to_string(which));
        const std::vector<double> middle =
            channel(bytes, format.channels, which, rate / 2, 2 * rate);
        double peak = 0;
        for (const double s : middle) {
            peak = std::max(peak, std::abs(s));
        }
        EXPECT_NEAR(20 * std::log10(peak / 32768.0), kToneDbfs, 1.0) << "peak " << peak;

        const std::vector<double> crossings = upwardCrossings(middle);
        ASSERT_GT(crossings.size(), 100u);
        const double hz = static_cast<double>(crossings.size() - 1) /
                          (crossings.back() - crossings.front()) * static_cast<double>(rate);
        EXPECT_NEAR(hz, kToneHz, 1.0);
        EXPECT_LT(largestPhaseDeviation(crossings), 0.5) << "the tone's phase jumps";
    }
}

} // namespace
} // namespace sorvella
