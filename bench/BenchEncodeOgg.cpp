// OggCodec at 128 kBit/s through the save job against oggenc. Our set-up
// keeps the bit-rate manager (with no average to hold) and the nominal rate
// of 128 x 1024 bit/s; oggenc's closest is its managed mode at 131 kbit/s.

#include "bench/Benchmarks.h"
#include "bench/EncodeBench.h"
#include "save/codecs/OggCodec.h"

namespace sorvella::bench {

int encodeOgg(const std::vector<std::string>& args)
{
    EncodeComparison comparison;
    comparison.ours = "OggCodec OGG [128 kBit/s]";
    comparison.peerName = "oggenc --managed -b 131";
    comparison.codec = std::make_shared<OggCodec>();
    comparison.codecNumber = 5;
    comparison.formatNumber = 5; // the fifth row of 44.1 kHz stereo: 128
    comparison.peer = {"oggenc", "-Q", "--managed", "-b", "131", "-o", "{out}", "{in}"};
    return compareEncoding(args, comparison);
}

} // namespace sorvella::bench
