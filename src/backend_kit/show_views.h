#pragma once
// Which windows a show needs: every loaded saver screen has its scene's view on the primary monitor
// and a black cover on each other monitor. Views of unloaded screens and of monitors that went (or
// stopped or started being the primary) retire; new screens and new monitors get views. Each
// backend names its own screens, monitors and views and makes and retires the views its own way.

#include <algorithm>
#include <vector>

namespace vortexa {

template <typename Screen, typename Monitor, typename View> class ShowViews {
public:
    struct Entry {
        Screen* screen = nullptr;
        Monitor monitor {};
        bool drawsScene = false;
        View* view = nullptr;
    };

    // make(screen, monitor, drawsScene) gives a new view; retire(view) takes back one no longer
    // needed. Monitors are matched again for every screen when they changed, else only for screens
    // that have no view yet.
    template <typename Make, typename Retire>
    void match(const std::vector<Screen*>& screens, const std::vector<Monitor>& monitors, Monitor primary,
        bool monitorsChanged, Make&& make, Retire&& retire)
    {
        retireWhere([&](const Entry& entry) { return !contains(screens, entry.screen); }, retire);
        for (Screen* screen : screens)
            if (monitorsChanged || viewsOf(*screen).empty())
                matchMonitors(*screen, monitors, primary, make, retire);
    }

    // The scene's view of a screen, and every view of it (the scene's first).
    View* sceneViewOf(const Screen& screen) const
    {
        const auto found = std::find_if(m_entries.begin(), m_entries.end(),
            [&screen](const Entry& entry) { return entry.screen == &screen && entry.drawsScene; });
        return found == m_entries.end() ? nullptr : found->view;
    }

    std::vector<View*> viewsOf(const Screen& screen) const
    {
        std::vector<View*> views;
        for (const Entry& entry : m_entries)
            if (entry.screen == &screen)
                views.push_back(entry.view);
        return views;
    }

    const std::vector<Entry>& entries() const { return m_entries; }

private:
    template <typename Item> static bool contains(const std::vector<Item>& items, const Item& item)
    {
        return std::find(items.begin(), items.end(), item) != items.end();
    }

    template <typename Make, typename Retire>
    void matchMonitors(
        Screen& screen, const std::vector<Monitor>& monitors, Monitor primary, Make& make, Retire& retire)
    {
        retireWhere(
            [&](const Entry& entry) {
                return entry.screen == &screen
                    && (!contains(monitors, entry.monitor) || entry.drawsScene != (entry.monitor == primary));
            },
            retire);
        for (const Monitor& monitor : monitors) {
            const bool covered = std::any_of(m_entries.begin(), m_entries.end(),
                [&](const Entry& entry) { return entry.screen == &screen && entry.monitor == monitor; });
            if (covered)
                continue;
            const bool drawsScene = monitor == primary;
            const Entry entry {&screen, monitor, drawsScene, make(screen, monitor, drawsScene)};
            // The scene's view comes first, so that it is the one the screen is known by.
            if (drawsScene)
                m_entries.insert(m_entries.begin(), entry);
            else
                m_entries.push_back(entry);
        }
    }

    template <typename Condition, typename Retire> void retireWhere(Condition condition, Retire& retire)
    {
        for (const Entry& entry : m_entries)
            if (condition(entry))
                retire(entry.view);
        std::erase_if(m_entries, condition);
    }

    std::vector<Entry> m_entries;
};

} // namespace vortexa
