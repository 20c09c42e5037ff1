// The simulated desktop of top-level windows.
#include "tests/fakes/fake_window_system.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace skelvo::testing {

namespace {
// Where the window manager parks a minimised window's rectangle.
constexpr Rect MinimisedRect{-32000, -32000, -31840, -31972};
}  // namespace

FakeWindowSystem::FakeWindowSystem(Rect screen, EventLog* log) : screen_(screen), log_(log) {}

bool FakeWindowSystem::exists(WindowHandle window) const {
    auto it = windows_.find(window);
    return it != windows_.end() && it->second.alive;
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
    const bool topmost = window.topmost;
    windows_[h] = std::move(window);
    // Below every topmost window unless it is topmost itself.
    auto pos = z_.begin();
    if (!topmost) {
        while (pos != z_.end() && windows_[*pos].topmost) ++pos;
    }
    z_.insert(pos, h);
    return h;
}

WindowHandle FakeWindowSystem::addAtBottom(FakeWindow window) {
    const WindowHandle h = next_;
    next_ += 4;
    windows_[h] = std::move(window);
    z_.push_back(h);
    return h;
}

void FakeWindowSystem::destroy(WindowHandle window) {
    if (!exists(window)) return;
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

WindowHandle FakeWindowSystem::relative(WindowHandle window, int relation) {
    ++queryCount;
    if (window == DesktopHandle) {
        if (relation == win::GwChild) return z_.empty() ? NullWindow : z_.front();
        return NullWindow;
    }
    auto it = std::find(z_.begin(), z_.end(), window);
    if (it == z_.end()) return NullWindow;
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
        if (className != nullptr && w.className != className) continue;
        if (title != nullptr && w.title != title) continue;
        return h;
    }
    return NullWindow;
}

bool FakeWindowSystem::isWindow(WindowHandle window) {
    ++queryCount;
    return window == DesktopHandle || exists(window);
}

std::uint32_t FakeWindowSystem::style(WindowHandle window) {
    ++queryCount;
    if (!exists(window)) return 0;
    const FakeWindow& w = windows_[window];
    std::uint32_t s = w.style & ~(win::WsVisible | win::WsMinimize | win::WsMaximize | win::WsDisabled);
    if (w.visible) s |= win::WsVisible;
    if (w.minimised) s |= win::WsMinimize;
    if (w.maximised) s |= win::WsMaximize;
    if (!w.enabled) s |= win::WsDisabled;
    return s;
}

int FakeWindowSystem::text(WindowHandle window, char* buffer, int size) {
    ++queryCount;
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
    ++queryCount;
    return exists(window) && windows_[window].visible;
}

bool FakeWindowSystem::isEnabled(WindowHandle window) {
    ++queryCount;
    return exists(window) && windows_[window].enabled;
}

bool FakeWindowSystem::isIconic(WindowHandle window) {
    ++queryCount;
    return exists(window) && windows_[window].minimised;
}

bool FakeWindowSystem::isZoomed(WindowHandle window) {
    ++queryCount;
    return exists(window) && windows_[window].maximised && !windows_[window].minimised;
}

Rect FakeWindowSystem::rect(WindowHandle window) {
    ++queryCount;
    if (window == DesktopHandle) return screen_;
    if (!exists(window)) return Rect{};
    const FakeWindow& w = windows_[window];
    if (w.minimised) return MinimisedRect;
    if (w.maximised) return screen_;
    return w.rect;
}

Rect FakeWindowSystem::normalRect(WindowHandle window) {
    ++queryCount;
    if (!exists(window)) return Rect{};
    return windows_[window].rect;
}

bool FakeWindowSystem::show(WindowHandle window, int command) {
    shows.emplace_back(window, command);
    if (log_ != nullptr) log_->add("show " + std::to_string(command));
    if (!exists(window)) return false;
    FakeWindow& w = windows_[window];
    const bool wasVisible = w.visible;
    switch (command) {
    case win::SwHide:
        w.visible = false;
        if (active_ == window) active_ = NullWindow;
        break;
    case win::SwShowNormal:
    case win::SwRestore:
        w.visible = true;
        w.minimised = false;
        w.maximised = false;
        activate(window);
        break;
    case win::SwShowMaximized:
        w.visible = true;
        w.minimised = false;
        w.maximised = true;
        activate(window);
        break;
    case win::SwMinimize:
    case win::SwShowMinNoActive:
        w.visible = true;
        w.minimised = true;
        if (active_ == window) active_ = NullWindow;
        break;
    case win::SwShowMinimized:
        w.visible = true;
        w.minimised = true;
        active_ = window;
        break;
    case win::SwShow:
        w.visible = true;
        if (!w.minimised) activate(window);
        break;
    case win::SwShowNa:
    case win::SwShowNoActivate:
        w.visible = true;
        break;
    default: break;
    }
    return wasVisible;
}

void FakeWindowSystem::update(WindowHandle) {}

void FakeWindowSystem::move(WindowHandle window, int x, int y, int width, int height, bool) {
    if (log_ != nullptr) log_->add("move");
    if (!exists(window)) return;
    FakeWindow& w = windows_[window];
    w.rect = Rect{x, y, x + width, y + height};
    // A moved maximised window keeps its state flag but no longer fills the screen.
    w.maximised = false;
}

void FakeWindowSystem::minimise(WindowHandle window) {
    if (!exists(window)) return;
    windows_[window].minimised = true;
}

void FakeWindowSystem::postMessage(WindowHandle window, unsigned message, std::uintptr_t,
                                   std::intptr_t) {
    posted.emplace_back(window, message);
}

}  // namespace skelvo::testing
