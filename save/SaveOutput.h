#pragma once

#include "save/WavWriter.h"

#include <cstddef>
#include <cstdint>

namespace sorvella {

class HeldTarget;
struct SaveTarget;

// The target of one save attempt, open: plain WAV (format 0) through a writer
// of its own, any other format through the target's codec. The caller holds
// the codec place for as long as this object lives.
class SaveOutput {
public:
    // Opens the target. `plannedBytes` is the most sound bytes the save will
    // write (a WAV file beyond 4 GiB needs RF64 from the start). Raises what
    // the writer or the codec raise, after closing whatever was opened.
    SaveOutput(HeldTarget& file, SaveTarget& target, std::int64_t plannedBytes);
    // Calls closeAfterFailure.
    ~SaveOutput();
    SaveOutput(const SaveOutput&) = delete;
    SaveOutput& operator=(const SaveOutput&) = delete;

    void write(const std::uint8_t* data, std::size_t length);

    // Finishes and closes the target; raises after it is closed.
    void close();

    // Finishes and closes a target that close() was not called for, after a
    // failure, which is what the user hears of: a failure of this close is
    // dropped.
    void closeAfterFailure() noexcept;

    // What reached the target file: sample bytes of a WAV file, what the
    // codec wrote of a compressed one.
    std::int64_t bytesWritten() const;

private:
    void closeTarget();

    SaveTarget& m_target;
    WavWriter m_wavWriter;
    bool m_closed = false;
};

} // namespace sorvella
