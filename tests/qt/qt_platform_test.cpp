#include <QDateTime>
#include <QLocale>
#include <QTime>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/posix/instance_lock.h"
#include "platform/qt/qt_platform.h"
#include "qt_test_support.h"

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

    test::TemporaryFolder own;
    test::TemporaryFolder shared;
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
        test::TemporaryFolder folder;
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
    test::TemporaryFolder folder;
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
    test::TemporaryFolder folder;
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

TEST(QtPlatform, TheFirstAskerBecomesTheOneInstance)
{
    test::TemporaryFolder folder;
    ScopedEnvironment runtime("XDG_RUNTIME_DIR", folder.path().c_str());
    QtPlatform first;
    EXPECT_FALSE(first.anotherInstanceRunning());
    EXPECT_FALSE(first.anotherInstanceRunning()); // a second start-up of the same program
    QtPlatform other;
    EXPECT_TRUE(other.anotherInstanceRunning());
}

TEST(QtPlatform, AnUnusableLockFolderDoesNotStopTheSaver)
{
    ScopedEnvironment runtime("XDG_RUNTIME_DIR", "/nonexistent-folder-of-vortexa");
    QtPlatform platform;
    EXPECT_FALSE(platform.anotherInstanceRunning());
}

TEST(QtPlatform, LongTimeFormatLosesOnlyItsTimeZone)
{
    const struct {
        const char* format;
        const char* shown;
    } rows[] = {
        {"HH:mm:ss t", "HH:mm:ss"},
        {"h:mm:ss AP t", "h:mm:ss AP"},
        {"t HH:mm:ss", "HH:mm:ss"},
        {"HH:mm:ss tttt", "HH:mm:ss"},
        {"HH 'h' mm 'at' ss", "HH 'h' mm 'at' ss"},
        {"H:mm:ss", "H:mm:ss"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(withoutTimeZone(QString::fromLatin1(row.format)), QString::fromLatin1(row.shown)) << row.format;
}

TEST(QtPlatform, LongTimeTextShowsTheTimeOfDayOfADateValue)
{
    QtPlatform platform;
    const QLocale locale = QLocale::system();
    const QString format = withoutTimeZone(locale.timeFormat(QLocale::LongFormat));
    const struct {
        double date;
        QTime time;
    } rows[] = {
        {0.5, QTime(12, 0, 0)}, {0, QTime(0, 0, 0)}, {(13 * 3600 + 5 * 60 + 9) / 86400.0, QTime(13, 5, 9)},
        {2 + 1 / 86400.0, QTime(0, 0, 1)}, {86399.6 / 86400, QTime(0, 0, 0)}, // the last half second rounds to midnight
    };
    for (const auto& row : rows)
        EXPECT_EQ(platform.longTimeText(row.date), locale.toString(row.time, format).toStdString()) << row.date;
    const QString zone = QDateTime::currentDateTime().timeZoneAbbreviation();
    EXPECT_FALSE(QString::fromStdString(platform.longTimeText(0.5)).contains(zone)) << zone.toStdString();
}

TEST(QtPlatform, CommandLineIsTheArgumentsAfterTheProgramName)
{
    QtPlatform platform;
    std::string expected;
    for (const char* word : test::CommandLineWords)
        expected += (expected.empty() ? "" : " ") + std::string(word);
    EXPECT_EQ(platform.commandLine(), expected);
}

TEST(QtPlatform, StartingAMissingProgramGivesTheReason)
{
    QtPlatform platform;
    const StartResult result = platform.startDetached("/nonexistent/program-of-vortexa", {"x"});
    EXPECT_FALSE(result.started);
    EXPECT_FALSE(result.error.empty());
}

} // namespace
} // namespace vortexa
