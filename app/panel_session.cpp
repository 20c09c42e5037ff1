// The end of the user's session.
#include "app/panel.h"
#include "app/window_guard.h"
#include "settings/settings_file.h"
#include "ui/tray.h"

namespace skelvo {

void Panel::onEndSession(WindowHandle, bool ending) {
    if (!ending) return;
    // WM_CLOSE never comes now: the registrations are saved without asking, and every
    // hidden window is shown so that a program asking to save a document is seen.
    saveSettings(s_, app_.state.workingDirectory, app_.slots, &app_.hotkeys.section);
    // As the exit teardown does: the hide-all list, then desktop 11 down to 0; the lists
    // are emptied.
    app_.hidden.showAll();
    for (int d = DesktopCount - 1; d >= 0; --d) app_.desktops[d].releaseAll();
    deleteTrayIcon(s_, app_.state);
    if (s_.guard != nullptr) s_.guard->finish();
}

}  // namespace skelvo
