// Whole-file access for the settings file and the window journal. The core parses and
// formats bytes; this interface only reads, replaces and removes files, and says how the
// system reads the bytes of a path. Win32 in file_store_win.cpp; an in-memory file system
// in the tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skelvo {

struct FileRead {
    enum Status {
        Read,     // bytes holds the whole file
        Missing,  // neither the file nor its directory exists
        Failed,   // it may exist but could not be read (shared, denied, a device error)
    };
    Status status = Missing;
    std::string bytes;
};

class FileStore {
public:
    virtual ~FileStore() = default;

    // The whole file, read while other programs hold it open, for writing too.
    virtual FileRead readFile(const std::string& path) = 0;
    // Replaces path with bytes atomically: a temporary file in the same directory, whose
    // path is no longer than path, is written and flushed, then renamed over path. On
    // failure path keeps its old bytes and no temporary file is left.
    virtual bool replace(const std::string& path, std::string_view bytes) = 0;
    // Deletes path; true when it is gone (also when it never existed).
    virtual bool remove(const std::string& path) = 0;
    // Names (without the directory) of the files in directory that start with prefix.
    virtual std::vector<std::string> list(const std::string& directory,
                                          const std::string& prefix) = 0;
    // The byte opens a double-byte character in the system's ANSI code page, the one in
    // which paths are given to the file system.
    virtual bool isLeadByte(unsigned char byte) const = 0;

    // The whole file; nullopt when it is missing or cannot be read.
    std::optional<std::string> read(const std::string& path) {
        FileRead file = readFile(path);
        if (file.status != FileRead::Read) return std::nullopt;
        return std::move(file.bytes);
    }
    // A handle kept open on an existing file, through which it is rewritten in place (a
    // whole-file write that costs no new file and no rename) and deleted later without
    // allocating or taking a lock that another thread may hold (after a crash); 0 when
    // none could be opened. A rewrite puts bytes at the start and ends the file after
    // them; deleteHeld deletes the file and closes the handle, closeHeld only closes it.
    // A store without such handles never gives one.
    virtual std::uintptr_t holdForRewrite(const std::string&) { return 0; }
    virtual bool rewriteHeld(std::uintptr_t, std::string_view) { return false; }
    virtual bool deleteHeld(std::uintptr_t) { return false; }
    virtual void closeHeld(std::uintptr_t) {}
    // At most the first limit bytes, as read gives them; a store that can stop early
    // overrides it.
    virtual std::optional<std::string> readUpTo(const std::string& path, std::size_t limit) {
        std::optional<std::string> bytes = read(path);
        if (bytes && bytes->size() > limit) bytes->resize(limit);
        return bytes;
    }
};

}  // namespace skelvo
