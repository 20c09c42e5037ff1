// Switching the desktop on screen and moving a window between desktops.
#pragma once

#include "desktops/virtual_desktop.h"

namespace skelvo {

// Cell 1..12: switches to desktop cell-1 in the desktop function, selects slot cell-1 in
// the launcher function. Returns 1 for a valid cell, 0 otherwise.
int selectCell(int cell, int functionMode, int& currentDesktop, int& selectedSlot,
               DesktopArray& desktops);

// Moves a window dropped on cell 1..12 from desktop source into that cell's desktop.
// Always returns 1. A window that source does not list, or a drop from another desktop
// into one that lists 32 windows, leaves every list as it is, and the window goes back to
// origin, where the drag found it, when one is given.
int moveWindowToDesktop(WindowHandle window, int cell, int source, int currentDesktop,
                        DesktopArray& desktops, std::optional<Rect> origin = std::nullopt);
// A send of a window that desktop source lists to desktop target: it keeps its place on
// its monitor there, as a drop on the target's cell does, and a maximised one stays so.
void sendListedWindow(DesktopArray& desktops, WindowHandle window, int source, int target);
// A drop that is not carried out: the window goes back to origin, where the drag found it.
void cancelWindowDrop(WindowHandle window, int source, DesktopArray& desktops, Rect origin);

}  // namespace skelvo
