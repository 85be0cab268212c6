#include "bench/Benchmarks.h"

#include <cstdio>
#include <cstring>
#include <iterator>

using namespace sorvella::bench;

namespace {

const Benchmark kBenchmarks[] = {
    {"store-append", "one hour of 44.1 kHz stereo into a RingStore vs a plain write() loop",
     storeAppend},
    {"snapshot", "snapshot of a 10-minute store while appends go on", snapshot},
    {"recover", "finding a crashed 2-hour session and checking its journal", recover},
    {"tick", "one main timer tick while a 10-minute store is being saved", tick},
    {"save-wav", "a 10-minute store saved as WAV by the save job vs dd copying as much", saveWav},
    {"encode-ogg", "10 minutes saved by OggCodec at 128 vs oggenc, in CPU time", encodeOgg},
    {"encode-wma", "10 minutes saved by WMACodec profile 1 vs ffmpeg wmav2, in CPU time",
     encodeWma},
    {"encode-mp3", "10 minutes saved by MP3Codec at 128 vs lame -b 128, in CPU time", encodeMp3},
    {"encode-mp2", "10 minutes saved by MP2Codec at 192 vs twolame -b 192, in CPU time", encodeMp2},
    {"encode-flac", "10 minutes saved by FlacCodec at level 5 vs flac -5, in CPU time", encodeFlac},
    {"encode-opus", "10 minutes saved by OpusCodec at 96 vs opusenc --bitrate 96, in CPU time",
     encodeOpus},
    {"record-idle", "a minute of recording by sorvella, window hidden and shown, vs arecord",
     recordIdle},
    {"editor-open", "an editor's waveform view on a 2-hour store: construction and first drawing",
     editorOpen},
    {"editor-paint", "the waveform view's full repaints at three zoom levels and a cursor move",
     editorPaint},
    {"editor-play", "a minute played by the editor to ALSA \"default\" vs aplay, in CPU time",
     editorPlay},
};

int usage()
{
    std::fprintf(stderr, "usage: sorvella-bench <name> [args]\n");
    for (const auto& b : kBenchmarks) {
        std::fprintf(stderr, "  %-14s %s\n", b.name, b.summary);
    }
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        return usage();
    }
    for (const auto& b : kBenchmarks) {
        if (std::strcmp(argv[1], b.name) == 0) {
            return b.run(std::vector<std::string>(argv + 2, argv + argc));
        }
    }
    return usage();
}
