#include "platform/qt/qt_platform.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QLocale>
#include <QProcess>
#include <QScreen>
#include <QStringList>
#include <QTime>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <unistd.h>

#include "records/elements.h"
#include "records/numeric.h"
#include "settings/settings_location.h"

namespace vortexa {

namespace {

QSize primaryScreenPixels()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

} // namespace

QString withoutTimeZone(const QString& timeFormat)
{
    QString result;
    bool quoted = false;
    for (qsizetype k = 0; k < timeFormat.size(); ++k) {
        const QChar c = timeFormat[k];
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't') {
            result += c;
            continue;
        }
        // A zone part takes the blanks in front of it with it.
        while (result.endsWith(u' '))
            result.chop(1);
    }
    return result.trimmed();
}

QtPlatform::QtPlatform() = default;

QtPlatform::~QtPlatform() = default;

double QtPlatform::timeOfDay()
{
    return static_cast<double>(QTime::currentTime().msecsSinceStartOfDay() / 1000) / SecondsPerDay;
}

std::string longTimeTextIn(const QLocale& locale, double date)
{
    const QTime time = QTime::fromMSecsSinceStartOfDay(secondOfDay(date) * 1000);
    return locale.toString(time, withoutTimeZone(locale.timeFormat(QLocale::LongFormat))).toStdString();
}

std::string QtPlatform::longTimeText(double date) { return longTimeTextIn(QLocale::system(), date); }

TimerId QtPlatform::startTimer(int intervalMs, std::function<void()> tick)
{
    auto* timer = new QTimer(&m_timerOwner);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(intervalMs);
    const TimerId id = m_nextTimer++;
    QObject::connect(timer, &QTimer::timeout, [this, id, tick = std::move(tick)] { runTick(id, tick); });
    timer->start();
    m_timers.emplace(id, RunningTimer {timer, TickPacing(intervalMs, monotonicMilliseconds())});
    return id;
}

// The tick due runs, and so do the ticks that a busy moment held back.
void QtPlatform::runTick(TimerId id, const std::function<void()>& tick)
{
    RunningTimer& running = m_timers.at(id);
    runTicksDue(
        running.pacing, running.timer->interval(), m_statistics, monotonicMilliseconds(),
        [this, &tick] { deliver(tick); }, [this, id] { return m_timers.contains(id); });
}

void QtPlatform::stopTimer(TimerId timer)
{
    const auto found = m_timers.find(timer);
    if (found == m_timers.end())
        return;
    // The timer may be stopped from inside its own tick, so it goes once control is back in the
    // event loop.
    found->second.timer->stop();
    found->second.timer->deleteLater();
    m_timers.erase(found);
}

void QtPlatform::yieldToEvents() { QCoreApplication::processEvents(); }

double QtPlatform::screenWidthTwips()
{
    return (m_givenWindow ? m_givenWindow->width : primaryScreenPixels().width()) * TwipsPerPixel;
}

double QtPlatform::screenHeightTwips()
{
    return (m_givenWindow ? m_givenWindow->height : primaryScreenPixels().height()) * TwipsPerPixel;
}

void QtPlatform::showInGivenWindow(double widthPixels, double heightPixels)
{
    m_givenWindow = PixelSize {widthPixels, heightPixels};
}

void QtPlatform::setCursorPosition(int x, int y) { QCursor::setPos(x, y); }

std::string QtPlatform::commandLine()
{
    if (m_commandLine)
        return *m_commandLine;
    return QCoreApplication::arguments().mid(1).join(u' ').toStdString();
}

bool QtPlatform::anotherInstanceRunning() { return m_lock.heldElsewhere(); }

void QtPlatform::endProgram()
{
    writeStatistics();
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(0);
}

void QtPlatform::endBySignal(int signal)
{
    writeStatistics();
    std::fflush(stdout);
    std::fflush(stderr);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    _exit(128 + signal);
}

ShowCost QtPlatform::showCost()
{
    const std::chrono::duration<double> sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return {m_framesPainted, static_cast<double>(std::clock()) / CLOCKS_PER_SEC, sinceStart.count()};
}

// The measurements of the whole program read how many steps the scene took in how long.
void QtPlatform::writeStatistics() const
{
    const char* path = std::getenv("VORTEXA_STATS");
    if (!path || path[0] == '\0')
        return;
    std::FILE* file = std::fopen(path, "a");
    if (!file)
        return;
    std::fputs(m_statistics.line(monotonicMilliseconds()).c_str(), file);
    std::fclose(file);
}

StartResult QtPlatform::startDetached(const std::string& program, const std::vector<std::string>& arguments)
{
    QProcess process;
    process.setProgram(QString::fromStdString(program));
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    process.setArguments(list);
    if (process.startDetached())
        return {true, {}};
    return {false, process.errorString().toStdString()};
}

std::filesystem::path QtPlatform::programFolder()
{
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
}

std::filesystem::path QtPlatform::userSettingsFolder()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    return xdgSettingsFolder(configHome ? configHome : "", home ? home : "");
}

} // namespace vortexa
