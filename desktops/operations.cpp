// The four window actions, their scope on a desktop and on all desktops, and the
// emergency show-all and hide-all walks.
#include "desktops/operations.h"

#include <algorithm>

namespace skelvo {

namespace {

void applyToEntry(WindowSystem& ws, WindowEntry& entry, bool onScreen, WindowAction action) {
    switch (action) {
    case WindowAction::Restore:
        if (onScreen)
            ws.show(entry.window, win::SwShowNormal);
        else
            entry.setShowState(win::SwShowNormal);
        break;
    case WindowAction::Maximise:
        if (!windowHasStyle(ws, entry.window, win::WsMaximizeBox)) break;
        if (onScreen)
            ws.show(entry.window, win::SwShowMaximized);
        else
            entry.setShowState(win::SwShowMaximized);
        break;
    case WindowAction::Minimise:
        if (!windowHasStyle(ws, entry.window, win::WsMinimizeBox)) break;
        if (onScreen)
            ws.minimise(entry.window);
        else
            entry.setShowState(win::SwMinimize);
        break;
    case WindowAction::Close:
        // Posted, never sent: the panel must not wait on another program.
        ws.postMessage(entry.window, win::WmClose, 0, 0);
        break;
    }
}

}  // namespace

int applyToWindow(VirtualDesktop& desktop, int currentDesktop, WindowHandle window,
                  WindowAction action) {
    WindowSystem* ws = desktop.windowSystem();
    if (ws == nullptr || window == NullWindow) return 0;
    for (int i = 0; i < desktop.count; ++i) {
        if (desktop.entries[i].window != window) continue;
        applyToEntry(*ws, desktop.entries[i], desktop.index == currentDesktop, action);
        return 1;
    }
    // A pinned window is on screen whichever cell it was pointed at in.
    if (desktop.pins != nullptr && desktop.pins->holds(window)) {
        WindowEntry pinned;
        pinned.window = window;
        applyToEntry(*ws, pinned, true, action);
        return 1;
    }
    return 0;
}

int applyToDesktop(VirtualDesktop& desktop, int currentDesktop, WindowHandle window,
                   WindowAction action) {
    WindowSystem* ws = desktop.windowSystem();
    if (ws == nullptr || applyToWindow(desktop, currentDesktop, window, action) == 1) return 1;
    const bool onScreen = desktop.index == currentDesktop;
    for (int i = 0; i < desktop.count; ++i) applyToEntry(*ws, desktop.entries[i], onScreen, action);
    return 1;
}

int applyToAllDesktops(DesktopArray& desktops, int currentDesktop, int operation) {
    WindowAction action;
    switch (operation) {
    case OpRestoreAll: action = WindowAction::Restore; break;
    case OpMaximiseAll: action = WindowAction::Maximise; break;
    case OpMinimiseAll: action = WindowAction::Minimise; break;
    case OpCloseAll: action = WindowAction::Close; break;
    default: return 0;
    }
    for (VirtualDesktop& desktop : desktops)
        applyToDesktop(desktop, currentDesktop, NullWindow, action);
    return 1;
}

void HiddenWindows::add(WindowHandle window) {
    if (std::find(hidden_.begin(), hidden_.end(), window) == hidden_.end())
        hidden_.push_back(window);
}

void HiddenWindows::showAll() {
    if (windows_ != nullptr) {
        for (WindowHandle w : hidden_) {
            if (windows_->isWindow(w) && !windows_->isVisible(w)) windows_->show(w, win::SwShow);
        }
    }
    hidden_.clear();
}

bool isCaptionedWindow(WindowSystem& windows, WindowHandle window, WindowHandle panel) {
    char text[TitleBytes] = {};
    windows.text(window, text, TitleBytes);
    if (text[0] == '\0' || !windows.isEnabled(window)) return false;
    const std::uint32_t style = windows.style(window);
    return hasAllBits(style, win::WsBorder) && hasAllBits(style, win::WsCaption) && window != panel;
}

namespace {

template <typename Each>
void forEachCaptionedWindow(WindowSystem& windows, Each each) {
    // The panel is found by its title alone.
    const WindowHandle panel = windows.find(nullptr, PanelTitle);
    for (WindowHandle w = windows.relative(windows.desktopWindow(), win::GwChild); w != NullWindow;
         w = windows.relative(w, win::GwHwndNext)) {
        if (isCaptionedWindow(windows, w, panel)) each(w);
    }
}

}  // namespace

int showAllManagedWindows(WindowSystem& windows, HiddenWindows& hidden) {
    forEachCaptionedWindow(windows, [&](WindowHandle w) { windows.show(w, win::SwShow); });
    // Also those hidden here whose title or style has changed since.
    hidden.showAll();
    return 1;
}

int hideAllManagedWindows(WindowSystem& windows, HiddenWindows& hidden, const WindowRules* rules) {
    // Listed before the first hide, so that whoever watches the hides finds them all at once.
    std::vector<WindowHandle> shown;
    forEachCaptionedWindow(windows, [&](WindowHandle w) {
        // Windows of desktops not on screen are hidden already and stay theirs: a hide
        // posted to one could land after its program has shown it again.
        if (!windows.isVisible(w)) return;
        if (rules != nullptr && rules->ignoresChainOf(windows, w)) return;
        shown.push_back(w);
        hidden.add(w);
    });
    windows.hideEach(shown);
    return 1;
}

}  // namespace skelvo
