// Desktop records: capture from the live Z order, lookups, and the release at exit.
#include "desktops/virtual_desktop.h"

#include "desktops/switching.h"

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
    takeScreen(readScreen(windows));
}

void VirtualDesktop::takeScreen(const ScreenLayout& screen) {
    screenRect = screen.box;
    originX = (index % 4) * screenRect.width();
    originY = screenRect.height() * (index / 4);
}

// What a capture reads at most once rather than for every window: the windows the filter
// excludes by handle, each looked up only when a window of its class needs the answer, and
// the screen the map scales come from.
struct VirtualDesktop::Scene {
    WindowSystem& ws;
    WindowHandle desktop;
    ScreenOnce& screen;
    std::optional<WindowHandle> found[2];

    Scene(WindowSystem& windows, ScreenOnce& screenOnce)
        : ws(windows), desktop(windows.desktopWindow()), screen(screenOnce) {}

    // Whether the filter excludes a window of this kind: the panel's own dialogs always,
    // the tooltip and the panel when FindWindowA names them.
    bool excludes(WindowHandle window, ClassKind kind) {
        if (kind == ClassKind::OwnDialog) return true;
        if (kind != ClassKind::ToolTip && kind != ClassKind::Panel) return false;
        std::optional<WindowHandle>& f = found[kind == ClassKind::ToolTip ? 0 : 1];
        if (!f) {
            f = kind == ClassKind::ToolTip ? ws.find("tooltips_class32", nullptr)
                                           : ws.find(PanelClassName, PanelTitle);
        }
        return window == *f;
    }
};

// Only a window of the tooltip, dialog or panel class can be the one FindWindowA names for
// it, and a window keeps its class for life, so each window's kind is remembered from one
// capture to the next while it stays among the windows the filter's other tests pass.
// (A handle names a later window only after its slot has been reused many thousand times.)
VirtualDesktop::ClassKind VirtualDesktop::kindOf(WindowHandle window) {
    for (const auto& [w, kind] : nextKinds_) {
        if (w == window) return kind;
    }
    for (const auto& [w, kind] : kinds_) {
        if (w == window) {
            nextKinds_.emplace_back(w, kind);
            return kind;
        }
    }
    char name[64] = {};
    windows_->className(window, name, sizeof name);
    name[sizeof name - 1] = '\0';
    // A window keeps its process for life as it keeps its class.
    const ClassKind kind = sameClassName(name, "tooltips_class32") ? ClassKind::ToolTip
                           : sameClassName(name, "#32768")         ? ClassKind::Menu
                           : sameClassName(name, PanelClassName)   ? ClassKind::Panel
                           : sameClassName(name, DialogClassName) &&
                                   windows_->processId(window) == windows_->currentProcessId()
                               ? ClassKind::OwnDialog
                               : ClassKind::Other;
    nextKinds_.emplace_back(window, kind);
    return kind;
}

namespace {
// isManagedWindow's tests of visibility, enabled state, border and caption, on the style
// already read: for a top-level window IsWindowVisible and IsWindowEnabled are exactly its
// WS_VISIBLE and WS_DISABLED bits (as IsIconic and IsZoomed are WS_MINIMIZE and WS_MAXIMIZE).
// held: an enabled owned window of it is open, which may be all that disables it.
bool styleAdmits(std::uint32_t style, bool held) {
    if ((style & win::WsVisible) == 0 || ((style & win::WsDisabled) != 0 && !held)) return false;
    return hasAllBits(style, win::WsBorder) && hasAllBits(style, win::WsCaption);
}
}  // namespace

// Fills position as assignFromWindow, the list's own fields, updateMapRect and the live
// show state would, from one read each of the style, the text and the rectangle.
bool VirtualDesktop::admits(Scene& scene, WindowHandle window, std::uint32_t style, bool held,
                            char (&text)[TitleBytes]) {
    // The filter's tests are pure reads, so their order cannot change the answer: the
    // style's are made first, the text is read only for windows that pass them, and the
    // lookups by handle come last.
    if (!styleAdmits(style, held)) return false;
    windows_->text(window, text, TitleBytes);
    text[TitleBytes - 1] = '\0';
    if (text[0] == '\0') return false;
    return window != scene.desktop && !scene.excludes(window, kindOf(window));
}

bool VirtualDesktop::take(Scene& scene, int position, WindowHandle window) {
    if (window == NullWindow) return false;
    const std::uint32_t style = windows_->style(window);
    char text[TitleBytes] = {};
    if (!admits(scene, window, style, false, text)) return false;
    fill(scene, position, window, style, text);
    return true;
}

void VirtualDesktop::fill(Scene& scene, int position, WindowHandle window, std::uint32_t style,
                          const char (&text)[TitleBytes]) {
    WindowSystem& ws = *windows_;
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
}

int VirtualDesktop::seenIndex(WindowHandle window) const {
    for (std::size_t i = 0; i < seen_.size(); ++i) {
        if (seen_[i].window == window) return static_cast<int>(i);
    }
    return -1;
}

// The walk from the window above the bottom-most one up to the top, as the Z order stands
// at one moment: one read of the whole order rather than one call per step. A window whose
// owner chain reaches a window the filter passes goes with the highest such window, and is
// never listed on its own; a window disabled while an enabled owned window of it is open
// (its modal dialog) passes as if it were enabled.
void VirtualDesktop::capture(ScreenOnce* shared, DesktopArray* desktops) {
    if (windows_ == nullptr) return;
    WindowSystem& ws = *windows_;
    std::vector<WindowHandle> order;
    order.reserve(64);
    ws.topLevelWindows(order);
    if (order.empty()) return;
    ScreenOnce own(ws);
    Scene scene(ws, shared != nullptr ? *shared : own);
    // The bottom-most window itself is never examined.
    seen_.clear();
    for (auto it = order.rbegin() + 1; it != order.rend(); ++it)
        seen_.push_back(Seen{*it, ws.style(*it)});

    // Owners of an open, enabled window are held by it, up its whole chain.
    for (const Seen& s : seen_) {
        if ((s.style & win::WsVisible) == 0 || (s.style & win::WsDisabled) != 0) continue;
        WindowHandle w = s.window;
        for (int step = 0; step < OwnerChainLimit; ++step) {
            w = owners_.ownerOf(ws, w);
            if (w == NullWindow) break;
            if (const int k = seenIndex(w); k >= 0) seen_[static_cast<std::size_t>(k)].held = true;
        }
    }
    // So is a parked program's window by the enabled dialog parked with it (a modal one),
    // should its program show the window again.
    for (int d = 0; desktops != nullptr && d < DesktopCount; ++d) {
        const OwnedList& parked = (*desktops)[static_cast<std::size_t>(d)].owned;
        if (&parked == &owned) continue;
        for (int i = 0; i < parked.count; ++i) {
            WindowHandle w = parked.items[static_cast<std::size_t>(i)].window;
            const std::uint32_t dialog = ws.style(w);
            if (dialog == 0 || (dialog & win::WsDisabled) != 0) continue;
            for (int step = 0; step < OwnerChainLimit; ++step) {
                w = owners_.ownerOf(ws, w);
                if (w == NullWindow) break;
                if (const int k = seenIndex(w); k >= 0) seen_[static_cast<std::size_t>(k)].held = true;
            }
        }
    }
    const bool pinning = pins != nullptr && !pins->empty();
    const bool ignoring = rules != nullptr && rules->ignoresAny();
    if (pinning || ignoring) {
        for (Seen& s : seen_) {
            s.leftAlone = (pinning && pins->onChainOf(ws, s.window) != NullWindow) ||
                          (ignoring && rules->ignoresChainOf(ws, s.window));
        }
    }
    for (Seen& s : seen_)
        s.candidate = !s.leftAlone && admits(scene, s.window, s.style, s.held, s.text);

    // Where each open window goes: with the highest candidate on its chain, or, when there
    // is none, with a window that another desktop lists.
    for (Seen& s : seen_) {
        if ((s.style & win::WsVisible) == 0) continue;
        WindowHandle w = s.window;
        for (int step = 0; step < OwnerChainLimit; ++step) {
            w = owners_.ownerOf(ws, w);
            if (w == NullWindow) break;
            const int k = seenIndex(w);
            if (k >= 0 && seen_[static_cast<std::size_t>(k)].candidate) s.goesWith = w;
            if (desktops == nullptr || s.parkedOn >= 0) continue;
            for (const VirtualDesktop& d : *desktops) {
                if (&d != this && d.findEntry(w)) s.parkedOn = d.index;
            }
        }
        if (s.goesWith != NullWindow) s.parkedOn = -1;
    }

    int n = 0;
    for (const Seen& s : seen_) {
        if (n >= CaptureLimit) break;
        if (!s.candidate || s.goesWith != NullWindow || s.parkedOn >= 0) continue;
        fill(scene, n++, s.window, s.style, s.text);
    }
    count = n;

    owned.clear();
    for (const Seen& s : seen_) {
        if ((s.style & win::WsVisible) == 0) continue;
        if (s.goesWith == NullWindow && s.parkedOn < 0) continue;
        const ClassKind kind = kindOf(s.window);
        if (kind == ClassKind::ToolTip || kind == ClassKind::Menu) continue;
        if (s.goesWith != NullWindow) {
            // Only with a listed window: one above the fifteenth stays on screen with it.
            if (findEntry(s.goesWith))
                owned.add(OwnedWindow{s.window, s.goesWith, ownedShowCommand(s.style)});
            continue;
        }
        // A parked program's window: it goes to the desktop that lists the program, first
        // into its list so that the hide is recorded, then off the screen.
        VirtualDesktop& parked = (*desktops)[static_cast<std::size_t>(s.parkedOn)];
        WindowHandle w = s.window;
        for (int step = 0; step < OwnerChainLimit; ++step) {
            w = owners_.ownerOf(ws, w);
            if (w == NullWindow) break;
            if (!parked.findEntry(w)) continue;
            if (parked.owned.add(OwnedWindow{s.window, w, ownedShowCommand(s.style)}))
                ws.show(s.window, win::SwHide);
            break;
        }
    }
    owners_.endCapture();
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

WindowHandle VirtualDesktop::listedOnChain(WindowHandle window) const {
    for (int step = 0; step <= OwnerChainLimit && window != NullWindow; ++step) {
        if (findEntry(window)) return window;
        if (windows_ == nullptr) break;
        window = windows_->relative(window, win::GwOwner);
    }
    return NullWindow;
}

WindowHandle VirtualDesktop::windowAtMapPoint(int x, int y) const {
    if (windows_ == nullptr) return NullWindow;
    if (pins != nullptr && !pins->empty()) {
        const std::vector<WindowEntry> pinned = pins->inCell(index, readScreen(*windows_));
        for (auto it = pinned.rbegin(); it != pinned.rend(); ++it)
            if (it->containsMapPoint(*windows_, x, y)) return it->window;
    }
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

void keepInReach(WindowSystem& windows, ScreenOnce& screen, WindowEntry& entry) {
    if (entry.showState == win::SwMinimize || entry.showState == win::SwShowMaximized) return;
    // The recorded rectangle first: only one that looks out of reach is read again.
    if (!placeInReach(screen.get(), entry.windowRect)) return;
    if (windows.isIconic(entry.window) || windows.isZoomed(entry.window)) return;
    const std::optional<Rect> to = placeInReach(screen.get(), windows.rect(entry.window));
    if (!to) return;
    windows.move(entry.window, to->left, to->top, to->width(), to->height(), true);
    entry.windowRect = *to;
    entry.updateMapRect(screen.get());
}

void VirtualDesktop::releaseAll() {
    if (windows_ != nullptr) {
        ScreenOnce screen(*windows_);
        for (int i = count - 1; i >= 0; --i) {
            keepInReach(*windows_, screen, entries[i]);
            showWithOwned(*windows_, owned, entries[i].window, showCommandOf(entries[i]));
            windows_->update(entries[i].window);
        }
    }
    count = 0;
    owned.clear();
}

namespace {

// Takes the entries that gone names out of the desktop's list; the others keep their
// order, which is their stacking.
template <typename Gone>
void dropEntries(VirtualDesktop& desktop, Gone gone) {
    int kept = 0;
    for (int i = 0; i < desktop.count; ++i) {
        if (gone(desktop.entries[i])) continue;
        if (kept != i) {
            desktop.entries[kept] = desktop.entries[i];
            desktop.entries[kept].captureIndex = kept;
        }
        ++kept;
    }
    desktop.count = kept;
}

// The rules' first look at the windows the desktop on screen lists: pinned and ignored
// ones leave its list at the next capture; those for another desktop are returned, to be
// sent there. True when a capture is needed.
bool applyRules(VirtualDesktop& desktop, std::vector<std::pair<WindowHandle, int>>& sends) {
    WindowSystem& ws = *desktop.windowSystem();
    bool recapture = false;
    for (int i = 0; i < desktop.count; ++i) {
        const WindowEntry& e = desktop.entries[i];
        const WindowRule* rule = desktop.rules->judge(ws, e.window, e.title);
        if (rule == nullptr) continue;
        if (rule->action == RuleAction::Pin && desktop.pins != nullptr) {
            desktop.pins->add(ws, e.window);
            recapture = true;
        } else if (rule->action == RuleAction::Ignore) {
            recapture = true;
        } else if (rule->action == RuleAction::Desktop && rule->desktop != desktop.index) {
            sends.emplace_back(e.window, rule->desktop);
        }
    }
    return recapture;
}

}  // namespace

void pinRefusedHides(DesktopArray& desktops) {
    WindowSystem* ws = desktops[0].windowSystem();
    PinnedWindows* pins = desktops[0].pins;
    if (ws == nullptr) return;
    const std::vector<WindowHandle> refused = ws->takeRefused();
    if (refused.empty() || pins == nullptr) return;
    for (WindowHandle w : refused) {
        if (!ws->isWindow(w)) continue;
        for (VirtualDesktop& d : desktops) {
            WindowHandle listed = d.listedOnChain(w);
            for (int i = 0; i < d.owned.count && listed == NullWindow; ++i)
                if (d.owned.items[static_cast<std::size_t>(i)].window == w)
                    listed = d.owned.items[static_cast<std::size_t>(i)].owner;
            const std::optional<WindowEntry> entry = d.findEntry(listed);
            if (!entry) continue;
            // A pinned window is on screen, and so are its dialogs: any of them whose hide
            // was carried out (a parked window, only its dialog refused) is shown again.
            if (!ws->isVisible(listed))
                ws->show(listed, entry->showState == 0 ? win::SwShowNa : entry->showState);
            int kept = 0;
            for (int i = 0; i < d.owned.count; ++i) {
                const OwnedWindow o = d.owned.items[static_cast<std::size_t>(i)];
                if (o.owner != listed) {
                    d.owned.items[static_cast<std::size_t>(kept++)] = o;
                } else if (!ws->isVisible(o.window)) {
                    ws->show(o.window, o.command == 0 ? win::SwShowNa : o.command);
                }
            }
            d.owned.count = kept;
            dropEntries(d, [&](const WindowEntry& e) { return e.window == listed; });
            pins->add(*ws, listed);
            pins->noteRefused(listed);
            break;
        }
    }
}

void refreshDesktop(DesktopArray& desktops, int index, ScreenOnce* screen) {
    if (index < 0 || index >= DesktopCount) return;
    VirtualDesktop& captured = desktops[index];
    WindowSystem* ws = captured.windowSystem();
    if (ws != nullptr) pinRefusedHides(desktops);
    if (captured.pins != nullptr && !captured.pins->empty() && ws != nullptr)
        captured.pins->refresh(*ws);
    const bool ruling = captured.rules != nullptr && !captured.rules->empty() && ws != nullptr;
    if (ruling) captured.rules->forgetGone(*ws);
    captured.capture(screen, &desktops);
    std::vector<std::pair<WindowHandle, int>> sends;
    if (ruling && applyRules(captured, sends)) captured.capture(screen, &desktops);
    // The capture takes only windows on screen. One that another list still holds was
    // parked there and shown again by its own program: the user sees it here now, so it
    // leaves the list it was parked in and every window stays in one list. The others
    // keep their order, which is their stacking.
    for (VirtualDesktop& other : desktops) {
        if (&other == &captured) continue;
        dropEntries(other, [&](const WindowEntry& e) { return captured.findEntry(e.window).has_value(); });
        // The windows that went with one it no longer lists go with it: those still hidden
        // (a parked program's Find box, shown again with its owner only) come onto the
        // screen above it, listed here, rather than stay hidden in no list.
        int keptOwned = 0;
        OwnedList joining;
        for (int i = 0; i < other.owned.count; ++i) {
            const OwnedWindow& o = other.owned.items[static_cast<std::size_t>(i)];
            if (captured.owned.holds(o.window)) continue;
            if (!other.findEntry(o.owner)) {
                if (captured.findEntry(o.owner)) joining.add(o);
                continue;
            }
            other.owned.items[static_cast<std::size_t>(keptOwned++)] = o;
        }
        other.owned.count = keptOwned;
        for (int i = 0; i < joining.count && ws != nullptr; ++i) {
            const OwnedWindow& o = joining.items[static_cast<std::size_t>(i)];
            // A handle that a closed dialog left behind may name some other window now.
            if (!ownerChainReaches(*ws, o.window, o.owner)) continue;
            // Shown whether or not the list has room: on screen it is lost to no one.
            captured.owned.add(o);
            if (!ws->isVisible(o.window))
                ws->show(o.window, o.command == 0 ? win::SwShowNa : o.command);
        }
    }
    for (const auto& [window, target] : sends) sendListedWindow(desktops, window, index, target);
}

}  // namespace skelvo
