#pragma once

// The plain C interface of the MP3 encoder libraries ("be" entry points)
// that the encoder-library codecs load by name, and that liblame_enc.so
// exports. Every entry point returns 0 for success.

#include <cstdint>

namespace sorvella::be {

using Error = unsigned long;
// A library's handle of one encoding stream.
using Stream = std::uintptr_t;

// The configuration record handed to beInitStream: 27 bytes, packed,
// little-endian.
inline constexpr int kConfigSize = 27;
inline constexpr int kConfigKindAt = 0;       // 4 bytes: 0, plain MP3
inline constexpr int kConfigSampleRateAt = 4; // 4 bytes: samples per second
inline constexpr int kConfigModeAt = 8;       // 1 byte: see the modes below
inline constexpr int kConfigBitRateAt = 9;    // 2 bytes: kBit/s
inline constexpr int kConfigPrivateAt = 11;   // 4 bytes each: 0 or 1
inline constexpr int kConfigCrcAt = 15;
inline constexpr int kConfigCopyrightAt = 19;
inline constexpr int kConfigOriginalAt = 23;

inline constexpr std::uint8_t kModeStereo = 0;
inline constexpr std::uint8_t kModeJointStereo = 1;
inline constexpr std::uint8_t kModeMono = 3;

// What beVersion fills in.
struct Version {
    std::uint8_t libraryMajor;
    std::uint8_t libraryMinor;
    std::uint8_t engineMajor;
    std::uint8_t engineMinor;
    std::uint8_t day;
    std::uint8_t month;
    std::uint16_t year;
    char homepage[129];
    std::uint8_t alphaLevel;
    std::uint8_t betaLevel;
    std::uint8_t mmxEnabled;
    std::uint8_t reserved[125];
};

extern "C" {
// Opens a stream for `config` (kConfigSize bytes). Sets the number of 16-bit
// samples (all channels counted) that each beEncodeChunk takes at most, the
// output room each chunk needs, and the stream handle.
using InitStream = Error (*)(const std::uint8_t* config, std::uint32_t* samplesPerChunk,
                             std::uint32_t* bufferSize, Stream* stream);
// Encodes `samples` 16-bit samples (interleaved for stereo) into `output`,
// which has room for the buffer size beInitStream stated; sets the bytes
// written.
using EncodeChunk = Error (*)(Stream stream, std::uint32_t samples, const std::int16_t* input,
                              std::uint8_t* output, std::uint32_t* written);
// Writes the encoder's last bytes. `written` holds the room at `output` on
// the way in and the bytes written on the way out.
using DeinitStream = Error (*)(Stream stream, std::uint8_t* output, std::uint32_t* written);
using CloseStream = Error (*)(Stream stream);
using GetVersion = void (*)(Version* version);
}

} // namespace sorvella::be
