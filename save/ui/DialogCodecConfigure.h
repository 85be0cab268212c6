#pragma once

#include "save/ui/CodecCataloguePresenter.h"
#include "save/ui/QtCodecOptionsUi.h"
#include "save/ui/SaveDialogServices.h"

#include <QDialog>

#include <memory>

namespace Ui {
class DialogCodecConfigure;
}

namespace sorvella {

// "Configure Codec": the codec catalogue, opened on the target's codec.
// Double clicks and Enter do nothing; Close ends it.
class DialogCodecConfigure final : public QDialog, private CodecCatalogueView {
    Q_OBJECT

public:
    DialogCodecConfigure(QWidget* parent, const SaveDialogServices& services,
                         std::int32_t codecNumber);
    ~DialogCodecConfigure() override;

private:
    void showLines(const std::vector<std::string>& lines) override;
    void selectLine(std::optional<std::size_t> line) override;
    std::optional<std::size_t> selectedLine() const override;

    void testCodec();
    void codecOptions();
    void testAllCodecs();
    void openHelp();

    std::unique_ptr<Ui::DialogCodecConfigure> m_ui;
    // The codecs' option dialogs open over this one.
    QtCodecOptionsUi m_options;
    CodecCataloguePresenter m_presenter;
};

} // namespace sorvella
