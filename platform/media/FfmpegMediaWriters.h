#pragma once

#include "platform/media/MediaWriter.h"

namespace sorvella {

class TargetFiles;

// The media writers of this system: FFmpeg's, installed when this FFmpeg
// build has both the Windows Media Audio encoder and the ASF container.
class FfmpegMediaWriters : public MediaWriters {
public:
    // Files are created through `files`, which must outlive every writer.
    explicit FfmpegMediaWriters(TargetFiles& files) : m_files(files) {}

    bool installed() const override;
    std::unique_ptr<MediaWriter> createWriter() override;

private:
    TargetFiles& m_files;
};

} // namespace sorvella
