// The core's view of the system's top-level windows: Z-order walk, queries and the few
// operations the virtual desktops perform on other programs' windows. Win32 in
// window_system_win.cpp; an in-memory simulation in the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/platform.h"

namespace skelvo {

struct Monitor {
    Rect rect{};
    bool primary = false;
    friend bool operator==(const Monitor&, const Monitor&) = default;
};

// The monitors and the virtual screen, their bounding box, whose origin may be negative.
// The map shows the box as one desktop; with one monitor it is the primary screen.
struct ScreenLayout {
    std::vector<Monitor> monitors;
    Rect box{};

    bool several() const { return monitors.size() > 1; }
    Rect primary() const;
    // MonitorFromRect with MONITOR_DEFAULTTONEAREST: the monitor sharing the largest area
    // with r, or when none does the nearest one.
    Rect nearest(Rect r) const;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    virtual WindowHandle desktopWindow() = 0;
    // GetWindow: relation is one of win::Gw*; GwOwner names a top-level window's owner.
    virtual WindowHandle relative(WindowHandle window, int relation) = 0;
    // EnumWindows: every top-level window from the top of the Z order down, read at once.
    virtual void topLevelWindows(std::vector<WindowHandle>& into) = 0;
    // FindWindowA; a null class or title matches any.
    virtual WindowHandle find(const char* className, const char* title) = 0;

    virtual bool isWindow(WindowHandle window) = 0;
    virtual std::uint32_t style(WindowHandle window) = 0;  // GWL_STYLE
    // GetWindowTextW of at most TitleChars - 1 characters, in UTF-8 so that any title is
    // read whole: copies the whole characters that fit in size-1 bytes and a NUL; returns
    // the length copied.
    virtual int text(WindowHandle window, char* buffer, int size) = 0;
    virtual bool isVisible(WindowHandle window) = 0;
    virtual bool isEnabled(WindowHandle window) = 0;
    virtual bool isIconic(WindowHandle window) = 0;
    virtual bool isZoomed(WindowHandle window) = 0;
    virtual Rect rect(WindowHandle window) = 0;        // GetWindowRect
    // rcNormalPosition of GetWindowPlacement; nothing when the window has gone, so that a
    // caller needs no IsWindow besides.
    virtual std::optional<Rect> normalRect(WindowHandle window) = 0;

    // ShowWindow, UpdateWindow, MoveWindow and CloseWindow: on another thread's window they
    // wait for that thread (AwaitedWindows makes them asynchronous and bounded).
    virtual bool show(WindowHandle window, int command) = 0;
    virtual void update(WindowHandle window) = 0;             // UpdateWindow
    virtual void move(WindowHandle window, int x, int y, int width, int height, bool repaint) = 0;
    virtual void minimise(WindowHandle window) = 0;  // CloseWindow
    virtual void postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;

    // What tells a window from a later one that reuses its handle.
    virtual std::uint32_t processId(WindowHandle window) = 0;  // 0 for no window
    virtual std::uint32_t currentProcessId() = 0;  // GetCurrentProcessId: the panel's own
    // GetClassNameA: copies at most size-1 bytes and a NUL; returns the length copied.
    virtual int className(WindowHandle window, char* buffer, int size) = 0;
    // ShowWindowAsync: never waits on the window's program. False when the system refused
    // the call (access denied: the program runs with higher rights than the panel).
    virtual bool showAsync(WindowHandle window, int command) = 0;
    // IsHungAppWindow: the system counts the window's thread as not answering.
    virtual bool isHung(WindowHandle window) = 0;

    // SendMessageTimeout(WM_NULL, SMTO_ABORTIFHUNG): whether the window's thread answered
    // within timeoutMs. Windows hands a thread sent messages before posted ones, so the
    // answer does not say that an asynchronous call made before it has been carried out.
    virtual bool ping(WindowHandle window, unsigned timeoutMs) = 0;
    // Whether the window belongs to the calling thread, for which no call waits.
    virtual bool ownThread(WindowHandle window) = 0;
    // The window's thread (GetWindowThreadProcessId); 0 for no window.
    virtual std::uint32_t threadId(WindowHandle window) = 0;
    // SetWindowPos with MoveWindow's flags and SWP_ASYNCWINDOWPOS: never waits.
    virtual void moveAsync(WindowHandle window, int x, int y, int width, int height,
                           bool repaint) = 0;
    // Milliseconds on a monotonic clock.
    virtual std::uint64_t clockMs() = 0;

    // EnumDisplayMonitors: every monitor's rectangle; the primary stands at (0, 0).
    virtual void monitors(std::vector<Monitor>& into) = 0;
    // SM_XVIRTUALSCREEN, SM_YVIRTUALSCREEN, SM_CXVIRTUALSCREEN and SM_CYVIRTUALSCREEN.
    virtual Rect virtualScreen() = 0;
    // The file name of the window's program, without its folder, in UTF-8; empty when it
    // cannot be read.
    virtual std::string exeName(WindowHandle /*window*/) { return {}; }
    // The windows whose hides the system refused since the last take, each once.
    virtual std::vector<WindowHandle> takeRefused() { return {}; }
    // Hides each window, in order. A system whose hides can be asked for without waiting
    // asks for all of them before it waits on any, so that the programs carry them out side
    // by side rather than one after the other.
    virtual void hideEach(const std::vector<WindowHandle>& windows) {
        for (WindowHandle w : windows) show(w, win::SwHide);
    }
};

// Where a window whose title bar is out of reach of every monitor is to go: onto the
// nearest monitor, keeping its size where it fits. Nothing when it can be reached, or
// when it is a minimised window's place (-32000, -32000).
std::optional<Rect> placeInReach(const ScreenLayout& screen, Rect window);

// The monitors and the virtual screen as the system reports them now; with no answer, the
// desktop window's rectangle as the one monitor.
ScreenLayout readScreen(WindowSystem& ws);

// The screen layout, read at most once by whoever shares it: under Wine each read is a
// round of server calls, and the screen does not change within the handling of one
// message (a new display mode arrives as a message of its own).
class ScreenOnce {
public:
    explicit ScreenOnce(WindowSystem& ws) : ws_(ws) {}
    const ScreenLayout& get() {
        if (!read_) screen_ = readScreen(ws_);
        read_ = true;
        return screen_;
    }

private:
    WindowSystem& ws_;
    bool read_ = false;
    ScreenLayout screen_{};
};

}  // namespace skelvo
