// Owned Win32 file and search handles, and the reads and writes of whole files that both
// file stores make through them.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "base/file_store.h"

namespace skelvo {

struct FileHandle {
    HANDLE h;
    explicit FileHandle(HANDLE handle) : h(handle) {}
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool ok() const { return h != INVALID_HANDLE_VALUE; }
};

struct FindHandle {
    HANDLE h;
    explicit FindHandle(HANDLE handle) : h(handle) {}
    ~FindHandle() {
        if (h != INVALID_HANDLE_VALUE) FindClose(h);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
};

// What a failed open of an existing-or-not file means: only a missing file or folder is
// Missing; anything else (shared, denied, a device error) may hide a file that exists.
inline FileRead failedOpen() {
    const DWORD error = GetLastError();
    FileRead result;
    result.status = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                        ? FileRead::Missing
                        : FileRead::Failed;
    return result;
}

// At most limit bytes from the start of an open file; Failed on a read error.
inline FileRead readOpened(const FileHandle& file, std::size_t limit) {
    FileRead result;
    char buffer[65536];
    while (result.bytes.size() < limit) {
        const DWORD want =
            static_cast<DWORD>(std::min<std::size_t>(sizeof buffer, limit - result.bytes.size()));
        DWORD got = 0;
        if (!ReadFile(file.h, buffer, want, &got, nullptr)) {
            result.status = FileRead::Failed;
            result.bytes.clear();
            return result;
        }
        if (got == 0) break;
        result.bytes.append(buffer, got);
    }
    result.status = FileRead::Read;
    return result;
}

// Writes every byte to a newly created file and, with flush, flushes it to the disk.
inline bool writeAndFlush(const FileHandle& file, std::string_view bytes, bool flush = true) {
    if (!file.ok()) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD wrote = 0;
        if (!WriteFile(file.h, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0)
            return false;
        done += wrote;
    }
    return !flush || FlushFileBuffers(file.h) != 0;
}

}  // namespace skelvo
