// Owned Win32 file and search handles, shared by the file stores.
#pragma once

#include <windows.h>

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

}  // namespace skelvo
