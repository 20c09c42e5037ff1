// A simulated desktop of top-level windows in Z order, with the show, move and
// activation behaviour that the window contract pins down on Win32 under Wine.
#pragma once

#include <functional>
#include <map>
#include <optional>
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
    Rect rect{100, 100, 500, 400};  // the normal position (rcNormalPosition)
    bool alive = true;
    std::uint32_t processId = 4242;
    WindowHandle owner = NullWindow;  // its owner (GW_OWNER); destroyed with it
    // The window's thread does not answer: show, move and minimise wait in pending until
    // wake(), update does nothing, as the Win32 edge makes them asynchronous.
    bool hung = false;
    // Internal state of the simulation, derived from the calls made on the window.
    bool restoreMaximised = false;             // minimised from maximised
    std::optional<Rect> maximisedPlacement{};  // where MoveWindow put a maximised window
    std::optional<Point> maximisedPosition{};  // top-left that SW_SHOWMAXIMIZED uses
    int iconSlot = 0;                          // place of the minimised title bar
    std::optional<Point> iconPosition{};       // where MoveWindow put the title bar
};

// An ordinary captioned window, of the kind the desktops manage.
inline FakeWindow captioned(const std::string& title, Rect rect = Rect{100, 100, 500, 400}) {
    FakeWindow w;
    w.title = title;
    w.rect = rect;
    return w;
}

// The panel window as the program creates it: a topmost popup at (200, 200), 236 by 157.
inline FakeWindow panelWindow() {
    FakeWindow w;
    w.className = "WindowControl";
    w.title = "WindowControl";
    w.style = win::WsPopup;
    w.topmost = true;
    w.rect = Rect{200, 200, 436, 357};
    return w;
}

class FakeWindowSystem : public WindowSystem {
public:
    // The frame that a maximised window with a sizing border pushes past the screen.
    static constexpr int MaximisedOverhang = 4;
    // A minimised window's title bar; they line up along the bottom of the screen.
    static constexpr int IconWidth = 160;
    static constexpr int IconHeight = 24;

    explicit FakeWindowSystem(Rect screen = Rect{0, 0, 1024, 768}, EventLog* log = nullptr);

    // Adds a window at the top of its band (topmost or not), as creation does.
    WindowHandle add(FakeWindow window);
    // Adds a window at the bottom of the Z order.
    WindowHandle addAtBottom(FakeWindow window);
    void destroy(WindowHandle window);
    void raise(WindowHandle window);  // to the top of its band, as SetWindowPos(HWND_TOP) does
    FakeWindow& at(WindowHandle window);
    const FakeWindow& at(WindowHandle window) const;
    // Top to bottom.
    const std::vector<WindowHandle>& zOrder() const { return z_; }
    void setScreen(Rect screen) { screen_ = screen; }
    Rect screen() const { return screen_; }
    WindowHandle activeWindow() const { return active_; }
    void activate(WindowHandle window);  // raises it and makes it the active window
    // ShowWindow called by the window's own program: same effect, not recorded in shows.
    bool programShow(WindowHandle window, int command);
    // A hung window's thread answers again and carries out what was asked meanwhile.
    void wake(WindowHandle window);

    // WindowSystem
    WindowHandle desktopWindow() override { return DesktopHandle; }
    WindowHandle relative(WindowHandle window, int relation) override;
    void topLevelWindows(std::vector<WindowHandle>& into) override;
    WindowHandle find(const char* className, const char* title) override;
    bool isWindow(WindowHandle window) override;
    std::uint32_t style(WindowHandle window) override;
    int text(WindowHandle window, char* buffer, int size) override;
    bool isVisible(WindowHandle window) override;
    bool isEnabled(WindowHandle window) override;
    bool isIconic(WindowHandle window) override;
    bool isZoomed(WindowHandle window) override;
    Rect rect(WindowHandle window) override;
    std::optional<Rect> normalRect(WindowHandle window) override;
    bool show(WindowHandle window, int command) override;
    void update(WindowHandle window) override;
    void move(WindowHandle window, int x, int y, int width, int height, bool repaint) override;
    void minimise(WindowHandle window) override;
    void postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
    std::uint32_t processId(WindowHandle window) override;
    std::uint32_t currentProcessId() override { return ownProcessId; }
    int className(WindowHandle window, char* buffer, int size) override;
    void showAsync(WindowHandle window, int command) override;
    bool isHung(WindowHandle window) override;

    static constexpr WindowHandle DesktopHandle = 0x10010;
    // The panel's process; the windows' own default is another program's.
    std::uint32_t ownProcessId = 1000;
    // Every call of show, in order: (window, command).
    std::vector<std::pair<WindowHandle, int>> shows;
    std::vector<std::pair<WindowHandle, unsigned>> posted;
    // Every call of showAsync, in order: (window, command).
    std::vector<std::pair<WindowHandle, int>> asyncShows;
    int queryCount = 0;  // calls that read a window's state
    // Calls of any kind that named this handle; a test sets it to a handle that must
    // never be used, such as the one it writes into stale entries.
    WindowHandle watchedHandle = NullWindow;
    int watchedCalls = 0;

private:
    bool exists(WindowHandle window) const;
    void note(WindowHandle window);
    bool apply(WindowHandle window, int command);
    void minimiseWindow(FakeWindow& w);
    int freeIconSlot() const;
    static int maximisedOverhang(const FakeWindow& w);
    Rect maximisedRect(const FakeWindow& w) const;
    bool deferred(WindowHandle window, std::function<void()> call);
    std::map<WindowHandle, std::vector<std::function<void()>>> pending_;
    // The last show command still pending on a hung window: the queries report the state
    // it asks for, as the Win32 edge does.
    std::map<WindowHandle, int> requested_;
    // Where a move still pending on a hung window puts it; rect reports it meanwhile.
    std::map<WindowHandle, Rect> requestedRect_;
    std::uint32_t liveStyle(WindowHandle window);
    std::map<WindowHandle, FakeWindow> windows_;
    std::vector<WindowHandle> z_;
    WindowHandle next_ = 0x20000;
    WindowHandle active_ = NullWindow;
    Rect screen_;
    EventLog* log_;
};

}  // namespace skelvo::testing
