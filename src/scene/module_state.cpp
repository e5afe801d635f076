#include "scene/module_state.h"

#include <cmath>

#include "records/numeric.h"

namespace vortexa {

void FillColorTable(ModuleState& module)
{
    module.ColorTable
        = {"&HC0FFC0", "&HC0C0FF", "&H800080", "&H99CCCC", "&H80FFFF", "&H008080", "&HFF00FF", "&H3030CC", "&H404080",
            "&H808000", "&HFF0000", "&HC000C0", "&H999999", "&H808080", "&HFF80FF", "&H0000FF", "&H8080FF", "&HDDDDAA"};
}

uint32_t PickColour(ModuleState& module)
{
    const auto entry = static_cast<size_t>(std::floor(module.Random.next() * DrawnColours));
    return colourFromText(module.ColorTable[entry]);
}

} // namespace vortexa
