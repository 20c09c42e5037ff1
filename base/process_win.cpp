// Process ids, start times and the local application data folder through KERNEL32 and
// SHELL32, the folders read and made through the wide API.
#include "base/process_win.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "base/utf8_file_store_win.h"

namespace skelvo {

std::uint32_t Win32ProcessSystem::currentId() {
    return GetCurrentProcessId();
}

std::uint64_t Win32ProcessSystem::startMark(std::uint32_t processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) return 0;
    FILETIME created{}, exited{}, kernel{}, user{};
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE &&
                         GetProcessTimes(process, &created, &exited, &kernel, &user);
    CloseHandle(process);
    if (!running) return 0;
    return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

std::string Win32ProcessSystem::localDataDirectory() {
    PWSTR path = nullptr;
    const HRESULT result = SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path);
    std::string out = SUCCEEDED(result) ? toUtf8Path(path) : std::string();
    CoTaskMemFree(path);  // also when the call failed
    return out;
}

std::string Win32ProcessSystem::fallbackDataDirectory() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, path);
    if (n == 0 || n > MAX_PATH) return {};
    std::string out = toUtf8Path(path);
    while (!out.empty() && (out.back() == '\\' || out.back() == '/')) out.pop_back();
    return out;
}

bool Win32ProcessSystem::makeDirectory(const std::string& path) {
    wchar_t wide[1024];
    if (!toWidePath(path, wide, 1024)) return false;
    if (CreateDirectoryW(wide, nullptr)) return true;
    return GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace skelvo
