#pragma once
// How a backend hands the program its events: each event (a timer tick, a key, a mouse move, a
// click, a change of a control) runs one handler of the program to completion, and then every
// window of the backend follows the records it shows. Toolkit-free, so every backend shares it.

#include <functional>
#include <utility>
#include <vector>

namespace vortexa {

class EventDelivery {
public:
    // Runs one handler of the program, then calls the after-event steps, in the order they were
    // added, with whether no other handler is still running (only then may unloaded screens be
    // discarded).
    void deliver(const std::function<void()>& handler);

    using AfterEventId = int;
    AfterEventId addAfterEvent(std::function<void(bool outermost)> afterEvent);
    void removeAfterEvent(AfterEventId id);

private:
    std::vector<std::pair<AfterEventId, std::function<void(bool)>>> m_afterEvents;
    AfterEventId m_nextAfterEvent = 0;
    int m_handlersRunning = 0;
};

} // namespace vortexa
