// OggCodec at 128 kBit/s through the save job against oggenc as a user runs
// it: the same nominal rate (our "128" is 128 x 1024 = 131072 bit/s), no
// bit-rate management on either side.

#include "bench/Benchmarks.h"
#include "bench/EncodeBench.h"
#include "save/codecs/OggCodec.h"

namespace sorvella::bench {

int encodeOgg(const std::vector<std::string>& args)
{
    EncodeComparison comparison;
    comparison.ours = "OggCodec OGG [128 kBit/s]";
    comparison.peerName = "oggenc -b 131";
    comparison.codec = std::make_shared<OggCodec>();
    comparison.codecNumber = 5;
    comparison.formatNumber = 5; // the fifth row of 44.1 kHz stereo: 128
    comparison.peer = {"oggenc", "-Q", "-b", "131", "-o", "{out}", "{in}"};
    return compareEncoding(args, comparison);
}

} // namespace sorvella::bench
