// Pins: the windows kept on screen on every desktop.
#include "desktops/pinned_windows.h"

#include <algorithm>

#include "desktops/owned_windows.h"

namespace skelvo {

bool PinnedWindows::holds(WindowHandle window) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const WindowEntry& e) { return e.window == window; });
}

WindowHandle PinnedWindows::onChainOf(WindowSystem& windows, WindowHandle window) const {
    if (entries_.empty()) return NullWindow;
    for (int step = 0; step <= OwnerChainLimit && window != NullWindow; ++step) {
        if (holds(window)) return window;
        window = windows.relative(window, win::GwOwner);
    }
    return NullWindow;
}

void PinnedWindows::add(WindowSystem& windows, WindowHandle window) {
    if (window == NullWindow || holds(window)) return;
    WindowEntry entry;
    entry.window = window;
    entries_.push_back(entry);
    refresh(windows);
}

void PinnedWindows::remove(WindowHandle window) {
    std::erase_if(entries_, [&](const WindowEntry& e) { return e.window == window; });
}

void PinnedWindows::refresh(WindowSystem& windows) {
    // A closed window's handle may name another window later: its pin goes with it.
    std::erase_if(entries_, [&](const WindowEntry& e) { return !windows.isWindow(e.window); });
    for (WindowEntry& e : entries_) {
        e.assignFromWindow(windows, e.window);
        e.setShowState(liveShowState(windows, e.window));
    }
}

std::vector<WindowEntry> PinnedWindows::inCell(int desktop, const ScreenLayout& screen) const {
    std::vector<WindowEntry> cell;
    for (const WindowEntry& e : entries_) {
        if ((e.style & win::WsVisible) == 0) continue;
        WindowEntry placed = e;
        placed.desktopIndex = desktop;
        placed.updateMapRect(screen);
        cell.push_back(placed);
    }
    return cell;
}

}  // namespace skelvo
