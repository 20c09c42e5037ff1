// Desktop records: capture from the live Z order, lookups, and the release at exit.
#include "desktops/virtual_desktop.h"

#include <cstring>
#include <vector>

namespace skelvo {

namespace {
int showCommandOf(const WindowEntry& entry) {
    return entry.showState == 0 ? win::SwShowNa : entry.showState;
}
}  // namespace

VirtualDesktop::~VirtualDesktop() {
    releaseAll();
}

void VirtualDesktop::reset(WindowSystem& windows, int desktopIndex) {
    windows_ = &windows;
    index = desktopIndex;
    count = 0;
    screenRect = windows.rect(windows.desktopWindow());
    originX = (index % 4) * screenRect.right;
    originY = screenRect.bottom * (index / 4);
}

// What a capture reads once rather than for every window: the windows the filter
// excludes by handle and the screen the map scales come from.
struct VirtualDesktop::Scene {
    WindowHandle toolTip = NullWindow;
    WindowHandle dialog = NullWindow;
    WindowHandle desktop = NullWindow;
    WindowHandle panel = NullWindow;
    Rect screen{};

    Scene(WindowSystem& ws, ScreenOnce& screenOnce)
        : toolTip(ws.find("tooltips_class32", nullptr)),
          dialog(ws.find("#32770", nullptr)),
          desktop(ws.desktopWindow()),
          panel(ws.find(PanelClassName, PanelTitle)),
          screen(screenOnce.get()) {}
};

// isManagedWindow, with visibility, enabled state, minimised and maximised taken from the
// style already read: for a top-level window IsWindowVisible, IsWindowEnabled, IsIconic
// and IsZoomed are exactly its WS_VISIBLE, WS_DISABLED, WS_MINIMIZE and WS_MAXIMIZE bits.
bool VirtualDesktop::managed(const Scene& scene, WindowHandle window, std::uint32_t style,
                             const char* text) const {
    if (window == NullWindow || text[0] == '\0') return false;
    if ((style & win::WsVisible) == 0 || (style & win::WsDisabled) != 0) return false;
    if (!hasAllBits(style, win::WsBorder) || !hasAllBits(style, win::WsCaption)) return false;
    return window != scene.toolTip && window != scene.dialog && window != scene.desktop &&
           window != scene.panel;
}

// Fills position as assignFromWindow, the list's own fields, updateMapRect and the live
// show state would, from one read each of the style, the text and the rectangle.
bool VirtualDesktop::take(const Scene& scene, int position, WindowHandle window) {
    if (window == NullWindow) return false;
    WindowSystem& ws = *windows_;
    const std::uint32_t style = ws.style(window);
    // The filter's tests are pure reads, so their order cannot change the answer: the
    // style's are made first and the text is read only for windows that pass them.
    const char none[1] = {'x'};
    if (!managed(scene, window, style, none)) return false;
    char text[TitleBytes] = {};
    ws.text(window, text, TitleBytes);
    text[TitleBytes - 1] = '\0';
    if (text[0] == '\0') return false;
    WindowEntry& entry = entries[position];
    entry.window = window;
    entry.windowRect = ws.rect(window);
    entry.style = style;
    entry.showState = win::SwShowNa;
    std::memcpy(entry.title, text, TitleBytes);
    entry.captureIndex = position;
    entry.desktopIndex = index;
    entry.updateMapRect(scene.screen);
    entry.setShowState((style & win::WsMinimize) != 0   ? win::SwMinimize
                       : (style & win::WsMaximize) != 0 ? win::SwShowMaximized
                                                        : win::SwShowNormal);
    return true;
}

// The walk from the window above the bottom-most one up to the top, as the Z order stands
// at one moment: one read of the whole order rather than one call per step.
void VirtualDesktop::capture(ScreenOnce* shared) {
    if (windows_ == nullptr) return;
    WindowSystem& ws = *windows_;
    std::vector<WindowHandle> order;
    order.reserve(64);
    ws.topLevelWindows(order);
    if (order.empty()) return;
    ScreenOnce own(ws);
    const Scene scene(ws, shared != nullptr ? *shared : own);
    int n = 0;
    // The bottom-most window itself is never examined.
    for (auto it = order.rbegin() + 1; it != order.rend() && n < CaptureLimit; ++it) {
        if (take(scene, n, *it)) ++n;
    }
    count = n;
}

int VirtualDesktop::captureFrom(WindowHandle start, int relation, int position, int limit) {
    if (windows_ == nullptr) return position;
    if (limit > EntryCapacity) limit = EntryCapacity;
    ScreenOnce screen(*windows_);
    const Scene scene(*windows_, screen);
    int n = position;
    WindowHandle h = start;
    while (h != NullWindow && n < limit) {
        h = windows_->relative(h, relation);
        if (take(scene, n, h)) ++n;
    }
    return n;
}

std::optional<WindowEntry> VirtualDesktop::findEntry(WindowHandle window) const {
    for (int i = 0; i < count; ++i) {
        if (entries[i].window == window) return entries[i];
    }
    return std::nullopt;
}

WindowHandle VirtualDesktop::windowAtMapPoint(int x, int y) const {
    if (windows_ == nullptr) return NullWindow;
    for (int i = count - 1; i >= 0; --i) {
        if (!entries[i].containsMapPoint(*windows_, x, y)) continue;
        // The hit entry names its window through captureIndex; an index outside the valid
        // entries would read a stale record, so it counts as no hit.
        const int s = entries[i].captureIndex;
        if (s < 0 || s >= count) return NullWindow;
        return entries[s].window;
    }
    return NullWindow;
}

void VirtualDesktop::releaseAll() {
    if (windows_ != nullptr) {
        for (int i = count - 1; i >= 0; --i) {
            windows_->show(entries[i].window, showCommandOf(entries[i]));
            windows_->update(entries[i].window);
        }
    }
    count = 0;
}

void refreshDesktop(DesktopArray& desktops, int index, ScreenOnce* screen) {
    if (index < 0 || index >= DesktopCount) return;
    desktops[index].capture(screen);
}

}  // namespace skelvo
