// Whole-file access under UTF-8 paths through the wide file API, for files whose folder
// comes from the system and may hold any character (the window journal), and the
// conversions between UTF-8 and the system's wide paths.
#pragma once

#include "base/file_store.h"

namespace skelvo {

// The path as a NUL-terminated wide string in out, without allocating, so that a crash
// handler can use it; false when it is not UTF-8 or does not fit in size characters.
bool toWidePath(const std::string& utf8, wchar_t* out, int size);
// Empty when wide is null or cannot be converted.
std::string toUtf8Path(const wchar_t* wide);

class Win32Utf8FileStore : public FileStore {
public:
    FileRead readFile(const std::string& path) override;
    std::optional<std::string> readUpTo(const std::string& path, std::size_t limit) override;
    // Atomic, but not flushed to the disk: the journal has to outlive the process only.
    bool replace(const std::string& path, std::string_view bytes) override;
    // Allocates nothing.
    bool remove(const std::string& path) override;
    std::vector<std::string> list(const std::string& directory, const std::string& prefix) override;
    // Writing and DELETE access, every kind of sharing: readers are not held up.
    std::uintptr_t holdForRewrite(const std::string& path) override;
    // Not flushed, as replace.
    bool rewriteHeld(std::uintptr_t handle, std::string_view bytes) override;
    // Only system calls that take no user-mode lock: usable once the UI thread is stopped.
    bool deleteHeld(std::uintptr_t handle) override;
    void closeHeld(std::uintptr_t handle) override;
    // UTF-8 has no lead bytes that a path's separators could follow.
    bool isLeadByte(unsigned char) const override { return false; }

private:
    FileRead readBytes(const std::string& path, std::size_t limit);
};

}  // namespace skelvo
