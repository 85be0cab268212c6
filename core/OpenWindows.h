#pragma once

#include "core/OpenWindow.h"

namespace sorvella {

// The owner's list of open windows (save progress windows and editors),
// which asks before the program closes while any is open. A window joins it
// when it opens and leaves it when it is destroyed. Main thread.
class OpenWindows {
public:
    virtual ~OpenWindows() = default;

    virtual void add(OpenWindow& window) = 0;
    virtual void remove(OpenWindow& window) = 0;
};

} // namespace sorvella
