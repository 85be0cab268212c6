#include "save/ui/CodecCataloguePresenter.h"

#include "core/Prompter.h"
#include "core/RecException.h"
#include "save/Codec.h"
#include "save/CodecCatalogue.h"
#include "save/CodecOptionsUi.h"

namespace sorvella {

namespace {

constexpr std::int32_t kHelpTopic = 182;

} // namespace

CodecCataloguePresenter::CodecCataloguePresenter(CodecCatalogueView& view,
                                                 const CodecCatalogue& catalogue,
                                                 SettingsStore& settings, CodecOptionsUi& ui,
                                                 HelpTopicOpener help, std::int32_t codecNumber)
    : m_view(view), m_catalogue(catalogue), m_settings(settings), m_ui(ui), m_help(std::move(help)),
      m_codecNumber(codecNumber)
{
}

void CodecCataloguePresenter::open()
{
    m_testAll = false;
    fillList();
}

void CodecCataloguePresenter::testCodec()
{
    const std::string result = m_catalogue.testCodec(selectedCodec());
    m_ui.prompter().ask(result.empty() ? std::string("Codec is working successfully.") : result,
                        "Testing Codec", Prompter::Buttons::Ok, Prompter::Icon::None);
}

void CodecCataloguePresenter::codecOptions()
{
    const std::optional<std::int32_t> number = selectedCodec();
    if (!number) {
        return;
    }
    try {
        if (const std::unique_ptr<Codec> codec = m_catalogue.createCodec(*number)) {
            codec->configure(m_ui);
            codec->saveSettings(m_settings);
        }
    } catch (const RecException&) {
        // Options that cannot be shown or kept leave the codec as it was;
        // the catalogue stays open without a further message.
    }
}

void CodecCataloguePresenter::testAllCodecs()
{
    m_testAll = true;
    fillList();
}

void CodecCataloguePresenter::help() const
{
    m_help(kHelpTopic);
}

void CodecCataloguePresenter::fillList()
{
    const std::vector<std::string> lines = m_catalogue.listLines(m_testAll);
    m_view.showLines(lines);
    if (m_codecNumber >= 1 && static_cast<std::size_t>(m_codecNumber) <= lines.size()) {
        m_view.selectLine(static_cast<std::size_t>(m_codecNumber) - 1);
    } else {
        m_view.selectLine(std::nullopt);
    }
}

std::optional<std::int32_t> CodecCataloguePresenter::selectedCodec() const
{
    const std::optional<std::size_t> line = m_view.selectedLine();
    if (!line) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*line) + 1;
}

} // namespace sorvella
