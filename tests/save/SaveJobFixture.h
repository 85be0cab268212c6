#pragma once

#include "core/SaveTarget.h"
#include "platform/fakes/FaultTargetFiles.h"
#include "platform/files/PosixTargetFiles.h"
#include "save/BlockFilter.h"
#include "save/SaveJob.h"
#include "save/SaveJobEnvironment.h"
#include "tests/engine/StoreFixture.h"
#include "tests/save/GatedCodec.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace sorvella::test {

constexpr std::int64_t kBlock = RingStore::kBlockSize;
constexpr std::int64_t kWavHeader = 44;

// What a plain WAV file holds, read back field by field.
struct WavContent {
    std::string riffTag;
    std::uint32_t riffSize = 0;
    std::string formatTags; // "WAVEfmt "
    std::string dataTag;
    std::uint32_t dataSize = 0;
    std::vector<std::uint8_t> data;
    std::int64_t fileSize = 0;

    // The sizes agree with the file: what a player needs to read it whole.
    bool valid() const
    {
        return riffTag == "RIFF" && formatTags == "WAVEfmt " && dataTag == "data" &&
               riffSize == fileSize - 8 && dataSize + kWavHeader == fileSize;
    }
};

inline std::vector<std::uint8_t> fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline WavContent readWav(const std::filesystem::path& path)
{
    const std::vector<std::uint8_t> bytes = fileBytes(path);
    WavContent wav;
    wav.fileSize = static_cast<std::int64_t>(bytes.size());
    if (bytes.size() < kWavHeader) {
        return wav;
    }
    const auto text = [&](std::size_t at, std::size_t n) {
        return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                           bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
    };
    const auto u32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        std::memcpy(&v, bytes.data() + at, 4);
        return v;
    };
    wav.riffTag = text(0, 4);
    wav.riffSize = u32(4);
    wav.formatTags = text(8, 8);
    wav.dataTag = text(36, 4);
    wav.dataSize = u32(40);
    wav.data.assign(bytes.begin() + kWavHeader, bytes.end());
    return wav;
}

// Keeps the store range [start, end): the selection of an editor.
class RangeFilter : public BlockFilter {
public:
    RangeFilter(std::int64_t start, std::int64_t end) : m_start(start), m_end(end) {}

    bool selects(std::int64_t offset, std::int32_t length) const override
    {
        return offset + length >= m_start && offset <= m_end;
    }
    void cut(std::int64_t offset, std::uint8_t*& data, std::int32_t& length) override
    {
        const std::int64_t from =
            std::clamp(m_start - offset, std::int64_t{0}, std::int64_t{length});
        const std::int64_t to = std::clamp(m_end - offset, from, std::int64_t{length});
        data += from;
        length = static_cast<std::int32_t>(to - from);
    }
    std::unique_ptr<BlockFilter> clone() const override
    {
        return std::make_unique<RangeFilter>(*this);
    }

private:
    std::int64_t m_start;
    std::int64_t m_end;
};

// Stores in a real session, targets in a real directory behind the target
// fault layer, and a codec wait that only yields.
struct SaveJobFixture : StoreFixture {
    std::string targetPath(const std::string& name) const
    {
        return (targets.path() / name).string();
    }

    SaveTarget wavTarget(const std::string& name) const
    {
        SaveTarget target;
        target.fileName = targetPath(name);
        target.formatNumber = 0;
        return target;
    }

    // A codec target whose codec writes the PCM bytes through unchanged.
    SaveTarget codecTarget(const std::string& name, std::shared_ptr<Gate> gate) const
    {
        SaveTarget target = wavTarget(name);
        target.formatNumber = 1;
        target.codec = std::make_shared<GatedCodec>(std::move(gate));
        return target;
    }

    std::unique_ptr<RingStore> storeWith(std::size_t bytes)
    {
        auto store = makeStore();
        if (bytes > 0) {
            appendBytes(*store, pattern(0, bytes));
        }
        store->endRecording();
        return store;
    }

    std::unique_ptr<SaveJob> job(std::unique_ptr<RingStore> store, const SaveTarget& target,
                                 const BlockFilter* filter = nullptr)
    {
        return std::make_unique<SaveJob>(environment, store, target, filter);
    }

    std::vector<std::string> targetNames() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(targets.path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir targets{"targets"};
    PosixTargetFiles posixTargets;
    FaultTargetFiles targetFiles{posixTargets};
    SaveJobEnvironment environment{targetFiles,
                                   [](std::chrono::milliseconds) { std::this_thread::yield(); }};
};

} // namespace sorvella::test
