// The shell services the panel uses: the notification-area icon (and, as the launcher
// grows, opening files and their icons). Win32 in shell_win.cpp; a recorder in the tests.
#pragma once

#include <cstdint>

#include "base/platform.h"

namespace skelvo {

// The fields of the first NOTIFYICONDATAA layout that the panel fills; the Win32 edge
// translates it into the SDK structure of NOTIFYICONDATAA_V1_SIZE bytes.
struct TrayIconData {
    WindowHandle window = NullWindow;
    unsigned id = 0;
    unsigned flags = 0;
    unsigned callbackMessage = 0;
    IconHandle icon = 0;
    char tip[64] = {};
};

class Shell {
public:
    virtual ~Shell() = default;
    // Shell_NotifyIconA; returns its result.
    virtual bool notifyIcon(unsigned operation, const TrayIconData& data) = 0;
    // An icon group of the module at its own size (LoadImageA, LR_DEFAULTCOLOR); 0 if none.
    virtual IconHandle loadIcon(InstanceHandle instance, int resourceId) = 0;
    virtual void destroyIcon(IconHandle icon) = 0;
};

}  // namespace skelvo
