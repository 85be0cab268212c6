#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sorvella {

class Prompter;

// One entry of the file type list: shown as "Wave Audio (*.wav)".
struct FileTypeFilter {
    std::string name;
    std::string extension;

    friend bool operator==(const FileTypeFilter&, const FileTypeFilter&) = default;
};

// The entry's text as the file dialog shows it; the pattern comes last, in
// parentheses, where file dialogs look for it.
std::string filterText(const FileTypeFilter& filter);

// The "Save As..." file dialog.
class SaveFileDialog {
public:
    struct Request {
        std::vector<FileTypeFilter> filters;
        std::size_t selectedFilter = 0;
        std::string initialName;
        // Added by the dialog to a typed name without an extension.
        std::string defaultExtension;
    };
    struct Choice {
        std::string fileName;
        // Index into Request::filters.
        std::size_t filter = 0;
    };

    virtual ~SaveFileDialog() = default;

    // Main thread. Blocks until the user chooses a file in an existing folder
    // (none on Cancel). Never asks about overwriting: the caller does.
    virtual std::optional<Choice> choose(const Request& request) = 0;
};

// The "Select Format Options" dialog.
class FormatOptionChooser {
public:
    virtual ~FormatOptionChooser() = default;

    // Main thread. Offers the labels of format numbers 1, 2, ... and blocks
    // until the user picks one (its number) or cancels (none).
    virtual std::optional<std::int32_t> chooseFormat(const std::vector<std::string>& labels) = 0;
};

// The windows "Save As..." talks to, all with the same parent window.
struct SaveAsWindows {
    SaveFileDialog& files;
    FormatOptionChooser& formats;
    Prompter& prompter;
};

} // namespace sorvella
