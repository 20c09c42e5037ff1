// Desktop switching and moving windows between desktops.
#include "desktops/switching.h"

namespace skelvo {

namespace {
constexpr int FunctionDesktopMode = 17;
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
    leaving.capture();
    for (int i = 0; i < leaving.count; ++i) ws->show(leaving.entries[i].window, win::SwHide);

    VirtualDesktop& entering = desktops[currentDesktop];
    for (int i = entering.count - 1; i >= 0; --i) {
        const WindowEntry& e = entering.entries[i];
        ws->show(e.window, e.showState == 0 ? win::SwShowNa : e.showState);
        ws->update(e.window);
    }
    return 1;
}

int moveWindowToDesktop(WindowHandle window, int cell, int source, int currentDesktop,
                        DesktopArray& desktops) {
    if (cell < 1 || cell > DesktopCount || source < 0 || source >= DesktopCount) return 0;
    const int target = cell - 1;
    VirtualDesktop& from = desktops[source];
    VirtualDesktop& to = desktops[target];
    WindowSystem* ws = from.windowSystem();
    if (ws == nullptr || window == NullWindow) return 0;

    // A window its source no longer lists stays where it is, in every list.
    std::optional<WindowEntry> found = from.findEntry(window);
    if (!found) return 0;
    // A full target refuses the window rather than hide it without a list that holds it.
    if (target != source && to.count >= EntryCapacity) return 0;

    const Rect screen = ws->rect(ws->desktopWindow());
    int dx = (source % 4 - target % 4) * screen.right;
    int dy = (source / 4 - target / 4) * screen.bottom;
    if (ws->isZoomed(window)) {
        const Rect r = ws->rect(window);
        dx = -r.left;
        dy = -r.top;
    }

    WindowEntry entry = *found;
    ws->move(entry.window, entry.windowRect.left + dx, entry.windowRect.top + dy,
             entry.windowRect.width(), entry.windowRect.height(), true);
    entry.windowRect = ws->rect(window);
    entry.desktopIndex = target;
    entry.updateMapRect(*ws);

    if (target == source) {
        // The window keeps its place in its own list, with its new rectangle.
        for (int i = 0; i < from.count; ++i) {
            if (from.entries[i].window == window) {
                entry.captureIndex = i;
                from.entries[i] = entry;
                break;
            }
        }
        ws->show(window, win::SwHide);
    } else {
        entry.captureIndex = to.count;
        to.entries[to.count] = entry;
        ++to.count;
        ws->show(window, win::SwHide);
        // Fill each gap with the last entry, which takes the gap's position as its own.
        for (int i = 0; i < from.count; ++i) {
            if (from.entries[i].window != window) continue;
            --from.count;
            from.entries[i] = from.entries[from.count];
            from.entries[i].captureIndex = i;
        }
    }
    if (target == currentDesktop) ws->show(window, win::SwShow);
    return 1;
}

}  // namespace skelvo
