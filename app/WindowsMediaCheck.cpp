#include "app/WindowsMediaCheck.h"

#include "core/RecException.h"
#include "save/Codec.h"
#include "save/CodecCatalogue.h"

namespace sorvella {
namespace {

bool codecWorks(const CodecCatalogue& catalogue)
{
    const std::unique_ptr<Codec> codec = catalogue.createCodec(kWindowsMediaCodecNumber);
    if (!codec) {
        return false;
    }
    try {
        codec->test();
        return true;
    } catch (const RecException&) {
        return false;
    }
}

} // namespace

void checkWindowsMediaCodec(const CodecCatalogue& catalogue, std::ostream& out, Prompter& prompter)
{
    if (codecWorks(catalogue)) {
        out << "Windows Media Audio Codec works fine. You can save windows media files with "
               "Sorvella.\n";
        return;
    }
    prompter.ask("Windows Media Audio Codec (wma/asf) not found. If you do not have this codec, "
                 "you cannot save windows media files with Sorvella.\n"
                 "Install FFmpeg's libavcodec and libavformat (Debian packages libavcodec59 and "
                 "libavformat59) to save windows media files.",
                 "Warning", Prompter::Buttons::Ok, Prompter::Icon::None);
}

} // namespace sorvella
