#pragma once

#include "save/ui/HelpTopicOpener.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sorvella {

// What the "Select Format Options" logic needs of its window.
class FormatSelectorView {
public:
    virtual ~FormatSelectorView() = default;
    virtual void showOptions(const std::vector<std::string>& options) = 0;
    virtual void selectOption(int index) = 0;
    // -1 when nothing is selected.
    virtual int selectedOption() const = 0;
};

// Picking one of a codec's output formats by its label.
class FormatSelectorPresenter {
public:
    // `labels` are those of format numbers 1, 2, ...; an empty label ends
    // the list.
    FormatSelectorPresenter(FormatSelectorView& view, std::vector<std::string> labels,
                            HelpTopicOpener help);

    // Fills the list and selects its first entry.
    void open();
    // The format number of the selected entry; none when nothing is selected.
    std::optional<std::int32_t> accept() const;
    void help() const;

private:
    FormatSelectorView& m_view;
    std::vector<std::string> m_labels;
    HelpTopicOpener m_help;
};

} // namespace sorvella
