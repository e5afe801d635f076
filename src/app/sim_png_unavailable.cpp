#include "app/sim_png.h"

namespace vortexa {

std::string pngUnavailableReason()
{
    return "--png is not available in this build: the frames are drawn by the Qt painter, which the Windows "
           "build does not have; use the Linux build of vortexa-sim for pictures";
}

void writePng(const SimOptions&, const SaverScreen&, int, char**) { }

} // namespace vortexa
