#pragma once

#include "core/WaveFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace sorvella::test {

constexpr double kToneHz = 1000;
constexpr double kToneAmplitude = 10000;

inline WaveFormat pcmFormat(std::uint32_t samplesPerSec, std::uint16_t channels)
{
    WaveFormat format;
    format.samplesPerSec = samplesPerSec;
    format.channels = channels;
    format.deriveFields();
    return format;
}

// Silence before a tone, so that its start can be found after a decoder
// that drops or adds sound at the start.
constexpr double kLeadIn = 0.25;

// `seconds` in all of `leadIn` seconds of silence and then a 1 kHz sine, in
// every channel, as 16-bit little-endian PCM.
inline std::vector<std::uint8_t> tone(const WaveFormat& format, double seconds, double leadIn = 0)
{
    const auto frames = static_cast<std::size_t>(std::lround(seconds * format.samplesPerSec));
    const auto silent = static_cast<std::size_t>(std::lround(leadIn * format.samplesPerSec));
    std::vector<std::uint8_t> bytes(std::min(silent, frames) * format.blockAlign, 0);
    bytes.reserve(frames * format.blockAlign);
    for (std::size_t i = 0; i + silent < frames; ++i) {
        const double t = static_cast<double>(i) / format.samplesPerSec;
        const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(
            std::lround(kToneAmplitude * std::sin(2 * std::numbers::pi * kToneHz * t))));
        for (int c = 0; c < format.channels; ++c) {
            bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(v >> 8));
        }
    }
    return bytes;
}

// A file decoded back to 16-bit PCM: its rate, channels and first channel.
struct DecodedSound {
    std::uint32_t samplesPerSec = 0;
    std::uint16_t channels = 0;
    std::vector<std::int16_t> firstChannel;

    double seconds() const { return static_cast<double>(firstChannel.size()) / samplesPerSec; }

    // The middle part, away from the encoder's start and end.
    std::vector<double> middle() const
    {
        const std::size_t skip = firstChannel.size() / 10;
        return {firstChannel.begin() + static_cast<std::ptrdiff_t>(skip),
                firstChannel.end() - static_cast<std::ptrdiff_t>(skip)};
    }

    // Frequency from the upward zero crossings of the middle part.
    double frequency() const
    {
        const std::vector<double> m = middle();
        int crossings = 0;
        for (std::size_t i = 1; i < m.size(); ++i) {
            crossings += (m[i - 1] < 0 && m[i] >= 0) ? 1 : 0;
        }
        return crossings * static_cast<double>(samplesPerSec) / static_cast<double>(m.size());
    }

    // Level of the middle part in dB against the tone that was encoded.
    double levelAgainstTone() const
    {
        const std::vector<double> m = middle();
        return levelOf(m.begin(), m.end(), std::ssize(m));
    }

    // Level in dB against the tone of the quietest 5 ms of the last 20 ms of
    // a tone of `toneSeconds` after a lead-in of silence, found where the tone
    // sets in; what the sound lacks of the tone's end counts as silence. A
    // cut, faded or garbled end of the sound shows here.
    double tailLevelAgainstTone(double toneSeconds) const
    {
        const auto loud =
            std::find_if(firstChannel.begin(), firstChannel.end(),
                         [](std::int16_t v) { return std::abs(v) > kToneAmplitude / 2; });
        // The sine rises to half its amplitude in a twelfth of its period.
        const std::ptrdiff_t onset = std::max<std::ptrdiff_t>(
            (loud - firstChannel.begin()) - std::lround(samplesPerSec / (12 * kToneHz)), 0);
        const std::ptrdiff_t end = onset + std::lround(toneSeconds * samplesPerSec);
        const std::ptrdiff_t slice = std::lround(0.005 * samplesPerSec);
        const auto at = [this](std::ptrdiff_t i) {
            return firstChannel.begin() +
                   std::clamp<std::ptrdiff_t>(i, 0, std::ssize(firstChannel));
        };
        double quietest = 0;
        for (std::ptrdiff_t from = end - 4 * slice; from < end; from += slice) {
            quietest = std::min(quietest, levelOf(at(from), at(from + slice), slice));
        }
        return quietest;
    }

private:
    // Level in dB against the tone of the samples in [begin, end) over `count` samples.
    template <typename Iterator>
    static double levelOf(Iterator begin, Iterator end, std::ptrdiff_t count)
    {
        double sum = 0;
        for (auto it = begin; it != end; ++it) {
            sum += static_cast<double>(*it) * *it;
        }
        const double rms = std::sqrt(sum / static_cast<double>(std::max<std::ptrdiff_t>(count, 1)));
        return 20 * std::log10(rms / (kToneAmplitude / std::numbers::sqrt2));
    }
};

// The length in seconds that the header of `file` states, as the ffprobe
// tool reads it; 0 when it states none.
inline double headerSeconds(const std::filesystem::path& file)
{
    const std::string command =
        "ffprobe -v error -show_entries format=duration -of csv=p=0 '" + file.string() + "'";
    struct Close {
        void operator()(std::FILE* pipe) const { pclose(pipe); }
    };
    const std::unique_ptr<std::FILE, Close> pipe(popen(command.c_str(), "r"));
    std::array<char, 64> line{};
    if (!pipe || std::fgets(line.data(), static_cast<int>(line.size()), pipe.get()) == nullptr) {
        return 0;
    }
    return std::strtod(line.data(), nullptr);
}

// Decodes `file` with the ffmpeg tool into a WAV file beside it and reads
// that back; none (with a test failure) when ffmpeg cannot decode it.
inline std::optional<DecodedSound> decodeWithFfmpeg(const std::filesystem::path& file)
{
    const std::filesystem::path wav = file.string() + ".decoded.wav";
    const std::string command = "ffmpeg -v error -nostdin -y -i '" + file.string() +
                                "' -c:a pcm_s16le -bitexact -f wav '" + wav.string() + "'";
    if (std::system(command.c_str()) != 0) {
        ADD_FAILURE() << "ffmpeg could not decode " << file;
        return std::nullopt;
    }
    std::ifstream in(wav, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    const auto u32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        std::memcpy(&v, bytes.data() + at, 4);
        return v;
    };
    DecodedSound sound;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                             bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
        const std::size_t size = std::min<std::size_t>(u32(at + 4), bytes.size() - at - 8);
        if (id == "fmt ") {
            sound.channels = static_cast<std::uint16_t>(bytes[at + 10] | bytes[at + 11] << 8);
            sound.samplesPerSec = u32(at + 12);
        } else if (id == "data" && sound.channels > 0) {
            for (std::size_t i = at + 8; i + 2 <= at + 8 + size; i += 2U * sound.channels) {
                sound.firstChannel.push_back(
                    static_cast<std::int16_t>(bytes[i] | bytes[i + 1] << 8));
            }
        }
        at += 8 + size + (size & 1);
    }
    if (sound.samplesPerSec == 0 || sound.firstChannel.empty()) {
        ADD_FAILURE() << "no sound decoded from " << file;
        return std::nullopt;
    }
    return sound;
}

} // namespace sorvella::test
