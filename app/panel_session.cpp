// The end of the user's session: asked, cancelled or carried out.
#include "app/panel.h"

#include "app/ids.h"
#include "app/window_guard.h"
#include "desktops/owned_windows.h"
#include "settings/settings_file.h"
#include "ui/tray.h"

namespace skelvo {

namespace {

int showCommandOf(const WindowEntry& e) {
    return e.showState == 0 ? win::SwShowNa : e.showState;
}

// Every window kept hidden is shown, in the exit teardown's order: the hide-all list, then
// desktop 11 down to 0. A window that is visible keeps the state the user gave it.
void showKept(Application& app, WindowSystem& ws) {
    for (WindowHandle w : app.hidden.windows()) {
        if (ws.isWindow(w) && !ws.isVisible(w)) ws.show(w, win::SwShow);
    }
    for (int d = DesktopCount - 1; d >= 0; --d) {
        const VirtualDesktop& desktop = app.desktops[d];
        for (int i = desktop.count - 1; i >= 0; --i) {
            const WindowEntry& e = desktop.entries[i];
            if (ws.isVisible(e.window)) {
                showOwned(ws, desktop.owned, e.window);
                continue;
            }
            showWithOwned(ws, desktop.owned, e.window, showCommandOf(e));
            ws.update(e.window);
        }
    }
}

}  // namespace

// Hides stop before anything is shown: the query may arrive in the middle of a command
// that waits on another program, and the rest of that command must not hide again what
// the session end shows.
void Panel::holdHides(bool held) {
    app_.state.sessionEnding = held;
    if (s_.awaited != nullptr) s_.awaited->holdHides(held);
}

void Panel::onQueryEndSession() {
    if (app_.state.sessionEnding) return;
    holdHides(true);
    if (s_.guard != nullptr) s_.guard->release();
    showKept(app_, s_.windows);
}

void Panel::onEndSession(WindowHandle panel, bool ending) {
    WindowSystem& ws = s_.windows;
    if (!ending) {
        if (!app_.state.sessionEnding) return;
        holdHides(false);
        // Journalled again before the first hide.
        if (s_.guard != nullptr) s_.guard->resume();
        for (WindowHandle w : app_.hidden.windows()) ws.show(w, win::SwHide);
        for (int d = 0; d < DesktopCount; ++d) {
            if (d == app_.state.currentDesktop) continue;
            const VirtualDesktop& desktop = app_.desktops[d];
            for (int i = 0; i < desktop.count; ++i) {
                hideOwned(ws, desktop.owned, desktop.entries[i].window);
                ws.show(desktop.entries[i].window, win::SwHide);
            }
        }
        return;
    }
    // WM_CLOSE never comes now, and the process may end as soon as this returns: the
    // windows come back first, nothing hides any more, and nothing asks or tells.
    holdHides(true);
    showKept(app_, ws);
    app_.hidden.showAll();  // forgets them; none is hidden any more
    for (VirtualDesktop& d : app_.desktops) {
        d.count = 0;
        d.owned.clear();
    }
    if (s_.guard != nullptr) s_.guard->finish();
    saveSettings(s_, app_.state.workingDirectory, app_.slots, app_.keepSettingsFile,
                 &app_.hotkeys.section, app_.settingsEncoding, false, &app_.ruleSection);
    deleteTrayIcon(s_, app_.state);
    s_.host.killTimer(panel, TimerRefresh);
    s_.host.killTimer(panel, TimerWindowDrag);
    s_.host.killTimer(panel, TimerPanelDrag);
    s_.host.destroyWindow(panel);
}

}  // namespace skelvo
