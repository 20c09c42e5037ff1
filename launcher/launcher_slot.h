// A launcher slot: one registered file or folder with its display title and icon.
#pragma once

#include <array>

#include "base/platform.h"

namespace skelvo {

inline constexpr int SlotCount = 12;
inline constexpr int SlotTitleBytes = 128;
inline constexpr int SlotPathBytes = 260;

struct LauncherSlot {
    InstanceHandle instanceHandle = 0;
    WindowHandle ownerWindow = NullWindow;
    char fileTitle[SlotTitleBytes] = {};
    char filePath[SlotPathBytes] = {};
    IconHandle icon = 0;
    int slotIndex = 0;
    int registered = 0;

    // Empties the slot and binds it to the panel at position index.
    void initialise(InstanceHandle instance, WindowHandle owner, int index);
    // A drawable icon: 0 and 1 are no icon.
    bool hasIcon() const { return icon > 1; }
};

using SlotArray = std::array<LauncherSlot, SlotCount>;

}  // namespace skelvo
