// SHELL32 and COMDLG32 calls behind the shell interface.
#include "ui/shell_win.h"

#include <windows.h>

// After <windows.h>, whose types they use.
#include <commdlg.h>
#include <shellapi.h>

#include <cstring>
#include <string>

#include "base/utf8_file_store_win.h"

namespace skelvo {

namespace {

constexpr UINT ShiftJisCodePage = 932;

std::wstring wideOf(const std::string& text, UINT codePage) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(),
                                      static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        wide.data(), n);
    return wide;
}

}  // namespace

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
    // The panel's texts are code page 932 whatever the system's code page.
    std::size_t filterLength = 0;
    while (request.filter != nullptr && request.filter[filterLength] != '\0')
        filterLength += std::strlen(request.filter + filterLength) + 1;
    const std::wstring filter =
        wideOf(std::string(request.filter != nullptr ? request.filter : "", filterLength + 1),
               ShiftJisCodePage);
    const std::wstring title =
        wideOf(request.title != nullptr ? request.title : "", ShiftJisCodePage);
    std::wstring file(request.fileSize, L'\0');
    std::wstring fileTitle(request.fileTitleSize, L'\0');
    if (!toWidePath(request.file, file.data(), static_cast<int>(file.size()))) file[0] = L'\0';

    OPENFILENAMEW ofn;
    std::memset(&ofn, 0, sizeof(ofn));
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    ofn.hwndOwner = reinterpret_cast<HWND>(request.owner);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 0;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = request.fileSize;
    ofn.lpstrFileTitle = fileTitle.data();
    ofn.nMaxFileTitle = request.fileTitleSize;
    ofn.lpstrInitialDir = nullptr;
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = request.flags;
    bool chosen = GetOpenFileNameW(&ofn) != FALSE;
    if (afterDialog != nullptr) afterDialog();
    if (!chosen) return false;
    const std::string path = toUtf8Path(file.c_str());
    const std::string name = toUtf8Path(fileTitle.c_str());
    if (path.empty() || path.size() >= FileChoiceBytes(request.fileSize) ||
        name.size() >= FileChoiceBytes(request.fileTitleSize))
        return false;
    std::memcpy(request.file, path.c_str(), path.size() + 1);
    std::memcpy(request.fileTitle, name.c_str(), name.size() + 1);
    return true;
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

std::string Win32Shell::droppedPath(DropHandle drop, unsigned index) {
    const HDROP handle = reinterpret_cast<HDROP>(drop);
    const UINT length = DragQueryFileW(handle, index, nullptr, 0);
    if (length == 0) return {};
    std::wstring name(length + 1, L'\0');
    if (DragQueryFileW(handle, index, name.data(), length + 1) != length) return {};
    return toUtf8Path(name.c_str());
}

void Win32Shell::dragFinish(DropHandle drop) {
    DragFinish(reinterpret_cast<HDROP>(drop));
}

unsigned Win32Shell::shellExecute(WindowHandle owner, const char* operation, const char* file,
                                  const char* parameters, const char* directory, int showCommand) {
    SHELLEXECUTEINFOA info;
    std::memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    // The caller reports a failure itself: the shell's own box would make it two.
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = reinterpret_cast<HWND>(owner);
    info.lpVerb = operation;
    info.lpFile = file;
    info.lpParameters = parameters;
    info.lpDirectory = directory;
    info.nShow = showCommand;
    if (ShellExecuteExA(&info)) return 0;
    const DWORD error = GetLastError();
    // A failure that set no code still must not pass as done.
    return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

std::string Win32Shell::errorText(unsigned error) {
    char text[512];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             error, 0, text, sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ')) --n;
    return std::string(text, n);
}

std::optional<std::string> Win32Shell::toAnsi(const std::string& utf8) {
    if (utf8.empty()) return std::string();
    const std::wstring wide = wideOf(utf8, CP_UTF8);
    if (wide.empty()) return std::nullopt;
    // Best fit would turn "café" into "cafe", another file that may well exist.
    BOOL defaulted = FALSE;
    const int n =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                            static_cast<int>(wide.size()), nullptr, 0, nullptr, &defaulted);
    if (n <= 0 || defaulted) return std::nullopt;
    std::string ansi(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                        ansi.data(), n, nullptr, &defaulted);
    if (defaulted) return std::nullopt;
    return ansi;
}

std::string Win32Shell::toUtf8(const std::string& ansi) {
    return toUtf8Path(wideOf(ansi, CP_ACP).c_str());
}

std::string Win32Shell::shortPath(const std::string& utf8) {
    const std::wstring wide = wideOf(utf8, CP_UTF8);
    if (wide.empty()) return {};
    const DWORD n = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (n == 0) return {};
    std::wstring shortened(n, L'\0');
    const DWORD written = GetShortPathNameW(wide.c_str(), shortened.data(), n);
    if (written == 0 || written >= n) return {};
    shortened.resize(written);
    return toUtf8Path(shortened.c_str());
}

IconHandle Win32Shell::loadIcon(InstanceHandle instance, int resourceId) {
    return reinterpret_cast<IconHandle>(LoadImageA(reinterpret_cast<HINSTANCE>(instance),
                                                   MAKEINTRESOURCEA(resourceId), IMAGE_ICON, 0, 0,
                                                   LR_DEFAULTCOLOR));
}

}  // namespace skelvo
