#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class DialogCodecMP3Codec;
}

namespace sorvella {

// "MP3 Codec Options": the quick compression box, OK and Cancel.
class DialogCodecMP3Codec final : public QDialog {
    Q_OBJECT

public:
    DialogCodecMP3Codec(QWidget* parent, bool quickCompression);
    ~DialogCodecMP3Codec() override;

    // The state of the box.
    bool quickCompression() const;

private:
    std::unique_ptr<Ui::DialogCodecMP3Codec> m_ui;
};

} // namespace sorvella
