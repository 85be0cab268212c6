// FlacCodec at level 5 against flac -5, and OpusCodec at 96 kBit/s against
// opusenc --bitrate 96, through the save job. Each pair runs the same library
// with its defaults otherwise (the flac tool also verifies nothing by
// default; opusenc encodes VBR at complexity 10 as the codec does).

#include "bench/Benchmarks.h"
#include "bench/EncodeBench.h"
#include "save/codecs/FlacCodec.h"
#include "save/codecs/OpusCodec.h"

namespace sorvella::bench {

int encodeFlac(const std::vector<std::string>& args)
{
    EncodeComparison comparison;
    comparison.ours = "FlacCodec FLAC [level 5]";
    comparison.peerName = "flac -5";
    comparison.codec = std::make_shared<FlacCodec>();
    comparison.codecNumber = 7;
    comparison.formatNumber = 1;
    comparison.peer = {"flac", "-5", "-s", "-f", "-o", "{out}", "{in}"};
    return compareEncoding(args, comparison);
}

int encodeOpus(const std::vector<std::string>& args)
{
    EncodeComparison comparison;
    comparison.ours = "OpusCodec Opus [96 kBit/s]";
    comparison.peerName = "opusenc --bitrate 96";
    comparison.codec = std::make_shared<OpusCodec>();
    comparison.codecNumber = 8;
    comparison.formatNumber = 1;
    comparison.peer = {"opusenc", "--quiet", "--bitrate", "96", "{in}", "{out}"};
    return compareEncoding(args, comparison);
}

} // namespace sorvella::bench
