#pragma once
// The running program: the shared state, the saver screens and the settings dialog.

#include <memory>
#include <optional>
#include <vector>

#include "platform/platform.h"
#include "scene/module_state.h"

namespace vortexa {

class Form1;
class Form2;

class Program {
public:
    explicit Program(Platform& platform);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts the program: creates the start screen, runs its start-up and shows it.
    void Start();

    // Creates a new saver screen, runs its start-up and shows it; the reference Form1 then holds it.
    // Returns nothing when the start-up ended the program.
    Form1* CreateSaverScreen();

    // Unloads a saver screen: its timers stop and it leaves the screen. The object itself is kept
    // until DiscardUnloaded, since the unload may come from inside one of its own handlers.
    void Unload(Form1* screen);
    void DiscardUnloaded();
    // Unloads every saver screen, also one whose reference was dropped.
    void UnloadSaverScreens();

    // The window of the show changed its size: the scene is built again for the new size, on a new
    // saver screen, as a fresh start builds it.
    void ScreenResized();

    // Moves the mouse pointer to a screen point in pixels. The platform may report the move as a
    // mouse movement; the first movement that lands exactly there is then the program's own, not
    // the user's.
    void MovePointer(int x, int y);
    // True when this movement, at a point in twips, is the program's own pointer move. Only the first
    // movement after the move is asked about.
    bool IsOwnPointerMove(float x, float y);

    // The dialog, loaded (and its load step run) on first use.
    Form2& dialog();
    Form2* loadedDialog() { return m_form2.get(); }

    // Every loaded saver screen, oldest first, including one whose reference was dropped.
    const std::vector<std::unique_ptr<Form1>>& screens() const { return m_screens; }

    Platform& platform;
    ModuleState module;
    Form1* form1 = nullptr; // the program's reference to the saver screen; dropped by the dialog

private:
    std::vector<std::unique_ptr<Form1>> m_screens;
    std::vector<std::unique_ptr<Form1>> m_unloaded;
    std::unique_ptr<Form2> m_form2;
    struct PixelPoint {
        int x = 0, y = 0;
    };
    std::optional<PixelPoint> m_ownPointerMove;
};

} // namespace vortexa
