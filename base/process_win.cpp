// Process ids, start times and the local application data folder through KERNEL32 and
// SHELL32.
#include "base/process_win.h"

#include <shlobj.h>
#include <windows.h>

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
    char path[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
        return {};
    return path;
}

bool Win32ProcessSystem::makeDirectory(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return true;
    return GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace skelvo
