// SHELL32 calls behind the shell interface.
#include "ui/shell_win.h"

#include <windows.h>

// After <windows.h>, whose types it uses.
#include <shellapi.h>

#include <cstring>

namespace skelvo {

bool Win32Shell::notifyIcon(unsigned operation, const TrayIconData& data) {
    NOTIFYICONDATAA nid;
    std::memset(&nid, 0, sizeof(nid));
    // The first, shortest layout: the shell reads no field beyond the tip.
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = reinterpret_cast<HWND>(data.window);
    nid.uID = data.id;
    nid.uFlags = data.flags;
    nid.uCallbackMessage = data.callbackMessage;
    nid.hIcon = reinterpret_cast<HICON>(data.icon);
    static_assert(sizeof(data.tip) == 64);
    std::memcpy(nid.szTip, data.tip, sizeof(data.tip));
    nid.szTip[sizeof(data.tip) - 1] = '\0';
    return Shell_NotifyIconA(operation, &nid) != FALSE;
}

IconHandle Win32Shell::loadIcon(InstanceHandle instance, int resourceId) {
    return reinterpret_cast<IconHandle>(LoadImageA(reinterpret_cast<HINSTANCE>(instance),
                                                   MAKEINTRESOURCEA(resourceId), IMAGE_ICON, 0, 0,
                                                   LR_DEFAULTCOLOR));
}

void Win32Shell::destroyIcon(IconHandle icon) {
    DestroyIcon(reinterpret_cast<HICON>(icon));
}

}  // namespace skelvo
