#pragma once

#include "save/ui/HelpTopicOpener.h"

namespace sorvella {

class CodecCatalogue;
class Prompter;
class SettingsStore;

// What the saving pipeline's dialogs share: the codecs, the store their
// options are kept in, message boxes and help.
struct SaveDialogServices {
    const CodecCatalogue& catalogue;
    SettingsStore& settings;
    Prompter& prompter;
    HelpTopicOpener help;
};

} // namespace sorvella
