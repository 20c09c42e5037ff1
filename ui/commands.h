// WM_COMMAND dispatch: one table from command id to its handler, and the confirmation
// questions those handlers ask.
#pragma once

#include <cstdint>

#include "app/application.h"

namespace skelvo {

inline constexpr char CloseCaption[] = "終了確認";
inline constexpr char CautionCaption[] = "注意！";
inline constexpr char CloseWindowText[] = "ウィンドウを閉じますか？";
inline constexpr char CloseAllWindowsText[] = "すべてのウィンドウを閉じますか？";
inline constexpr char CloseAllDesktopsText[] = "すべてのデスクトップを閉じますか？";
inline constexpr char ShowAllWindowsText[] = "すべての非表示ウィンドウを表示しますか？";
inline constexpr char HideAllWindowsText[] = "すべての表示ウィンドウを非表示しますか？";

// Carries out a WM_COMMAND whose wParam is id (the whole of it: a notification code in
// the high word makes another id), then clears menuTargetWindow. Unknown ids do nothing
// else. Returns 0, the message's result.
int dispatchCommand(Application& app, Services& services, WindowHandle panel, std::uintptr_t id);

// The desktop that a per-desktop command acts on: the cell the menu was opened on, or the
// desktop on screen when it was opened outside the map.
int pointedDesktop(const PanelState& state);

}  // namespace skelvo
