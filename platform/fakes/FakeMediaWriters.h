#pragma once

#include "platform/media/MediaWriter.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sorvella {

// Media writers for tests: they write no file, record what they were asked
// and fail where a test says. Set the controls before the writers are made;
// one thread uses the fake and its writers.
class FakeMediaWriters : public MediaWriters {
public:
    enum class Step { None, Create, SetProfile, SetOutputFilename, SetInputFormat, BeginWriting };

    // What one writer was asked, kept after the writer is gone.
    struct Record {
        std::optional<MediaProfile> profile;
        std::string path;
        std::optional<WaveFormat> input;
        bool began = false;
        bool ended = false;
        bool destroyed = false;
        std::vector<std::uint64_t> sampleTimes;
        std::vector<std::size_t> sampleBytes;
    };

    bool installed() const override { return isInstalled; }
    std::unique_ptr<MediaWriter> createWriter() override;

    // Every writer made so far, in order.
    const std::vector<std::shared_ptr<Record>>& records() const { return m_records; }

    bool isInstalled = true;
    // The step that fails (Create: createWriter returns null).
    Step failAt = Step::None;
    // What every writeSample returns.
    std::int32_t writeSampleResult = 0;
    // The error status is raised with the sample of this index (0-based).
    std::optional<std::size_t> errorStatusAtSample;
    // The error status is raised by endWriting.
    bool errorStatusAtEnd = false;

private:
    std::vector<std::shared_ptr<Record>> m_records;
};

} // namespace sorvella
