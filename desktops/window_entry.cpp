// The managed-window filter and the window entry's map geometry.
#include "desktops/window_entry.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "desktops/owned_windows.h"

namespace skelvo {

bool hasAllBits(std::uint32_t value, std::uint32_t mask) {
    return (value & mask) == mask;
}

bool windowHasStyle(WindowSystem& windows, WindowHandle window, std::uint32_t mask) {
    return hasAllBits(windows.style(window), mask);
}

namespace {

// Whether an open, enabled window's owner chain reaches window: its modal dialog, which
// disables it while it is open.
bool heldOpen(WindowSystem& windows, WindowHandle window) {
    std::vector<WindowHandle> order;
    windows.topLevelWindows(order);
    for (WindowHandle w : order) {
        if (w == window || !windows.isVisible(w) || !windows.isEnabled(w)) continue;
        if (ownerChainReaches(windows, w, window)) return true;
    }
    return false;
}

bool isOwnDialog(WindowSystem& windows, WindowHandle window) {
    char name[64] = {};
    windows.className(window, name, sizeof name);
    name[sizeof name - 1] = '\0';
    return sameClassName(name, DialogClassName) &&
           windows.processId(window) == windows.currentProcessId();
}

// The filter's tests on the window alone.
bool passesFilter(WindowSystem& windows, WindowHandle window) {
    if (window == NullWindow) return false;
    const std::uint32_t style = windows.style(window);
    char text[TitleBytes] = {};
    windows.text(window, text, TitleBytes);
    if (text[0] == '\0') return false;
    if (!windows.isVisible(window)) return false;
    if (!windows.isEnabled(window) && !heldOpen(windows, window)) return false;
    if (!hasAllBits(style, win::WsBorder)) return false;
    if (!hasAllBits(style, win::WsCaption)) return false;
    if (window == windows.find("tooltips_class32", nullptr)) return false;
    if (isOwnDialog(windows, window)) return false;
    if (window == windows.desktopWindow()) return false;
    if (window == windows.find(PanelClassName, PanelTitle)) return false;
    return true;
}

}  // namespace

bool isManagedWindow(WindowSystem& windows, WindowHandle window) {
    if (!passesFilter(windows, window)) return false;
    // A window whose owner chain reaches one that passes goes with that one.
    WindowHandle w = window;
    for (int step = 0; step < OwnerChainLimit; ++step) {
        w = windows.relative(w, win::GwOwner);
        if (w == NullWindow) break;
        if (passesFilter(windows, w)) return false;
    }
    return true;
}

WindowHandle firstManagedWindow(WindowSystem& windows) {
    for (WindowHandle w = windows.relative(windows.desktopWindow(), win::GwChild); w != NullWindow;
         w = windows.relative(w, win::GwHwndNext)) {
        if (isManagedWindow(windows, w)) return w;
    }
    return NullWindow;
}

int liveShowState(WindowSystem& windows, WindowHandle window) {
    if (windows.isIconic(window)) return win::SwMinimize;
    if (windows.isZoomed(window)) return win::SwShowMaximized;
    return win::SwShowNormal;
}

double mapScale(int screenExtent, int cellExtent) {
    const int scale = screenExtent / cellExtent;
    return scale > 0 ? static_cast<double>(scale) : 1.0;
}

void WindowEntry::assignFromWindow(WindowSystem& windows, WindowHandle handle) {
    window = handle;
    windowRect = windows.rect(handle);
    style = windows.style(handle);
    showState = win::SwShowNa;
    title[0] = '\0';
    windows.text(handle, title, TitleBytes);
    title[TitleBytes - 1] = '\0';
    updateMapRect(windows);
}

void WindowEntry::updateMapRect(WindowSystem& windows) {
    updateMapRect(readScreen(windows));
}

namespace {
int floorDiv(std::int64_t a, std::int64_t b) {
    return static_cast<int>(a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0));
}
}  // namespace

void WindowEntry::updateMapRect(const ScreenLayout& screen) {
    const Rect box = screen.box;
    scaleX = mapScale(box.width(), 50);
    scaleY = mapScale(box.height(), 40);
    const int column = desktopIndex % 4;
    const int row = desktopIndex / 4;
    const int originX = 50 * column + 2;
    const int originY = 40 * row + 2;
    // Casting truncates toward zero, as the map needs for windows left of or above the screen.
    mapRect.left = static_cast<int>((windowRect.left - box.left) / scaleX) + originX;
    mapRect.top = static_cast<int>((windowRect.top - box.top) / scaleY) + originY;
    mapRect.right = static_cast<int>((windowRect.right - box.left) / scaleX) + originX;
    mapRect.bottom = static_cast<int>((windowRect.bottom - box.top) / scaleY) + originY;
    if (screen.several() && box.width() > 0 && box.height() > 0) {
        // One monitor's windows may reach into the next cell, as they always have; with
        // several, a window past one monitor's edge is on another, still in its own tile.
        // Only a window wholly outside its tile, as a dragged one may be, shows in the cell
        // of the tile that holds its centre.
        int c = column;
        int r = row;
        const bool inTile = windowRect.right > box.left && windowRect.left < box.right &&
                            windowRect.bottom > box.top && windowRect.top < box.bottom;
        if (!inTile) {
            const std::int64_t cx =
                (std::int64_t{windowRect.left} + windowRect.right) / 2 - box.left;
            const std::int64_t cy =
                (std::int64_t{windowRect.top} + windowRect.bottom) / 2 - box.top;
            c = std::clamp(column + floorDiv(cx, box.width()), 0, 3);
            r = std::clamp(row + floorDiv(cy, box.height()), 0, 2);
        }
        mapRect.left = std::max(mapRect.left, 50 * c + 2);
        mapRect.top = std::max(mapRect.top, 40 * r + 2);
        mapRect.right = std::min(mapRect.right, 50 * c + 52);
        mapRect.bottom = std::min(mapRect.bottom, 40 * r + 42);
        if (mapRect.right <= mapRect.left || mapRect.bottom <= mapRect.top) mapRect = NoMapRect;
        return;
    }
    if (mapRect.left < 0) mapRect.left = 0;
    if (mapRect.top < 0) mapRect.top = 0;
    if (mapRect.right > MapRight) mapRect.right = MapRight;
    if (mapRect.bottom > MapBottom) mapRect.bottom = MapBottom;
}

bool WindowEntry::containsMapPoint(WindowSystem& windows, int x, int y) const {
    if (showState == win::SwMinimize || windows.isIconic(window)) return false;
    return mapRect.left <= x && x <= mapRect.right && mapRect.top <= y && y <= mapRect.bottom;
}

bool WindowEntry::setShowState(int state) {
    if (style == 0 || state == 0) return false;
    showState = state;
    return true;
}

}  // namespace skelvo
