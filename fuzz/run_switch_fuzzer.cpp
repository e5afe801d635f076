// The command line the system starts the saver with, as any bytes: the setting options, the run
// switch and the start-up that follows them.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "saver/form1.h"
#include "saver/run_options.h"
#include "state/program.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string commandLine(reinterpret_cast<const char*>(data), size);
    if (vortexa::RunSwitch(commandLine).size() > 2)
        __builtin_trap();

    // No settings file in an empty program folder: the defaults.
    vortexa::HeadlessPlatform platform("", 640, 480);
    platform.setSettingsFile({});
    std::vector<std::string> words;
    std::istringstream split(commandLine);
    for (std::string word; split >> word;)
        words.push_back(word);
    const vortexa::RunOptions options = vortexa::readRunOptions(words);
    if (!options.error.empty() && options.error.find('\n') != std::string::npos)
        __builtin_trap();
    platform.setCommandLine(commandLine);
    vortexa::Program program(platform);
    if (options.error.empty())
        program.module.Overrides = options.settings;
    program.Start();
    platform.advance(100);
    return 0;
}
