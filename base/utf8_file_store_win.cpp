// Whole-file reads and atomic replacement through the wide file API, paths in UTF-8.
#include "base/utf8_file_store_win.h"

#include <windows.h>

#include <algorithm>

#include "base/file_handles_win.h"

namespace skelvo {

namespace {

// Long enough for any path the journal builds; longer ones are refused.
constexpr int WidePathChars = 1024;

// Not flushed: what it holds must outlive the process, which the system's cache does, not
// the system, after whose end no window is left to show. A flush would make every switch
// wait on the disk.
bool writeWhole(const wchar_t* path, std::string_view bytes) {
    FileHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return writeAndFlush(file, bytes, false);
}

}  // namespace

bool toWidePath(const std::string& utf8, wchar_t* out, int size) {
    if (size <= 0) return false;
    if (utf8.empty()) {
        out[0] = L'\0';
        return true;
    }
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                      static_cast<int>(utf8.size()), out, size - 1);
    if (n <= 0) return false;
    out[n] = L'\0';
    return true;
}

std::string toUtf8Path(const wchar_t* wide) {
    if (wide == nullptr || wide[0] == L'\0') return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, out.data(), n, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(n - 1));
    return out;
}

FileRead Win32Utf8FileStore::readFile(const std::string& path) {
    return readBytes(path, static_cast<std::size_t>(-1));
}

std::optional<std::string> Win32Utf8FileStore::readUpTo(const std::string& path,
                                                        std::size_t limit) {
    FileRead file = readBytes(path, limit);
    if (file.status != FileRead::Read) return std::nullopt;
    return std::move(file.bytes);
}

FileRead Win32Utf8FileStore::readBytes(const std::string& path, std::size_t limit) {
    FileRead result;
    result.status = FileRead::Failed;
    wchar_t wide[WidePathChars];
    if (!toWidePath(path, wide, WidePathChars)) return result;
    FileHandle file(CreateFileW(wide, GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return failedOpen();
    return readOpened(file, limit);
}

bool Win32Utf8FileStore::replace(const std::string& path, std::string_view bytes) {
    wchar_t wide[WidePathChars];
    wchar_t temporary[WidePathChars + 4];
    if (!toWidePath(path, wide, WidePathChars)) return false;
    lstrcpyW(temporary, wide);
    lstrcatW(temporary, L".new");
    if (!writeWhole(temporary, bytes) || !MoveFileExW(temporary, wide, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temporary);
        return false;
    }
    return true;
}

bool Win32Utf8FileStore::remove(const std::string& path) {
    wchar_t wide[WidePathChars];
    if (!toWidePath(path, wide, WidePathChars)) return false;
    if (DeleteFileW(wide)) return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::uintptr_t Win32Utf8FileStore::holdForRewrite(const std::string& path) {
    wchar_t wide[WidePathChars];
    if (!toWidePath(path, wide, WidePathChars)) return 0;
    const HANDLE file = CreateFileW(wide, GENERIC_WRITE | DELETE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<std::uintptr_t>(file);
}

bool Win32Utf8FileStore::rewriteHeld(std::uintptr_t handle, std::string_view bytes) {
    if (handle == 0 || bytes.size() > 0x7FFFFFFF) return false;
    const HANDLE file = reinterpret_cast<HANDLE>(handle);
    // At offset 0 whatever the file position, then the end where the bytes end: a reader
    // meanwhile finds the new bytes before the old tail, which a journal's end line cuts.
    OVERLAPPED at{};
    DWORD wrote = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, &at) ||
        wrote != bytes.size())
        return false;
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(bytes.size());
    return SetFileInformationByHandle(file, FileEndOfFileInfo, &end, sizeof end) != 0;
}

bool Win32Utf8FileStore::deleteHeld(std::uintptr_t handle) {
    if (handle == 0) return false;
    FILE_DISPOSITION_INFO gone{TRUE};
    const HANDLE file = reinterpret_cast<HANDLE>(handle);
    const bool ok = SetFileInformationByHandle(file, FileDispositionInfo, &gone, sizeof gone) != 0;
    CloseHandle(file);
    return ok;
}

void Win32Utf8FileStore::closeHeld(std::uintptr_t handle) {
    if (handle != 0) CloseHandle(reinterpret_cast<HANDLE>(handle));
}

std::vector<std::string> Win32Utf8FileStore::list(const std::string& directory,
                                                  const std::string& prefix) {
    std::vector<std::string> names;
    wchar_t pattern[WidePathChars];
    if (!toWidePath(directory + "\\" + prefix + "*", pattern, WidePathChars)) return names;
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW(pattern, &data));
    if (find.h == INVALID_HANDLE_VALUE) return names;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            std::string name = toUtf8Path(data.cFileName);
            if (!name.empty()) names.push_back(std::move(name));
        }
    } while (FindNextFileW(find.h, &data));
    return names;
}

}  // namespace skelvo
