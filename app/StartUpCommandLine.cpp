#include "app/StartUpCommandLine.h"

#include "app/CommandLineParser.h"
#include "app/StreamPrompter.h"
#include "app/qt/DisplayPresence.h"
#include "platform/mixer/AlsaMixerSystem.h"

#include <iostream>

namespace sorvella {

void applyStartUpArguments(std::span<const std::string> arguments, Settings& settings,
                           Prompter& boxes, const CodecCatalogue& catalogue)
{
    AlsaMixerSystem mixers;
    StreamPrompter console(std::cerr);
    Prompter& reports = hasDisplay() ? boxes : console;
    applyProcessArguments(arguments, settings, {reports, catalogue, mixers, std::cout});
}

} // namespace sorvella
