// One captured top-level window, the managed-window filter and the geometry that places
// a window on the panel's desktop map.
#pragma once

#include "base/platform.h"
#include "desktops/window_system.h"

namespace skelvo {

// A title of up to 127 UTF-16 characters, as the title buffer always held, in UTF-8: at
// most three bytes each.
inline constexpr int TitleChars = 128;
inline constexpr int TitleBytes = 3 * TitleChars;
inline constexpr int MapRight = 202;
inline constexpr int MapBottom = 124;
inline constexpr char PanelClassName[] = "WindowControl";
inline constexpr char PanelTitle[] = "WindowControl";
inline constexpr char DialogClassName[] = "#32770";

bool hasAllBits(std::uint32_t value, std::uint32_t mask);
bool windowHasStyle(WindowSystem& windows, WindowHandle window, std::uint32_t mask);
bool isManagedWindow(WindowSystem& windows, WindowHandle window);
WindowHandle firstManagedWindow(WindowSystem& windows);
int liveShowState(WindowSystem& windows, WindowHandle window);

// Scales of the map: screen width div 50 and height div 40, never below 1 so that a
// tiny screen cannot divide by zero.
double mapScale(int screenExtent, int cellExtent);

// The map rectangle of a window that shows in no cell: off the map, so never drawn or hit.
inline constexpr Rect NoMapRect{-1, -1, -1, -1};

struct WindowEntry {
    WindowHandle window = NullWindow;
    Rect windowRect{};
    Rect mapRect{};
    std::uint32_t style = 0;
    char title[TitleBytes] = {};
    int showState = win::SwShowNa;
    int captureIndex = 0;
    int desktopIndex = 0;
    double scaleX = 1.0;
    double scaleY = 1.0;

    void assignFromWindow(WindowSystem& windows, WindowHandle handle);
    void updateMapRect(WindowSystem& windows);
    // The same with the screen layout already read. The virtual screen is one desktop's
    // tile; with several monitors the rectangle is clipped to one cell, its desktop's own
    // unless the window's centre lies in another desktop's tile (as while it is dragged).
    void updateMapRect(const ScreenLayout& screen);
    bool containsMapPoint(WindowSystem& windows, int x, int y) const;
    bool setShowState(int state);
};

}  // namespace skelvo
