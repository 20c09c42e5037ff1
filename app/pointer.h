// Pointer input: hit zones of the panel, classification of a finished gesture into an
// action, and the dispatch of that action.
#pragma once

#include "app/application.h"

namespace skelvo {

inline constexpr int ZoneNone = 0;
inline constexpr int ZoneFirstCell = 1;
inline constexpr int ZoneLastCell = 12;
inline constexpr int ZoneSwitchUpper = 17;
inline constexpr int ZoneSwitchLower = 18;
inline constexpr int ZoneInfoBar = 33;
inline constexpr int ZoneSizeButton = 49;

inline constexpr int ActionNone = 0;
inline constexpr int ActionCellClick = 65;
inline constexpr int ActionWindowMenu = 66;
inline constexpr int ActionWindowDrop = 67;
inline constexpr int ActionDesktopMenu = 68;
inline constexpr int ActionLauncherMenu = 69;
inline constexpr int ActionFunctionSwitch = 81;
inline constexpr int ActionSizeSwitch = 97;
inline constexpr int ActionPanelMenu = 98;

inline constexpr int GestureLeft = 129;
inline constexpr int GestureRight = 130;

// The map's clip area: client x 2..199, y 2..119.
inline constexpr int MapClipWidth = 200;
inline constexpr int MapClipHeight = 122;

inline bool isCellZone(int zone) {
    return zone >= ZoneFirstCell && zone <= ZoneLastCell;
}

int hitZone(int x, int y);
int classifyGesture(int zone, int kind, int functionMode, int moveX, int moveY, WindowHandle window,
                    int heldTicks);
int performAction(Application& app, Services& services, WindowHandle panel, int zone, int kind,
                  int action, int x, int y, WindowHandle window);
Point toVirtualPoint(const PanelState& state, Point p);
Point highlightCell(int functionMode, int currentDesktop, int selectedSlot);
int pointInRect(int left, int top, int right, int bottom, int x, int y);
void clipCursorToMap(Services& services, WindowHandle panel, int width, int height);
void releaseCursorClip(Services& services);

}  // namespace skelvo
