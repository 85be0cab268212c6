#pragma once

#include "save/ui/HelpTopicOpener.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sorvella {

class CodecCatalogue;
class CodecOptionsUi;
class SettingsStore;

// What the "Configure Codec" logic needs of its window.
class CodecCatalogueView {
public:
    virtual ~CodecCatalogueView() = default;
    virtual void showLines(const std::vector<std::string>& lines) = 0;
    // None clears the selection.
    virtual void selectLine(std::optional<std::size_t> line) = 0;
    virtual std::optional<std::size_t> selectedLine() const = 0;
};

// The codec catalogue: lists the codecs, tests them and opens their options.
// It never changes the target's codec.
class CodecCataloguePresenter {
public:
    // `codecNumber` is the target's codec, selected on opening. Option
    // changes are written to `settings`; messages and option dialogs go
    // through `ui`.
    CodecCataloguePresenter(CodecCatalogueView& view, const CodecCatalogue& catalogue,
                            SettingsStore& settings, CodecOptionsUi& ui, HelpTopicOpener help,
                            std::int32_t codecNumber);

    void open();
    void testCodec();
    void codecOptions();
    // Lists the codecs again, each marked installed or not by its test.
    void testAllCodecs();
    void help() const;

private:
    void fillList();
    std::optional<std::int32_t> selectedCodec() const;

    CodecCatalogueView& m_view;
    const CodecCatalogue& m_catalogue;
    SettingsStore& m_settings;
    CodecOptionsUi& m_ui;
    HelpTopicOpener m_help;
    std::int32_t m_codecNumber;
    bool m_testAll = false;
};

} // namespace sorvella
