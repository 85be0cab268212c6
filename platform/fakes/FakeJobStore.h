#pragma once

#include "core/RecException.h"
#include "platform/settings/JobStore.h"

#include <map>

namespace sorvella {

// Job lines in memory; `failing` makes every read and write fail as an
// unreadable or read-only job file does.
class FakeJobStore final : public JobStore {
public:
    std::string readLine(std::int32_t job) const override
    {
        failIfAsked();
        const auto found = lines.find(job);
        return found == lines.end() ? std::string() : found->second;
    }

    void writeLine(std::int32_t job, const std::string& line) override
    {
        failIfAsked();
        lines[job] = line;
    }

    std::map<std::int32_t, std::string> lines;
    bool failing = false;

private:
    void failIfAsked() const
    {
        if (failing) {
            throw RecException("the job file is out of reach");
        }
    }
};

} // namespace sorvella
