// The simulated desktop of top-level windows. Its rules follow what the window contract
// (tests/contract/window_contract.cpp) observes on Win32 under Wine.
#include "tests/fakes/fake_window_system.h"

#include <algorithm>

#include <cctype>
#include <cstring>
#include <stdexcept>
#include "desktops/window_entry.h"

namespace skelvo::testing {

FakeWindowSystem::FakeWindowSystem(Rect screen, EventLog* log)
    : screen_(screen), monitors_{Monitor{screen, true}}, log_(log) {}

void FakeWindowSystem::setMonitors(std::vector<Monitor> monitors) {
    monitors_ = std::move(monitors);
    for (const Monitor& m : monitors_)
        if (m.primary) screen_ = m.rect;
}

Rect FakeWindowSystem::virtualScreen() {
    Rect box = screen_;
    for (const Monitor& m : monitors_) {
        box.left = std::min(box.left, m.rect.left);
        box.top = std::min(box.top, m.rect.top);
        box.right = std::max(box.right, m.rect.right);
        box.bottom = std::max(box.bottom, m.rect.bottom);
    }
    return box;
}

// The monitor a window is maximised on: the one nearest its rectangle.
Rect FakeWindowSystem::monitorOf(Rect r) const {
    ScreenLayout layout{monitors_, screen_};
    return layout.nearest(r);
}

bool FakeWindowSystem::exists(WindowHandle window) const {
    auto it = windows_.find(window);
    return it != windows_.end() && it->second.alive;
}

void FakeWindowSystem::note(WindowHandle window) {
    if (window != NullWindow && window == watchedHandle) ++watchedCalls;
}

FakeWindow& FakeWindowSystem::at(WindowHandle window) {
    auto it = windows_.find(window);
    if (it == windows_.end()) throw std::out_of_range("no such fake window");
    return it->second;
}

const FakeWindow& FakeWindowSystem::at(WindowHandle window) const {
    auto it = windows_.find(window);
    if (it == windows_.end()) throw std::out_of_range("no such fake window");
    return it->second;
}

WindowHandle FakeWindowSystem::add(FakeWindow window) {
    const WindowHandle h = next_;
    next_ += 4;
    if (window.minimised) {
        window.restoreMaximised = window.maximised;
        window.maximised = false;
        window.iconSlot = freeIconSlot();
    }
    windows_[h] = std::move(window);
    z_.insert(z_.begin(), h);
    raise(h);
    return h;
}

WindowHandle FakeWindowSystem::addAtBottom(FakeWindow window) {
    const WindowHandle h = add(std::move(window));
    z_.erase(std::remove(z_.begin(), z_.end(), h), z_.end());
    z_.push_back(h);
    return h;
}

void FakeWindowSystem::destroy(WindowHandle window) {
    if (!exists(window)) return;
    // Destroying a window destroys the windows it owns first.
    for (const auto& [h, w] : windows_) {
        if (w.alive && w.owner == window) destroy(h);
    }
    windows_[window].alive = false;
    z_.erase(std::remove(z_.begin(), z_.end(), window), z_.end());
    if (active_ == window) active_ = NullWindow;
}

void FakeWindowSystem::raise(WindowHandle window) {
    if (!exists(window)) return;
    z_.erase(std::remove(z_.begin(), z_.end(), window), z_.end());
    auto pos = z_.begin();
    if (!windows_[window].topmost) {
        while (pos != z_.end() && windows_[*pos].topmost) ++pos;
    }
    z_.insert(pos, window);
}

void FakeWindowSystem::activate(WindowHandle window) {
    raise(window);
    active_ = window;
}

int FakeWindowSystem::freeIconSlot() const {
    for (int slot = 0;; ++slot) {
        const bool taken = std::any_of(windows_.begin(), windows_.end(), [slot](const auto& kv) {
            return kv.second.alive && kv.second.minimised && kv.second.iconSlot == slot;
        });
        if (!taken) return slot;
    }
}

// A sizing border reaches 4 pixels past the screen, a fixed frame 3.
int FakeWindowSystem::maximisedOverhang(const FakeWindow& w) {
    if ((w.style & win::WsThickFrame) != 0) return MaximisedOverhang;
    if ((w.style & win::WsCaption) != 0) return MaximisedOverhang - 1;
    return 0;
}

Rect FakeWindowSystem::maximisedRect(const FakeWindow& w) const {
    const int overhang = maximisedOverhang(w);
    const Rect m = monitorOf(w.rect);
    const Point origin =
        w.maximisedPosition.value_or(Point{m.left - overhang, m.top - overhang});
    return Rect{origin.x, origin.y, origin.x + m.width() + 2 * overhang,
                origin.y + m.height() + 2 * overhang};
}

void FakeWindowSystem::topLevelWindows(std::vector<WindowHandle>& into) {
    ++queryCount;
    into = z_;
}

WindowHandle FakeWindowSystem::relative(WindowHandle window, int relation) {
    ++queryCount;
    note(window);
    if (window == DesktopHandle) {
        if (relation == win::GwChild) return z_.empty() ? NullWindow : z_.front();
        return NullWindow;
    }
    auto it = std::find(z_.begin(), z_.end(), window);
    if (it == z_.end()) return NullWindow;
    if (relation == win::GwOwner)
        return exists(windows_[window].owner) ? windows_[window].owner : NullWindow;
    switch (relation) {
    case win::GwHwndFirst: return z_.front();
    case win::GwHwndLast: return z_.back();
    case win::GwHwndNext: return (it + 1) == z_.end() ? NullWindow : *(it + 1);
    case win::GwHwndPrev: return it == z_.begin() ? NullWindow : *(it - 1);
    default: return NullWindow;
    }
}

WindowHandle FakeWindowSystem::find(const char* className, const char* title) {
    for (WindowHandle h : z_) {
        const FakeWindow& w = windows_[h];
        // Class names are atoms, matched whatever their case.
        if (className != nullptr && !std::equal(w.className.begin(), w.className.end(), className,
                                                className + std::strlen(className),
                                                [](unsigned char a, unsigned char b) {
                                                    return std::tolower(a) == std::tolower(b);
                                                }))
            continue;
        if (title != nullptr && w.title != title) continue;
        return h;
    }
    return NullWindow;
}

bool FakeWindowSystem::isWindow(WindowHandle window) {
    ++queryCount;
    note(window);
    return window == DesktopHandle || exists(window);
}

std::uint32_t FakeWindowSystem::style(WindowHandle window) {
    ++queryCount;
    note(window);
    return liveStyle(window);
}

std::uint32_t FakeWindowSystem::liveStyle(WindowHandle window) {
    if (!exists(window)) return 0;
    const FakeWindow& w = windows_[window];
    std::uint32_t s =
        w.style & ~(win::WsVisible | win::WsMinimize | win::WsMaximize | win::WsDisabled);
    if (w.visible) s |= win::WsVisible;
    if (w.minimised) s |= win::WsMinimize;
    if (w.maximised && !w.minimised) s |= win::WsMaximize;
    if (!w.enabled) s |= win::WsDisabled;
    return s;
}

int FakeWindowSystem::text(WindowHandle window, char* buffer, int size) {
    ++queryCount;
    note(window);
    if (size <= 0) return 0;
    buffer[0] = '\0';
    if (!exists(window)) return 0;
    // Titles are UTF-8: whole characters, at most TitleChars - 1 UTF-16 units of them.
    const std::string& t = windows_[window].title;
    int n = 0;
    for (int units = 0, i = 0; i < static_cast<int>(t.size());) {
        const unsigned char c = static_cast<unsigned char>(t[i]);
        const int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        units += length == 4 ? 2 : 1;
        if (units > TitleChars - 1 || i + length > size - 1) break;
        i += length;
        n = i;
    }
    std::memcpy(buffer, t.data(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
}

bool FakeWindowSystem::isVisible(WindowHandle window) {
    ++queryCount;
    note(window);
    return exists(window) && windows_[window].visible;
}

bool FakeWindowSystem::isEnabled(WindowHandle window) {
    ++queryCount;
    note(window);
    return exists(window) && windows_[window].enabled;
}

bool FakeWindowSystem::isIconic(WindowHandle window) {
    ++queryCount;
    note(window);
    return exists(window) && windows_[window].minimised;
}

bool FakeWindowSystem::isZoomed(WindowHandle window) {
    ++queryCount;
    note(window);
    return exists(window) && windows_[window].maximised && !windows_[window].minimised;
}

Rect FakeWindowSystem::rect(WindowHandle window) {
    ++queryCount;
    note(window);
    if (window == DesktopHandle) return screen_;
    if (!exists(window)) return Rect{};
    const FakeWindow& w = windows_[window];
    if (w.minimised) {
        const Point p =
            w.iconPosition.value_or(Point{w.iconSlot * IconWidth, screen_.bottom - IconHeight});
        return Rect{p.x, p.y, p.x + IconWidth, p.y + IconHeight};
    }
    if (w.maximised) return w.maximisedPlacement.value_or(maximisedRect(w));
    return w.rect;
}

std::optional<Rect> FakeWindowSystem::normalRect(WindowHandle window) {
    ++queryCount;
    note(window);
    if (!exists(window)) return std::nullopt;
    return windows_[window].rect;
}

bool FakeWindowSystem::deferred(WindowHandle window, std::function<void()> call) {
    if (!exists(window) || !windows_[window].hung) return false;
    enqueue(window, std::move(call));
    return true;
}

// A busy thread's next look at its queue after the call came; an idle one handles it at
// once, unless calls before it still wait.
void FakeWindowSystem::enqueue(WindowHandle window, std::function<void()> call) {
    const FakeWindow& w = windows_[window];
    std::vector<Queued>& q = queue_[window];
    if (!w.hung && w.answerMs == 0 && q.empty() && w.postedHeldUntil <= now_) {
        call();
        return;
    }
    const std::uint64_t due = w.answerMs == 0 ? now_ : (now_ / w.answerMs + 1) * w.answerMs;
    q.push_back(Queued{due, std::move(call)});
}

void FakeWindowSystem::run(std::uint64_t time, WindowHandle held) {
    for (auto& [window, q] : queue_) {
        if (!exists(window) || windows_[window].hung) continue;
        if (windows_[window].postedHeldUntil > time) continue;
        std::size_t done = 0;
        while (done < q.size() &&
               (q[done].due < time || (q[done].due == time && window != held))) {
            ++done;
        }
        std::vector<Queued> calls(q.begin(), q.begin() + static_cast<std::ptrdiff_t>(done));
        q.erase(q.begin(), q.begin() + static_cast<std::ptrdiff_t>(done));
        for (auto& c : calls) c.call();
    }
}

void FakeWindowSystem::elapse(std::uint64_t ms) {
    now_ += ms;
    run(now_);
}

void FakeWindowSystem::settle() {
    for (auto& [window, q] : queue_) {
        if (!exists(window) || windows_[window].hung) continue;
        for (const Queued& c : q) now_ = std::max(now_, c.due);
        if (!q.empty()) now_ = std::max(now_, windows_[window].postedHeldUntil);
    }
    run(now_ + 1);
}

std::size_t FakeWindowSystem::queued() const {
    std::size_t n = 0;
    for (const auto& [window, q] : queue_) n += exists(window) ? q.size() : 0;
    return n;
}

void FakeWindowSystem::wake(WindowHandle window) {
    if (!exists(window)) return;
    windows_[window].hung = false;
    auto calls = std::move(queue_[window]);
    queue_.erase(window);
    for (auto& c : calls) c.call();
}

// The WM_NULL is handled at the thread's next look. Under Windows' order the calls that
// look takes up come after the answer; under Wine's they come before it, in order. Every
// answer takes a millisecond at least.
bool FakeWindowSystem::ping(WindowHandle window, unsigned timeoutMs) {
    note(window);
    if (duringWait) duringWait();
    run(now_);
    if (!exists(window)) return false;
    const FakeWindow& w = windows_[window];
    if (w.ownThread) return true;
    const std::uint64_t look = w.answerMs == 0 ? now_ : (now_ / w.answerMs + 1) * w.answerMs;
    if (w.hung || look - now_ > timeoutMs) {
        elapse(timeoutMs);
        return false;
    }
    run(look, order == MessageOrder::Windows ? window : NullWindow);
    now_ = std::max(look, now_ + 1);
    return true;
}

bool FakeWindowSystem::ownThread(WindowHandle window) {
    return exists(window) && windows_[window].ownThread;
}

std::uint32_t FakeWindowSystem::threadId(WindowHandle window) {
    if (!exists(window)) return 0;
    const FakeWindow& w = windows_[window];
    return w.thread != 0 ? w.thread : static_cast<std::uint32_t>(window);
}

bool FakeWindowSystem::show(WindowHandle window, int command) {
    note(window);
    shows.emplace_back(window, command);
    if (log_ != nullptr) log_->add("show " + std::to_string(command));
    const bool wasVisible = exists(window) && windows_[window].visible;
    if (command == win::SwHide && exists(window) && windows_[window].elevated) {
        refused.push_back(window);
        return wasVisible;
    }
    if (deferred(window, [this, window, command] { apply(window, command); })) return wasVisible;
    return apply(window, command);
}

bool FakeWindowSystem::showAsync(WindowHandle window, int command) {
    note(window);
    asyncShows.emplace_back(window, command);
    if (log_ != nullptr) log_->add("show " + std::to_string(command));
    if (!exists(window)) return true;
    if (command == win::SwHide && windows_[window].elevated) return false;
    if (windows_[window].ownThread) {
        apply(window, command);
        return true;
    }
    enqueue(window, [this, window, command] { apply(window, command); });
    return true;
}

std::string FakeWindowSystem::exeName(WindowHandle window) {
    ++queryCount;
    note(window);
    return exists(window) ? windows_[window].exe : std::string();
}

std::vector<WindowHandle> FakeWindowSystem::takeRefused() {
    std::vector<WindowHandle> taken;
    taken.swap(refused);
    return taken;
}

void FakeWindowSystem::moveAsync(WindowHandle window, int x, int y, int width, int height,
                                 bool repaint) {
    note(window);
    if (log_ != nullptr) log_->add("move");
    if (!exists(window)) return;
    enqueue(window, [=, this] { moveNow(window, x, y, width, height, repaint); });
}

bool FakeWindowSystem::isHung(WindowHandle window) {
    ++queryCount;
    note(window);
    return exists(window) && windows_[window].hung && !windows_[window].hungUnnoticed;
}

std::uint32_t FakeWindowSystem::processId(WindowHandle window) {
    ++queryCount;
    note(window);
    return exists(window) ? windows_[window].processId : 0;
}

int FakeWindowSystem::className(WindowHandle window, char* buffer, int size) {
    ++queryCount;
    note(window);
    if (size <= 0) return 0;
    buffer[0] = '\0';
    if (!exists(window)) return 0;
    const std::string& c = windows_[window].className;
    const int n = std::min(static_cast<int>(c.size()), size - 1);
    std::memcpy(buffer, c.data(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
}

bool FakeWindowSystem::programShow(WindowHandle window, int command) {
    return apply(window, command);
}

void FakeWindowSystem::minimiseWindow(FakeWindow& w) {
    if (w.minimised) return;
    w.restoreMaximised = w.maximised;
    w.maximised = false;
    w.maximisedPlacement.reset();
    w.iconSlot = freeIconSlot();
    w.iconPosition.reset();
    w.minimised = true;
}

// ShowWindow. Every command that shows a window which needs showing, or changes its
// state, puts it on top of its band; so does hiding, and SW_SHOWNA even on a visible
// window. Only SW_MINIMIZE keeps the window's place. Returns the previous visibility.
bool FakeWindowSystem::apply(WindowHandle window, int command) {
    if (!exists(window)) return false;
    FakeWindow& w = windows_[window];
    const bool wasVisible = w.visible;
    const bool normal = !w.minimised && !w.maximised;
    switch (command) {
    case win::SwHide:
        if (!wasVisible) break;
        w.visible = false;
        raise(window);
        if (active_ == window) active_ = NullWindow;
        break;
    case win::SwShow:
        if (wasVisible) break;
        w.visible = true;
        activate(window);
        break;
    case win::SwShowNa:
    case win::SwShowNoActivate:
        w.visible = true;
        raise(window);
        break;
    case win::SwShowNormal:
    case win::SwRestore:
        if (wasVisible && normal) break;
        if (w.minimised) {
            w.minimised = false;
            w.maximised = w.restoreMaximised;
        } else {
            w.maximised = false;
            w.maximisedPosition.reset();
        }
        w.restoreMaximised = false;
        w.maximisedPlacement.reset();
        w.visible = true;
        activate(window);
        break;
    case win::SwShowMaximized:
        if (wasVisible && w.maximised && !w.minimised) break;
        w.minimised = false;
        w.restoreMaximised = false;
        w.maximised = true;
        w.maximisedPlacement.reset();
        w.visible = true;
        activate(window);
        break;
    case win::SwMinimize:
    case win::SwShowMinNoActive:
        minimiseWindow(w);
        w.visible = true;
        if (active_ == window) active_ = NullWindow;
        break;
    case win::SwShowMinimized:
        minimiseWindow(w);
        w.visible = true;
        active_ = window;
        break;
    default: break;
    }
    return wasVisible;
}

void FakeWindowSystem::update(WindowHandle window) {
    note(window);
}

void FakeWindowSystem::move(WindowHandle window, int x, int y, int width, int height,
                             bool repaint) {
    note(window);
    if (log_ != nullptr) log_->add("move");
    if (deferred(window, [=, this] { moveNow(window, x, y, width, height, repaint); })) return;
    moveNow(window, x, y, width, height, repaint);
}

void FakeWindowSystem::moveNow(WindowHandle window, int x, int y, int width, int height, bool) {
    if (!exists(window)) return;
    FakeWindow& w = windows_[window];
    const Rect to{x, y, x + width, y + height};
    if (w.minimised) {
        // The title bar keeps its size; the normal position stays.
        w.iconPosition = Point{x, y};
        return;
    }
    if (w.maximised) {
        // Stays maximised and keeps its normal position. As in Wine, the new top-left
        // becomes where SW_SHOWMAXIMIZED places it, unless it is the origin or the
        // default maximised place, which bring the default back.
        w.maximisedPlacement = to;
        const int o = -maximisedOverhang(w);
        const Rect m = monitorOf(w.rect);
        if ((x == m.left && y == m.top) || (x == m.left + o && y == m.top + o)) {
            w.maximisedPosition.reset();
        } else {
            w.maximisedPosition = Point{x, y};
        }
        return;
    }
    w.rect = to;
}

void FakeWindowSystem::minimise(WindowHandle window) {
    note(window);
    if (deferred(window, [this, window] { minimiseWindow(windows_[window]); })) return;
    if (!exists(window)) return;
    minimiseWindow(windows_[window]);
}

void FakeWindowSystem::postMessage(WindowHandle window, unsigned message, std::uintptr_t,
                                   std::intptr_t) {
    note(window);
    posted.emplace_back(window, message);
}

}  // namespace skelvo::testing
