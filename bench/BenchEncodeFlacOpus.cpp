// FlacCodec at level 5 against flac -5, and OpusCodec at 96 kBit/s against
// opusenc --bitrate 96, through the save job. Each pair runs the same library
// with its defaults otherwise (neither flac tool nor codec verifies while it
// encodes; opusenc encodes VBR at complexity 10 as the codec does).

#include "bench/Benchmarks.h"
#include "bench/EncodeBench.h"
#include "save/codecs/FlacCodec.h"
#include "save/codecs/OpusCodec.h"

namespace sorvella::bench {

namespace {

// Format 1 of catalogue codec `number` (a new `Made`) against `peer`, whose
// name is its first `nameWords` words.
template <typename Made>
int compareFirstFormat(const std::vector<std::string>& args, std::int32_t number,
                       std::vector<std::string> peer, std::size_t nameWords)
{
    EncodeComparison comparison;
    comparison.codec = std::make_shared<Made>();
    comparison.codecNumber = number;
    comparison.ours =
        comparison.codec->description() + " " + comparison.codec->queryFormat(1, WaveFormat{});
    for (std::size_t i = 0; i < nameWords; ++i) {
        comparison.peerName += (i == 0 ? "" : " ") + peer[i];
    }
    comparison.peer = std::move(peer);
    return compareEncoding(args, comparison);
}

} // namespace

int encodeFlac(const std::vector<std::string>& args)
{
    return compareFirstFormat<FlacCodec>(args, 7, {"flac", "-5", "-s", "-f", "-o", "{out}", "{in}"},
                                         2);
}

int encodeOpus(const std::vector<std::string>& args)
{
    return compareFirstFormat<OpusCodec>(
        args, 8, {"opusenc", "--bitrate", "96", "--quiet", "{in}", "{out}"}, 3);
}

} // namespace sorvella::bench
