// A simulated desktop of top-level windows in Z order, with the show, move and
// activation behaviour of the real window manager as the contract tests pin it down.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "desktops/window_system.h"
#include "tests/fakes/event_log.h"

namespace skelvo::testing {

struct FakeWindow {
    std::string className = "FixtureWindow";
    std::string title;
    std::uint32_t style = win::WsOverlappedWindow;
    bool visible = true;
    bool enabled = true;
    bool minimised = false;
    bool maximised = false;
    bool topmost = false;
    Rect rect{100, 100, 500, 400};  // the rectangle while shown normal
    bool alive = true;
};

class FakeWindowSystem : public WindowSystem {
public:
    explicit FakeWindowSystem(Rect screen = Rect{0, 0, 1024, 768}, EventLog* log = nullptr);

    // Adds a window at the top of the Z order (below topmost ones unless it is topmost).
    WindowHandle add(FakeWindow window);
    // Adds a window at the bottom of the Z order.
    WindowHandle addAtBottom(FakeWindow window);
    void destroy(WindowHandle window);
    void raise(WindowHandle window);  // to the top of its band, as activation does
    FakeWindow& at(WindowHandle window);
    const FakeWindow& at(WindowHandle window) const;
    // Top to bottom.
    const std::vector<WindowHandle>& zOrder() const { return z_; }
    void setScreen(Rect screen) { screen_ = screen; }
    Rect screen() const { return screen_; }
    WindowHandle activeWindow() const { return active_; }

    // WindowSystem
    WindowHandle desktopWindow() override { return DesktopHandle; }
    WindowHandle relative(WindowHandle window, int relation) override;
    WindowHandle find(const char* className, const char* title) override;
    bool isWindow(WindowHandle window) override;
    std::uint32_t style(WindowHandle window) override;
    int text(WindowHandle window, char* buffer, int size) override;
    bool isVisible(WindowHandle window) override;
    bool isEnabled(WindowHandle window) override;
    bool isIconic(WindowHandle window) override;
    bool isZoomed(WindowHandle window) override;
    Rect rect(WindowHandle window) override;
    Rect normalRect(WindowHandle window) override;
    bool show(WindowHandle window, int command) override;
    void update(WindowHandle window) override;
    void move(WindowHandle window, int x, int y, int width, int height, bool repaint) override;
    void minimise(WindowHandle window) override;
    void postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;

    static constexpr WindowHandle DesktopHandle = 0x10010;
    // Every call of show, in order: (window, command).
    std::vector<std::pair<WindowHandle, int>> shows;
    std::vector<std::pair<WindowHandle, unsigned>> posted;
    int queryCount = 0;  // calls that read a window's state

private:
    bool exists(WindowHandle window) const;
    void activate(WindowHandle window);
    std::map<WindowHandle, FakeWindow> windows_;
    std::vector<WindowHandle> z_;
    WindowHandle next_ = 0x20000;
    WindowHandle active_ = NullWindow;
    Rect screen_;
    EventLog* log_;
};

}  // namespace skelvo::testing
