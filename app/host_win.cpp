// USER32 and KERNEL32 calls behind the panel host.
#include "app/host_win.h"

#include <windows.h>

// After <windows.h>, whose types it uses.
#include <commctrl.h>

#include <cstring>
#include <string>

#include "base/utf8_file_store_win.h"

namespace skelvo {

namespace {
HWND hwnd(WindowHandle w) {
    return reinterpret_cast<HWND>(w);
}
}  // namespace

int Win32Host::messageBox(WindowHandle owner, const char* text, const char* caption,
                          unsigned flags) {
    return MessageBoxA(hwnd(owner), text, caption, flags);
}

void Win32Host::setTimer(WindowHandle window, unsigned id, unsigned periodMs) {
    SetTimer(hwnd(window), id, periodMs, nullptr);
}

void Win32Host::killTimer(WindowHandle window, unsigned id) {
    KillTimer(hwnd(window), id);
}

unsigned Win32Host::currentDirectory(char* buffer, unsigned size) {
    const DWORD wideSize = GetCurrentDirectoryW(0, nullptr);
    if (wideSize == 0) return 0;
    std::wstring wide(wideSize, L'\0');
    const DWORD length = GetCurrentDirectoryW(wideSize, wide.data());
    if (length == 0 || length >= wideSize) return 0;
    const std::string utf8 = toUtf8Path(wide.c_str());
    if (utf8.empty()) return 0;
    if (utf8.size() >= size) return static_cast<unsigned>(utf8.size() + 1);
    std::memcpy(buffer, utf8.c_str(), utf8.size() + 1);
    return static_cast<unsigned>(utf8.size());
}

Point Win32Host::cursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return Point{p.x, p.y};
}

Point Win32Host::screenToClient(WindowHandle window, Point p) {
    POINT q{p.x, p.y};
    ScreenToClient(hwnd(window), &q);
    return Point{q.x, q.y};
}

Point Win32Host::clientToScreen(WindowHandle window, Point p) {
    POINT q{p.x, p.y};
    ClientToScreen(hwnd(window), &q);
    return Point{q.x, q.y};
}

void Win32Host::clipCursor(std::optional<Rect> rect) {
    if (!rect) {
        ClipCursor(nullptr);
        return;
    }
    const RECT r{rect->left, rect->top, rect->right, rect->bottom};
    ClipCursor(&r);
}

void Win32Host::setWindowRegion(WindowHandle window, Rect rect) {
    // The system owns the region once it is set.
    HRGN region = CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
    if (SetWindowRgn(hwnd(window), region, TRUE) == 0) DeleteObject(region);
}

void Win32Host::postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) {
    PostMessageA(hwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

std::optional<WaitingMessage> Win32Host::nextPosted(WindowHandle panel) {
    MSG msg{};
    if (!PeekMessageA(&msg, hwnd(panel), 0, 0, PM_NOREMOVE | PM_QS_POSTMESSAGE))
        return std::nullopt;
    return WaitingMessage{msg.message, static_cast<std::uintptr_t>(msg.wParam)};
}

std::intptr_t Win32Host::sendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
    return SendMessageA(hwnd(window), message, static_cast<WPARAM>(wParam),
                        static_cast<LPARAM>(lParam));
}

std::intptr_t Win32Host::defaultProcedure(WindowHandle window, unsigned message,
                                          std::uintptr_t wParam, std::intptr_t lParam) {
    return DefWindowProcA(hwnd(window), message, static_cast<WPARAM>(wParam),
                          static_cast<LPARAM>(lParam));
}

void Win32Host::postQuitMessage(int exitCode) {
    PostQuitMessage(exitCode);
}

void Win32Host::destroyWindow(WindowHandle window) {
    DestroyWindow(hwnd(window));
}

namespace {

struct MenuHandle {
    HMENU h;
    explicit MenuHandle(HMENU menu) : h(menu) {}
    ~MenuHandle() {
        if (h != nullptr) DestroyMenu(h);
    }
    MenuHandle(const MenuHandle&) = delete;
    MenuHandle& operator=(const MenuHandle&) = delete;
};

}  // namespace

void Win32Host::trackPopupMenu(WindowHandle panel, InstanceHandle instance, int templateId,
                               int position, int greyPosition, Point screen) {
    MenuHandle menu(LoadMenuA(reinterpret_cast<HINSTANCE>(instance), MAKEINTRESOURCEA(templateId)));
    if (menu.h == nullptr) return;
    HMENU popup = GetSubMenu(menu.h, position);
    if (popup == nullptr) return;
    if (greyPosition >= 0)
        EnableMenuItem(popup, static_cast<UINT>(greyPosition), MF_BYPOSITION | MF_GRAYED);
    // Without the foreground the popup would not close on a click elsewhere, and without
    // the posted message it could not be opened twice in a row from the notification area.
    SetForegroundWindow(hwnd(panel));
    TrackPopupMenu(popup, 0, screen.x, screen.y, 0, hwnd(panel), nullptr);
    PostMessageA(hwnd(panel), WM_NULL, 0, 0);
}

Rect Win32Host::clientRect(WindowHandle window) {
    RECT r{};
    GetClientRect(hwnd(window), &r);
    return Rect{r.left, r.top, r.right, r.bottom};
}

unsigned Win32Host::registerWindowMessage(const char* name) {
    return RegisterWindowMessageA(name);
}

void Win32Host::allowMessage(WindowHandle window, unsigned message) {
    ChangeWindowMessageFilterEx(hwnd(window), message, MSGFLT_ALLOW, nullptr);
}

WindowHandle Win32Host::createToolTipWindow(WindowHandle owner, InstanceHandle instance) {
    HWND tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, "", TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(owner),
                                   nullptr, reinterpret_cast<HINSTANCE>(instance), nullptr);
    return reinterpret_cast<WindowHandle>(tooltip);
}

void Win32Host::sendToolInfo(WindowHandle tooltip, unsigned message, const ToolInfo& info) {
    // The panel's own texts are code page 932 whatever the system's code page.
    const UINT codePage = info.utf8 ? CP_UTF8 : 932;
    const char* text = info.text != nullptr ? info.text : "";
    const int n = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
    if (n > 0) MultiByteToWideChar(codePage, 0, text, -1, wide.data(), n);
    const UINT wideMessage = message == win::TtmAddToolA         ? TTM_ADDTOOLW
                             : message == win::TtmUpdateTipTextA ? TTM_UPDATETIPTEXTW
                                                                 : message;
    TOOLINFOW ti;
    std::memset(&ti, 0, sizeof(ti));
    // The first layout: every version of the control accepts it.
    ti.cbSize = TTTOOLINFOW_V1_SIZE;
    ti.uFlags = info.flags;
    ti.hwnd = hwnd(info.window);
    ti.uId = info.id;
    ti.rect = RECT{info.rect.left, info.rect.top, info.rect.right, info.rect.bottom};
    ti.hinst = reinterpret_cast<HINSTANCE>(info.instance);
    ti.lpszText = wide.data();
    SendMessageW(hwnd(tooltip), wideMessage, 0, reinterpret_cast<LPARAM>(&ti));
}

bool Win32Host::needsRepaint(WindowHandle window) {
    return GetUpdateRect(reinterpret_cast<HWND>(window), nullptr, FALSE) != FALSE;
}

}  // namespace skelvo
