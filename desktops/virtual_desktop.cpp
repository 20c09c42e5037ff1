// Desktop records: capture from the live Z order, lookups, and the release at exit.
#include "desktops/virtual_desktop.h"

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

void VirtualDesktop::fill(int position, WindowHandle window) {
    WindowEntry& entry = entries[position];
    entry.assignFromWindow(*windows_, window);
    entry.captureIndex = position;
    entry.desktopIndex = index;
    entry.updateMapRect(*windows_);
    entry.setShowState(liveShowState(*windows_, window));
}

void VirtualDesktop::capture() {
    if (windows_ == nullptr) return;
    WindowSystem& ws = *windows_;
    const WindowHandle bottom =
        ws.relative(ws.relative(ws.desktopWindow(), win::GwChild), win::GwHwndLast);
    if (bottom == NullWindow) return;
    // The bottom-most window itself is never examined.
    const WindowHandle first = ws.relative(bottom, win::GwHwndPrev);
    int n = 0;
    if (isManagedWindow(ws, first)) {
        fill(0, first);
        n = 1;
    }
    count = captureFrom(first, win::GwHwndPrev, n, CaptureLimit);
}

int VirtualDesktop::captureFrom(WindowHandle start, int relation, int position, int limit) {
    if (windows_ == nullptr) return position;
    if (limit > EntryCapacity) limit = EntryCapacity;
    int n = position;
    WindowHandle h = start;
    while (h != NullWindow && n < limit) {
        h = windows_->relative(h, relation);
        if (isManagedWindow(*windows_, h)) {
            fill(n, h);
            ++n;
        }
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

void refreshDesktop(DesktopArray& desktops, int index) {
    if (index < 0 || index >= DesktopCount) return;
    desktops[index].capture();
}

}  // namespace skelvo
