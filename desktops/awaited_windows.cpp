// Calls on other programs' windows awaited by their result within a command's budget.
#include "desktops/awaited_windows.h"

#include <algorithm>

namespace skelvo {

// Counts the calls under way on the system; any of them may wait on another thread.
struct AwaitedWindows::Depth {
    explicit Depth(int& d) : depth(d) { ++depth; }
    ~Depth() { --depth; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;
    int& depth;
};

WindowHandle AwaitedWindows::desktopWindow() {
    Depth d(depth_);
    return raw_.desktopWindow();
}

WindowHandle AwaitedWindows::relative(WindowHandle window, int relation) {
    Depth d(depth_);
    return raw_.relative(window, relation);
}

void AwaitedWindows::topLevelWindows(std::vector<WindowHandle>& into) {
    Depth d(depth_);
    raw_.topLevelWindows(into);
}

WindowHandle AwaitedWindows::find(const char* className, const char* title) {
    Depth d(depth_);
    return raw_.find(className, title);
}

bool AwaitedWindows::isWindow(WindowHandle window) {
    Depth d(depth_);
    return raw_.isWindow(window);
}

int AwaitedWindows::text(WindowHandle window, char* buffer, int size) {
    Depth d(depth_);
    return raw_.text(window, buffer, size);
}

bool AwaitedWindows::isEnabled(WindowHandle window) {
    Depth d(depth_);
    return raw_.isEnabled(window);
}

void AwaitedWindows::postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    Depth d(depth_);
    raw_.postMessage(window, message, wParam, lParam);
}

std::uint32_t AwaitedWindows::processId(WindowHandle window) {
    Depth d(depth_);
    return raw_.processId(window);
}

std::uint32_t AwaitedWindows::currentProcessId() {
    return raw_.currentProcessId();
}

int AwaitedWindows::className(WindowHandle window, char* buffer, int size) {
    Depth d(depth_);
    return raw_.className(window, buffer, size);
}

bool AwaitedWindows::showAsync(WindowHandle window, int command) {
    Depth d(depth_);
    if (command == win::SwHide && hidesHeld_ && !raw_.ownThread(window)) return true;
    return ask(window, command);
}

bool AwaitedWindows::ask(WindowHandle window, int command) {
    if (raw_.showAsync(window, command)) return true;
    if (command == win::SwHide && std::find(refused_.begin(), refused_.end(), window) == refused_.end())
        refused_.push_back(window);
    return false;
}

std::string AwaitedWindows::exeName(WindowHandle window) {
    Depth d(depth_);
    return raw_.exeName(window);
}

std::vector<WindowHandle> AwaitedWindows::takeRefused() {
    std::vector<WindowHandle> taken;
    taken.swap(refused_);
    for (WindowHandle w : raw_.takeRefused())
        if (std::find(taken.begin(), taken.end(), w) == taken.end()) taken.push_back(w);
    return taken;
}

bool AwaitedWindows::ping(WindowHandle window, unsigned timeoutMs) {
    Depth d(depth_);
    return raw_.ping(window, timeoutMs);
}

bool AwaitedWindows::ownThread(WindowHandle window) {
    return raw_.ownThread(window);
}

std::uint32_t AwaitedWindows::threadId(WindowHandle window) {
    return raw_.threadId(window);
}

void AwaitedWindows::moveAsync(WindowHandle window, int x, int y, int width, int height,
                               bool repaint) {
    Depth d(depth_);
    raw_.moveAsync(window, x, y, width, height, repaint);
}

std::uint64_t AwaitedWindows::clockMs() {
    return raw_.clockMs();
}

void AwaitedWindows::monitors(std::vector<Monitor>& into) {
    Depth d(depth_);
    raw_.monitors(into);
}

Rect AwaitedWindows::virtualScreen() {
    Depth d(depth_);
    return raw_.virtualScreen();
}

bool AwaitedWindows::isHung(WindowHandle window) {
    Depth d(depth_);
    const std::uint32_t thread = raw_.threadId(window);
    const std::uint64_t now = raw_.clockMs();
    for (const Stall& s : stalls_) {
        if (s.thread == thread && now - s.since < StallMemoryMs) return true;
    }
    return raw_.isHung(window);
}

// ---- Results ------------------------------------------------------------------------

// The state a show command leaves, read from the window itself. A window that has gone
// has nothing left to wait for.
bool AwaitedWindows::showsResult(WindowHandle window, int command) {
    const std::uint32_t s = raw_.style(window);
    if (s == 0 && !raw_.isWindow(window)) return true;
    const bool visible = (s & win::WsVisible) != 0;
    const bool iconic = (s & win::WsMinimize) != 0;
    switch (command) {
    case win::SwHide: return !visible;
    case win::SwShowNormal:
    case win::SwRestore: return visible && !iconic;
    case win::SwShowMaximized: return visible && !iconic && (s & win::WsMaximize) != 0;
    case win::SwMinimize:
    case win::SwShowMinimized:
    case win::SwShowMinNoActive: return visible && iconic;  // hidden, it may be iconic still
    default: return visible;
    }
}

// A minimised or maximised window's rectangle is not the one asked for; only a normal
// window's move can be read back.
bool AwaitedWindows::movedTo(WindowHandle window, Rect to) {
    if (!raw_.isWindow(window)) return true;
    const std::uint32_t s = raw_.style(window);
    if ((s & (win::WsMinimize | win::WsMaximize)) != 0) return true;
    return raw_.rect(window) == to;
}

// Waits while the command's budget and the call's limit last, giving the window's thread
// a turn at a time, until done() reads the result. A thread that lets a turn pass
// unanswered is remembered as not answering. False: the call is left to finish on its own.
template <typename Done>
bool AwaitedWindows::await(WindowHandle window, Done done) {
    const std::uint32_t thread = raw_.threadId(window);
    if (thread == 0) return true;
    if (isHung(window)) return false;
    const std::uint64_t start = raw_.clockMs();
    if (!budgetStart_) budgetStart_ = start;
    const std::uint64_t end = std::min(*budgetStart_ + CommandBudgetMs, start + CallLimitMs);
    for (std::uint64_t now = start; now < end; now = raw_.clockMs()) {
        if (!raw_.ping(window, static_cast<unsigned>(end - now))) {
            // Only a thread that let a whole call's limit pass counts as not answering; one
            // that the spent budget cut short is merely not waited for now.
            if (end == start + CallLimitMs) {
                std::erase_if(stalls_, [&](const Stall& s) { return s.thread == thread; });
                stalls_.push_back(Stall{thread, raw_.clockMs()});
            }
            return false;
        }
        // Under Windows' order the answer may come before the call is carried out.
        if (done()) return true;
    }
    return false;
}

void AwaitedWindows::expect(WindowHandle window, int command, const Rect* moved) {
    std::erase_if(pending_, [this](const Pending& p) { return !raw_.isWindow(p.window); });
    Pending next{window, command, false, Rect{}, raw_.clockMs()};
    for (Pending& p : pending_) {
        if (p.window != window) continue;
        // The calls land in the order made: the last show and the last move stand.
        next.moved = p.moved;
        next.rect = p.rect;
        if (command < 0) next.command = p.command;
        p = next;
    }
    if (moved != nullptr) {
        next.moved = true;
        next.rect = *moved;
    }
    std::erase_if(pending_, [window](const Pending& p) { return p.window == window; });
    pending_.push_back(next);
}

AwaitedWindows::Pending* AwaitedWindows::pendingFor(WindowHandle window) {
    auto it = std::find_if(pending_.begin(), pending_.end(),
                           [window](const Pending& p) { return p.window == window; });
    if (it == pending_.end()) return nullptr;
    const bool shown = it->command < 0 || showsResult(window, it->command);
    const bool moved = !it->moved || movedTo(window, it->rect);
    bool over = shown && moved;
    const std::uint64_t now = raw_.clockMs();
    // A hide is over only once the window shows it: a thread that answers what it is sent
    // may still leave its posted queue alone (a SendMessage, a COM call, a filtered
    // PeekMessage loop), and a hide taken as done meanwhile would land on a window that
    // no list holds any more. Any other call that its program lets pass for a while,
    // answering twice in a row, has had its say.
    if (!over && it->command != win::SwHide && now - it->checked >= PendingLifeMs) {
        it->checked = now;
        over = raw_.ping(window, RecheckWaitMs) && raw_.ping(window, RecheckWaitMs);
    }
    if (!over) return &*it;
    pending_.erase(it);
    return nullptr;
}

// ---- Queries that report what a pending call asks for ----------------------------------

std::uint32_t AwaitedWindows::adjusted(WindowHandle window, std::uint32_t style) {
    const Pending* p = style == 0 || pending_.empty() ? nullptr : pendingFor(window);
    if (p == nullptr || p->command < 0) return style;
    switch (p->command) {
    case win::SwHide: return style & ~win::WsVisible;
    case win::SwShowNormal:
    case win::SwRestore: return (style | win::WsVisible) & ~win::WsMinimize;
    case win::SwShowMaximized: return (style | win::WsVisible | win::WsMaximize) & ~win::WsMinimize;
    case win::SwMinimize:
    case win::SwShowMinimized:
    case win::SwShowMinNoActive: return style | win::WsVisible | win::WsMinimize;
    default: return style | win::WsVisible;
    }
}

std::uint32_t AwaitedWindows::style(WindowHandle window) {
    Depth d(depth_);
    return adjusted(window, raw_.style(window));
}

bool AwaitedWindows::isVisible(WindowHandle window) {
    Depth d(depth_);
    if (!pending_.empty()) return (style(window) & win::WsVisible) != 0;
    return raw_.isVisible(window);
}

bool AwaitedWindows::isIconic(WindowHandle window) {
    Depth d(depth_);
    if (!pending_.empty()) return (style(window) & win::WsMinimize) != 0;
    return raw_.isIconic(window);
}

bool AwaitedWindows::isZoomed(WindowHandle window) {
    Depth d(depth_);
    if (!pending_.empty())
        return (style(window) & (win::WsMinimize | win::WsMaximize)) == win::WsMaximize;
    return raw_.isZoomed(window);
}

Rect AwaitedWindows::rect(WindowHandle window) {
    Depth d(depth_);
    if (const Pending* p = pending_.empty() ? nullptr : pendingFor(window); p && p->moved)
        return p->rect;
    return raw_.rect(window);
}

std::optional<Rect> AwaitedWindows::normalRect(WindowHandle window) {
    Depth d(depth_);
    if (const Pending* p = pending_.empty() ? nullptr : pendingFor(window);
        p && p->moved && (style(window) & (win::WsMinimize | win::WsMaximize)) == 0) {
        if (!raw_.isWindow(window)) return std::nullopt;
        return p->rect;
    }
    return raw_.normalRect(window);
}

// ---- Calls ------------------------------------------------------------------------------

bool AwaitedWindows::show(WindowHandle window, int command) {
    Depth d(depth_);
    if (raw_.ownThread(window)) return raw_.show(window, command);
    const bool wasVisible = isVisible(window);
    if (command == win::SwHide && hidesHeld_) return wasVisible;
    // A refused call changes nothing, so there is nothing to report as on its way.
    if (!ask(window, command)) return wasVisible;
    // Reported as asked while it is awaited: a message handled meanwhile (a session end)
    // sees the call on its way, and what it asks lands after it.
    expect(window, command, nullptr);
    if (await(window, [&] { return showsResult(window, command); })) landed(window, command);
    return wasVisible;
}

void AwaitedWindows::landed(WindowHandle window, int command) {
    // Only its own record: what a call made meanwhile asked for stands.
    for (Pending& p : pending_) {
        if (p.window == window && p.command == command) p.command = -1;
    }
    std::erase_if(pending_, [](const Pending& p) { return p.command < 0 && !p.moved; });
}

void AwaitedWindows::hideEach(const std::vector<WindowHandle>& windows) {
    Depth d(depth_);
    std::vector<WindowHandle> asked;
    asked.reserve(windows.size());
    for (WindowHandle w : windows) {
        if (raw_.ownThread(w)) {
            raw_.show(w, win::SwHide);
        } else if (!hidesHeld_ && ask(w, win::SwHide)) {
            expect(w, win::SwHide, nullptr);
            asked.push_back(w);
        }
    }
    for (WindowHandle w : asked) {
        // A session end asked meanwhile has shown them again behind their hides: what it
        // asked for stands.
        if (hidesHeld_) break;
        if (showsResult(w, win::SwHide) || await(w, [&] { return showsResult(w, win::SwHide); }))
            landed(w, win::SwHide);
    }
}

void AwaitedWindows::update(WindowHandle window) {
    Depth d(depth_);
    // A program that answered paints at once; one that did not paints what the show
    // invalidated once it gets to it.
    if (!raw_.ownThread(window) && (isHung(window) || (!pending_.empty() && pendingFor(window))))
        return;
    raw_.update(window);
}

void AwaitedWindows::move(WindowHandle window, int x, int y, int width, int height,
                          bool repaint) {
    Depth d(depth_);
    if (raw_.ownThread(window)) {
        raw_.move(window, x, y, width, height, repaint);
        return;
    }
    const Rect to{x, y, x + width, y + height};
    raw_.moveAsync(window, x, y, width, height, repaint);
    expect(window, -1, &to);
    if (await(window, [&] { return movedTo(window, to); })) {
        for (Pending& p : pending_) {
            if (p.window == window && p.moved && p.rect == to) p.moved = false;
        }
        std::erase_if(pending_, [](const Pending& p) { return p.command < 0 && !p.moved; });
    }
}

void AwaitedWindows::minimise(WindowHandle window) {
    Depth d(depth_);
    if (raw_.ownThread(window)) {
        raw_.minimise(window);
        return;
    }
    // CloseWindow is ShowWindow(SW_MINIMIZE) for a top-level window.
    show(window, win::SwMinimize);
}

}  // namespace skelvo
