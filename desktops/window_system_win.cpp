// USER32 calls behind the window-system interface.
#include "desktops/window_system_win.h"

#include <windows.h>

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
    if (size > 0) buffer[0] = '\0';
    return GetWindowTextA(hwnd(window), buffer, size);
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

Rect Win32WindowSystem::normalRect(WindowHandle window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(WINDOWPLACEMENT);
    GetWindowPlacement(hwnd(window), &placement);
    return toRect(placement.rcNormalPosition);
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

void Win32WindowSystem::postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    PostMessageA(hwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

}  // namespace skelvo
