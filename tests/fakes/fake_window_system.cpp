// The simulated desktop of top-level windows. Its rules follow what the window contract
// (tests/contract/window_contract.cpp) observes on Win32 under Wine.
#include "tests/fakes/fake_window_system.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

namespace skelvo::testing {

FakeWindowSystem::FakeWindowSystem(Rect screen, EventLog* log) : screen_(screen), log_(log) {}

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
    const Point origin = w.maximisedPosition.value_or(Point{-overhang, -overhang});
    return Rect{origin.x, origin.y, origin.x + screen_.width() + 2 * overhang,
                origin.y + screen_.height() + 2 * overhang};
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
    const std::uint32_t s = liveStyle(window);
    const auto it = requested_.find(window);
    if (s == 0 || it == requested_.end()) return s;
    switch (it->second) {
    case win::SwHide: return s & ~win::WsVisible;
    case win::SwShowNormal:
    case win::SwRestore: return (s | win::WsVisible) & ~(win::WsMinimize | win::WsMaximize);
    case win::SwShowMaximized: return (s | win::WsVisible | win::WsMaximize) & ~win::WsMinimize;
    case win::SwMinimize:
    case win::SwShowMinimized:
    case win::SwShowMinNoActive: return s | win::WsVisible | win::WsMinimize;
    default: return s | win::WsVisible;
    }
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
    const std::string& t = windows_[window].title;
    const int n = std::min(static_cast<int>(t.size()), size - 1);
    std::memcpy(buffer, t.data(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
}

bool FakeWindowSystem::isVisible(WindowHandle window) {
    if (requested_.count(window) != 0) return (style(window) & win::WsVisible) != 0;
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
    if (requested_.count(window) != 0) return (style(window) & win::WsMinimize) != 0;
    ++queryCount;
    note(window);
    return exists(window) && windows_[window].minimised;
}

bool FakeWindowSystem::isZoomed(WindowHandle window) {
    if (requested_.count(window) != 0)
        return (style(window) & (win::WsMinimize | win::WsMaximize)) == win::WsMaximize;
    ++queryCount;
    note(window);
    return exists(window) && windows_[window].maximised && !windows_[window].minimised;
}

Rect FakeWindowSystem::rect(WindowHandle window) {
    ++queryCount;
    note(window);
    if (window == DesktopHandle) return screen_;
    if (!exists(window)) return Rect{};
    if (const auto moved = requestedRect_.find(window); moved != requestedRect_.end())
        return moved->second;
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
    if (const auto moved = requestedRect_.find(window);
        moved != requestedRect_.end() && (style(window) & (win::WsMinimize | win::WsMaximize)) == 0)
        return moved->second;
    return windows_[window].rect;
}

bool FakeWindowSystem::deferred(WindowHandle window, std::function<void()> call) {
    if (!exists(window) || !windows_[window].hung) return false;
    pending_[window].push_back(std::move(call));
    return true;
}

void FakeWindowSystem::wake(WindowHandle window) {
    if (!exists(window)) return;
    windows_[window].hung = false;
    auto calls = std::move(pending_[window]);
    pending_.erase(window);
    requested_.erase(window);
    requestedRect_.erase(window);
    for (auto& call : calls) call();
}

bool FakeWindowSystem::show(WindowHandle window, int command) {
    note(window);
    shows.emplace_back(window, command);
    if (log_ != nullptr) log_->add("show " + std::to_string(command));
    const bool wasVisible = exists(window) && windows_[window].visible;
    if (deferred(window, [this, window, command] { apply(window, command); })) {
        requested_[window] = command;
        return wasVisible;
    }
    return apply(window, command);
}

void FakeWindowSystem::showAsync(WindowHandle window, int command) {
    note(window);
    asyncShows.emplace_back(window, command);
    if (deferred(window, [this, window, command] { apply(window, command); })) {
        requested_[window] = command;
        return;
    }
    apply(window, command);
}

bool FakeWindowSystem::isHung(WindowHandle window) {
    ++queryCount;
    note(window);
    return exists(window) && windows_[window].hung;
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

void FakeWindowSystem::move(WindowHandle window, int x, int y, int width, int height, bool) {
    note(window);
    if (log_ != nullptr) log_->add("move");
    if (deferred(window, [=, this] { move(window, x, y, width, height, true); })) {
        requestedRect_[window] = Rect{x, y, x + width, y + height};
        return;
    }
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
        if ((x == 0 && y == 0) || (x == o && y == o)) {
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
    if (deferred(window, [this, window] { minimise(window); })) {
        requested_[window] = win::SwMinimize;
        return;
    }
    if (!exists(window)) return;
    minimiseWindow(windows_[window]);
}

void FakeWindowSystem::postMessage(WindowHandle window, unsigned message, std::uintptr_t,
                                   std::intptr_t) {
    note(window);
    posted.emplace_back(window, message);
}

}  // namespace skelvo::testing
