#pragma once

#include "save/ui/FormatSelectorPresenter.h"

#include <QDialog>

#include <memory>

namespace Ui {
class DialogCodecFormatSelector;
}

namespace sorvella {

// "Select Format Options": one of a codec's output formats.
class DialogCodecFormatSelector final : public QDialog, private FormatSelectorView {
    Q_OBJECT

public:
    // `labels` are those of format numbers 1, 2, ...
    DialogCodecFormatSelector(QWidget* parent, std::vector<std::string> labels,
                              HelpTopicOpener help);
    ~DialogCodecFormatSelector() override;

    // The format number chosen with OK; none after Cancel.
    std::optional<std::int32_t> chosenFormat() const { return m_chosen; }

private:
    void showOptions(const std::vector<std::string>& options) override;
    void selectOption(int index) override;
    int selectedOption() const override;
    void acceptChoice();
    void openHelp();

    std::unique_ptr<Ui::DialogCodecFormatSelector> m_ui;
    FormatSelectorPresenter m_presenter;
    std::optional<std::int32_t> m_chosen;
};

} // namespace sorvella
