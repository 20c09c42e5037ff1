// Desktop records: capture from the live Z order, lookups, and the release at exit.
#include "desktops/virtual_desktop.h"

#include <cctype>
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

// What a capture reads at most once rather than for every window: the windows the filter
// excludes by handle, each looked up only when a window of its class needs the answer, and
// the screen the map scales come from.
struct VirtualDesktop::Scene {
    WindowSystem& ws;
    WindowHandle desktop;
    ScreenOnce& screen;
    std::optional<WindowHandle> found[3];

    Scene(WindowSystem& windows, ScreenOnce& screenOnce)
        : ws(windows), desktop(windows.desktopWindow()), screen(screenOnce) {}

    // FindWindowA of the filter for a window of this kind; null for an ordinary window.
    WindowHandle lookup(ClassKind kind) {
        if (kind == ClassKind::Other) return NullWindow;
        std::optional<WindowHandle>& f = found[static_cast<int>(kind) - 1];
        if (!f) {
            f = kind == ClassKind::ToolTip ? ws.find("tooltips_class32", nullptr)
                : kind == ClassKind::Dialog ? ws.find("#32770", nullptr)
                                            : ws.find(PanelClassName, PanelTitle);
        }
        return *f;
    }
};

namespace {
bool sameClassName(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b)))
            return false;
    }
    return *a == *b;
}
}  // namespace

// Only a window of the tooltip, dialog or panel class can be the one FindWindowA names for
// it, and a window keeps its class for life, so each window's kind is remembered from one
// capture to the next while it stays among the windows the filter's other tests pass.
// (A handle names a later window only after its slot has been reused many thousand times.)
VirtualDesktop::ClassKind VirtualDesktop::kindOf(WindowHandle window) {
    for (const auto& [w, kind] : kinds_) {
        if (w == window) {
            nextKinds_.emplace_back(w, kind);
            return kind;
        }
    }
    char name[64] = {};
    windows_->className(window, name, sizeof name);
    name[sizeof name - 1] = '\0';
    const ClassKind kind = sameClassName(name, "tooltips_class32") ? ClassKind::ToolTip
                           : sameClassName(name, "#32770")         ? ClassKind::Dialog
                           : sameClassName(name, PanelClassName)   ? ClassKind::Panel
                                                                   : ClassKind::Other;
    nextKinds_.emplace_back(window, kind);
    return kind;
}

namespace {
// isManagedWindow's tests of visibility, enabled state, border and caption, on the style
// already read: for a top-level window IsWindowVisible and IsWindowEnabled are exactly its
// WS_VISIBLE and WS_DISABLED bits (as IsIconic and IsZoomed are WS_MINIMIZE and WS_MAXIMIZE).
bool styleAdmits(std::uint32_t style) {
    if ((style & win::WsVisible) == 0 || (style & win::WsDisabled) != 0) return false;
    return hasAllBits(style, win::WsBorder) && hasAllBits(style, win::WsCaption);
}
}  // namespace

// Fills position as assignFromWindow, the list's own fields, updateMapRect and the live
// show state would, from one read each of the style, the text and the rectangle.
bool VirtualDesktop::take(Scene& scene, int position, WindowHandle window) {
    if (window == NullWindow) return false;
    WindowSystem& ws = *windows_;
    const std::uint32_t style = ws.style(window);
    // The filter's tests are pure reads, so their order cannot change the answer: the
    // style's are made first, the text is read only for windows that pass them, and the
    // lookups by handle come last.
    if (!styleAdmits(style)) return false;
    char text[TitleBytes] = {};
    ws.text(window, text, TitleBytes);
    text[TitleBytes - 1] = '\0';
    if (text[0] == '\0') return false;
    if (window == scene.desktop || window == scene.lookup(kindOf(window))) return false;
    WindowEntry& entry = entries[position];
    entry.window = window;
    entry.windowRect = ws.rect(window);
    entry.style = style;
    entry.showState = win::SwShowNa;
    std::memcpy(entry.title, text, TitleBytes);
    entry.captureIndex = position;
    entry.desktopIndex = index;
    entry.updateMapRect(scene.screen.get());
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
    Scene scene(ws, shared != nullptr ? *shared : own);
    int n = 0;
    // The bottom-most window itself is never examined.
    for (auto it = order.rbegin() + 1; it != order.rend() && n < CaptureLimit; ++it) {
        if (take(scene, n, *it)) ++n;
    }
    count = n;
    kinds_.swap(nextKinds_);
    nextKinds_.clear();
}

int VirtualDesktop::captureFrom(WindowHandle start, int relation, int position, int limit) {
    if (windows_ == nullptr) return position;
    if (limit > EntryCapacity) limit = EntryCapacity;
    ScreenOnce screen(*windows_);
    Scene scene(*windows_, screen);
    int n = position;
    WindowHandle h = start;
    while (h != NullWindow && n < limit) {
        h = windows_->relative(h, relation);
        if (take(scene, n, h)) ++n;
    }
    nextKinds_.clear();
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
    VirtualDesktop& captured = desktops[index];
    captured.capture(screen);
    // The capture takes only windows on screen. One that another list still holds was
    // parked there and shown again by its own program: the user sees it here now, so it
    // leaves the list it was parked in and every window stays in one list. The others
    // keep their order, which is their stacking.
    for (VirtualDesktop& other : desktops) {
        if (&other == &captured) continue;
        int kept = 0;
        for (int i = 0; i < other.count; ++i) {
            if (captured.findEntry(other.entries[i].window)) continue;
            if (kept != i) {
                other.entries[kept] = other.entries[i];
                other.entries[kept].captureIndex = kept;
            }
            ++kept;
        }
        other.count = kept;
    }
}

}  // namespace skelvo
