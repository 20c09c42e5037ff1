// The monitors and the virtual screen that spans them.
#include <algorithm>
#include <cstdint>

#include "desktops/window_system.h"

namespace skelvo {

namespace {

std::int64_t overlap(Rect a, Rect b) {
    const std::int64_t w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const std::int64_t h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance from r to the monitor m along each axis; 0 where they overlap.
std::int64_t distance(Rect r, Rect m) {
    const std::int64_t dx = std::max({0, m.left - r.right, r.left - m.right});
    const std::int64_t dy = std::max({0, m.top - r.bottom, r.top - m.bottom});
    return dx * dx + dy * dy;
}

}  // namespace

Rect ScreenLayout::primary() const {
    for (const Monitor& m : monitors)
        if (m.primary) return m.rect;
    return monitors.empty() ? box : monitors.front().rect;
}

Rect ScreenLayout::nearest(Rect r) const {
    if (monitors.size() <= 1) return primary();
    const Monitor* best = nullptr;
    std::int64_t bestArea = 0;
    for (const Monitor& m : monitors) {
        const std::int64_t a = overlap(r, m.rect);
        if (a > bestArea) {
            bestArea = a;
            best = &m;
        }
    }
    if (best != nullptr) return best->rect;
    std::int64_t bestDistance = INT64_MAX;
    for (const Monitor& m : monitors) {
        const std::int64_t d = distance(r, m.rect);
        if (d < bestDistance) {
            bestDistance = d;
            best = &m;
        }
    }
    return best->rect;
}

namespace {
// The part of a title bar that must show on a monitor for the pointer to take it.
constexpr int TitleBarHeight = 20;
constexpr int GripWidth = 40;
constexpr int GripHeight = 8;
constexpr int MinimisedPlace = -32000;
}  // namespace

std::optional<Rect> placeInReach(const ScreenLayout& screen, Rect window) {
    if (window.left <= MinimisedPlace && window.top <= MinimisedPlace) return std::nullopt;
    const Rect bar{window.left, window.top, window.right,
                   window.top + std::min(TitleBarHeight, std::max(window.height(), 1))};
    for (const Monitor& m : screen.monitors) {
        const int w = std::min(bar.right, m.rect.right) - std::max(bar.left, m.rect.left);
        const int h = std::min(bar.bottom, m.rect.bottom) - std::max(bar.top, m.rect.top);
        // Enough of the bar on one monitor to take hold of.
        if (h >= std::min(GripHeight, bar.height()) && w >= std::min(GripWidth, bar.width()))
            return std::nullopt;
    }
    const Rect m = screen.nearest(window);
    const int width = std::min(window.width(), m.width());
    const int height = std::min(window.height(), m.height());
    const int left = std::clamp(window.left, m.left, m.right - width);
    const int top = std::clamp(window.top, m.top, m.bottom - height);
    return Rect{left, top, left + width, top + height};
}

ScreenLayout readScreen(WindowSystem& ws) {
    ScreenLayout layout;
    ws.monitors(layout.monitors);
    if (layout.monitors.empty()) {
        layout.monitors.push_back(Monitor{ws.rect(ws.desktopWindow()), true});
        layout.box = layout.monitors.front().rect;
        return layout;
    }
    layout.box = ws.virtualScreen();
    if (layout.box.width() <= 0 || layout.box.height() <= 0) {
        layout.box = layout.monitors.front().rect;
        for (const Monitor& m : layout.monitors) {
            layout.box.left = std::min(layout.box.left, m.rect.left);
            layout.box.top = std::min(layout.box.top, m.rect.top);
            layout.box.right = std::max(layout.box.right, m.rect.right);
            layout.box.bottom = std::max(layout.box.bottom, m.rect.bottom);
        }
    }
    return layout;
}

}  // namespace skelvo
