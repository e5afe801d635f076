#include "platform/show_target.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace vortexa {

namespace {

// A window id in hexadecimal ("0x...") or decimal; X never gives a window the id 0.
std::optional<uint32_t> windowIdOf(std::string_view text)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    uint32_t id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || id == 0)
        return std::nullopt;
    return id;
}

ShowTarget givenWindow(std::string_view text, std::string_view source)
{
    if (const auto id = windowIdOf(text))
        return {ShowTarget::GivenWindow, *id, {}};
    return {ShowTarget::OwnWindow, 0,
        "vortexa: " + std::string(source) + " \"" + std::string(text) + "\" is not a window id"};
}

bool isOption(std::string_view argument, std::string_view name)
{
    return argument == "-" + std::string(name) || argument == "--" + std::string(name);
}

} // namespace

ShowTarget showTargetOf(const std::vector<std::string>& arguments, const char* daemonWindow)
{
    bool root = false;
    for (size_t k = 0; k < arguments.size(); ++k) {
        const std::string_view argument = arguments[k];
        if (isOption(argument, "window-id")) {
            if (k + 1 == arguments.size())
                return {ShowTarget::OwnWindow, 0, "vortexa: " + std::string(argument) + " needs a window id"};
            return givenWindow(arguments[k + 1], argument);
        }
        if (argument.starts_with("--window-id="))
            return givenWindow(argument.substr(argument.find('=') + 1), "--window-id");
        root = root || isOption(argument, "root");
    }
    if (daemonWindow && daemonWindow[0] != '\0')
        return givenWindow(daemonWindow, "XSCREENSAVER_WINDOW");
    return {root ? ShowTarget::RootWindow : ShowTarget::OwnWindow, 0, {}};
}

} // namespace vortexa
