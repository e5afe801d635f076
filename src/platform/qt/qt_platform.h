#pragma once
// The platform of the shipped program: Qt timers, the system clock and locale, the primary
// screen, the process, and a lock file for the one-instance rule. Every event it delivers to the
// program (a timer tick here, keys and mouse moves from the windows) goes through deliver(), so
// that the windows follow the records afterwards.

#include <QString>

#include <QObject>

#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/qt/instance_lock.h"

class QTimer;

namespace vortexa {

// The long time format without its time-zone part ("t", "tt", ...).
QString withoutTimeZone(const QString& timeFormat);

class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    // Runs one handler of the program, then calls the after-event steps, in the order they were
    // added, with whether no other handler is still running (only then may unloaded screens be
    // discarded).
    void deliver(const std::function<void()>& handler);
    using AfterEventId = int;
    AfterEventId addAfterEvent(std::function<void(bool outermost)> afterEvent);
    void removeAfterEvent(AfterEventId id);

    double timeOfDay() override;
    std::string longTimeText(double date) override;
    TimerId startTimer(int intervalMs, std::function<void()> tick) override;
    void stopTimer(TimerId timer) override;
    void yieldToEvents() override;
    double screenWidthTwips() override;
    double screenHeightTwips() override;
    void setCursorPosition(int x, int y) override;
    std::string commandLine() override;
    bool anotherInstanceRunning() override;
    [[noreturn]] void endProgram() override;
    StartResult startDetached(const std::string& program, const std::vector<std::string>& arguments) override;
    std::filesystem::path programFolder() override;

private:
    std::vector<std::pair<AfterEventId, std::function<void(bool)>>> m_afterEvents;
    AfterEventId m_nextAfterEvent = 0;
    int m_handlersRunning = 0;
    QObject m_timerOwner; // parent of every timer, so that stopped ones go with the platform
    std::map<TimerId, QTimer*> m_timers;
    TimerId m_nextTimer = 0;
    InstanceLock m_lock;
};

} // namespace vortexa
