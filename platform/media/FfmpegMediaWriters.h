#pragma once

#include "platform/media/MediaWriter.h"

namespace sorvella {

// The media writers of this system: FFmpeg's, installed when this FFmpeg
// build has both the Windows Media Audio encoder and the ASF container.
class FfmpegMediaWriters : public MediaWriters {
public:
    bool installed() const override;
    std::unique_ptr<MediaWriter> createWriter() override;
};

} // namespace sorvella
