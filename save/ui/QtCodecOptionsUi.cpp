#include "save/ui/QtCodecOptionsUi.h"

#include "save/ui/DialogCodecMP3Codec.h"
#include "save/ui/DialogCodecWMACodec.h"

namespace sorvella {

bool QtCodecOptionsUi::editMp3Options(bool& quickCompression)
{
    DialogCodecMP3Codec dialog(m_parent, quickCompression);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    quickCompression = dialog.quickCompression();
    return true;
}

bool QtCodecOptionsUi::editWmaOptions(std::int32_t& extension)
{
    DialogCodecWMACodec dialog(m_parent, extension);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    extension = dialog.extension();
    return true;
}

} // namespace sorvella
