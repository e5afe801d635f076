// vortexa-sim's command line as any bytes, split into arguments at each NUL.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/sim_options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> arguments(1);
    for (size_t k = 0; k < size; ++k) {
        if (data[k] == 0)
            arguments.emplace_back();
        else
            arguments.back() += static_cast<char>(data[k]);
    }
    try {
        const vortexa::SimOptions options = vortexa::readSimOptions(arguments);
        if (options.widthPixels < 1 || options.heightPixels < 1 || options.ms < 0
            || (options.every && *options.every < 1))
            __builtin_trap();
    } catch (const vortexa::BadOption& bad) {
        if (bad.message.find('\n') != std::string::npos)
            __builtin_trap(); // a message is one line
    }
    return 0;
}
