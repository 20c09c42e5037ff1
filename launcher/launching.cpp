// Double-click dispatch. The tray and launch branches join when those features do.
#include "launcher/launching.h"

#include "app/modes.h"
#include "app/pointer.h"

namespace skelvo {

int dispatchDoubleClick(Application&, Services& services, WindowHandle panel, int zone, int) {
    if (zone == ZoneInfoBar) return dockPanelToTopWindow(services, panel);
    return 0;
}

}  // namespace skelvo
