#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class QWidget;

namespace sorvella {

class BlockFilter;
class OpenWindows;
class Prompter;
class RingStore;
class SaveJobEnvironment;
class SaveProgressWindow;
struct SaveTarget;

// What the main window lends every save it or an editor starts.
struct SaveWindowServices {
    SaveJobEnvironment& jobs;
    OpenWindows& openWindows;
    Prompter& prompter;
};

// Saves `store` into `target` (its name already expanded) on a job thread of
// its own at the save priority of `timingProfile`, with a "Saving..." window
// that joins the open windows and closes itself when the job has ended. The
// job takes a copy of the target with a codec of its own and a clone of the
// filter (null: everything). Main thread.
//
// Raises RecException kind 2 "Cannot open targetfile: " + name when the
// target cannot be created or another save holds it; then no window exists
// and `store` stays with the caller. Otherwise the store is the job's.
// Under a hidden parent (the main window in the tray) the window stays hidden.
// `ended`, when given, is called on the main thread when the job ends, with
// whether it succeeded.
SaveProgressWindow* startSave(const SaveWindowServices& services, std::unique_ptr<RingStore>& store,
                              QWidget* parent, const SaveTarget& target, const BlockFilter* filter,
                              std::int32_t timingProfile,
                              const std::function<void(bool ok)>& ended = {});

} // namespace sorvella
