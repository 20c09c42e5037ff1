// Records the shell calls the panel makes, answers open-file dialogs from a script, hands
// out icons it tracks and holds drops of named items.
#pragma once

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fakes/event_log.h"
#include "ui/shell.h"

namespace skelvo::testing {

// A u8 literal as the bytes that a std::string holds: the sources' other literals are
// code page 932.
inline std::string utf8(std::u8string_view text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

class FakeShell : public Shell {
public:
    explicit FakeShell(EventLog* log = nullptr) : log_(log) {}
    bool notifyIcon(unsigned operation, const TrayIconData& data) override {
        notifications.push_back({operation, data});
        if (log_ != nullptr) log_->add("notifyIcon " + std::to_string(operation));
        // One icon per window and id: added once, modified and deleted only while shown.
        if (operation == win::NimModify) return shown;
        const bool adding = operation == win::NimAdd;
        if (adding || operation == win::NimDelete) {
            if (shown == adding || (adding && refuseAdd)) return false;
            shown = adding;
            if (adding && busy) return false;  // timed out, yet the icon is there
        }
        return true;
    }

    // The next answer of dialogAnswers (none: cancelled, UTF-8 otherwise), written as
    // GetOpenFileNameW does.
    bool openFileDialog(const OpenFileRequest& r) override {
        dialogs.push_back({r.owner, std::string(r.filter, filterLength(r.filter)), r.title, r.flags,
                           r.file, r.fileSize, r.fileTitleSize});
        if (log_ != nullptr) log_->add("openFileDialog");
        if (dialogAnswers.empty() || !dialogAnswers.front()) {
            if (!dialogAnswers.empty()) dialogAnswers.pop_front();
            return false;
        }
        const DialogAnswer a = *dialogAnswers.front();
        dialogAnswers.pop_front();
        if (a.path.size() >= FileChoiceBytes(r.fileSize) ||
            a.title.size() >= FileChoiceBytes(r.fileTitleSize))
            return false;
        std::memcpy(r.file, a.path.c_str(), a.path.size() + 1);
        std::memcpy(r.fileTitle, a.title.c_str(), a.title.size() + 1);
        return true;
    }
    // As GetFileTitleA: the name after the last separator (a CP932 trail byte is none),
    // with its extension; -1 for no name or a wildcard.
    int fileTitle(const char* path, char* title, unsigned size) override {
        const std::string p = path;
        std::size_t start = 0;
        for (std::size_t i = 0; i < p.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(p[i]);
            if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
                ++i;
            } else if (c == '\\' || c == '/' || c == ':') {
                start = i + 1;
            }
        }
        const std::string name = p.substr(std::min(start, p.size()));
        if (name.empty() || p.find_first_of("*[]") != std::string::npos) return -1;
        if (name.size() >= size) return static_cast<int>(name.size() + 1);
        std::memcpy(title, name.c_str(), name.size() + 1);
        return 0;
    }
    // A new icon for every path but the missing ones.
    IconHandle associatedIcon(InstanceHandle, const char* path) override {
        iconRequests.push_back(path);
        if (missing.count(path) != 0) return 0;
        const IconHandle icon = nextIcon++;
        liveIcons.insert(icon);
        return icon;
    }
    bool destroyIcon(IconHandle icon) override {
        if (log_ != nullptr) log_->add("destroyIcon");
        destroyedIcons.push_back(icon);
        if (liveIcons.erase(icon) != 0) return true;
        badDestroys.push_back(icon);
        return false;
    }
    IconHandle loadIcon(InstanceHandle, int resourceId) override {
        loadedIcons.push_back(resourceId);
        liveIcons.insert(nextIcon);
        return nextIcon++;
    }

    DropHandle addDrop(std::vector<std::string> names) {
        drops[nextDrop] = std::move(names);
        return nextDrop++;
    }
    unsigned dragQueryFile(DropHandle drop, unsigned index, char* buffer, unsigned size) override {
        const auto it = drops.find(drop);
        if (it == drops.end()) return 0;
        if (index == DropCountIndex) return static_cast<unsigned>(it->second.size());
        if (index >= it->second.size()) return 0;
        const std::string& name = it->second[index];
        if (buffer == nullptr) return static_cast<unsigned>(name.size());
        if (size == 0) return 0;
        const std::size_t n = std::min<std::size_t>(name.size(), size - 1);
        std::memcpy(buffer, name.data(), n);
        buffer[n] = '\0';
        return static_cast<unsigned>(n);
    }
    // The names as they were added: UTF-8, as the shell hands them out in Unicode.
    std::string droppedPath(DropHandle drop, unsigned index) override {
        const auto it = drops.find(drop);
        return it != drops.end() && index < it->second.size() ? it->second[index] : std::string();
    }
    void dragFinish(DropHandle drop) override {
        finishedDrops.push_back(drop);
        drops.erase(drop);
    }

    unsigned shellExecute(WindowHandle owner, const char* operation, const char* file,
                          const char* parameters, const char* directory, int showCommand) override {
        auto text = [](const char* t) { return t ? std::optional<std::string>(t) : std::nullopt; };
        executed.push_back({owner, operation ? operation : "", file ? file : "", text(parameters),
                            text(directory), showCommand});
        if (log_ != nullptr) log_->add(std::string("shellExecute ") + file);
        return missing.count(file) != 0 ? FileNotFound : 0;
    }

    // The system's text for the codes the fake returns.
    std::string errorText(unsigned error) override {
        return error == FileNotFound ? "The system cannot find the file specified." : "";
    }

    // Code page 932 as far as ansiOf knows it: ASCII as it is, each other character only
    // through the table, and nothing by best fit.
    std::optional<std::string> toAnsi(const std::string& utf8) override {
        std::string ansi;
        for (std::size_t i = 0; i < utf8.size();) {
            const unsigned char c = static_cast<unsigned char>(utf8[i]);
            const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            const std::string character = utf8.substr(i, n);
            i += n;
            if (n == 1) {
                ansi += character;
                continue;
            }
            const auto it = ansiOf.find(character);
            if (it == ansiOf.end()) return std::nullopt;
            ansi += it->second;
        }
        return ansi;
    }
    std::string toUtf8(const std::string& ansi) override {
        std::string utf8;
        for (std::size_t i = 0; i < ansi.size();) {
            if (static_cast<unsigned char>(ansi[i]) < 0x80) {
                utf8 += ansi[i++];
                continue;
            }
            const auto it = std::find_if(ansiOf.begin(), ansiOf.end(), [&](const auto& entry) {
                return ansi.compare(i, entry.second.size(), entry.second) == 0;
            });
            if (it == ansiOf.end()) return {};
            utf8 += it->first;
            i += it->second.size();
        }
        return utf8;
    }
    std::string shortPath(const std::string& utf8) override {
        const auto it = shortNames.find(utf8);
        return it != shortNames.end() ? it->second : std::string();
    }

    static constexpr unsigned FileNotFound = 2;  // ERROR_FILE_NOT_FOUND
    // The characters beyond ASCII that the code page holds: UTF-8 and their ANSI bytes.
    std::map<std::string, std::string> ansiOf = {
        {utf8(u8"表"), "\x95\x5C"}, {utf8(u8"メ"), "\x83\x81"}, {utf8(u8"モ"), "\x83\x82"}};
    // Paths that exist with short names: the long path and its short form, in UTF-8.
    std::map<std::string, std::string> shortNames;
    bool refuseAdd = false;  // the shell refuses new icons (no taskbar yet)
    bool busy = false;       // an add reports failure although it showed the icon
    bool shown = false;      // an icon is in the notification area
    std::vector<int> loadedIcons;
    std::vector<IconHandle> badDestroys;  // destroyed twice or never loaded
    struct Notification {
        unsigned operation;
        TrayIconData data;
    };
    struct DialogAnswer {
        std::string path;
        std::string title;
    };
    struct DialogCall {
        WindowHandle owner;
        std::string filter;  // with its NULs, up to the list's end
        std::string title;
        unsigned flags;
        std::string initialFile;
        unsigned fileSize;
        unsigned fileTitleSize;
    };
    struct Execution {
        WindowHandle owner;
        std::string operation;
        std::string file;
        std::optional<std::string> parameters;
        std::optional<std::string> directory;
        int showCommand;
    };
    std::vector<Notification> notifications;
    std::deque<std::optional<DialogAnswer>> dialogAnswers;
    std::vector<DialogCall> dialogs;
    std::set<std::string> missing;  // paths that have no icon
    std::vector<std::string> iconRequests;
    std::set<IconHandle> liveIcons;
    std::vector<IconHandle> destroyedIcons;
    std::map<DropHandle, std::vector<std::string>> drops;
    std::vector<DropHandle> finishedDrops;
    std::vector<Execution> executed;

private:
    static std::size_t filterLength(const char* filter) {
        if (filter == nullptr) return 0;
        std::size_t n = 0;
        while (filter[n] != '\0') n += std::strlen(filter + n) + 1;
        return n + 1;
    }
    EventLog* log_;
    IconHandle nextIcon = 0x5000;
    DropHandle nextDrop = 0xD000;
};

}  // namespace skelvo::testing
