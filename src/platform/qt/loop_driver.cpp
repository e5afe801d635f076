#include "platform/qt/loop_driver.h"

#include <QAbstractEventDispatcher>

namespace vortexa {

LoopDriver::LoopDriver(LoopSources& loop)
    : m_loop(loop)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { m_loop.runDueTimers(); });
    m_aboutToBlock = QObject::connect(
        QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, [this] { beforeWaiting(); });
    beforeWaiting();
}

LoopDriver::~LoopDriver() { QObject::disconnect(m_aboutToBlock); }

// Anything a pass handled may have started or stopped a timer of the show, or changed its files.
void LoopDriver::beforeWaiting()
{
    m_loop.handleWaiting();
    watchFiles();
    armTimer();
}

void LoopDriver::watchFiles()
{
    std::vector<int> files = m_loop.filesToWatch();
    if (files == m_watched)
        return;
    // A notifier may be the one whose call is running, in a nested loop: it goes once that ends.
    for (std::unique_ptr<QSocketNotifier>& notifier : m_notifiers) {
        notifier->setEnabled(false);
        notifier.release()->deleteLater();
    }
    m_notifiers.clear();
    for (const int file : files) {
        auto notifier = std::make_unique<QSocketNotifier>(file, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [this, file] { m_loop.readable(file); });
        m_notifiers.push_back(std::move(notifier));
    }
    m_watched = std::move(files);
}

void LoopDriver::armTimer()
{
    const int milliseconds = m_loop.millisecondsToNextTimer();
    if (milliseconds < 0)
        m_timer.stop();
    else if (!m_timer.isActive() || m_timer.remainingTime() != milliseconds)
        m_timer.start(milliseconds);
}

} // namespace vortexa
