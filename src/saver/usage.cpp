#include "saver/usage.h"

#include "saver/run_options.h"

namespace vortexa {

namespace {

const char* const UsageText = R"(Usage: vortexa [/s | /c | /p | -root | -window-id ID | --help | --version] [SETTING]...
   or: vortexa --add-to-xscreensaver
Coloured circle outlines on a black screen: a screen saver.

  /s, no argument  show the saver full-screen; so does any argument not listed here
  /c               open the settings dialog
  /p               end at once (there is no small preview)
  -root            draw on the root window, for a screen-saver daemon
  -window-id ID    draw inside the window ID (decimal, or hexadecimal with 0x);
                   XSCREENSAVER_WINDOW in the environment does the same
  -install, -visual NAME  taken as a daemon passes them, and not needed
  -h, --help       print this text and end
  --version        print the version and end
  --add-to-xscreensaver
                   add Vortexa to the list of savers of XScreenSaver in
                   ~/.xscreensaver (the file is made with the daemon's own list
                   when missing); XScreenSaver then offers it in
                   xscreensaver-settings, without a restart

)";

const char* const SettingsText = R"(
Settings: Vortexa.ini beside the program when its folder can be written, else
$XDG_CONFIG_HOME/vortexa/Vortexa.ini (by default ~/.config/vortexa/Vortexa.ini).
More in the manual page vortexa(6).
)";

} // namespace

std::optional<std::string> informationAsked(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return std::nullopt;
    const std::string& first = arguments.front();
    if (first == "--help" || first == "-h")
        return std::string(UsageText) + SettingOptionsUsage + SettingsText;
    if (first == "--version")
        return std::string("vortexa ") + ProgramVersion + "\n";
    return std::nullopt;
}

} // namespace vortexa
