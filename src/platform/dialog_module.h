#pragma once
// The settings dialog's window lives in a module of its own, loaded the first time a dialog opens,
// so that a show alone never loads the dialog's toolkit. The program hands the module its state,
// its platform and the sources of its event loop; from then on the module's toolkit runs the one
// loop of the program, watching the show's sources beside its own.

#include <cstdint>
#include <functional>
#include <vector>

namespace vortexa {

class EventDelivery;
class Platform;
class Program;

// The show's event loop as another loop sees it: files to watch for reading, what to do when one
// can be read, and its timers.
class LoopSources {
public:
    virtual ~LoopSources() = default;
    virtual std::vector<int> filesToWatch() = 0;
    // Handles what arrived on a watched file (and whatever else is already waiting).
    virtual void readable(int file) = 0;
    // Milliseconds until the next timer falls due, or -1 when no timer runs.
    virtual int millisecondsToNextTimer() = 0;
    virtual void runDueTimers() = 0;
    // Handles what already waits without its file being readable (events read from a connection
    // along with a reply); called at every pass of the loop before it waits.
    virtual void handleWaiting() { }
};

// What the program gives the module. Every event the module's windows have for the program goes
// through `delivery`, which `platform` is too.
struct DialogHost {
    Program& program;
    Platform& platform;
    EventDelivery& delivery;
    LoopSources& loop;
    // The program's arguments, for the toolkit.
    int& argc;
    char** argv;
    // The X window of the show's scene that the dialog is kept above, or 0 when no show runs.
    std::function<uint32_t()> sceneWindow;
};

class DialogModule {
public:
    virtual ~DialogModule() = default;
    // Lets the toolkit's pending events run once, as the show's own are at the end of a step.
    virtual void yieldToEvents() = 0;
    // Runs the toolkit's loop, which also serves the show's sources, until the program ends.
    virtual void run() = 0;
};

// The module's one entry point, looked up by this name: it makes the toolkit's application and the
// dialog's window, which follows the program's records after every event from then on.
inline constexpr const char* DialogModuleEntryName = "vortexa_dialog_module";
using DialogModuleEntry = DialogModule* (*)(DialogHost& host);

} // namespace vortexa
