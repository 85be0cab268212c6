#pragma once

#include <cstdint>
#include <functional>

namespace sorvella {

// Opens the help page of a dialog's help topic number. The dialogs are
// given one that is set.
using HelpTopicOpener = std::function<void(std::int32_t topic)>;

} // namespace sorvella
