#include "state/program.h"

#include <algorithm>

#include "dialog/form2.h"
#include "records/elements.h"
#include "saver/form1.h"

namespace vortexa {

Program::Program(Platform& system)
    : platform(system)
{
}

Program::~Program() = default;

void Program::Start() { CreateSaverScreen(); }

Form1* Program::CreateSaverScreen()
{
    m_screens.push_back(std::make_unique<Form1>(*this));
    Form1* screen = m_screens.back().get();
    form1 = screen;
    if (!screen->Form_Load())
        return nullptr;
    screen->Show();
    return screen;
}

void Program::Unload(Form1* screen)
{
    const auto loaded = std::find_if(
        m_screens.begin(), m_screens.end(), [screen](const auto& candidate) { return candidate.get() == screen; });
    if (loaded == m_screens.end())
        return;
    screen->StopTimers();
    screen->Hide();
    if (form1 == screen)
        form1 = nullptr;
    m_unloaded.push_back(std::move(*loaded));
    m_screens.erase(loaded);
}

void Program::ScreenResized()
{
    UnloadSaverScreens();
    CreateSaverScreen();
}

void Program::DiscardUnloaded() { m_unloaded.clear(); }

void Program::UnloadSaverScreens()
{
    while (!m_screens.empty())
        Unload(m_screens.back().get());
}

void Program::MovePointer(int x, int y)
{
    // The pointer belongs to the program that gave the show its window.
    if (platform.showsInGivenWindow())
        return;
    m_ownPointerMove = PixelPoint {x, y};
    platform.setCursorPosition(x, y);
}

bool Program::IsOwnPointerMove(float x, float y)
{
    if (!m_ownPointerMove)
        return false;
    const PixelPoint own = *m_ownPointerMove;
    m_ownPointerMove.reset();
    return x == static_cast<float>(own.x * TwipsPerPixel) && y == static_cast<float>(own.y * TwipsPerPixel);
}

Form2& Program::dialog()
{
    if (!m_form2) {
        m_form2 = std::make_unique<Form2>(*this);
        m_form2->Form_Load();
    }
    return *m_form2;
}

} // namespace vortexa
