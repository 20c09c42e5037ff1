// SHELL32 and COMDLG32 calls behind the shell interface.
#include "ui/shell_win.h"

#include <windows.h>

// After <windows.h>, whose types they use.
#include <commdlg.h>
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

bool Win32Shell::openFileDialog(const OpenFileRequest& request) {
    OPENFILENAMEA ofn;
    std::memset(&ofn, 0, sizeof(ofn));
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = reinterpret_cast<HWND>(request.owner);
    ofn.lpstrFilter = request.filter;
    ofn.nFilterIndex = 0;
    ofn.lpstrFile = request.file;
    ofn.nMaxFile = request.fileSize;
    ofn.lpstrFileTitle = request.fileTitle;
    ofn.nMaxFileTitle = request.fileTitleSize;
    ofn.lpstrInitialDir = nullptr;
    ofn.lpstrTitle = request.title;
    ofn.Flags = request.flags;
    const bool chosen = GetOpenFileNameA(&ofn) != FALSE;
    if (afterDialog != nullptr) afterDialog();
    return chosen;
}

int Win32Shell::fileTitle(const char* path, char* title, unsigned size) {
    return GetFileTitleA(path, title, static_cast<WORD>(size));
}

IconHandle Win32Shell::associatedIcon(InstanceHandle instance, const char* path) {
    // The call writes the file it took the icon from (or this module) into its argument.
    char scratch[MAX_PATH];
    std::strncpy(scratch, path, MAX_PATH - 1);
    scratch[MAX_PATH - 1] = '\0';
    WORD index = 0;
    return reinterpret_cast<IconHandle>(
        ExtractAssociatedIconA(reinterpret_cast<HINSTANCE>(instance), scratch, &index));
}

bool Win32Shell::destroyIcon(IconHandle icon) {
    return DestroyIcon(reinterpret_cast<HICON>(icon)) != FALSE;
}

unsigned Win32Shell::dragQueryFile(DropHandle drop, unsigned index, char* buffer, unsigned size) {
    return DragQueryFileA(reinterpret_cast<HDROP>(drop), index, buffer, size);
}

void Win32Shell::dragFinish(DropHandle drop) {
    DragFinish(reinterpret_cast<HDROP>(drop));
}

std::intptr_t Win32Shell::shellExecute(WindowHandle owner, const char* operation, const char* file,
                                       const char* parameters, const char* directory,
                                       int showCommand) {
    return reinterpret_cast<std::intptr_t>(ShellExecuteA(reinterpret_cast<HWND>(owner), operation,
                                                         file, parameters, directory, showCommand));
}

IconHandle Win32Shell::loadIcon(InstanceHandle instance, int resourceId) {
    return reinterpret_cast<IconHandle>(LoadImageA(reinterpret_cast<HINSTANCE>(instance),
                                                   MAKEINTRESOURCEA(resourceId), IMAGE_ICON, 0, 0,
                                                   LR_DEFAULTCOLOR));
}

}  // namespace skelvo
