// The window system as the core uses it. A call on another program's window is made
// asynchronously and then awaited by its result, read from the window's state, while the
// command being carried out has time left, so that programs that answer see the calls in
// the order they were made, whichever order their threads take sent and posted messages
// in, and a program that does not answer never holds the panel. Until a call that was not
// awaited shows its result, the queries report what it asks for: a capture meanwhile
// lists the window where the call puts it. It also tells whether a call is under way,
// during which the panel's thread may be handed messages sent to it.
#pragma once

#include <optional>
#include <vector>

#include "desktops/window_system.h"

namespace skelvo {

class AwaitedWindows : public WindowSystem {
public:
    explicit AwaitedWindows(WindowSystem& raw) : raw_(raw) {}

    // How long the waits of one command may take together, and one call's wait. A hide
    // under a window manager takes tens of milliseconds, which is no reason to stop waiting.
    static constexpr unsigned CommandBudgetMs = 1000;
    static constexpr unsigned CallLimitMs = 250;
    // A thread that did not answer is not waited for again for this long.
    static constexpr unsigned StallMemoryMs = 2000;
    // A pending call other than a hide older than this whose result has not shown is
    // looked at again: if the window's thread now answers, its program has had its say and
    // the record goes. A pending hide goes only when the window shows it, or is gone.
    static constexpr unsigned PendingLifeMs = 2000;
    static constexpr unsigned RecheckWaitMs = 50;

    // A new command begins: its budget starts with its first wait.
    void beginCommand() { budgetStart_.reset(); }
    // A call on the system is under way.
    bool inCall() const { return depth_ > 0; }
    // Marks a call of the panel's own during which its thread may be handed messages sent
    // to it (a look at its queue) as under way too.
    class OwnCall {
    public:
        explicit OwnCall(AwaitedWindows* calls) : calls_(calls) {
            if (calls_ != nullptr) ++calls_->depth_;
        }
        ~OwnCall() {
            if (calls_ != nullptr) --calls_->depth_;
        }
        OwnCall(const OwnCall&) = delete;
        OwnCall& operator=(const OwnCall&) = delete;

    private:
        AwaitedWindows* calls_;
    };
    // While held, other programs' windows are not hidden: a call asking for it does
    // nothing. Every window is on screen for a session that may end, and a command that
    // was under way when it was asked must not take any away again.
    void holdHides(bool held) { hidesHeld_ = held; }
    bool hidesHeld() const { return hidesHeld_; }
    // Calls not awaited whose results have not shown yet.
    std::size_t pendingCount() const { return pending_.size(); }

    WindowHandle desktopWindow() override;
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
    std::uint32_t currentProcessId() override;
    int className(WindowHandle window, char* buffer, int size) override;
    bool showAsync(WindowHandle window, int command) override;
    std::string exeName(WindowHandle window) override;
    std::vector<WindowHandle> takeRefused() override;
    bool isHung(WindowHandle window) override;
    bool ping(WindowHandle window, unsigned timeoutMs) override;
    bool ownThread(WindowHandle window) override;
    std::uint32_t threadId(WindowHandle window) override;
    void moveAsync(WindowHandle window, int x, int y, int width, int height, bool repaint) override;
    std::uint64_t clockMs() override;
    void monitors(std::vector<Monitor>& into) override;
    Rect virtualScreen() override;
    // Every hide is asked for first, then each awaited in turn within the command's budget:
    // by then most have landed, and a hide's order among other programs' windows changes
    // neither the stacking nor the active window that the shows after it leave.
    void hideEach(const std::vector<WindowHandle>& windows) override;

private:
    struct Pending {
        WindowHandle window;
        int command;  // -1: no show pending
        bool moved;
        Rect rect;  // where a pending move puts the window
        std::uint64_t checked;
    };
    struct Stall {
        std::uint32_t thread;
        std::uint64_t since;
    };
    struct Depth;
    template <typename Done>
    bool await(WindowHandle window, Done done);
    bool showsResult(WindowHandle window, int command);
    bool movedTo(WindowHandle window, Rect to);
    void expect(WindowHandle window, int command, const Rect* moved);
    // The show command awaited has shown: its part of the window's record goes.
    void landed(WindowHandle window, int command);
    // The window's pending record, once its result has been checked; null when none.
    Pending* pendingFor(WindowHandle window);
    std::uint32_t adjusted(WindowHandle window, std::uint32_t style);
    // Asks for a hide or show without waiting; a refused hide is kept for takeRefused and
    // has no result to await. False when refused.
    bool ask(WindowHandle window, int command);

    WindowSystem& raw_;
    int depth_ = 0;
    bool hidesHeld_ = false;
    std::optional<std::uint64_t> budgetStart_;
    std::vector<Pending> pending_;
    std::vector<Stall> stalls_;
    std::vector<WindowHandle> refused_;  // hides the system refused, not yet taken
};

}  // namespace skelvo
