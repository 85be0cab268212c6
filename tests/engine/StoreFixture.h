#pragma once

#include "core/Settings.h"
#include "engine/RingStore.h"
#include "engine/TempSession.h"
#include "platform/fakes/FaultBlockFiles.h"
#include "platform/files/PosixBlockFiles.h"
#include "tests/support/TempDir.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace sorvella::test {

// A session in a fresh base directory over real files, with the fault layer
// in between, and helpers to make and read back sound.
struct StoreFixture {
    StoreFixture()
    {
        settings.tempDirectoryUseWindows = false;
        settings.tempDirectory = base.path().string();
        session.setUp();
    }

    std::unique_ptr<RingStore> makeStore()
    {
        return std::make_unique<RingStore>(settings, session);
    }

    TempDir base{"store"};
    Settings settings;
    PosixBlockFiles posix;
    FaultBlockFiles files{posix};
    TempSession session{settings, files};
};

// Bytes that differ at every position and do not repeat per block, so any
// shift or lost piece shows.
inline std::vector<std::uint8_t> pattern(std::int64_t start, std::size_t bytes)
{
    std::vector<std::uint8_t> out(bytes);
    for (std::size_t i = 0; i < bytes; ++i) {
        const auto p = static_cast<std::uint64_t>(start) + i;
        out[i] = static_cast<std::uint8_t>((p * 131 + (p >> 9) * 7 + (p >> 17)) & 0xFF);
    }
    return out;
}

// Pseudo-random samples of many sizes, with -32768 and 32767 among them, so
// that the extremes meet every vector lane of a scan.
inline std::vector<std::int16_t> mixedSamples(std::size_t count)
{
    std::vector<std::int16_t> values(count);
    std::uint32_t seed = 99;
    for (auto& v : values) {
        seed = seed * 1664525u + 1013904223u;
        const std::uint32_t pick = seed >> 24;
        v = pick < 8    ? std::numeric_limits<std::int16_t>::min()
            : pick < 16 ? std::numeric_limits<std::int16_t>::max()
                        : static_cast<std::int16_t>(static_cast<int>(seed >> 16) % (pick * 8));
    }
    return values;
}

// 16-bit little-endian samples as bytes.
inline std::vector<std::uint8_t> samples(const std::vector<std::int16_t>& values)
{
    std::vector<std::uint8_t> out;
    for (auto v : values) {
        const auto u = static_cast<std::uint16_t>(v);
        out.push_back(static_cast<std::uint8_t>(u & 0xFF));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return out;
}

// Everything a store holds, read block by block as a save job does.
inline std::vector<std::uint8_t> readAll(RingStore& store)
{
    std::vector<std::uint8_t> out;
    for (std::size_t k = 0; k < store.blockCount(); ++k) {
        StoreBlock& block = store.block(k);
        block.load();
        out.insert(out.end(), block.data(), block.data() + block.fill());
        block.unload();
    }
    return out;
}

inline void appendBytes(RingStore& store, const std::vector<std::uint8_t>& bytes)
{
    store.append(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

} // namespace sorvella::test
