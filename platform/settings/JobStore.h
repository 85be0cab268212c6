#pragma once

#include <cstdint>
#include <string>

namespace sorvella {

// The option lines of scheduled jobs, one per job number, kept apart from
// the program's own settings. Lines are read and written whole, whatever
// their length. Main thread.
class JobStore {
public:
    virtual ~JobStore() = default;

    // The line of `job`; empty when none is stored or the stored value is
    // not a single text. Throws RecException when the store cannot be read.
    virtual std::string readLine(std::int32_t job) const = 0;

    // Stores `line` as the line of `job` and flushes it to the backing file.
    // Throws RecException when it cannot be written.
    virtual void writeLine(std::int32_t job, const std::string& line) = 0;
};

} // namespace sorvella
