// USER32 calls behind the window-system interface.
#include "desktops/window_system_win.h"

#include <windows.h>

#include <iterator>
#include <memory>
#include <string>

#include "base/utf8_file_store_win.h"
#include "desktops/window_entry.h"

namespace skelvo {

namespace {
HWND hwnd(WindowHandle w) {
    return reinterpret_cast<HWND>(w);
}
WindowHandle handle(HWND w) {
    return reinterpret_cast<WindowHandle>(w);
}
Rect toRect(const RECT& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}
}  // namespace

WindowHandle Win32WindowSystem::desktopWindow() {
    return handle(GetDesktopWindow());
}

WindowHandle Win32WindowSystem::relative(WindowHandle window, int relation) {
    return handle(GetWindow(hwnd(window), static_cast<UINT>(relation)));
}

namespace {
BOOL CALLBACK collect(HWND w, LPARAM into) {
    reinterpret_cast<std::vector<WindowHandle>*>(into)->push_back(handle(w));
    return TRUE;
}
}  // namespace

// Wine's EnumWindows asks whether each window still exists, a server call per window;
// EnumDesktopWindows on the thread's own desktop lists the same windows in one call. (With
// no desktop named it would also list message-only windows.) A desktop always holds the
// panel, so an empty answer means the listing failed and EnumWindows is asked instead.
void Win32WindowSystem::topLevelWindows(std::vector<WindowHandle>& into) {
    into.clear();
    // A thread that owns windows cannot change its desktop, so it is asked once.
    if (desktop_ == nullptr) desktop_ = GetThreadDesktop(GetCurrentThreadId());
    if (desktop_ != nullptr)
        EnumDesktopWindows(static_cast<HDESK>(desktop_), &collect, reinterpret_cast<LPARAM>(&into));
    if (into.empty()) EnumWindows(&collect, reinterpret_cast<LPARAM>(&into));
}

WindowHandle Win32WindowSystem::find(const char* className, const char* title) {
    return handle(FindWindowA(className, title));
}

bool Win32WindowSystem::isWindow(WindowHandle window) {
    return IsWindow(hwnd(window)) != FALSE;
}

std::uint32_t Win32WindowSystem::style(WindowHandle window) {
    return static_cast<std::uint32_t>(GetWindowLongA(hwnd(window), GWL_STYLE));
}

int Win32WindowSystem::text(WindowHandle window, char* buffer, int size) {
    if (size <= 0) return 0;
    buffer[0] = '\0';
    wchar_t wide[TitleChars];
    int n = GetWindowTextW(hwnd(window), wide, TitleChars);
    // Whole characters only: a surrogate pair is never cut in two.
    while (n > 0) {
        if (IS_HIGH_SURROGATE(wide[n - 1])) {
            --n;
            continue;
        }
        const int bytes =
            WideCharToMultiByte(CP_UTF8, 0, wide, n, buffer, size - 1, nullptr, nullptr);
        if (bytes > 0) {
            buffer[bytes] = '\0';
            return bytes;
        }
        --n;
        if (n > 0 && IS_HIGH_SURROGATE(wide[n - 1])) --n;
    }
    buffer[0] = '\0';
    return 0;
}

bool Win32WindowSystem::isVisible(WindowHandle window) {
    return IsWindowVisible(hwnd(window)) != FALSE;
}

bool Win32WindowSystem::isEnabled(WindowHandle window) {
    return IsWindowEnabled(hwnd(window)) != FALSE;
}

bool Win32WindowSystem::isIconic(WindowHandle window) {
    return IsIconic(hwnd(window)) != FALSE;
}

bool Win32WindowSystem::isZoomed(WindowHandle window) {
    return IsZoomed(hwnd(window)) != FALSE;
}

Rect Win32WindowSystem::rect(WindowHandle window) {
    RECT r{};
    GetWindowRect(hwnd(window), &r);
    return toRect(r);
}

std::optional<Rect> Win32WindowSystem::normalRect(WindowHandle window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(WINDOWPLACEMENT);
    // It fails only for a window that has gone.
    if (GetWindowPlacement(hwnd(window), &placement) == FALSE) return std::nullopt;
    // A top-level window's placement is in workspace coordinates: offset by the taskbar of
    // the monitor it is on, where one stands at the left or top.
    RECT r = placement.rcNormalPosition;
    if ((GetWindowLongA(hwnd(window), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0) {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info) != FALSE)
            OffsetRect(&r, info.rcWork.left - info.rcMonitor.left,
                       info.rcWork.top - info.rcMonitor.top);
    }
    return toRect(r);
}

namespace {
BOOL CALLBACK collectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM into) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info) != FALSE) {
        reinterpret_cast<std::vector<Monitor>*>(into)->push_back(
            Monitor{toRect(info.rcMonitor), (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    }
    return TRUE;
}
}  // namespace

void Win32WindowSystem::monitors(std::vector<Monitor>& into) {
    into.clear();
    EnumDisplayMonitors(nullptr, nullptr, &collectMonitor, reinterpret_cast<LPARAM>(&into));
}

Rect Win32WindowSystem::virtualScreen() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return Rect{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

bool Win32WindowSystem::show(WindowHandle window, int command) {
    return ShowWindow(hwnd(window), command) != FALSE;
}

void Win32WindowSystem::update(WindowHandle window) {
    UpdateWindow(hwnd(window));
}

void Win32WindowSystem::move(WindowHandle window, int x, int y, int width, int height,
                             bool repaint) {
    MoveWindow(hwnd(window), x, y, width, height, repaint ? TRUE : FALSE);
}

void Win32WindowSystem::minimise(WindowHandle window) {
    CloseWindow(hwnd(window));
}

void Win32WindowSystem::moveAsync(WindowHandle window, int x, int y, int width, int height,
                                  bool repaint) {
    // MoveWindow's own flags, made asynchronous.
    SetWindowPos(hwnd(window), nullptr, x, y, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS | (repaint ? 0 : SWP_NOREDRAW));
}

bool Win32WindowSystem::ping(WindowHandle window, unsigned timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(hwnd(window), WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                               timeoutMs, &result) != 0;
}

bool Win32WindowSystem::ownThread(WindowHandle window) {
    return GetWindowThreadProcessId(hwnd(window), nullptr) == GetCurrentThreadId();
}

std::uint32_t Win32WindowSystem::threadId(WindowHandle window) {
    return GetWindowThreadProcessId(hwnd(window), nullptr);
}

std::uint64_t Win32WindowSystem::clockMs() {
    return GetTickCount64();
}

std::uint32_t Win32WindowSystem::processId(WindowHandle window) {
    DWORD pid = 0;
    if (GetWindowThreadProcessId(hwnd(window), &pid) == 0) return 0;
    return pid;
}

std::uint32_t Win32WindowSystem::currentProcessId() {
    return GetCurrentProcessId();
}

int Win32WindowSystem::className(WindowHandle window, char* buffer, int size) {
    if (size > 0) buffer[0] = '\0';
    return GetClassNameA(hwnd(window), buffer, size);
}

bool Win32WindowSystem::showAsync(WindowHandle window, int command) {
    if (ShowWindowAsync(hwnd(window), command) != FALSE) return true;
    return GetLastError() != ERROR_ACCESS_DENIED;
}

std::string Win32WindowSystem::exeName(WindowHandle window) {
    DWORD pid = 0;
    if (GetWindowThreadProcessId(hwnd(window), &pid) == 0) return {};
    // OpenProcess gives null, not INVALID_HANDLE_VALUE, when it fails.
    const std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)> process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid), CloseHandle);
    if (process == nullptr) return {};
    wchar_t path[1024];
    DWORD length = static_cast<DWORD>(std::size(path));
    if (QueryFullProcessImageNameW(process.get(), 0, path, &length) == FALSE) return {};
    const wchar_t* name = wcsrchr(path, L'\\');
    return toUtf8Path(name != nullptr ? name + 1 : path);
}

bool Win32WindowSystem::isHung(WindowHandle window) {
    return IsHungAppWindow(hwnd(window)) != FALSE;
}

void Win32WindowSystem::postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    PostMessageA(hwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

}  // namespace skelvo
