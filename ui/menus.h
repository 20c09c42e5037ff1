// The popup menus of menu template 123: which popup a right release opens, with what
// greyed, and the tray popup at the pointer.
#pragma once

#include "app/application.h"

namespace skelvo {

inline constexpr int MenuTemplateId = 123;
inline constexpr int PopupTray = 0;
inline constexpr int PopupDesktop = 1;
inline constexpr int PopupLauncher = 2;
// "ウィンドウ" in the desktop popup, greyed when no window was under the pointer.
inline constexpr int WindowItemPosition = 2;
inline constexpr int NothingGreyed = -1;

// Opens the popup for a right-release action at the client point (x, y); returns 1 when
// one was shown, 0 for any other action. Returns once the popup has closed.
int showPanelMenu(Services& services, InstanceHandle instance, WindowHandle panel, int action,
                  int x, int y);
// The tray popup at the pointer; the panel is hidden at this moment.
int showTrayMenu(Services& services, InstanceHandle instance, WindowHandle panel);

}  // namespace skelvo
