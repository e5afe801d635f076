// The command line the system starts the saver with, as any bytes: the run switch and the start-up
// that follows it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/headless/headless_platform.h"
#include "saver/form1.h"
#include "saver/program.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string commandLine(reinterpret_cast<const char*>(data), size);
    if (vortexa::RunSwitch(commandLine).size() > 2)
        __builtin_trap();

    // No settings file in an empty program folder: the defaults.
    vortexa::HeadlessPlatform platform("", 640, 480);
    platform.setSettingsFile({});
    platform.setCommandLine(commandLine);
    vortexa::Program program(platform);
    program.Start();
    platform.advance(100);
    return 0;
}
