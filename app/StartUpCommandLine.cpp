#include "app/StartUpCommandLine.h"

#include "app/CommandLineParser.h"
#include "app/StreamPrompter.h"
#include "app/qt/DisplayPresence.h"
#include "platform/mixer/AlsaMixerSystem.h"

#include <iostream>

namespace sorvella {

bool applyStartUpArguments(std::span<const std::string> arguments, Settings& settings,
                           Prompter& boxes, const CodecCatalogue& catalogue,
                           const JobStage& jobStage)
{
    AlsaMixerSystem mixers;
    StreamPrompter console(std::cerr);
    Prompter& reports = hasDisplay() ? boxes : console;
    const CommandLineServices services{reports, catalogue, mixers, std::cout};
    return applyProcessArguments(arguments, settings, services) && jobStage(services);
}

} // namespace sorvella
