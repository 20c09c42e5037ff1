// An in-memory file system: whole files by path, every replace recorded in order, and
// failures on demand.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "base/file_store.h"
#include "tests/fakes/event_log.h"

namespace skelvo::testing {

class FakeFileStore : public FileStore {
public:
    std::optional<std::string> read(const std::string& path) override {
        if (log != nullptr) log->add("read " + path);
        const auto it = files.find(path);
        if (it == files.end()) return std::nullopt;
        return it->second;
    }
    bool replace(const std::string& path, std::string_view bytes) override {
        if (log != nullptr) log->add("replace " + path);
        if (failWrites) return false;
        files[path] = std::string(bytes);
        writes.push_back({path, std::string(bytes)});
        return true;
    }
    bool remove(const std::string& path) override {
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
    EventLog* log = nullptr;
};

}  // namespace skelvo::testing
