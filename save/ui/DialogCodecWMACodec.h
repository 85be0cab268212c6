#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>

namespace Ui {
class DialogCodecWMACodec;
}

namespace sorvella {

// "Windows Media Codec Options": the extension of Windows Media files,
// ".wma" (0) or ".asf" (1), OK and Cancel.
class DialogCodecWMACodec final : public QDialog {
    Q_OBJECT

public:
    // Opens with `extension` selected (any other value selects none).
    DialogCodecWMACodec(QWidget* parent, std::int32_t extension);
    ~DialogCodecWMACodec() override;

    // The selected extension: 0, 1, or -1 when none is selected.
    std::int32_t extension() const;

private:
    std::unique_ptr<Ui::DialogCodecWMACodec> m_ui;
};

} // namespace sorvella
