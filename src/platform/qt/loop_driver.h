#pragma once
// Runs the show's event loop inside the toolkit's: a notifier for each of the show's files, and
// one timer armed for the show's next due timer before every wait, in nested loops too (a message
// box's).

#include <QSocketNotifier>
#include <QTimer>

#include <memory>
#include <vector>

#include "platform/dialog_module.h"

namespace vortexa {

class LoopDriver {
public:
    explicit LoopDriver(LoopSources& loop);
    ~LoopDriver();
    LoopDriver(const LoopDriver&) = delete;
    LoopDriver& operator=(const LoopDriver&) = delete;

private:
    void beforeWaiting();
    void watchFiles();
    void armTimer();

    LoopSources& m_loop;
    std::vector<int> m_watched;
    std::vector<std::unique_ptr<QSocketNotifier>> m_notifiers;
    QTimer m_timer;
    QMetaObject::Connection m_aboutToBlock;
};

} // namespace vortexa
