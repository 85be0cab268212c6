// The play thread through the real default output, recorded from the test
// server's input (the monitor of its null sink). Needs the PulseAudio test
// input: eval "$(scripts/test-input.sh start)".

#include "editor/EditorPlayer.h"
#include "editor/FadeFilter.h"
#include "editor/PlaybackEvents.h"
#include "editor/WaveformMapping.h"
#include "platform/audio/AlsaFrameSource.h"
#include "platform/audio/AlsaWaveOut.h"
#include "tests/engine/StoreFixture.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace sorvella::test {
namespace {

using namespace std::chrono_literals;

class NoEvents : public PlaybackEvents {
public:
    void cursorAt(int) override {}
    void playbackEnded() override {}
};

// Everything the default input hears, read on the test's thread.
class Monitor {
public:
    explicit Monitor(const WaveFormat& format) : m_source(openAlsaCapture("default", format))
    {
        m_source->start(m_chunk.size());
    }

    void read()
    {
        const std::size_t bytes = m_source->read(m_chunk.data(), m_chunk.size(), 10ms).bytes;
        heard.insert(heard.end(), m_chunk.begin(), m_chunk.begin() + bytes);
    }
    // Reads until `bytes` more have come in.
    bool readMore(std::size_t bytes)
    {
        const std::size_t until = heard.size() + bytes;
        return waitFor([&] {
            read();
            return heard.size() >= until;
        });
    }

    std::vector<std::uint8_t> heard;

private:
    std::unique_ptr<FrameSource> m_source;
    std::vector<std::uint8_t> m_chunk = std::vector<std::uint8_t>(8192);
};

class EditorPlayerDevice : public ::testing::TestWithParam<bool>, public StoreFixture {};

// Without fades "R" plays the two seconds before the selection end as they
// are; with "PlayFaded" the selection with its fades. Silence follows either.
TEST_P(EditorPlayerDevice, PlaysExactlyToTheEnd)
{
    ASSERT_NE(std::getenv("PULSE_SERVER"), nullptr)
        << "start the test input: eval \"$(scripts/test-input.sh start)\"";
    const bool faded = GetParam();
    const WaveFormat format;
    std::vector<std::uint8_t> sound = samples(mixedSamples(300000));
    auto store = makeStore();
    appendBytes(*store, sound);
    store->endRecording();
    WaveformMapping mapping(store->heldBytes());
    mapping.setWidth(1000);
    mapping.selectStartAt(200);
    mapping.selectEndAt(800);
    const std::int64_t end = mapping.selectionEnd();
    std::int64_t start = end - 2 * format.avgBytesPerSec;
    if (faded) {
        start = mapping.selectionStart();
        FadeFilter(mapping.fadeInBytes(), mapping.fadeOutBytes(), start, end, 100)
            .apply(0, sound.data(), static_cast<std::int32_t>(sound.size()));
    }

    // The recording must run before anything plays, or it misses the start.
    Monitor monitor(format);
    ASSERT_TRUE(monitor.readMore(format.avgBytesPerSec / 5));
    AlsaWaveOutSystem output;
    NoEvents events;
    EditorPlayer player(*store, format, mapping, output, events);
    ASSERT_TRUE(player.pressPlay(faded ? EditMode::Play : EditMode::AdjustEnd, faded, 0));
    ASSERT_TRUE(waitFor([&] {
        monitor.read();
        return !player.playing();
    }));
    EXPECT_EQ(player.finish(), std::nullopt);
    ASSERT_TRUE(monitor.readMore(format.avgBytesPerSec / 2));

    const std::vector<std::uint8_t>& heard = monitor.heard;
    const auto found =
        std::search(heard.begin(), heard.end(), sound.begin() + start, sound.begin() + end);
    ASSERT_NE(found, heard.end());
    EXPECT_TRUE(
        std::all_of(found + (end - start), heard.end(), [](std::uint8_t b) { return b == 0; }));
}

INSTANTIATE_TEST_SUITE_P(Fades, EditorPlayerDevice, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Faded" : "AsRecorded"; });

} // namespace
} // namespace sorvella::test
