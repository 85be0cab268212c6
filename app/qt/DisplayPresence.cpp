#include "app/qt/DisplayPresence.h"

#include <cstdlib>
#include <string_view>

namespace sorvella {
namespace {

bool isSet(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

} // namespace

bool hasDisplay()
{
    if (isSet("QT_QPA_PLATFORM")) {
        const std::string_view platform = std::getenv("QT_QPA_PLATFORM");
        return !platform.starts_with("offscreen") && !platform.starts_with("minimal");
    }
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
}

} // namespace sorvella
