// WMACodec profile 1 (128 kBit/s stereo) through the save job against the
// ffmpeg tool with the same encoder, bit rate and container.

#include "bench/Benchmarks.h"
#include "bench/EncodeBench.h"
#include "platform/media/FfmpegMediaWriters.h"
#include "save/codecs/WMACodec.h"

namespace sorvella::bench {

int encodeWma(const std::vector<std::string>& args)
{
    EncodeComparison comparison;
    comparison.ours = "WMACodec Windows Media (.wma) [128kBit/s Stereo]";
    comparison.peerName = "ffmpeg -c:a wmav2 -b:a 128k";
    comparison.codec = std::make_shared<WMACodec>(std::make_shared<FfmpegMediaWriters>(),
                                                  std::make_shared<WmaExtension>());
    comparison.codecNumber = 6;
    comparison.formatNumber = 1;
    comparison.peer = {"ffmpeg", "-nostdin", "-v",   "error", "-y", "-i",  "{in}",
                       "-c:a",   "wmav2",    "-b:a", "128k",  "-f", "asf", "{out}"};
    return compareEncoding(args, comparison);
}

} // namespace sorvella::bench
