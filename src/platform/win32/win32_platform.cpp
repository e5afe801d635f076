#include "platform/win32/win32_platform.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cmath>
#include <cstdio>

#include "platform/win32/text_encoding.h"
#include "records/elements.h"
#include "records/numeric.h"

namespace vortexa {

namespace {

constexpr const wchar_t* InstanceMutexName = L"Local\\Vortexa.scr-one-instance";

// Timers of the system's thread kind find their platform here: there is one per process.
Win32Platform* runningPlatform = nullptr;

std::wstring quotedArgument(const std::string& argument)
{
    std::wstring text = wideText(argument);
    if (!text.empty() && text.find_first_of(L" \t\"") == std::wstring::npos)
        return text;
    std::wstring quoted = L"\"";
    for (const wchar_t c : text)
        quoted += c == L'"' ? std::wstring(L"\\\"") : std::wstring(1, c);
    return quoted + L"\"";
}

std::string systemErrorText(DWORD error)
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string result = text ? utf8Text(text) : "error " + std::to_string(error);
    LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r'))
        result.pop_back();
    return result;
}

} // namespace

std::wstring argumentsOf(const std::wstring& commandLine)
{
    size_t k = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const size_t closing = commandLine.find(L'"', 1);
        k = closing == std::wstring::npos ? commandLine.size() : closing + 1;
    } else {
        k = commandLine.find_first_of(L" \t");
        k = k == std::wstring::npos ? commandLine.size() : k;
    }
    return commandLine.substr(k);
}

Win32Platform::Win32Platform()
{
    runningPlatform = this;
    // The system clock ticks every 15.6 ms unless asked; the scripts step every 10 ms.
    timeBeginPeriod(1);
}

Win32Platform::~Win32Platform()
{
    for (const auto& [timer, running] : m_timers)
        KillTimer(nullptr, timer);
    timeEndPeriod(1);
    if (m_instanceMutex)
        CloseHandle(m_instanceMutex);
    runningPlatform = nullptr;
}

double Win32Platform::timeOfDay()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return static_cast<double>(now.wHour * 3600 + now.wMinute * 60 + now.wSecond) / SecondsPerDay;
}

std::string Win32Platform::longTimeText(double date)
{
    const int second = secondOfDay(date);
    SYSTEMTIME time {};
    time.wYear = 2000;
    time.wMonth = 1;
    time.wDay = 1;
    time.wHour = static_cast<WORD>(second / 3600);
    time.wMinute = static_cast<WORD>(second / 60 % 60);
    time.wSecond = static_cast<WORD>(second % 60);
    wchar_t text[128];
    // No format given: the user's long time format.
    const int length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, text, 128);
    return length > 0 ? utf8Text(std::wstring_view(text, static_cast<size_t>(length - 1))) : std::string();
}

TimerId Win32Platform::startTimer(int intervalMs, std::function<void()> tick)
{
    const UINT_PTR timer = SetTimer(nullptr, 0, static_cast<UINT>(intervalMs), &Win32Platform::timerTick);
    if (timer == 0)
        return -1;
    m_timers.insert_or_assign(
        timer, RunningTimer {TickPacing(intervalMs, monotonicMilliseconds()), intervalMs, std::move(tick)});
    return static_cast<TimerId>(timer);
}

void Win32Platform::stopTimer(TimerId timer)
{
    const auto found = m_timers.find(static_cast<UINT_PTR>(timer));
    if (found == m_timers.end())
        return;
    KillTimer(nullptr, found->first);
    m_timers.erase(found);
}

void CALLBACK Win32Platform::timerTick(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (!runningPlatform)
        return;
    const auto found = runningPlatform->m_timers.find(timer);
    if (found == runningPlatform->m_timers.end())
        return;
    // A copy, since the tick may stop its own timer. The tick due runs, and so do the ticks that
    // a busy moment held back.
    const std::function<void()> tick = found->second.tick;
    runTicksDue(
        found->second.pacing, found->second.intervalMs, runningPlatform->m_statistics, monotonicMilliseconds(),
        [&tick] { runningPlatform->deliver(tick); },
        [timer] { return runningPlatform && runningPlatform->m_timers.contains(timer); });
}

void Win32Platform::dispatch(MSG& message)
{
    if (m_filter && m_filter(message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void Win32Platform::yieldToEvents()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        dispatch(message);
    }
}

int Win32Platform::runMessageLoop()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        dispatch(message);
    return 0;
}

double Win32Platform::screenWidthTwips() { return static_cast<double>(GetSystemMetrics(SM_CXSCREEN)) * TwipsPerPixel; }

double Win32Platform::screenHeightTwips() { return static_cast<double>(GetSystemMetrics(SM_CYSCREEN)) * TwipsPerPixel; }

void Win32Platform::setCursorPosition(int x, int y) { SetCursorPos(x, y); }

std::string Win32Platform::commandLine() { return utf8Text(argumentsOf(GetCommandLineW())); }

bool Win32Platform::anotherInstanceRunning()
{
    // A later start-up in this process (a preview) is still the one instance.
    if (m_instanceMutex)
        return false;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, InstanceMutexName);
    if (!mutex)
        return false;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return true;
    }
    m_instanceMutex = mutex;
    return false;
}

void Win32Platform::endProgram()
{
    writeStatistics();
    std::fflush(stdout);
    std::fflush(stderr);
    ExitProcess(0);
}

// The measurements of the whole program read how many steps the scene took in how long.
void Win32Platform::writeStatistics() const
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"VORTEXA_STATS", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    std::FILE* file = _wfopen(path, L"a");
    if (!file)
        return;
    std::fputs(m_statistics.line(monotonicMilliseconds()).c_str(), file);
    std::fclose(file);
}

StartResult Win32Platform::startDetached(const std::string& program, const std::vector<std::string>& arguments)
{
    const std::wstring file = wideText(program);
    std::wstring parameters;
    for (const std::string& argument : arguments)
        parameters += (parameters.empty() ? L"" : L" ") + quotedArgument(argument);
    SHELLEXECUTEINFOW info {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info))
        return {true, {}};
    return {false, systemErrorText(GetLastError())};
}

std::filesystem::path Win32Platform::programFolder()
{
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2);
    }
    return std::filesystem::path(name).parent_path();
}

std::filesystem::path Win32Platform::userSettingsFolder()
{
    wchar_t* folder = nullptr;
    std::filesystem::path result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder)))
        result = std::filesystem::path(folder) / L"Vortexa";
    CoTaskMemFree(folder);
    return result;
}

} // namespace vortexa
