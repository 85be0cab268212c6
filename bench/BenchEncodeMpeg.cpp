// MP3Codec at 128 kBit/s against lame -b 128, and MP2Codec at 192 kBit/s
// against twolame -b 192, through the save job. Both sides run the same
// library with its defaults for the mode (joint stereo) and quality.

#include "bench/Benchmarks.h"
#include "bench/EncodeBench.h"
#include "core/RecException.h"
#include "platform/SystemCompressionManager.h"
#include "save/codecs/MP2Codec.h"

#include <cstdio>

namespace sorvella::bench {

namespace {

// The comparison of `codec`'s format `label` of 44.1 kHz stereo; false when
// the codec has no such format.
bool withFormat(EncodeComparison& comparison, const std::string& label)
{
    for (std::int32_t n = 1; n < 100; ++n) {
        try {
            if (comparison.codec->queryFormat(n, WaveFormat{}) == label) {
                comparison.formatNumber = n;
                comparison.ours = comparison.codec->description() + " " + label;
                return true;
            }
        } catch (const RecException&) {
            break;
        }
    }
    std::fprintf(stderr, "no format %s\n", label.c_str());
    return false;
}

} // namespace

int encodeMp3(const std::vector<std::string>& args)
{
    EncodeComparison comparison;
    comparison.peerName = "lame -b 128";
    comparison.codec = std::make_shared<MP3Codec>(systemCompressionManager());
    comparison.codecNumber = 1;
    comparison.peer = {"lame", "--quiet", "-b", "128", "{in}", "{out}"};
    if (!withFormat(comparison, "MP3 [128 kBit/s, 44100 Hz, Stereo]")) {
        return 1;
    }
    return compareEncoding(args, comparison);
}

int encodeMp2(const std::vector<std::string>& args)
{
    EncodeComparison comparison;
    comparison.peerName = "twolame -b 192";
    comparison.codec = std::make_shared<MP2Codec>(systemCompressionManager());
    comparison.codecNumber = 4;
    comparison.peer = {"twolame", "--quiet", "-b", "192", "{in}", "{out}"};
    if (!withFormat(comparison, "MP2 [192 kBit/s, 44100 Hz, Stereo]")) {
        return 1;
    }
    return compareEncoding(args, comparison);
}

} // namespace sorvella::bench
