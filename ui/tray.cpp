// The tray icon. Each entry loads the icon afresh, so each deletion gives it back: going to
// the tray and back any number of times holds at most one icon handle.
#include "ui/tray.h"

#include <cstring>

#include "app/ids.h"
#include "app/modes.h"
#include "ui/menus.h"

namespace skelvo {

namespace {

void releaseIcon(Services& services, PanelState& state) {
    if (state.trayIconData.icon != 0) services.shell.destroyIcon(state.trayIconData.icon);
    state.trayIconData.icon = 0;
    state.inTray = false;
}

}  // namespace

int enterTray(Services& services, PanelState& state, InstanceHandle instance, WindowHandle panel) {
    // The shell keeps one icon per window and id: an icon already shown goes first.
    if (state.inTray) deleteTrayIcon(services, state);
    TrayIconData& data = state.trayIconData;
    data = TrayIconData{};
    data.window = panel;
    data.id = 0;
    data.flags = win::NifMessage | win::NifIcon | win::NifTip;
    data.icon = services.shell.loadIcon(instance, TrayIconResource);
    data.callbackMessage = TrayCallbackMessage;
    static_assert(sizeof(TrayTip) <= sizeof(data.tip));
    std::memcpy(data.tip, TrayTip, sizeof(TrayTip));
    if (!services.shell.notifyIcon(win::NimAdd, data)) {
        // Hidden without an icon, the panel could never be brought back. A busy shell can
        // report a failure yet show the icon: a panel out of the tray keeps none.
        deleteTrayIcon(services, state);
        return 0;
    }
    state.inTray = true;
    services.windows.show(panel, win::SwHide);
    return 0;
}

void deleteTrayIcon(Services& services, PanelState& state) {
    services.shell.notifyIcon(win::NimDelete, state.trayIconData);
    releaseIcon(services, state);
}

void leaveTray(Services& services, PanelState& state, WindowHandle panel) {
    deleteTrayIcon(services, state);
    services.windows.show(panel, win::SwShowNormal);
}

std::intptr_t onTrayNotify(Application& app, Services& services, WindowHandle panel,
                           std::uintptr_t wParam, std::intptr_t lParam) {
    PanelState& st = app.state;
    if (!st.inTray && (lParam == win::WmLButtonDblClk || lParam == win::WmRButtonDown)) {
        // An icon left behind by the shell must not drive the panel on screen.
        deleteTrayIcon(services, st);
        return 0;
    }
    switch (lParam) {
    case win::WmLButtonDblClk:
        deleteTrayIcon(services, st);
        switchSize(services, panel, st.sizeState, app.skin);
        services.windows.show(panel, win::SwShow);
        return 0;
    case win::WmRButtonDown: showTrayMenu(services, st.instanceHandle, panel); return 0;
    default: return services.host.defaultProcedure(panel, TrayCallbackMessage, wParam, lParam);
    }
}

void onTaskbarCreated(Services& services, PanelState& state, WindowHandle panel) {
    if (!state.inTray) return;
    // The broadcast also comes while the shell still shows the icon: modify it then. A
    // new taskbar knows no icons and takes it again by an add.
    if (services.shell.notifyIcon(win::NimModify, state.trayIconData)) return;
    if (services.shell.notifyIcon(win::NimAdd, state.trayIconData)) return;
    // Refused: the panel comes back, and a panel out of the tray has no icon.
    deleteTrayIcon(services, state);
    services.windows.show(panel, win::SwShowNormal);
}

}  // namespace skelvo
