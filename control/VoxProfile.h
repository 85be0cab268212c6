#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sorvella {

// How sound-activated recording cuts pieces: keyed by "Vox Profile".
struct VoxProfile {
    const char* name;
    std::int32_t silenceSeconds; // this much quiet ends a piece
    std::int32_t marginTenths;   // kept before and after the loud part
    bool editPiece;              // open the editor instead of saving
    std::int32_t maxPieceSeconds;
    std::int32_t minLoudSamples; // a block with no more than this is quiet
};

// The profile of a key; none for a key outside the table (vox then does
// nothing). Throws RecException kind 1 "voxmode - no such profle" for a key
// above 1000.
std::optional<VoxProfile> voxProfile(std::int32_t key);

// Whether a key selects a profile; never throws (the device thread asks).
bool voxProfileUsable(std::int32_t key) noexcept;

// The silence that ends a piece, in bytes: at least one and a half store
// blocks, so that a piece is never judged on the block being written.
// 0 without a profile.
std::int64_t voxSilenceBytes(std::int32_t key, std::int32_t bytesPerSecond);
// The margin kept on either side of a piece, in bytes; 0 without a profile.
std::int64_t voxMarginBytes(std::int32_t key, std::int32_t bytesPerSecond);

// Every profile's key and name, in the order a list shows them.
std::vector<std::pair<std::int32_t, std::string>> voxProfileNames();

} // namespace sorvella
