#include "platform/headless/headless_platform.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "records/elements.h"
#include "records/numeric.h"

namespace vortexa {

namespace {
}

HeadlessPlatform::HeadlessPlatform(std::filesystem::path programFolder, int widthPixels, int heightPixels)
    : m_programFolder(std::move(programFolder))
    , m_widthTwips(static_cast<double>(widthPixels) * TwipsPerPixel)
    , m_heightTwips(static_cast<double>(heightPixels) * TwipsPerPixel)
{
}

void HeadlessPlatform::setScreenPixels(int widthPixels, int heightPixels)
{
    m_widthTwips = static_cast<double>(widthPixels) * TwipsPerPixel;
    m_heightTwips = static_cast<double>(heightPixels) * TwipsPerPixel;
}

void HeadlessPlatform::setStartTime(int hours, int minutes, int seconds)
{
    m_startSecondOfDay = (int64_t {hours} * 3600 + minutes * 60 + seconds) % SecondsPerDay;
}

double HeadlessPlatform::timeOfDay()
{
    const int64_t second = (m_startSecondOfDay + m_now / 1000) % SecondsPerDay;
    return static_cast<double>(second) / SecondsPerDay;
}

std::string HeadlessPlatform::longTimeText(double date)
{
    const int seconds = secondOfDay(date);
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", static_cast<int>(seconds / 3600),
        static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

TimerId HeadlessPlatform::startTimer(int intervalMs, std::function<void()> tick)
{
    m_timers.push_back({TickPacing(intervalMs, m_now), true, std::move(tick)});
    return static_cast<TimerId>(m_timers.size() - 1);
}

void HeadlessPlatform::stopTimer(TimerId timer)
{
    // The tick itself is kept: a timer may be stopped from inside its own tick.
    if (timer >= 0 && timer < static_cast<TimerId>(m_timers.size()))
        m_timers[static_cast<size_t>(timer)].running = false;
}

int HeadlessPlatform::runningTimers() const
{
    return static_cast<int>(std::count_if(m_timers.begin(), m_timers.end(), [](const auto& t) { return t.running; }));
}

void HeadlessPlatform::setCursorPosition(int x, int y)
{
    m_cursorX = x;
    m_cursorY = y;
}

StartResult HeadlessPlatform::startDetached(const std::string& program, const std::vector<std::string>& arguments)
{
    m_started.push_back({program, arguments});
    return m_onStart ? m_onStart(m_started.back()) : StartResult {true, {}};
}

void HeadlessPlatform::fireTimersDue()
{
    // Timers started by a tick join the deque (which keeps references stable) but are not due
    // before their first interval.
    for (size_t k = 0; k < m_timers.size() && !m_ended; ++k) {
        VirtualTimer& timer = m_timers[k];
        if (!timer.running || timer.pacing.nextDue() > m_now)
            continue;
        for (int due = timer.pacing.ticksDue(m_now); due > 0 && timer.running && !m_ended; --due)
            timer.tick();
    }
}

void HeadlessPlatform::advance(int64_t milliseconds)
{
    const int64_t target = m_now + milliseconds;
    while (!m_ended) {
        int64_t nextDue = std::numeric_limits<int64_t>::max();
        for (const VirtualTimer& timer : m_timers)
            if (timer.running)
                nextDue = std::min(nextDue, timer.pacing.nextDue());
        if (nextDue > target)
            break;
        m_now = std::max(m_now, nextDue);
        // A real window paints once after the events of one moment.
        ++m_framesPainted;
        fireTimersDue();
    }
    if (!m_ended)
        m_now = target;
}

} // namespace vortexa
