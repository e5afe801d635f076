#pragma once
// The bookkeeping of the show's windows, the same on every system: after every event the program
// handles, each loaded saver screen gets its views (ShowViews says which), views that are no longer
// needed retire, every view follows its screen's record, and once no handler is running any more
// the program lets go of its unloaded screens. A retired view may be the one whose event is being
// handled, so it is deleted only when it says it is gone (when the system is done with it).
//
// The backend gives the monitors and makes the views; a view has follow(), retire() and gone().

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "backend_kit/monitor_covers.h"
#include "backend_kit/show_views.h"
#include "platform/event_delivery.h"

namespace vortexa {

template <typename Program, typename Monitor, typename View> class SaverWindowsKit {
public:
    using Screen = std::remove_reference_t<decltype(*std::declval<Program&>().screens().front())>;

    struct Backend {
        std::function<std::vector<Monitor>()> monitors;
        std::function<Monitor()> primaryMonitor;
        std::function<MonitorArea(Monitor)> areaOf;
        std::function<View*(Screen& screen, Monitor monitor, bool drawsScene)> makeView;
        // Brings a shown scene's view above every cover, which a cover made after it would hide.
        std::function<void(View* sceneView)> raiseScene;
        std::function<void()> afterFollow = [] {};
    };

    SaverWindowsKit(Program& program, EventDelivery& delivery, Backend backend)
        : m_program(program)
        , m_delivery(delivery)
        , m_backend(std::move(backend))
    {
        m_afterEvent = m_delivery.addAfterEvent([this](bool outermost) {
            follow();
            if (outermost)
                m_program.DiscardUnloaded();
        });
    }

    ~SaverWindowsKit()
    {
        m_delivery.removeAfterEvent(m_afterEvent);
        for (const auto& entry : m_views.entries())
            delete entry.view;
    }

    SaverWindowsKit(const SaverWindowsKit&) = delete;
    SaverWindowsKit& operator=(const SaverWindowsKit&) = delete;

    // Makes views for new screens (and for every screen when the monitors changed), retires those
    // no longer needed and lets the others follow their records.
    void follow()
    {
        std::vector<Screen*> screens;
        for (const auto& screen : m_program.screens())
            screens.push_back(&*screen);
        const auto retire = [this](View* view) {
            view->retire();
            m_retired.emplace_back(view);
        };
        bool made = false;
        const auto make = [this, &made](Screen& screen, Monitor monitor, bool drawsScene) {
            made = true;
            return m_backend.makeView(screen, monitor, drawsScene);
        };
        const Monitor primary = m_backend.primaryMonitor();
        m_views.match(screens, monitorsToShowOn(m_backend.monitors(), primary, m_backend.areaOf), primary,
            m_monitorsChanged, make, retire);
        m_monitorsChanged = false;
        std::erase_if(m_retired, [](const std::unique_ptr<View>& view) { return view->gone(); });
        for (const auto& entry : m_views.entries())
            entry.view->follow();
        for (const auto& entry : m_views.entries())
            if (made && entry.drawsScene)
                m_backend.raiseScene(entry.view);
        m_backend.afterFollow();
    }

    // The system reported that monitors came, went or changed their roles.
    void monitorsChanged()
    {
        m_monitorsChanged = true;
        follow();
    }

    // The view that draws a screen's scene, if it has one.
    View* sceneViewOf(const Screen& screen) const { return m_views.sceneViewOf(screen); }
    size_t retiredViews() const { return m_retired.size(); }

private:
    Program& m_program;
    EventDelivery& m_delivery;
    Backend m_backend;
    EventDelivery::AfterEventId m_afterEvent = 0;
    ShowViews<Screen, Monitor, View> m_views;
    std::vector<std::unique_ptr<View>> m_retired;
    bool m_monitorsChanged = false;
};

} // namespace vortexa
