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
    return adjusted(window, static_cast<std::uint32_t>(GetWindowLongA(hwnd(window), GWL_STYLE)));
}

int Win32WindowSystem::text(WindowHandle window, char* buffer, int size) {
    if (size > 0) buffer[0] = '\0';
    return GetWindowTextA(hwnd(window), buffer, size);
}

bool Win32WindowSystem::isVisible(WindowHandle window) {
    if (!pending_.empty()) return (style(window) & WS_VISIBLE) != 0;
    return IsWindowVisible(hwnd(window)) != FALSE;
}

bool Win32WindowSystem::isEnabled(WindowHandle window) {
    return IsWindowEnabled(hwnd(window)) != FALSE;
}

bool Win32WindowSystem::isIconic(WindowHandle window) {
    if (!pending_.empty()) return (style(window) & WS_MINIMIZE) != 0;
    return IsIconic(hwnd(window)) != FALSE;
}

bool Win32WindowSystem::isZoomed(WindowHandle window) {
    if (!pending_.empty()) return (style(window) & (WS_MINIMIZE | WS_MAXIMIZE)) == WS_MAXIMIZE;
    return IsZoomed(hwnd(window)) != FALSE;
}

namespace {
struct Answer {
    Win32WindowSystem* system;
    unsigned long long sequence;
};
}  // namespace

const Win32WindowSystem::Pending* Win32WindowSystem::pendingFor(WindowHandle window) const {
    for (const Pending& p : pending_) {
        if (p.window == window) return &p;
    }
    return nullptr;
}

void Win32WindowSystem::expect(WindowHandle window, int command, const Rect* moved) {
    // Records of windows that have gone are dropped; the list stays short.
    std::erase_if(pending_, [](const Pending& p) { return IsWindow(hwnd(p.window)) == FALSE; });
    Pending next{window, command, false, Rect{}, ++sequence_};
    if (const Pending* old = pendingFor(window)) {
        next = *old;
        next.sequence = sequence_;
        if (command >= 0) next.command = command;
    }
    if (moved != nullptr) {
        next.moved = true;
        next.rect = *moved;
    }
    const unsigned long long sequence = sequence_;
    std::erase_if(pending_, [window](const Pending& p) { return p.window == window; });
    pending_.push_back(next);
    auto* answer = new Answer{this, sequence};
    if (!SendMessageCallbackA(hwnd(window), WM_NULL, 0, 0,
                              reinterpret_cast<SENDASYNCPROC>(&Win32WindowSystem::answered),
                              reinterpret_cast<ULONG_PTR>(answer))) {
        delete answer;
    }
}

void __stdcall Win32WindowSystem::answered(void* window, unsigned, std::uintptr_t data,
                                           std::intptr_t) {
    auto* answer = reinterpret_cast<Answer*>(data);
    std::erase_if(answer->system->pending_, [&](const Pending& p) {
        return p.window == handle(static_cast<HWND>(window)) && p.sequence == answer->sequence;
    });
    delete answer;
}

std::uint32_t Win32WindowSystem::adjusted(WindowHandle window, std::uint32_t style) const {
    if (style == 0) return style;
    for (const Pending& p : pending_) {
        if (p.window != window || p.command < 0) continue;
        switch (p.command) {
        case SW_HIDE: return style & ~WS_VISIBLE;
        case SW_SHOWNORMAL:
        case SW_RESTORE: return (style | WS_VISIBLE) & ~(WS_MINIMIZE | WS_MAXIMIZE);
        case SW_SHOWMAXIMIZED: return (style | WS_VISIBLE | WS_MAXIMIZE) & ~WS_MINIMIZE;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE: return style | WS_VISIBLE | WS_MINIMIZE;
        default: return style | WS_VISIBLE;
        }
    }
    return style;
}

Rect Win32WindowSystem::rect(WindowHandle window) {
    if (const Pending* p = pendingFor(window); p != nullptr && p->moved && IsWindow(hwnd(window)))
        return p->rect;
    RECT r{};
    GetWindowRect(hwnd(window), &r);
    return toRect(r);
}

std::optional<Rect> Win32WindowSystem::normalRect(WindowHandle window) {
    if (const Pending* p = pendingFor(window);
        p != nullptr && p->moved && (style(window) & (WS_MINIMIZE | WS_MAXIMIZE)) == 0) {
        if (IsWindow(hwnd(window)) == FALSE) return std::nullopt;
        return p->rect;
    }
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(WINDOWPLACEMENT);
    // It fails only for a window that has gone.
    if (GetWindowPlacement(hwnd(window), &placement) == FALSE) return std::nullopt;
    return toRect(placement.rcNormalPosition);
}

// Calls on windows of another thread are made asynchronously and then awaited for at
// most AnswerTimeoutMs, so that a thread which answers sees them in today's order while a
// thread which does not never holds the panel. A thread that did not answer is
// remembered for StallMemoryMs and not awaited meanwhile.
bool Win32WindowSystem::mustNotWait(WindowHandle window, unsigned long* thread) {
    *thread = GetWindowThreadProcessId(hwnd(window), nullptr);
    if (*thread == 0) return true;
    const ULONGLONG now = GetTickCount64();
    for (const Stall& s : stalls_) {
        if (s.thread == *thread && s.since != 0 && now - s.since < StallMemoryMs) return true;
    }
    return IsHungAppWindow(hwnd(window)) != FALSE;
}

bool Win32WindowSystem::awaitThread(WindowHandle window, unsigned long thread) {
    DWORD_PTR result = 0;
    const bool answered =
        SendMessageTimeoutA(hwnd(window), WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                            AnswerTimeoutMs, &result) != 0;
    Stall* slot = nullptr;
    for (Stall& s : stalls_) {
        if (s.thread == thread) slot = &s;
    }
    if (answered) {
        if (slot != nullptr) *slot = Stall{};
        std::erase_if(pending_, [window](const Pending& p) { return p.window == window; });
        return true;
    }
    if (slot == nullptr) {
        // The oldest record makes room.
        slot = &stalls_[0];
        for (Stall& s : stalls_) {
            if (s.since < slot->since) slot = &s;
        }
    }
    *slot = Stall{thread, GetTickCount64()};
    return false;
}

namespace {
bool ownThread(HWND w) {
    return GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId();
}
}  // namespace

bool Win32WindowSystem::show(WindowHandle window, int command) {
    HWND w = hwnd(window);
    if (ownThread(w)) return ShowWindow(w, command) != FALSE;
    const bool wasVisible = isVisible(window);
    unsigned long thread = 0;
    const bool async = mustNotWait(window, &thread);
    ShowWindowAsync(w, command);
    if (async || !awaitThread(window, thread)) expect(window, command);
    return wasVisible;
}

void Win32WindowSystem::update(WindowHandle window) {
    HWND w = hwnd(window);
    unsigned long thread = 0;
    // A thread that does not answer paints what the show invalidated once it wakes.
    if (!ownThread(w) && mustNotWait(window, &thread)) return;
    UpdateWindow(w);
}

void Win32WindowSystem::move(WindowHandle window, int x, int y, int width, int height,
                             bool repaint) {
    HWND w = hwnd(window);
    if (ownThread(w)) {
        MoveWindow(w, x, y, width, height, repaint ? TRUE : FALSE);
        return;
    }
    unsigned long thread = 0;
    const bool async = mustNotWait(window, &thread);
    // MoveWindow's own flags, made asynchronous.
    SetWindowPos(w, nullptr, x, y, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS | (repaint ? 0 : SWP_NOREDRAW));
    if (async || !awaitThread(window, thread)) {
        const Rect to{x, y, x + width, y + height};
        expect(window, -1, &to);
    }
}

void Win32WindowSystem::minimise(WindowHandle window) {
    HWND w = hwnd(window);
    if (ownThread(w)) {
        CloseWindow(w);
        return;
    }
    // CloseWindow is ShowWindow(SW_MINIMIZE) for a top-level window.
    show(window, SW_MINIMIZE);
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

void Win32WindowSystem::showAsync(WindowHandle window, int command) {
    ShowWindowAsync(hwnd(window), command);
}

void Win32WindowSystem::moveAsync(WindowHandle window, Rect to) {
    SetWindowPos(hwnd(window), nullptr, to.left, to.top, to.width(), to.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}

bool Win32WindowSystem::isHung(WindowHandle window) {
    HWND w = hwnd(window);
    if (ownThread(w)) return false;
    unsigned long thread = 0;
    return mustNotWait(window, &thread) && thread != 0;
}

void Win32WindowSystem::postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    PostMessageA(hwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

}  // namespace skelvo
