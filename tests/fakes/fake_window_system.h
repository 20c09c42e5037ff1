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
    // The window's thread does not answer: calls on it wait until wake(); ping times out.
    bool hung = false;
    bool hungUnnoticed = false;  // IsHungAppWindow does not say so (yet)
    // A busy thread looks at its queue every answerMs: asynchronous calls on the window
    // and ping's WM_NULL are handled at its next look, in the order the fake's message
    // order gives. 0: an idle thread, which handles an asynchronous call at once.
    unsigned answerMs = 0;
    // The thread answers sent messages (ping) but leaves its posted queue alone until this
    // time: a program in a SendMessage, a COM call or a filtered PeekMessage loop.
    std::uint64_t postedHeldUntil = 0;
    std::string exe = "fixture.exe";  // its program's file name; empty: cannot be read
    // Its program runs with higher rights than the panel: the system refuses its hides.
    bool elevated = false;
    bool ownThread = false;    // the panel's own thread
    std::uint32_t thread = 0;  // 0: a thread of its own
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
    w.ownThread = true;
    return w;
}

// How a thread orders what it is sent and posted: Windows hands it sent messages before
// posted ones (ShowWindowAsync and SetWindowPos's asynchronous form post), Wine delivers
// both in the order they came.
enum class MessageOrder { Windows, Wine };

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
    // One monitor, the primary screen.
    void setScreen(Rect screen) { setMonitors({Monitor{screen, true}}); }
    // The monitors, one of them primary; changeable at any time, as monitors come and go.
    void setMonitors(std::vector<Monitor> monitors);
    Rect screen() const { return screen_; }
    WindowHandle activeWindow() const { return active_; }
    void activate(WindowHandle window);  // raises it and makes it the active window
    // ShowWindow called by the window's own program: same effect, not recorded in shows.
    bool programShow(WindowHandle window, int command);
    // A hung window's thread answers again and carries out what was asked meanwhile.
    void wake(WindowHandle window);
    MessageOrder order = MessageOrder::Windows;
    // Runs while the caller waits in ping, as messages sent to a waiting thread are handled.
    std::function<void()> duringWait;
    // Time passes: busy threads work off what has come due.
    void elapse(std::uint64_t ms);
    // Every thread that answers works off all it was asked.
    void settle();
    // Asynchronous calls not carried out yet.
    std::size_t queued() const;

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
    bool showAsync(WindowHandle window, int command) override;
    std::string exeName(WindowHandle window) override;
    std::vector<WindowHandle> takeRefused() override;
    bool isHung(WindowHandle window) override;
    bool ping(WindowHandle window, unsigned timeoutMs) override;
    bool ownThread(WindowHandle window) override;
    std::uint32_t threadId(WindowHandle window) override;
    void moveAsync(WindowHandle window, int x, int y, int width, int height, bool repaint) override;
    std::uint64_t clockMs() override { return now_; }
    // A read of the screen, as GetWindowRect of the desktop window is.
    void monitors(std::vector<Monitor>& into) override {
        ++queryCount;
        note(DesktopHandle);
        into = monitors_;
    }
    Rect virtualScreen() override;

    static constexpr WindowHandle DesktopHandle = 0x10010;
    // The panel's process; the windows' own default is another program's.
    std::uint32_t ownProcessId = 1000;
    // Every call of show, in order: (window, command).
    std::vector<std::pair<WindowHandle, int>> shows;
    std::vector<std::pair<WindowHandle, unsigned>> posted;
    // Every call of showAsync, in order: (window, command).
    std::vector<std::pair<WindowHandle, int>> asyncShows;
    int queryCount = 0;  // calls that read a window's state
    std::vector<WindowHandle> refused;  // hides refused by ShowWindow, not yet taken
    // Calls of any kind that named this handle; a test sets it to a handle that must
    // never be used, such as the one it writes into stale entries.
    WindowHandle watchedHandle = NullWindow;
    int watchedCalls = 0;

private:
    bool exists(WindowHandle window) const;
    void note(WindowHandle window);
    bool apply(WindowHandle window, int command);
    void minimiseWindow(FakeWindow& w);
    void moveNow(WindowHandle window, int x, int y, int width, int height, bool repaint);
    int freeIconSlot() const;
    static int maximisedOverhang(const FakeWindow& w);
    Rect maximisedRect(const FakeWindow& w) const;
    Rect monitorOf(Rect r) const;
    bool deferred(WindowHandle window, std::function<void()> call);
    // An asynchronous call (or, for a hung thread, any call) and the time its thread
    // looks at it.
    struct Queued {
        std::uint64_t due;
        std::function<void()> call;
    };
    void enqueue(WindowHandle window, std::function<void()> call);
    // Carries out the calls due by time; those of held that come due exactly then wait,
    // as posted calls wait behind the sent message answered at that look.
    void run(std::uint64_t time, WindowHandle held = NullWindow);
    std::map<WindowHandle, std::vector<Queued>> queue_;
    std::uint64_t now_ = 0;
    std::uint32_t liveStyle(WindowHandle window);
    std::map<WindowHandle, FakeWindow> windows_;
    std::vector<WindowHandle> z_;
    WindowHandle next_ = 0x20000;
    WindowHandle active_ = NullWindow;
    Rect screen_;  // the primary monitor
    std::vector<Monitor> monitors_;
    EventLog* log_;
};

}  // namespace skelvo::testing
