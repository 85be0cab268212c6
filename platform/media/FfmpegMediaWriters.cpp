#include "platform/media/FfmpegMediaWriters.h"

#include "platform/media/FfmpegMediaWriter.h"

namespace sorvella {

bool FfmpegMediaWriters::installed() const
{
    return avcodec_find_encoder_by_name(FfmpegMediaWriter::kEncoder) != nullptr &&
           av_guess_format(FfmpegMediaWriter::kContainer, nullptr, nullptr) != nullptr;
}

std::unique_ptr<MediaWriter> FfmpegMediaWriters::createWriter()
{
    if (!installed()) {
        return nullptr;
    }
    return std::make_unique<FfmpegMediaWriter>();
}

} // namespace sorvella
