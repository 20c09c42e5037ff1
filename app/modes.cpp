// Function and size switches and docking.
#include "app/modes.h"

#include "desktops/window_entry.h"

namespace skelvo {

int switchFunction(int& functionMode) {
    functionMode = functionMode == FunctionDesktop ? FunctionLauncher : FunctionDesktop;
    return functionMode;
}

int switchSize(Services& services, WindowHandle panel, int& sizeState, SkinSet& skin) {
    if (sizeState == SizeFull) {
        services.host.setWindowRegion(skin.panelWindow != NullWindow ? skin.panelWindow : panel,
                                      SmallRegion);
        skin.cornerSource = skin.cornerOn;
        sizeState = SizeSmall;
    } else if (sizeState == SizeSmall) {
        services.host.setWindowRegion(skin.panelWindow != NullWindow ? skin.panelWindow : panel,
                                      FullRegion);
        skin.cornerSource = skin.cornerOff;
        sizeState = SizeFull;
    }
    return sizeState;
}

int dockPanelToTopWindow(Services& services, WindowHandle panel) {
    WindowSystem& ws = services.windows;
    const WindowHandle target = firstManagedWindow(ws);
    if (target != NullWindow && isManagedWindow(ws, target)) {
        const Rect r = ws.rect(target);
        ws.move(panel, r.right - 336, r.top - 120, 236, 157, true);
    }
    return 0;
}

}  // namespace skelvo
