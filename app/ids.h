// Named identifiers of the panel: timers, the tray callback message and menu commands.
#pragma once

namespace skelvo {

inline constexpr unsigned TimerRefresh = 1;     // re-capture the desktop on screen, repaint
inline constexpr unsigned TimerWindowDrag = 2;  // a dragged window follows the pointer
inline constexpr unsigned TimerPanelDrag = 3;   // the dragged panel follows the pointer
inline constexpr unsigned TimerToolTip = 4;     // rebuild the tooltip text

inline constexpr unsigned RefreshPeriodMs = 600;
inline constexpr unsigned DragPeriodMs = 100;
inline constexpr unsigned ToolTipPeriodMs = 1200;

inline constexpr unsigned TrayCallbackMessage = 0x8001;  // WM_APP + 1
// Posted to the panel when no window journal could be written: the user is told then.
inline constexpr unsigned JournalWarningMessage = 0x8020;  // WM_APP + 32

inline constexpr unsigned CmdFirst = 40001;
inline constexpr unsigned CmdRegister = 40001;
inline constexpr unsigned CmdRun = 40002;
inline constexpr unsigned CmdRestoreWindow = 40003;
inline constexpr unsigned CmdMaximiseWindow = 40004;
inline constexpr unsigned CmdMinimiseWindow = 40005;
inline constexpr unsigned CmdRestoreAll = 40006;
inline constexpr unsigned CmdMaximiseAll = 40007;
inline constexpr unsigned CmdMinimiseAll = 40008;
inline constexpr unsigned CmdCloseAll = 40010;
inline constexpr unsigned CmdCloseWindow = 40011;
inline constexpr unsigned CmdEnterTray = 40012;
inline constexpr unsigned CmdLeaveTray = 40013;
inline constexpr unsigned CmdSwitchSize = 40014;
inline constexpr unsigned CmdQuit = 40015;
inline constexpr unsigned CmdDeleteRegistration = 40017;
inline constexpr unsigned CmdRestoreAllDesktops = 40024;
inline constexpr unsigned CmdMaximiseAllDesktops = 40025;
inline constexpr unsigned CmdMinimiseAllDesktops = 40026;
inline constexpr unsigned CmdCloseAllDesktops = 40027;
inline constexpr unsigned CmdDeleteAllRegistrations = 40028;
inline constexpr unsigned CmdLauncherFirst = 40042;  // "ランチャー1" .. 40053
inline constexpr unsigned CmdLauncherLast = 40053;
inline constexpr unsigned CmdDesktopFirst = 40054;  // "デスクトップ1" .. 40065
inline constexpr unsigned CmdDesktopLast = 40065;
inline constexpr unsigned CmdSwitchFunction = 40066;
inline constexpr unsigned CmdRunAll = 40067;
inline constexpr unsigned CmdShowAllWindows = 40068;
inline constexpr unsigned CmdHideAllWindows = 40069;
inline constexpr unsigned CmdLast = 40069;

}  // namespace skelvo
