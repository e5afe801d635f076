#pragma once
// The one seam between the program and the system it runs on. The core asks the platform for the
// time, the screen, timers, the process and the pointer; everything it shows lives in plain records
// that the platform reads back after each event.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vortexa {

using TimerId = int;

inline constexpr const char* SettingsFileName = "Vortexa.ini";

// The result of starting another program.
struct StartResult {
    bool started = false;
    std::string error; // why it did not start, for the user
};

// What the show has cost so far, for the frame rate a user may ask to see: the frames painted, the
// processor time the program used and the time since a fixed moment, both in seconds.
struct ShowCost {
    int64_t framesPainted = 0;
    double processorSeconds = 0;
    double seconds = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Clock: the time of day as a date value (whole part 0, fraction of the day), in whole seconds.
    virtual double timeOfDay() = 0;
    // A time value as text in the user's long time format.
    virtual std::string longTimeText(double date) = 0;

    // Timers fire their tick every interval until stopped. Ticks that a short busy moment held back
    // are made up, so that the scene keeps its pace; after a long stall the rest are dropped.
    virtual TimerId startTimer(int intervalMs, std::function<void()> tick) = 0;
    virtual void stopTimer(TimerId timer) = 0;
    // Lets pending window events run once; called at the end of a script step.
    virtual void yieldToEvents() = 0;

    // Screen size in twips.
    virtual double screenWidthTwips() = 0;
    virtual double screenHeightTwips() = 0;
    // Moves the mouse pointer to a screen point in pixels.
    virtual void setCursorPosition(int x, int y) = 0;

    // Process.
    virtual std::string commandLine() = 0;
    // True when another instance of the program runs; the first caller becomes the one instance.
    virtual bool anotherInstanceRunning() = 0;
    // Ends the program at once: no close handlers, nothing written, no further events. Callers
    // return straight after it, since a platform that records the end comes back here.
    virtual void endProgram() = 0;
    // Starts a program without waiting for it.
    virtual StartResult startDetached(const std::string& program, const std::vector<std::string>& arguments) = 0;
    // The system's program that opens a web address, given as its one argument, in the user's
    // browser. The Linux desktops share this one; a backend for another system names its own.
    virtual std::string urlOpener() { return "xdg-open"; }

    // True when the show runs inside a window another program gave it (a screen-saver daemon's, or
    // the root window): that program owns the screen, the keys and the mouse.
    virtual bool showsInGivenWindow() { return false; }

    // False when the settings dialog cannot be shown here (its window's part of the program is
    // missing or broken): a key that asks for it then does nothing.
    virtual bool canShowDialog() { return true; }

    // The show's cost so far; a platform that does not count it reports none, and shows no rate.
    virtual ShowCost showCost() { return {}; }

    // The folder that holds the program file: the settings file lives there.
    virtual std::filesystem::path programFolder() = 0;
    // The user's own folder for this program's files, used when the program's folder cannot be
    // written.
    virtual std::filesystem::path userSettingsFolder() = 0;
    // The settings file that a tool running the program names where it lies; nothing for the usual
    // place, and an empty path for no file at all.
    virtual std::optional<std::filesystem::path> settingsFileGiven() { return std::nullopt; }
};

} // namespace vortexa
