// An in-memory file system: whole files by path, every replace and removal recorded in
// order, files held open by other programs or read-only, failures on demand, and the lead
// bytes of code page 932 or of a single-byte code page.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/ansi_path.h"
#include "base/file_store.h"
#include "tests/fakes/event_log.h"

namespace skelvo::testing {

class FakeFileStore : public FileStore {
public:
    // How another program holds a file open for writing: sharing nothing, or reading and
    // writing as an editor does.
    enum Sharing { ShareNothing, ShareReadWrite };

    FileRead readFile(const std::string& path) override {
        return readBytes(path, std::string::npos);
    }
    std::optional<std::string> readUpTo(const std::string& path, std::size_t limit) override {
        FileRead file = readBytes(path, limit);
        if (file.status != FileRead::Read) return std::nullopt;
        return std::move(file.bytes);
    }
    // As the rename on Windows: a read-only target, or one another program holds open,
    // is not replaced, and the temporary file is deleted again. The ANSI API opens no
    // path of MAX_PATH bytes or more, the temporary file's included.
    bool replace(const std::string& path, std::string_view bytes) override {
        if (log != nullptr) log->add("replace " + path);
        const std::string temporary =
            temporaryPathFor(path, [this](unsigned char b) { return isLeadByte(b); });
        if (failWrites || inFullFolder(path) || readOnly.count(path) != 0 ||
            held.count(path) != 0 || path.size() >= MaxPath || temporary.size() >= MaxPath) {
            refused.push_back({path, std::string(bytes)});
            return false;
        }
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
    bool isLeadByte(unsigned char byte) const override {
        return codePage == 932 && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
    }

    std::uintptr_t holdForRewrite(const std::string& path) override {
        if (files.count(path) == 0) return 0;
        heldForDelete[++lastHandle] = path;
        return lastHandle;
    }
    bool rewriteHeld(std::uintptr_t handle, std::string_view bytes) override {
        const auto it = heldForDelete.find(handle);
        if (it == heldForDelete.end() || failWrites || inFullFolder(it->second)) return false;
        files[it->second] = std::string(bytes);
        writes.push_back({it->second, std::string(bytes)});
        return true;
    }
    bool deleteHeld(std::uintptr_t handle) override {
        const auto it = heldForDelete.find(handle);
        if (it == heldForDelete.end()) return false;
        files.erase(it->second);
        writes.push_back({it->second, std::nullopt});
        heldForDelete.erase(it);
        return true;
    }
    void closeHeld(std::uintptr_t handle) override { heldForDelete.erase(handle); }

    struct Write {
        std::string path;
        std::optional<std::string> bytes;  // nullopt: removed
    };
    std::map<std::string, std::string> files;
    std::vector<Write> writes;   // every replace and remove that was done, in order
    std::vector<Write> refused;  // every replace that failed, with its bytes
    std::map<std::string, Sharing> held;   // held open by another program
    std::set<std::string> readOnly;
    std::set<std::string> unreadable;   // exist, but every read fails
    std::set<std::string> fullFolders;  // writes under these fail
    bool failWrites = false;
    bool failRemoves = false;     // an existing file cannot be removed
    std::size_t largestRead = 0;  // the most bytes one read returned
    unsigned codePage = 932;      // 932, or any other for a single-byte code page
    EventLog* log = nullptr;
    std::map<std::uintptr_t, std::string> heldForDelete;  // handles kept open on files
    std::uintptr_t lastHandle = 0;

private:
    static constexpr std::size_t MaxPath = 260;
    FileRead readBytes(const std::string& path, std::size_t limit) {
        if (log != nullptr) log->add("read " + path);
        FileRead result;
        const auto it = files.find(path);
        if (it == files.end()) return result;
        if (unreadable.count(path) != 0 || heldAs(path, ShareNothing)) {
            result.status = FileRead::Failed;
            return result;
        }
        result.status = FileRead::Read;
        result.bytes = it->second.substr(0, limit);
        largestRead = std::max(largestRead, result.bytes.size());
        return result;
    }
    bool heldAs(const std::string& path, Sharing sharing) const {
        const auto it = held.find(path);
        return it != held.end() && it->second == sharing;
    }
    bool inFullFolder(const std::string& path) const {
        return std::any_of(fullFolders.begin(), fullFolders.end(), [&](const std::string& f) {
            return path.compare(0, f.size() + 1, f + "\\") == 0;
        });
    }
};

}  // namespace skelvo::testing
