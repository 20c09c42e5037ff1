// The panel's hotkeys: registered when the panel is created, released when it is
// destroyed, and carried out when WM_HOTKEY arrives. Switching goes through the desktop
// commands of the menus; sending goes through a drop's move.
#pragma once

#include <array>
#include <cstdint>

#include "app/hotkey_table.h"
#include "base/platform.h"
#include "settings/hotkey_section.h"

namespace skelvo {

struct Application;
struct Services;

inline constexpr char HotkeyNoticeCaption[] = "ホットキー";
inline constexpr char HotkeyNoticeText[] =
    "次のホットキーは、ほかのプログラムが使っているため登録できませんでした。\n";

inline constexpr char RefusedHideCaption[] = "ウィンドウを隠せません";
inline constexpr char RefusedHideText[] =
    "のウィンドウは、管理者として実行されているため隠すことができません。"
    "このようなウィンドウは、すべてのデスクトップに表示されます。\n"
    "Skelvo を管理者として実行すると、これらのウィンドウも管理できます。";
inline constexpr char UnnamedProgram[] = "名前の読めないプログラム";

// The hotkey id of table place i is i + HotkeyIdBase.
inline constexpr int HotkeyIdBase = 1;

struct Hotkeys {
    KeySection section;  // from the settings file, written back at quit
    HotkeyTable table{};
    std::array<bool, HotkeyCount> registered{};
    WindowHandle window = NullWindow;  // the panel that holds them
};

// Registers every bound combination of the settings' table on the panel; one notice
// names those that could not be had, none when every one was.
void registerHotkeys(Application& app, Services& services, WindowHandle panel);
void unregisterHotkeys(Application& app, Services& services);

// Every key is registered without repeat: held down, it acts once.
// WM_HOTKEY: wParam is the id. After a switch by key the topmost shown window of the
// new desktop becomes the foreground window, or the panel when there is none.
void onHotKey(Application& app, Services& services, WindowHandle panel, std::uintptr_t id);

// The first window of a start whose hide the system refused is told of in a notice that
// blocks nobody, naming its program.
void tellRefusedHide(Application& app, Services& services);

// Moves window, which the desktop on screen must list, to desktop target as a drop on
// that desktop's cell does, keeping its place on the screen. Returns false when nothing
// moved: the window is not listed, is the panel, or target is full or on screen.
bool sendToDesktop(Application& app, Services& services, WindowHandle panel, WindowHandle window,
                   int target);

// Pins the listed window on window's owner chain (the foreground window's) to every
// desktop, or unpins the pinned one there, which then belongs to the desktop on screen.
// Returns false when neither happened.
bool togglePin(Application& app, Services& services, WindowHandle panel, WindowHandle window);

}  // namespace skelvo
