#pragma once

#include "core/SaveTarget.h"
#include "save/SaveAsWindows.h"
#include "save/ui/HelpTopicOpener.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sorvella {

class CodecCatalogue;

// What the "Select Targetfile..." logic needs of its window.
class TargetFileView {
public:
    virtual ~TargetFileView() = default;
    virtual std::string fileName() const = 0;
    virtual void showFileName(const std::string& name) = 0;
    // Opens the codec catalogue on the target's codec number.
    virtual void showInstalledCodecs(std::int32_t codecNumber) = 0;
};

// Editing a copy of the target: its name template by hand, from one of the
// examples or through "Save As...".
class TargetFilePresenter {
public:
    // The templates behind the examples' "Copy" buttons, in their order.
    static constexpr std::array<std::string_view, 3> kExampleTemplates{
        "20%y.%o.%d_%h.%m.%s-%H.%M.%S%N",
        "20%y.%o.%d_%h.%m.%s%N",
        "recording %n",
    };

    // Works on a copy of `target` (with a codec of its own).
    TargetFilePresenter(TargetFileView& view, const SaveTarget& target,
                        const CodecCatalogue& catalogue, SaveAsWindows windows,
                        HelpTopicOpener help);

    void open();
    // Puts example `index`'s template in place of the name's stem.
    void copyExample(std::size_t index);
    void browse();
    void installedCodecs();
    // The edited target, for OK.
    SaveTarget accept();
    void help() const;

private:
    void readName();

    TargetFileView& m_view;
    SaveTarget m_target;
    const CodecCatalogue& m_catalogue;
    SaveAsWindows m_windows;
    HelpTopicOpener m_help;
};

} // namespace sorvella
