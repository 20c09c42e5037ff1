// Popup selection for the panel's right release and the tray icon.
#include "ui/menus.h"

#include "app/pointer.h"

namespace skelvo {

int showPanelMenu(Services& services, InstanceHandle instance, WindowHandle panel, int action,
                  int x, int y) {
    const Point screen = services.host.clientToScreen(panel, Point{x, y});
    int popup = PopupDesktop;
    int greyed = NothingGreyed;
    switch (action) {
    case ActionWindowMenu: break;
    case ActionDesktopMenu:
    case ActionPanelMenu: greyed = WindowItemPosition; break;
    case ActionLauncherMenu: popup = PopupLauncher; break;
    default: return 0;
    }
    services.host.trackPopupMenu(panel, instance, MenuTemplateId, popup, greyed, screen);
    return 1;
}

int showTrayMenu(Services& services, InstanceHandle instance, WindowHandle panel) {
    services.host.trackPopupMenu(panel, instance, MenuTemplateId, PopupTray, NothingGreyed,
                                 services.host.cursorPos());
    return 0;
}

}  // namespace skelvo
