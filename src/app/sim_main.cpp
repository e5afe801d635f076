// vortexa-sim: runs the saver screen on a virtual clock without a display and prints the scene as
// JSON Lines, or renders its last frame to PNG with the window's own painter. Every failure is one
// line on stderr and exit status 2; the run leaves no file behind but the PNG it was asked for.

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "app/sim_dump.h"
#include "app/sim_options.h"
#include "app/sim_png.h"
#include "platform/file_system.h"
#include "platform/headless/headless_platform.h"
#include "records/text_file.h"
#include "saver/form1.h"
#include "state/program.h"

namespace {

namespace fs = std::filesystem;
using vortexa::BadOption;
using vortexa::quotedText;

constexpr int FailureStatus = 2;

[[noreturn]] void fail(std::string message) { throw BadOption {std::move(message)}; }

std::string because(int error) { return std::string(": ") + std::strerror(error); }

void print(const std::string& line)
{
    if (std::fwrite(line.data(), 1, line.size(), stdout) != line.size() || std::fputc('\n', stdout) == EOF)
        fail("cannot write the output" + because(errno));
}

// The program reads the file where it lies. A file it cannot read is an error here, not the
// defaults of a missing file, so that a mistyped name is noticed.
void checkSettingsFile(const std::string& file)
{
    if (vortexa::readTextLines(file, 0))
        return;
    const int readError = errno;
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    std::string reason;
    if (error)
        reason = ": " + error.message();
    else if (fs::is_directory(status))
        reason = ": it is a folder";
    else if (!fs::is_regular_file(status))
        reason = ": it is not a regular file";
    else
        reason = because(readError);
    fail("cannot read the settings file " + quotedText(file) + reason);
}

void run(const vortexa::SimOptions& options, int argc, char** argv)
{
    if (options.png && !vortexa::pngUnavailableReason().empty())
        fail(vortexa::pngUnavailableReason());
    if (options.settingsFile)
        checkSettingsFile(*options.settingsFile);
    // The program's folder is never used: nothing is saved and no link is opened.
    vortexa::HeadlessPlatform platform({}, options.widthPixels, options.heightPixels);
    platform.setSettingsFile(options.settingsFile ? fs::path(*options.settingsFile) : fs::path());
    platform.setStartTime(options.hours, options.minutes, options.seconds);
    vortexa::Program program(platform);
    program.module.Overrides = options.settings;
    program.Start();
    if (program.screens().empty())
        fail("the saver screen did not start");
    const vortexa::Form1& saver = *program.screens().front();
    const auto dump = [&] { print(vortexa::sceneJson(platform.now(), saver.screen, program.module)); };

    dump();
    if (options.every) {
        for (int64_t next = *options.every; next <= options.ms; next += *options.every) {
            platform.advance(next - platform.now());
            dump();
        }
        platform.advance(options.ms - platform.now());
    } else if (options.ms > 0) {
        platform.advance(options.ms);
        dump();
    }
    if (std::fflush(stdout) != 0)
        fail("cannot write the output" + because(errno));

    if (options.png)
        vortexa::writePng(options, saver.screen, argc, argv);
}

} // namespace

int main(int argc, char** argv)
{
#ifdef SIGPIPE
    // A reader that stops early (| head) makes the next write fail with EPIPE, reported like any
    // other failure, instead of killing the program.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    vortexa::useBinaryOutput(stdout);
    try {
        const vortexa::SimOptions options = vortexa::readSimOptions({argv + std::min(argc, 1), argv + argc});
        if (options.helpAsked) {
            std::fputs(vortexa::simUsage().c_str(), stdout);
            return 0;
        }
        run(options, argc, argv);
        return 0;
    } catch (const BadOption& bad) {
        std::fprintf(stderr, "vortexa-sim: %s\n", bad.message.c_str());
    } catch (const std::bad_alloc&) {
        std::fputs("vortexa-sim: out of memory\n", stderr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vortexa-sim: %s\n", quotedText(error.what()).c_str());
    }
    return FailureStatus;
}
