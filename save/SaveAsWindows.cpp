#include "save/SaveAsWindows.h"

namespace sorvella {

std::string filterText(const FileTypeFilter& filter)
{
    return filter.name + " (*." + filter.extension + ")";
}

} // namespace sorvella
