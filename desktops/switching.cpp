// Desktop switching and moving windows between desktops.
#include "desktops/switching.h"

#include <algorithm>
#include <vector>

namespace skelvo {

namespace {
constexpr int FunctionDesktopMode = 17;
constexpr int GridColumns = 4;
}

int selectCell(int cell, int functionMode, int& currentDesktop, int& selectedSlot,
               DesktopArray& desktops) {
    if (cell < 1 || cell > DesktopCount) return 0;
    if (functionMode != FunctionDesktopMode) {
        selectedSlot = cell - 1;
        return 1;
    }
    const int old = currentDesktop;
    currentDesktop = cell - 1;
    if (currentDesktop == old) return 1;

    VirtualDesktop& leaving = desktops[old];
    WindowSystem* ws = leaving.windowSystem();
    if (ws == nullptr) return 1;
    // Capture first, so windows opened since the last refresh leave with this desktop.
    refreshDesktop(desktops, old);
    std::vector<WindowHandle> hides;
    hides.reserve(static_cast<std::size_t>(leaving.count + leaving.owned.count));
    for (int i = 0; i < leaving.count; ++i) {
        const WindowHandle w = leaving.entries[i].window;
        for (int k = 0; k < leaving.owned.count; ++k)  // its dialogs first, as hideOwned does
            if (leaving.owned.items[k].owner == w) hides.push_back(leaving.owned.items[k].window);
        hides.push_back(w);
    }
    ws->hideEach(hides);
    pinRefusedHides(desktops);

    VirtualDesktop& entering = desktops[currentDesktop];
    ScreenOnce screen(*ws);
    for (int i = entering.count - 1; i >= 0; --i) {
        WindowEntry& e = entering.entries[i];
        keepInReach(*ws, screen, e);
        showWithOwned(*ws, entering.owned, e.window,
                      e.showState == 0 ? win::SwShowNa : e.showState);
        ws->update(e.window);
    }
    return 1;
}

namespace {

// Takes every entry of window out of the desktop's list: the last valid entry fills each
// gap and is not examined again. extra stands for an entry appended beyond the 32th
// position, which only a full desktop's drop into itself produces.
void removeWindow(VirtualDesktop& desktop, WindowHandle window, const WindowEntry* extra) {
    int n = desktop.count + (extra != nullptr ? 1 : 0);
    for (int i = 0; i < n && i < EntryCapacity; ++i) {
        if (window == NullWindow || desktop.entries[i].window != window) continue;
        --n;
        desktop.entries[i] = n < EntryCapacity ? desktop.entries[n] : *extra;
        desktop.entries[i].captureIndex = i;
    }
    desktop.count = std::min(n, EntryCapacity);
}

// Moved whatever its rectangle reads: a maximised window's moves cannot be read back, and
// one of a busy program may still be on its way to the other tile.
void putBack(WindowSystem& ws, VirtualDesktop& from, WindowHandle window, Rect origin) {
    if (!ws.isWindow(window)) return;
    ws.move(window, origin.left, origin.top, origin.width(), origin.height(), true);
    for (int i = 0; i < from.count; ++i) {
        if (from.entries[i].window != window) continue;
        from.entries[i].windowRect = ws.rect(window);
        from.entries[i].updateMapRect(ws);
    }
}

}  // namespace

void sendListedWindow(DesktopArray& desktops, WindowHandle window, int source, int target) {
    if (source < 0 || source >= DesktopCount || target < 0 || target >= DesktopCount) return;
    VirtualDesktop& from = desktops[source];
    WindowSystem* ws = from.windowSystem();
    WindowEntry* entry = nullptr;
    for (int i = 0; i < from.count && entry == nullptr; ++i)
        if (from.entries[i].window == window) entry = &from.entries[i];
    if (ws == nullptr || entry == nullptr) return;
    // A drop finds the window dragged into the target's tile of the virtual screen and
    // moves it back by whole tiles; recorded in that tile, the window keeps its place.
    // A maximised one is put where it is maximised, from where it stands: shifted as well,
    // it would end a whole screen away.
    if (!ws->isZoomed(window)) {
        const Rect box = readScreen(*ws).box;
        const int dx = (target % GridColumns - source % GridColumns) * box.width();
        const int dy = (target / GridColumns - source / GridColumns) * box.height();
        Rect& r = entry->windowRect;
        r = Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    }
    moveWindowToDesktop(window, target + 1, source, source, desktops);
}

void cancelWindowDrop(WindowHandle window, int source, DesktopArray& desktops, Rect origin) {
    if (source < 0 || source >= DesktopCount || window == NullWindow) return;
    if (WindowSystem* ws = desktops[source].windowSystem())
        putBack(*ws, desktops[source], window, origin);
}

int moveWindowToDesktop(WindowHandle window, int cell, int source, int currentDesktop,
                        DesktopArray& desktops, std::optional<Rect> origin) {
    if (cell < 1 || cell > DesktopCount || source < 0 || source >= DesktopCount) return 1;
    const int target = cell - 1;
    VirtualDesktop& from = desktops[source];
    VirtualDesktop& to = desktops[target];
    WindowSystem* ws = from.windowSystem();
    if (ws == nullptr || window == NullWindow) return 1;

    // A window its source no longer lists (closed during the drag and dropped by a
    // refresh), or one that a full desktop refuses (hiding it would leave it in no list),
    // changes no list. The drag may have left it in the target's tile, off screen and out
    // of reach of the map, so it goes back where the drag found it.
    const std::optional<WindowEntry> found = from.findEntry(window);
    if (!found || (target != source && to.count >= EntryCapacity)) {
        if (origin) putBack(*ws, from, window, *origin);
        return 1;
    }

    // Every desktop is one tile of the virtual screen, the box of all monitors, so a whole
    // tile's shift keeps the window on the monitor it was dragged over.
    const ScreenLayout screen = readScreen(*ws);
    int dx = (source % 4 - target % 4) * screen.box.width();
    int dy = (source / 4 - target / 4) * screen.box.height();
    if (ws->isZoomed(window)) {
        // Maximised at the top-left of its own monitor, where the drag found it.
        const Rect r = ws->rect(window);
        const Rect monitor = screen.nearest(origin.value_or(r));
        dx = monitor.left - r.left;
        dy = monitor.top - r.top;
    }

    WindowEntry entry = *found;
    ws->move(entry.window, entry.windowRect.left + dx, entry.windowRect.top + dy,
             entry.windowRect.width(), entry.windowRect.height(), true);
    entry.windowRect = ws->rect(window);
    entry.desktopIndex = target;
    entry.updateMapRect(*ws);

    // Append, then remove the window's entries from the source. In its own desktop the
    // removal puts the appended copy into the window's old place, so count and position
    // stay. captureIndex names the entry's own position after every append and gap copy.
    const WindowEntry* extra = nullptr;
    if (to.count < EntryCapacity) {
        entry.captureIndex = to.count;
        to.entries[to.count] = entry;
        ++to.count;
    } else {
        extra = &entry;  // only a full desktop's drop into itself gets here
    }
    ws->show(window, win::SwHide);
    removeWindow(from, window, extra);
    if (target == currentDesktop) ws->show(window, win::SwShow);
    // Its dialogs go along, and are hidden or shown above it as it is.
    carryOwned(*ws, from.owned, to.owned, window, source == currentDesktop,
               target == currentDesktop);
    pinRefusedHides(desktops);
    return 1;
}

}  // namespace skelvo
