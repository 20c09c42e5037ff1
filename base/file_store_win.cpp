// Whole-file reads and atomic replacement through the wide file API, paths in UTF-8, so
// that a folder of any name holds the settings file.
#include "base/file_store_win.h"

#include <windows.h>

#include "base/file_handles_win.h"
#include "base/utf8_file_store_win.h"

namespace skelvo {

namespace {

// MAX_PATH and a little more: a longer path is refused, as the ANSI calls refused it.
constexpr int WidePathChars = MAX_PATH + 8;

// Writes and flushes every byte to a new file at path.
bool writeFlushed(const wchar_t* path, std::string_view bytes) {
    FileHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return writeAndFlush(file, bytes);
}

// path with its last character changed to tildes (underscores if it is a tilde): the
// temporary file is exactly as long, so it opens wherever path does.
void makeTemporary(wchar_t* path) {
    const int length = lstrlenW(path);
    if (length == 0) return;
    int last = length - 1;
    if (last > 0 && IS_LOW_SURROGATE(path[last]) && IS_HIGH_SURROGATE(path[last - 1])) --last;
    const wchar_t mark = path[last] == L'~' ? L'_' : L'~';
    for (int i = last; i < length; ++i) path[i] = mark;
}

}  // namespace

FileRead Win32FileStore::readFile(const std::string& path) {
    wchar_t wide[WidePathChars];
    if (!toWidePath(path, wide, WidePathChars)) return FileRead{FileRead::Failed, {}};
    // Shared as the C library's fopen shares: an editor or a scanner holding the file open,
    // even for writing, does not make it unreadable.
    FileHandle file(CreateFileW(wide, GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return failedOpen();
    return readOpened(file, static_cast<std::size_t>(-1));
}

bool Win32FileStore::replace(const std::string& path, std::string_view bytes) {
    wchar_t wide[WidePathChars];
    wchar_t temporary[WidePathChars];
    if (!toWidePath(path, wide, WidePathChars)) return false;
    // Windows refuses to rename over a read-only file; Wine would replace it.
    const DWORD attributes = GetFileAttributesW(wide);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return false;
    lstrcpyW(temporary, wide);
    makeTemporary(temporary);
    if (!writeFlushed(temporary, bytes) ||
        !MoveFileExW(temporary, wide, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary);
        return false;
    }
    return true;
}

bool Win32FileStore::remove(const std::string& path) {
    wchar_t wide[WidePathChars];
    if (!toWidePath(path, wide, WidePathChars)) return false;
    if (DeleteFileW(wide)) return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool Win32FileStore::isLeadByte(unsigned char byte) const {
    return IsDBCSLeadByte(byte) != 0;
}

std::vector<std::string> Win32FileStore::list(const std::string& directory,
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
