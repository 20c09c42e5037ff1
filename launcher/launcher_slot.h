// A launcher slot: one registered file or folder with its display title and icon.
#pragma once

#include <array>
#include <string>

#include "base/platform.h"
#include "ui/shell.h"

namespace skelvo {

inline constexpr int SlotCount = 12;
// A whole title as the dialog or GetFileTitleA gives it (up to 259 bytes): never cut.
inline constexpr int SlotTitleBytes = 260;
inline constexpr int SlotPathBytes = 260;

struct LauncherSlot {
    InstanceHandle instanceHandle = 0;
    WindowHandle ownerWindow = NullWindow;
    char fileTitle[FileChoiceBytes(SlotTitleBytes)] = {};  // UTF-8, as drawn
    char filePath[SlotPathBytes] = {};
    // The name as the user gave it, in UTF-8, when filePath had to shorten parts of it to
    // their 8.3 names; empty otherwise.
    std::string longPath;
    OwnedIcon icon;
    int slotIndex = 0;
    int registered = 0;

    // Empties the slot and binds it to the panel at position index.
    void initialise(InstanceHandle instance, WindowHandle owner, int index);
    // A drawable icon: 0 and 1 are no icon.
    bool hasIcon() const { return icon > 1; }
};

using SlotArray = std::array<LauncherSlot, SlotCount>;

// The open-file dialog's buffers, shared by every slot's dialog and never cleared: each
// dialog opens with the path chosen last.
struct FileChoice {
    char path[FileChoiceBytes(SlotPathBytes)] = {};    // UTF-8
    char title[FileChoiceBytes(SlotTitleBytes)] = {};  // UTF-8
};

}  // namespace skelvo
