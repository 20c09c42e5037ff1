// Whole-file reads and atomic replacement through the ANSI file API.
#include "base/file_store_win.h"

#include <windows.h>

#include <algorithm>

#include "base/ansi_path.h"
#include "base/file_handles_win.h"

namespace skelvo {

FileRead Win32FileStore::readFile(const std::string& path) {
    // Shared as the C library's fopen shares: an editor or a scanner holding the file open,
    // even for writing, does not make it unreadable.
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return failedOpen();
    return readOpened(file, static_cast<std::size_t>(-1));
}

namespace {

// Writes and flushes every byte to a new file at path.
bool writeFlushed(const std::string& path, std::string_view bytes) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return writeAndFlush(file, bytes);
}

}  // namespace

bool Win32FileStore::replace(const std::string& path, std::string_view bytes) {
    // Windows refuses to rename over a read-only file; Wine would replace it.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return false;
    const std::string temporary =
        temporaryPathFor(path, [this](unsigned char byte) { return isLeadByte(byte); });
    if (!writeFlushed(temporary, bytes) ||
        !MoveFileExA(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

bool Win32FileStore::remove(const std::string& path) {
    if (DeleteFileA(path.c_str())) return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool Win32FileStore::isLeadByte(unsigned char byte) const {
    return IsDBCSLeadByte(byte) != 0;
}

std::vector<std::string> Win32FileStore::list(const std::string& directory,
                                              const std::string& prefix) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    const std::string pattern = directory + "\\" + prefix + "*";
    FindHandle find(FindFirstFileA(pattern.c_str(), &data));
    if (find.h == INVALID_HANDLE_VALUE) return names;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.emplace_back(data.cFileName);
    } while (FindNextFileA(find.h, &data));
    return names;
}

}  // namespace skelvo
