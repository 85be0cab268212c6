#include "platform/fakes/FakeMediaWriters.h"

#include <atomic>

namespace sorvella {

namespace {

using Step = FakeMediaWriters::Step;

class FakeMediaWriter : public MediaWriter {
public:
    FakeMediaWriter(const FakeMediaWriters& controls,
                    std::shared_ptr<FakeMediaWriters::Record> record)
        : m_controls(controls), m_record(std::move(record))
    {
    }
    ~FakeMediaWriter() override { m_record->destroyed = true; }

    bool setProfile(const MediaProfile& profile) override
    {
        m_record->profile = profile;
        return passes(Step::SetProfile);
    }
    bool setOutputFilename(TargetFiles&, const std::string& path) override
    {
        m_record->path = path;
        return passes(Step::SetOutputFilename);
    }
    bool setInputFormat(const WaveFormat& format) override
    {
        m_record->input = format;
        return passes(Step::SetInputFormat);
    }
    bool beginWriting() override
    {
        m_record->began = passes(Step::BeginWriting);
        return m_record->began;
    }
    std::int32_t writeSample(const std::uint8_t*, std::size_t bytes,
                             std::uint64_t sampleTime) override
    {
        if (m_controls.errorStatusAtSample == m_record->sampleTimes.size()) {
            m_errorStatus.store(true);
        }
        m_record->sampleTimes.push_back(sampleTime);
        m_record->sampleBytes.push_back(bytes);
        return m_controls.writeSampleResult;
    }
    void endWriting() override
    {
        m_record->ended = true;
        if (m_controls.errorStatusAtEnd) {
            m_errorStatus.store(true);
        }
    }
    bool writeFailed() const override { return m_errorStatus.load(); }

private:
    bool passes(Step step) const { return m_controls.failAt != step; }

    const FakeMediaWriters& m_controls;
    std::shared_ptr<FakeMediaWriters::Record> m_record;
    std::atomic<bool> m_errorStatus{false};
};

} // namespace

std::unique_ptr<MediaWriter> FakeMediaWriters::createWriter()
{
    if (failAt == Step::Create) {
        return nullptr;
    }
    m_records.push_back(std::make_shared<Record>());
    return std::make_unique<FakeMediaWriter>(*this, m_records.back());
}

} // namespace sorvella
