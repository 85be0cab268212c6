#pragma once

#include <string>

namespace sorvella {

// The box that offers a recording a dead run left: the text and four
// buttons "Save...", "Open in Editor", "Keep for Later", "Discard". Main thread.
class RecoveryChoiceView {
public:
    enum class Choice { Save, OpenInEditor, KeepForLater, Discard };

    virtual ~RecoveryChoiceView() = default;
    // Blocks until the user chooses; closing the box keeps the recording.
    virtual Choice choose(const std::string& text) = 0;
};

} // namespace sorvella
