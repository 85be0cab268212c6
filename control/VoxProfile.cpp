#include "control/VoxProfile.h"

#include "core/RecException.h"
#include "engine/RingStore.h"

#include <algorithm>
#include <array>

namespace sorvella {

namespace {

constexpr std::int32_t kKeyStep = 10;
constexpr std::int32_t kHighestKey = 1000;
constexpr std::int64_t kMinSilenceBytes = 0xC0000;
// Every profile counts a block as loud from the same number of loud samples.
constexpr std::int32_t kMinLoud = RingStore::kMinLoudSamples;

constexpr std::array<VoxProfile, 9> kProfiles{{
    {"Record CDs or LPs", 3, 10, false, 5400, kMinLoud},
    {"Record CDs or LPs w/ long breaks", 6, 10, false, 5400, kMinLoud},
    {"Record phone or radio communication - sharp cut", 10, 1, false, 3600, kMinLoud},
    {"Record phone or radio communication - record some seconds before and after", 15, 50, false,
     3600, kMinLoud},
    {"Room monitoring", 60, 200, false, 3600, kMinLoud},
    {"Room monitoring w/long breaks", 600, 2400, false, 3600, kMinLoud},
    {"Edit: Record CDs or LPs", 3, 0, true, 5400, kMinLoud},
    {"Edit: Phone or radio communication", 10, 0, true, 3600, kMinLoud},
    {"Edit: Room monitoring", 60, 0, true, 3600, kMinLoud},
}};

const VoxProfile* row(std::int32_t key) noexcept
{
    if (key < 0 || key % kKeyStep != 0 || key / kKeyStep >= std::ssize(kProfiles)) {
        return nullptr;
    }
    return &kProfiles[static_cast<std::size_t>(key / kKeyStep)];
}

} // namespace

std::optional<VoxProfile> voxProfile(std::int32_t key)
{
    if (key > kHighestKey) {
        throw RecException(RecException::Failure, "voxmode - no such profle");
    }
    const VoxProfile* found = row(key);
    return found == nullptr ? std::nullopt : std::optional<VoxProfile>(*found);
}

bool voxProfileUsable(std::int32_t key) noexcept
{
    return row(key) != nullptr;
}

std::int64_t voxSilenceBytes(std::int32_t key, std::int32_t bytesPerSecond)
{
    const std::optional<VoxProfile> profile = voxProfile(key);
    if (!profile) {
        return 0;
    }
    return std::max<std::int64_t>(
        static_cast<std::int64_t>(profile->silenceSeconds) * bytesPerSecond, kMinSilenceBytes);
}

std::int64_t voxMarginBytes(std::int32_t key, std::int32_t bytesPerSecond)
{
    const std::optional<VoxProfile> profile = voxProfile(key);
    return profile ? static_cast<std::int64_t>(profile->marginTenths) * bytesPerSecond / 10 : 0;
}

std::vector<std::pair<std::int32_t, std::string>> voxProfileNames()
{
    std::vector<std::pair<std::int32_t, std::string>> names;
    for (std::size_t i = 0; i < kProfiles.size(); ++i) {
        names.emplace_back(static_cast<std::int32_t>(i) * kKeyStep, kProfiles[i].name);
    }
    return names;
}

} // namespace sorvella
