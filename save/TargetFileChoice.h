#pragma once

#include "core/SaveTarget.h"
#include "save/SaveAsWindows.h"

namespace sorvella {

class CodecCatalogue;

enum class OverwriteCheck {
    Skip,
    // Ask before an existing file is chosen; "No" lets the user choose again.
    Ask,
};

// "Save As...": lets the user choose the target's file and its format, plain
// WAV, one of the target codec's formats or another working codec of the
// catalogue (then one of its formats in "Select Format Options"). The file's
// extension is made to match the format, with a message. False, with the
// target unchanged, when the user cancels or the chosen codec cannot be made.
bool chooseTargetFile(SaveTarget& target, const CodecCatalogue& catalogue,
                      const SaveAsWindows& windows, OverwriteCheck overwrite);

} // namespace sorvella
