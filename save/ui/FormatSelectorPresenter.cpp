#include "save/ui/FormatSelectorPresenter.h"

#include <algorithm>

namespace sorvella {

namespace {

// The dialog shares its help page with the codec catalogue.
constexpr std::int32_t kHelpTopic = 182;

} // namespace

FormatSelectorPresenter::FormatSelectorPresenter(FormatSelectorView& view,
                                                 std::vector<std::string> labels,
                                                 HelpTopicOpener help)
    : m_view(view), m_labels(std::move(labels)), m_help(std::move(help))
{
    m_labels.erase(std::find(m_labels.begin(), m_labels.end(), std::string()), m_labels.end());
}

void FormatSelectorPresenter::open()
{
    m_view.showOptions(m_labels);
    if (!m_labels.empty()) {
        m_view.selectOption(0);
    }
}

std::optional<std::int32_t> FormatSelectorPresenter::accept() const
{
    const int selected = m_view.selectedOption();
    if (selected < 0) {
        return std::nullopt;
    }
    return selected + 1;
}

void FormatSelectorPresenter::help() const
{
    m_help(kHelpTopic);
}

} // namespace sorvella
