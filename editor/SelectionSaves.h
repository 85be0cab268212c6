#pragma once

#include <memory>

namespace sorvella {

class BlockFilter;
class RingStore;
struct SaveTarget;

// How an editor saves its selection. Window thread.
class SelectionSaves {
public:
    virtual ~SelectionSaves() = default;

    // Lets the user confirm or change the file and its format, asking before
    // an existing file is overwritten. False when the user cancels.
    virtual bool chooseTarget(SaveTarget& target) = 0;

    // Starts a save job of `snapshot` through `filter` into `target`. Raises
    // RecException (for instance "Cannot open targetfile: ...") when the job
    // cannot start; the snapshot then stays with the caller.
    virtual void startSave(std::unique_ptr<RingStore>& snapshot, const SaveTarget& target,
                           const BlockFilter& filter) = 0;
};

} // namespace sorvella
