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
