// The panel's tooltip: one tool over the whole client area whose text names what lies
// under the pointer, rebuilt on every tick of the tooltip timer.
#pragma once

#include "app/application.h"

namespace skelvo {

// A file's long name in UTF-8: up to three bytes for each of its 260 characters.
inline constexpr int HoverTextBytes = 3 * 260;

inline constexpr char HoverCountPrefix[] = "このデスクトップには、“ ";
inline constexpr char HoverCountSuffix[] = " ”個のウィンドウが存在します";
inline constexpr char HoverSlotEmpty[] = "未だ登録されていません";
inline constexpr char HoverFunctionButtons[] = "クリックで機能を切り替えます";
inline constexpr char HoverInfoBar[] =
    "ウィンドウタイトル、またはファイル／フォルダ名を表示します。もしくは、ダブルクリックでツールを"
    "タスクトレイに収納します";
inline constexpr char HoverSizeButton[] = "クリックでツールサイズを変更します";

void createToolTip(Services& services, PanelState& state, WindowHandle panel,
                   InstanceHandle instance);
// The text for the pointer's present position, written into buffer (HoverTextBytes);
// utf8, when given, tells a title or a file name in UTF-8 from the panel's own texts.
char* hoverText(Services& services, WindowHandle panel, const DesktopArray& desktops,
                const SlotArray& slots, int functionMode, char* buffer, bool* utf8 = nullptr);
void updateToolTip(Application& app, Services& services, WindowHandle panel);

}  // namespace skelvo
