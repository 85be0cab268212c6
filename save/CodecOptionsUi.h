#pragma once

#include <cstdint>

namespace sorvella {

class Prompter;

// What a codec's configure may show: message boxes and the codecs' option
// dialogs. The Qt implementation opens modal dialogs over the window that
// asked; tests script the answers. Main thread only; each call blocks until
// the user answers.
class CodecOptionsUi {
public:
    virtual ~CodecOptionsUi() = default;

    virtual Prompter& prompter() = 0;

    // "MP3 Codec Options": the box "Use Quick Compression" starts with
    // `quickCompression`; on OK it takes the box's state and the result is
    // true; Cancel leaves it alone and gives false.
    virtual bool editMp3Options(bool& quickCompression) = 0;

    // "Windows Media Codec Options": the extension choice (0 ".wma", 1
    // ".asf") starts at `extension`; on OK it takes the chosen one (-1 when
    // none is chosen) and the result is true; Cancel leaves it alone and
    // gives false.
    virtual bool editWmaOptions(std::int32_t& extension) = 0;
};

} // namespace sorvella
