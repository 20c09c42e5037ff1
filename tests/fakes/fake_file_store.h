// An in-memory file system: whole files by path, every replace and removal recorded in
// order, and failures on demand.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/file_store.h"
#include "tests/fakes/event_log.h"

namespace skelvo::testing {

class FakeFileStore : public FileStore {
public:
    std::optional<std::string> read(const std::string& path) override {
        return readUpTo(path, std::string::npos);
    }
    std::optional<std::string> readUpTo(const std::string& path, std::size_t limit) override {
        if (log != nullptr) log->add("read " + path);
        const auto it = files.find(path);
        if (it == files.end() || unreadable.count(path) != 0) return std::nullopt;
        std::string bytes = it->second.substr(0, limit);
        largestRead = std::max(largestRead, bytes.size());
        return bytes;
    }
    bool replace(const std::string& path, std::string_view bytes) override {
        if (log != nullptr) log->add("replace " + path);
        if (failWrites || refused(path)) return false;
        files[path] = std::string(bytes);
        writes.push_back({path, std::string(bytes)});
        return true;
    }
    bool remove(const std::string& path) override {
        if (failRemoves && files.count(path) != 0) return false;
        files.erase(path);
        writes.push_back({path, std::nullopt});
        return true;
    }
    std::vector<std::string> list(const std::string& directory,
                                  const std::string& prefix) override {
        std::vector<std::string> names;
        const std::string lead = directory + "\\" + prefix;
        for (const auto& [path, bytes] : files)
            if (path.compare(0, lead.size(), lead) == 0 &&
                path.find('\\', directory.size() + 1) == std::string::npos)
                names.push_back(path.substr(directory.size() + 1));
        return names;
    }

    struct Write {
        std::string path;
        std::optional<std::string> bytes;  // nullopt: removed
    };
    std::map<std::string, std::string> files;
    std::vector<Write> writes;  // every replace and remove, in order
    bool failWrites = false;
    bool failRemoves = false;           // an existing file cannot be removed
    std::set<std::string> unreadable;   // exist, but every read fails
    std::set<std::string> fullFolders;  // writes under these fail
    std::size_t largestRead = 0;        // the most bytes one read returned
    EventLog* log = nullptr;

private:
    bool refused(const std::string& path) const {
        return std::any_of(fullFolders.begin(), fullFolders.end(), [&](const std::string& f) {
            return path.compare(0, f.size() + 1, f + "\\") == 0;
        });
    }
};

}  // namespace skelvo::testing
