#pragma once

#include <memory>

namespace sorvella {

class BlockFilter;
class RingStore;
struct SaveTarget;

// Starts the save jobs of the main window: each runs on a thread of its own
// behind a progress window that stays in the main window's open windows
// until the job has ended. Main thread.
class SaveStarter {
public:
    virtual ~SaveStarter() = default;

    // Saves `store` into `target` (a name already expanded; the job takes a
    // copy with a codec of its own). The store becomes the job's only once
    // the job exists: on RecException (kind 2 "Cannot open targetfile: ...")
    // it stays with the caller. A `filter` (may be null) narrows the save to a
    // range; the job takes a clone.
    virtual void startSave(std::unique_ptr<RingStore>& store, const SaveTarget& target,
                           const BlockFilter* filter) = 0;
};

} // namespace sorvella
