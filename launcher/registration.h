// Filling and emptying launcher slots: the open-file dialog, dropped files and the two
// deletion commands.
#pragma once

#include "app/application.h"

namespace skelvo {

inline constexpr char ChooseFileTitle[] = "登録ファイル選択";
// One filter: display text and pattern, the list ended by an empty string.
inline constexpr char ChooseFileFilter[] = "All files(*.*)\0*.*\0";
inline constexpr char OverwriteCaption[] = "登録確認";
inline constexpr char OverwriteText[] = "すでにデータが登録されています。\n上書きしますか？";
inline constexpr char DeleteCaption[] = "削除確認";
inline constexpr char DeleteText[] = "登録を削除しますか？";
inline constexpr char DeleteAllText[] = "すべての登録を削除しますか？";
inline constexpr char UnstorableCaption[] = "登録エラー";
inline constexpr char UnstorableText[] =
    "ファイル名にシステムの文字コードで表せない文字があり、短い名前(8.3形式)もないため、"
    "登録できません。";

// The open-file dialog on chosen's buffers; 0 on a choice, otherwise -1.
int chooseFile(Services& services, FileChoice& chosen, WindowHandle owner);
// Fills slot from path (as the settings loader and a drop do): title, icon, registered.
void fillSlot(Services& services, LauncherSlot& slot, const char* path);
// Fills slot from a path in UTF-8 (a drop, the dialog): through the code page, or its short
// name, keeping the long name. False, and the slot as it was, when the path cannot be
// stored: a name that no slot holds whole, or one that the code page cannot hold at all.
// unstorable, when given, is set when the code page was the reason.
bool fillSlotUtf8(Services& services, LauncherSlot& slot, const std::string& path,
                  bool* unstorable = nullptr);

int registerFromDialog(Services& services, FileChoice& chosen, LauncherSlot& slot);
// The panel's WM_DROPFILES: the first item onto the launcher cell under the cursor.
int registerFromDrop(Application& app, Services& services, WindowHandle panel, DropHandle drop);
int clearSlot(Services& services, WindowHandle panel, LauncherSlot& slot);
int clearAllSlots(Services& services, WindowHandle panel, SlotArray& slots);

// Commands 40001, 40017 (slot pointerZone - 1) and 40028.
int registerCommand(Application& app, Services& services, WindowHandle panel);
int deleteRegistrationCommand(Application& app, Services& services, WindowHandle panel);
int deleteAllRegistrationsCommand(Application& app, Services& services, WindowHandle panel);

}  // namespace skelvo
