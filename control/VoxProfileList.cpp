#include "control/VoxProfileList.h"

namespace sorvella {

std::vector<std::pair<std::int32_t, std::string>> voxProfileList()
{
    return {
        {0, "Record CDs or LPs"},
        {10, "Record CDs or LPs w/ long breaks"},
        {20, "Record phone or radio communication - sharp cut"},
        {30, "Record phone or radio communication - record some seconds before and after"},
        {40, "Room monitoring"},
        {50, "Room monitoring w/long breaks"},
        {60, "Edit: Record CDs or LPs"},
        {70, "Edit: Phone or radio communication"},
        {80, "Edit: Room monitoring"},
    };
}

} // namespace sorvella
