#pragma once

#include "engine/RecordingOwner.h"
#include "engine/SoundReader.h"
#include "platform/fakes/SimulatedWaveInSystem.h"
#include "tests/engine/StoreFixture.h"
#include "tests/support/CounterRun.h"
#include "tests/support/FakePrompter.h"

#include <atomic>
#include <memory>

namespace sorvella::test {

class FakeOwner : public RecordingOwner {
public:
    std::int32_t keepSeconds() const override { return keep.load(); }
    Prompter& prompter() override { return prompts; }

    std::atomic<std::int32_t> keep{-1};
    FakePrompter prompts;
};

// A reader's world: real block files in a fresh session (with the fault
// layer), the simulated input with two named devices, an owner.
struct ReaderFixture : StoreFixture {
    explicit ReaderFixture(SimulatedSignal::Options options = {SimulatedPace::Stepped})
        : signal(std::move(options))
    {
    }

    std::unique_ptr<SoundReader> makeReader()
    {
        return std::make_unique<SoundReader>(owner, settings, waveIn, session);
    }

    // Frames in one kernel buffer with the current settings.
    std::uint64_t framesPerBuffer() const
    {
        const ReaderSetup setup = readerSetup(settings);
        return setup.kernelBufferSize / setup.format.blockAlign;
    }

    SimulatedSignal signal;
    SimulatedWaveInSystem waveIn{signal, {"Card A", "Card B"}};
    FakeOwner owner;
};

// The store holds the counter without a gap: its oldest byte is the one
// appended after the (totalBytes - heldBytes) bytes trimmed away.
inline ::testing::AssertionResult holdsCounter(RingStore& store)
{
    const std::vector<std::uint8_t> held = readAll(store);
    if (static_cast<std::int64_t>(held.size()) != store.heldBytes()) {
        return ::testing::AssertionFailure()
               << "read " << held.size() << " bytes of " << store.heldBytes() << " held";
    }
    const auto firstSample = static_cast<std::uint64_t>(store.totalBytes() - store.heldBytes()) / 2;
    return isCounterRun(held, firstSample);
}

} // namespace sorvella::test
