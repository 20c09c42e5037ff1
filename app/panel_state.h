// The panel's process-wide state: modes, the pointer gesture in progress, the map scales
// and the handles of the tray icon and tooltip. Only the UI thread touches it.
#pragma once

#include "base/platform.h"
#include "ui/shell.h"

namespace skelvo {

inline constexpr int FunctionDesktop = 17;
inline constexpr int FunctionLauncher = 18;

inline constexpr int SizeFull = 1;
inline constexpr int SizeSmall = 2;

inline constexpr int PointerIdle = 0;
inline constexpr int PointerLeftDown = 129;
inline constexpr int PointerRightDown = 130;
inline constexpr int PointerDoubleClick = 131;

inline constexpr int MaxPathBytes = 260;
// A directory of MAX_PATH characters in UTF-8: up to three bytes each.
inline constexpr int MaxDirectoryBytes = 3 * MaxPathBytes;

// The first TOOLINFOA layout's fields; the Win32 edge translates it.
struct ToolInfo {
    unsigned flags = 0;
    WindowHandle window = NullWindow;
    std::uintptr_t id = 0;
    Rect rect{};
    InstanceHandle instance = 0;
    const char* text = nullptr;
    // The text is UTF-8 (another program's title, a file's long name); otherwise it is one
    // of the panel's own texts, in code page 932.
    bool utf8 = false;
};

struct PanelState {
    int functionMode = FunctionDesktop;
    int currentDesktop = 0;
    int selectedSlot = 0;
    int sizeState = SizeFull;

    int pointerState = PointerIdle;
    int pointerZone = 0;
    Point pressPoint{};
    Point pointerPoint{};
    int dragDeltaX = 0;
    int dragDeltaY = 0;
    WindowHandle dragWindow = NullWindow;
    int dragSourceDesktop = 0;
    Rect dragStartRect{};  // where the drag found the window: a refused drop puts it back
    int heldTicks = 0;
    Rect panelRect{};

    double mapScaleX = 0.0;
    double mapScaleY = 0.0;
    WindowHandle menuTargetWindow = NullWindow;
    char workingDirectory[MaxDirectoryBytes] = {};  // UTF-8
    InstanceHandle instanceHandle = 0;
    TrayIconData trayIconData{};
    bool inTray = false;                 // the icon is shown and the panel hidden
    // The session may end (WM_QUERYENDSESSION answered): every window is on screen, and
    // no switch, send, drop or window command runs until a cancel says otherwise.
    bool sessionEnding = false;
    unsigned taskbarCreatedMessage = 0;  // "TaskbarCreated", registered at creation
    WindowHandle toolTipWindow = NullWindow;
    ToolInfo toolInfo{};
};

}  // namespace skelvo
