// Launching registered slots through the shell's "open" action, and the double-click on
// the panel, by zone: launching, docking or the tray.
#pragma once

#include "app/application.h"

namespace skelvo {

inline constexpr char OpenVerb[] = "open";
inline constexpr char LaunchFailedCaption[] = "起動エラー";
inline constexpr char LaunchFailedText[] = "起動できませんでした。";

// Opens the slot's file when it is registered with a path; a launch changes nothing on
// the panel. A failure says so in one message: the path and the system's reason.
void launchSlot(Services& services, const LauncherSlot& slot);
void launchAllSlots(Services& services, const SlotArray& slots);

int dispatchDoubleClick(Application& app, Services& services, WindowHandle panel, int zone,
                        int functionMode);

// Commands 40002 (slot pointerZone - 1), 40042..40053 (slot id - 40042) and 40067.
int runCommand(Application& app, Services& services, WindowHandle panel);
int runNumberedCommand(Application& app, Services& services, unsigned id);
int runAllCommand(Application& app, Services& services, WindowHandle panel);

}  // namespace skelvo
