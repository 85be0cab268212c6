#include "app/UsageText.h"

namespace sorvella {

std::string usageText()
{
    return "usage: sorvella [option]...\n"
           "Records the sound card's input. The options override the settings for this run.\n"
           "\n"
           "  -q:[s|m][:]rate   record stereo (s) or mono (m) at rate samples per second:\n"
           "                    8000, 11025, 16000, 22050, 24000, 32000, 44100 or 48000\n"
           "                    (0 or none keeps the rate); -D: is the same\n"
           "  -S:n              record from input device n (0 is the default input)\n"
           "  -c:time           record for time, save and close Sorvella\n"
           "  -e:time           record for time, open the editor and wait\n"
           "                    (time: minutes, or m:ss, or h:mm:ss)\n"
           "  -f:[kbit:]file    save to file: .mp3, .mp2, .ogg, .wma, .asf, .flac and .opus\n"
           "                    names are compressed (at kbit kBit/s when given; FLAC takes\n"
           "                    none), others saved as WAV\n"
           "  -v:n-p[:n-p]...   record mixer source n (0 is the recording level) at p per\n"
           "                    cent; the sources not listed are switched off\n"
           "  -v                leave the mixer as it is\n"
           "  -i                start minimised\n"
           "  -n                make the target file name unique at start\n"
           "  -s                save when Sorvella closes\n"
           "  -x                do not retry a busy input device\n"
           "  /SAGESET:n        open the settings of scheduled job n\n"
           "  /SAGERUN:n        run scheduled job n\n"
           "  --recover         save what a run that did not end properly left, with the\n"
           "                    target of -f: or the settings, and quit\n"
           "  --recover --list  only list what --recover would save\n"
           "  installconfig     test the Windows Media codec and quit\n"
           "  --help            show this text and quit\n"
           "\n"
           "Commands to a running Sorvella (exit code 0 done, 1 failed, 2 none runs):\n"
           "  --quick-save      save what it holds, as Quick Save does\n"
           "  --edit-and-save   open what it holds in the editor, as Edit and Save does\n"
           "  --status          print its state, mode, held seconds, loop time, target\n"
           "                    and dropouts, one a line\n"
           "  --instance pid    send the command to the Sorvella of process pid instead\n"
           "                    of the first one started\n"
           "\n"
           "Names with spaces go in double quotes. Example, four seconds to an MP3 file:\n"
           "  sorvella -q:s:44100 -c:0:4 -f:128:take.mp3\n";
}

} // namespace sorvella
