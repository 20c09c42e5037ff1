// The notification-area icon: putting the panel into the tray, taking it out, the icon's
// callback, and adding the icon again when the taskbar is re-created.
#pragma once

#include <cstdint>

#include "app/application.h"

namespace skelvo {

inline constexpr int TrayIconResource = 124;
inline constexpr char TrayTip[] = "Skelvo";
// Broadcast by the shell when the taskbar (re)appears; registered at creation.
inline constexpr char TaskbarCreatedName[] = "TaskbarCreated";

// Adds the icon and hides the panel; if the shell refuses the icon, the panel stays.
int enterTray(Services& services, PanelState& state, InstanceHandle instance, WindowHandle panel);
// Deletes the icon and shows the panel at its present size.
void leaveTray(Services& services, PanelState& state, WindowHandle panel);
// Deletes the icon (whether or not one is shown) and gives back its handle.
void deleteTrayIcon(Services& services, PanelState& state);
// The icon's callback message: lParam is the mouse message seen over the icon.
std::intptr_t onTrayNotify(Application& app, Services& services, WindowHandle panel,
                           std::uintptr_t wParam, std::intptr_t lParam);
// "TaskbarCreated": a panel in the tray makes sure its one icon is shown.
void onTaskbarCreated(Services& services, PanelState& state, WindowHandle panel);

}  // namespace skelvo
