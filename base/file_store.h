// Whole-file access for the settings file and the window journal. The core parses and
// formats bytes; this interface only reads, replaces and removes files. Win32 in
// file_store_win.cpp; an in-memory file system in the tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skelvo {

class FileStore {
public:
    virtual ~FileStore() = default;

    // The whole file; nullopt when it does not exist or cannot be read.
    virtual std::optional<std::string> read(const std::string& path) = 0;
    // At most the first limit bytes; a store that can stop early overrides it.
    virtual std::optional<std::string> readUpTo(const std::string& path, std::size_t limit) {
        std::optional<std::string> bytes = read(path);
        if (bytes && bytes->size() > limit) bytes->resize(limit);
        return bytes;
    }
    // Replaces path with bytes atomically: a temporary file in the same directory is
    // written and flushed, then renamed over path. On failure path keeps its old bytes.
    virtual bool replace(const std::string& path, std::string_view bytes) = 0;
    // Deletes path; true when it is gone (also when it never existed).
    virtual bool remove(const std::string& path) = 0;
    // Names (without the directory) of the files in directory that start with prefix.
    virtual std::vector<std::string> list(const std::string& directory,
                                          const std::string& prefix) = 0;
};

}  // namespace skelvo
