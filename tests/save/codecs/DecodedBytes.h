#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace sorvella::test {

// Runs `command`, which writes raw 16-bit little-endian PCM to `raw`, and
// returns those bytes; none (with a test failure) when the command fails.
inline std::optional<std::vector<std::uint8_t>> decodedBytes(const std::string& command,
                                                             const std::filesystem::path& raw)
{
    if (std::system(command.c_str()) != 0) {
        ADD_FAILURE() << "failed: " << command;
        return std::nullopt;
    }
    std::ifstream in(raw, std::ios::binary);
    return std::vector<std::uint8_t>{std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>()};
}

// The file's sound as the ffmpeg tool decodes it, in the file's own rate and
// channels.
inline std::optional<std::vector<std::uint8_t>> ffmpegBytes(const std::filesystem::path& file)
{
    const std::filesystem::path raw = file.string() + ".ffmpeg.raw";
    return decodedBytes("ffmpeg -v error -nostdin -y -i '" + file.string() +
                            "' -f s16le -c:a pcm_s16le '" + raw.string() + "'",
                        raw);
}

} // namespace sorvella::test
