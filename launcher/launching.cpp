// Double-click dispatch. The tray and launch branches join when those features do.
#include "launcher/launching.h"

#include "app/modes.h"
#include "app/pointer.h"
#include "ui/tray.h"

namespace skelvo {

int dispatchDoubleClick(Application& app, Services& services, WindowHandle panel, int zone,
                        int functionMode) {
    if (zone == ZoneInfoBar) return dockPanelToTopWindow(services, panel);
    if (zone == ZoneSizeButton || (isCellZone(zone) && functionMode == FunctionDesktop))
        return enterTray(services, app.state, app.state.instanceHandle, panel);
    return 0;
}

}  // namespace skelvo
