// The environment the window contract runs in: the simulated desktop natively, real
// windows of the test process under Wine. Both open captioned windows as a program does
// and hand out the WindowSystem that the core uses on them.
#pragma once

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "desktops/window_system.h"

namespace skelvo::testing {

enum class OpenState { Normal, Minimised, Maximised, Hidden };

struct WindowRequest {
    std::string title = "contract window";
    std::string className = "SkelvoWindowContract";
    std::uint32_t style = win::WsOverlappedWindow;
    Rect rect{100, 120, 500, 420};
    OpenState state = OpenState::Normal;
    bool disabled = false;
    bool topmost = false;
    WindowHandle owner = NullWindow;
};

class WindowEnv {
public:
    // Closes every window it opened.
    virtual ~WindowEnv() = default;
    virtual WindowSystem& windows() = 0;
    // Creates the window and shows it as its program would: SW_SHOWNORMAL,
    // SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, or not at all.
    virtual WindowHandle open(const WindowRequest& request) = 0;
    virtual void close(WindowHandle window) = 0;
    // The window's program puts it on top of its band without activating it.
    virtual void raise(WindowHandle window) = 0;
    // The window's program makes it the foreground window.
    virtual void activate(WindowHandle window) = 0;
    // Opens the window on a thread of its own, which then stops answering until wake().
    virtual WindowHandle openStalled(const WindowRequest& request) = 0;
    // The stalled window's thread answers again and works off what was asked meanwhile.
    virtual void wake(WindowHandle window) = 0;
    // Milliseconds on a monotonic clock; the simulation takes no time.
    virtual unsigned long long clockMs() = 0;
    // Lets the system finish what the last calls started (under Wine, the X events).
    virtual void settle() = 0;
};

std::unique_ptr<WindowEnv> makeWindowEnv();

// The monitors of the run: one 1024 x 768 screen, or with SKELVO_CONTRACT_MONITORS=two an
// 800 x 600 monitor right of it, as the two-monitor display under Wine has them.
inline std::vector<Monitor> contractMonitors() {
    const char* layout = std::getenv("SKELVO_CONTRACT_MONITORS");
    if (layout != nullptr && std::strcmp(layout, "two") == 0)
        return {Monitor{Rect{0, 0, 1024, 768}, true}, Monitor{Rect{1024, 0, 1824, 600}, false}};
    return {Monitor{Rect{0, 0, 1024, 768}, true}};
}

}  // namespace skelvo::testing
