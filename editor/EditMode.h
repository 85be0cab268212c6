#pragma once

namespace sorvella {

// What a click in the editor's view does: the "L", "P" and "R" buttons.
enum class EditMode {
    AdjustStart = 0, // "L": moves the selection start
    Play = 1,        // "P": plays from the clicked position
    AdjustEnd = 2,   // "R": moves the selection end
};

} // namespace sorvella
