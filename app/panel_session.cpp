// The end of the user's session.
#include "app/panel.h"
#include "app/window_guard.h"

namespace skelvo {

void Panel::onEndSession(WindowHandle, bool ending) {
    if (!ending) return;
    // As the exit teardown does: the hide-all list, then desktop 11 down to 0; the lists
    // are emptied.
    app_.hidden.showAll();
    for (int d = DesktopCount - 1; d >= 0; --d) app_.desktops[d].releaseAll();
    s_.shell.notifyIcon(win::NimDelete, app_.state.trayIconData);
    if (s_.guard != nullptr) s_.guard->finish();
}

}  // namespace skelvo
