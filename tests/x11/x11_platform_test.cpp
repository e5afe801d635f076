#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include <fcntl.h>
#include <langinfo.h>
#include <sys/wait.h>
#include <unistd.h>

#include "../core/temporary_folder.h"
#include "platform/posix/instance_lock.h"
#include "platform/x11/keyboard.h"
#include "platform/x11/x11_platform.h"

namespace vortexa {
namespace {

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value)
        : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnvironment()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(InstanceLock, OneLockForEachDisplayInAFolderOnlyTheUserCanWrite)
{
    const struct {
        const char* display;
        const char* name;
    } names[] = {
        {":1", "vortexa-_1.lock"},
        {":1.0", "vortexa-_1.lock"},
        {":12", "vortexa-_12.lock"},
        {"host:10.1", "vortexa-host_10.lock"},
        {"/tmp/launch/org.x:0", "vortexa-_tmp_launch_org.x_0.lock"},
        {"unix:1", "vortexa-_1.lock"},
        {"unix:1.2", "vortexa-_1.lock"},
        {"localhost:1", "vortexa-localhost_1.lock"},
        {nullptr, "vortexa.lock"},
    };
    for (const auto& row : names)
        EXPECT_EQ(instanceLockName(row.display), row.name) << (row.display ? row.display : "unset");

    TemporaryFolder own;
    TemporaryFolder shared;
    std::filesystem::permissions(own.path(), std::filesystem::perms::owner_all);
    std::filesystem::permissions(shared.path(), std::filesystem::perms::all);
    const std::filesystem::path fallback = "/tmp/vortexa-" + std::to_string(getuid());
    const struct {
        const char* runtimeFolder;
        std::filesystem::path folder;
    } folders[] = {
        {own.path().c_str(), own.path()},
        {shared.path().c_str(), fallback}, // others could plant a file there
        {nullptr, fallback},
        {"relative/folder", fallback},
    };
    for (const auto& row : folders) {
        ScopedEnvironment runtime("XDG_RUNTIME_DIR", row.runtimeFolder);
        EXPECT_EQ(privateFolder(), row.folder) << (row.runtimeFolder ? row.runtimeFolder : "unset");
    }
    const auto status = std::filesystem::symlink_status(fallback);
    EXPECT_EQ(status.type(), std::filesystem::file_type::directory);
    EXPECT_EQ(status.permissions() & std::filesystem::perms::all, std::filesystem::perms::owner_all);
}

// A child process that takes the lock, reports it through a pipe, and ends by _exit as soon as
// the parent closes its end of a second pipe, or at once when `killed` (it then never unlocks).
class LockHolder {
public:
    explicit LockHolder(const std::filesystem::path& path)
    {
        int report[2], release[2];
        if (pipe(report) != 0 || pipe(release) != 0)
            std::abort();
        m_pid = fork();
        if (m_pid == 0) {
            close(report[0]);
            close(release[1]);
            InstanceLock lock(path);
            const char taken = lock.heldElsewhere() ? 'n' : 'y';
            (void)!write(report[1], &taken, 1);
            char ignored;
            (void)!read(release[0], &ignored, 1);
            _exit(0);
        }
        close(report[1]);
        close(release[0]);
        m_release = release[1];
        char taken = 'n';
        m_taken = read(report[0], &taken, 1) == 1 && taken == 'y';
        close(report[0]);
    }
    bool taken() const { return m_taken; }
    void end(bool killed)
    {
        if (killed)
            kill(m_pid, SIGKILL);
        close(m_release);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_taken = false;
};

TEST(InstanceLock, IsHeldUntilItsHolderEndsInAnyWay)
{
    for (const bool killed : {false, true}) {
        TemporaryFolder folder;
        const std::filesystem::path path = folder.path() / "vortexa.lock";
        LockHolder holder(path);
        ASSERT_TRUE(holder.taken());
        InstanceLock second(path);
        EXPECT_TRUE(second.heldElsewhere()) << killed;
        EXPECT_FALSE(second.held());
        holder.end(killed);
        EXPECT_FALSE(second.heldElsewhere()) << killed;
        EXPECT_TRUE(second.held());
    }
}

// A program started by the saver, such as the web browser, must not keep the lock after the saver
// has ended.
TEST(InstanceLock, IsNotPassedOnToProgramsTheSaverStarts)
{
    TemporaryFolder folder;
    const std::filesystem::path path = folder.path() / "vortexa.lock";
    auto saver = std::make_unique<InstanceLock>(path);
    ASSERT_FALSE(saver->heldElsewhere());

    // The write end of this pipe closes when the child has started the other program.
    int started[2];
    ASSERT_EQ(pipe2(started, O_CLOEXEC), 0);
    const pid_t child = fork();
    if (child == 0) {
        execl("/bin/sleep", "sleep", "60", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(started[1]);
    char ignored;
    ASSERT_EQ(read(started[0], &ignored, 1), 0);
    close(started[0]);

    saver.reset();
    InstanceLock next(path);
    EXPECT_FALSE(next.heldElsewhere());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

TEST(InstanceLock, APlantedLockFileNeitherBlocksNorIsFollowed)
{
    TemporaryFolder folder;
    const std::filesystem::path target = folder.path() / "target";
    std::filesystem::create_symlink(target, folder.path() / "link.lock");
    EXPECT_FALSE(InstanceLock(folder.path() / "link.lock").heldElsewhere());
    EXPECT_FALSE(std::filesystem::exists(target));

    if (getuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    const std::filesystem::path planted = folder.path() / "planted.lock";
    std::ofstream(planted).put('x');
    ASSERT_EQ(chown(planted.c_str(), 65534, 65534), 0);
    LockHolder other(planted);
    InstanceLock mine(planted);
    EXPECT_FALSE(mine.heldElsewhere());
    EXPECT_FALSE(mine.held());
}

// Waits until `holds` is true, for at most five seconds.
template <typename Condition> bool waitUntil(Condition holds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!holds() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return holds();
}

// The platform on the test's display.
struct PlatformOnDisplay {
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen);
    X11Platform platform {connection, screen};
    ~PlatformOnDisplay() { xcb_disconnect(connection); }
};

TEST(X11Platform, TheFirstAskerBecomesTheOneInstance)
{
    TemporaryFolder folder;
    ScopedEnvironment runtime("XDG_RUNTIME_DIR", folder.path().c_str());
    PlatformOnDisplay first;
    EXPECT_FALSE(first.platform.anotherInstanceRunning());
    EXPECT_FALSE(first.platform.anotherInstanceRunning()); // a second start-up of the same program
    PlatformOnDisplay other;
    EXPECT_TRUE(other.platform.anotherInstanceRunning());
    ScopedEnvironment unusable("XDG_RUNTIME_DIR", "/nonexistent-folder-of-vortexa");
    PlatformOnDisplay elsewhere;
    EXPECT_FALSE(elsewhere.platform.anotherInstanceRunning());
}

// The C library's time formats read as a user reads the long time: a 12-hour clock without its
// leading zero, a 24-hour one as it is.
TEST(X11Platform, LongTimeFormatIsTheLocalesWithoutALeadingZeroOnTwelveHours)
{
    const struct {
        const char* timeFormat;
        const char* amPmFormat;
        const char* shown;
    } rows[] = {
        {"%H:%M:%S", "", "%H:%M:%S"}, // C
        {"%r", "%I:%M:%S %p", "%-I:%M:%S %p"}, // en_US
        {"%T", "", "%H:%M:%S"}, // ru_RU, de_DE
        {"%H時%M分%S秒", "%p%I時%M分%S秒", "%H時%M分%S秒"}, // ja_JP
        {"", "", "%H:%M:%S"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(longTimeFormatOf(row.timeFormat, row.amPmFormat), row.shown) << row.timeFormat;
}

TEST(X11Platform, LongTimeTextShowsTheTimeOfDayOfADateValue)
{
    PlatformOnDisplay display;
    const struct {
        double date;
        const char* shown;
    } rows[] = {
        {0.5, "12:00:00"}, {0, "00:00:00"}, {(13 * 3600 + 5 * 60 + 9) / 86400.0, "13:05:09"},
        {2 + 1 / 86400.0, "00:00:01"}, {86399.6 / 86400, "00:00:00"}, // the last half second rounds to midnight
    };
    std::setlocale(LC_TIME, "C");
    for (const auto& row : rows)
        EXPECT_EQ(display.platform.longTimeText(row.date), row.shown) << row.date;
}

// A program starts detached, its own arguments and all; one that cannot start says why.
TEST(X11Platform, StartsProgramsDetachedAndSaysWhyOneCannotStart)
{
    PlatformOnDisplay display;
    TemporaryFolder folder;
    const std::filesystem::path written = folder.path() / "written";
    const StartResult started
        = display.platform.startDetached("sh", {"-c", "printf %s \"$0\" >" + written.string(), "two words"});
    EXPECT_TRUE(started.started) << started.error;
    std::error_code error;
    EXPECT_TRUE(waitUntil([&] { return std::filesystem::file_size(written, error) == 9; }));
    std::ifstream file(written);
    std::string text;
    std::getline(file, text);
    EXPECT_EQ(text, "two words");
    const StartResult missing = display.platform.startDetached("/nonexistent/program-of-vortexa", {"x"});
    EXPECT_FALSE(missing.started);
    EXPECT_NE(missing.error.find("No such file"), std::string::npos) << missing.error;
}

// A key press reaches the program as the first UTF-16 unit of the text the key types.
TEST(Keyboard, KeysReachTheProgramAsTheirFirstCharacterCode)
{
    const struct {
        const char* text;
        std::optional<int16_t> KeyAscii;
    } rows[] = {
        {"a", 'a'}, {"1", '1'}, {"\x1b", 27}, {"\x7f", 0x7f}, {"", std::nullopt}, {"ф", 0x444}, {"Ф", 0x424},
        {"é", 0xe9}, {"€", static_cast<int16_t>(0x20ac)},
        {"\xf0\x9f\x98\x80", static_cast<int16_t>(0xd83d)}, // beyond the first 65,536: its high surrogate
    };
    for (const auto& row : rows)
        EXPECT_EQ(keyAsciiOf(row.text), row.KeyAscii) << row.text;
}

} // namespace
} // namespace vortexa
