// MP3Codec at 128 kBit/s against lame -b 128, and MP2Codec at 192 kBit/s
// against twolame -b 192, through the save job. Both sides run the same
// library with its defaults for the mode (joint stereo) and quality.

#include "bench/Benchmarks.h"
#include "bench/EncodeBench.h"
#include "core/RecException.h"
#include "platform/compression/SystemCompressionManager.h"
#include "save/FormatLabels.h"
#include "save/codecs/MP2Codec.h"

#include <cstdio>

namespace sorvella::bench {

namespace {

// Compares `codec`'s format `label` of 44.1 kHz stereo with the peer that
// gets `options`, the WAV file and the file to write.
int compareFormat(const std::vector<std::string>& args, std::shared_ptr<Codec> codec,
                  std::int32_t codecNumber, const std::string& label, const std::string& peer,
                  const std::vector<std::string>& options)
{
    EncodeComparison comparison;
    comparison.codec = std::move(codec);
    comparison.codecNumber = codecNumber;
    comparison.ours = comparison.codec->description() + " " + label;
    comparison.peer = {peer};
    comparison.peer.insert(comparison.peer.end(), options.begin(), options.end());
    for (const std::string& word : comparison.peer) {
        comparison.peerName += (comparison.peerName.empty() ? "" : " ") + word;
    }
    comparison.peer.insert(comparison.peer.end(), {"{in}", "{out}"});
    const std::optional<std::int32_t> number =
        formatNumberOf(*comparison.codec, WaveFormat{}, label);
    if (!number) {
        std::fprintf(stderr, "no format %s\n", label.c_str());
        return 1;
    }
    comparison.formatNumber = *number;
    return compareEncoding(args, comparison);
}

} // namespace

int encodeMp3(const std::vector<std::string>& args)
{
    return compareFormat(args, std::make_shared<MP3Codec>(systemCompressionManager()), 1,
                         "MP3 [128 kBit/s, 44100 Hz, Stereo]", "lame", {"--quiet", "-b", "128"});
}

int encodeMp2(const std::vector<std::string>& args)
{
    return compareFormat(args, std::make_shared<MP2Codec>(systemCompressionManager()), 4,
                         "MP2 [192 kBit/s, 44100 Hz, Stereo]", "twolame", {"--quiet", "-b", "192"});
}

} // namespace sorvella::bench
