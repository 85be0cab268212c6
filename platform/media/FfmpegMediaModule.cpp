// The entry point of libsorvella_ffmpeg_media.so, the module that holds the
// FFmpeg writers so that only a Windows Media save loads FFmpeg.

#include "platform/media/FfmpegMediaWriters.h"

extern "C" __attribute__((visibility("default"))) sorvella::MediaWriters* sorvella_media_writers()
{
    static sorvella::FfmpegMediaWriters writers;
    return &writers;
}
