#include "app/add_to_xscreensaver.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "records/text_file.h"
#include "settings/xscreensaver_file.h"

namespace vortexa {

namespace {

namespace fs = std::filesystem;

constexpr int StatusFailed = 2;

int failWith(const std::string& line)
{
    std::fprintf(stderr, "vortexa: %s\n", line.c_str());
    return StatusFailed;
}

int say(const std::string& line)
{
    std::printf("vortexa: %s\n", line.c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

std::string quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

// Why a file that is there could not be read.
std::string unreadable(const fs::path& path, int readError)
{
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return quoted(path) + " is not a regular file";
    if (fs::file_size(path, error) > MostXScreenSaverFileBytes)
        return quoted(path) + " is larger than " + std::to_string(MostXScreenSaverFileBytes) + " bytes";
    return "cannot read " + quoted(path) + ": " + std::strerror(readError);
}

// The daemon's app-defaults file, the first of the usual places that holds one.
std::string daemonDefaults()
{
    for (const std::string_view place : XScreenSaverDefaultsFiles)
        if (const std::optional<std::string> text = readTextFile(fs::path(place), MostXScreenSaverFileBytes))
            return *text;
    return {};
}

// What the user reads once the file is written: a running daemon needs no restart, and the place
// is the one its -select takes.
std::string addedLine(const SaverListChange& change, const fs::path& file, bool fileWasThere)
{
    const std::string place = std::to_string(change.place);
    const std::string others = std::to_string(change.count - 1);
    std::string line;
    if (!change.listFromDefaults)
        line = "added Vortexa to the savers in " + quoted(file) + " as saver " + place + " of " + place;
    else if (fileWasThere)
        line = "added XScreenSaver's own " + others + " savers and Vortexa, as saver " + place + ", to " + quoted(file);
    else
        line
            = "wrote " + quoted(file) + " with XScreenSaver's own " + others + " savers and Vortexa, as saver " + place;
    return line + "; a running XScreenSaver takes it by itself (xscreensaver-command -select " + place + " shows it)";
}

} // namespace

int addToXScreenSaver()
{
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/')
        return failWith("HOME does not name your home folder, where ~/.xscreensaver lives");
    // The program's own file, links resolved, as the program finds its folder.
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return failWith("cannot find the program's own file: " + error.message());
    if (!fitsDaemonCommand(program.string()))
        return failWith("the program's path " + quoted(program)
            + " holds a blank or a sign that XScreenSaver would read otherwise; install it under another folder");

    fs::path file = fs::path(home) / ".xscreensaver";
    // A file kept elsewhere behind a link is changed where it lies, and the link stays.
    if (fs::is_symlink(file, error)) {
        file = fs::canonical(file, error);
        if (error)
            return failWith("~/.xscreensaver is a link that leads nowhere: " + error.message());
    }
    std::string userText;
    const bool fileWasThere = fs::exists(file, error);
    if (fileWasThere) {
        const std::optional<std::string> text = readTextFile(file, MostXScreenSaverFileBytes);
        if (!text)
            return failWith(unreadable(file, errno));
        userText = *text;
    }

    const SaverListChange change = addToSaverList(userText, daemonDefaults(), program.string());
    switch (change.outcome) {
    case SaverListChange::NoList:
        return failWith("XScreenSaver's own list of savers is not in " + std::string(XScreenSaverDefaultsFiles[0])
            + ": is XScreenSaver installed?");
    case SaverListChange::AlreadyListed:
        return say(quoted(file) + " lists Vortexa already, as saver " + std::to_string(change.place) + " of "
            + std::to_string(change.count) + "; nothing changed");
    case SaverListChange::Added:
        break;
    }
    if (const FileResult written = writeTextFile(file, change.text); !written.ok)
        return failWith("cannot write " + written.error);
    return say(addedLine(change, file, fileWasThere));
}

} // namespace vortexa
