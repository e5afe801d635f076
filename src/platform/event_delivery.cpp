#include "platform/event_delivery.h"

namespace vortexa {

void EventDelivery::deliver(const std::function<void()>& handler)
{
    ++m_handlersRunning;
    handler();
    --m_handlersRunning;
    // A step may show a message and so run events of its own; the copy keeps the list it walks
    // steady meanwhile.
    const auto afterEvents = m_afterEvents;
    for (const auto& [id, afterEvent] : afterEvents)
        afterEvent(m_handlersRunning == 0);
}

EventDelivery::AfterEventId EventDelivery::addAfterEvent(std::function<void(bool outermost)> afterEvent)
{
    const AfterEventId id = m_nextAfterEvent++;
    m_afterEvents.emplace_back(id, std::move(afterEvent));
    return id;
}

void EventDelivery::removeAfterEvent(AfterEventId id)
{
    std::erase_if(m_afterEvents, [id](const auto& entry) { return entry.first == id; });
}

} // namespace vortexa
