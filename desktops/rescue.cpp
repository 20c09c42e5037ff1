// Held windows, the journal's text form and its replay.
#include "desktops/rescue.h"

#include <charconv>
#include <cstdio>

namespace skelvo {

namespace {

bool add(WindowHandle window, int command, HeldWindow* out, int& n, int capacity) {
    if (window == NullWindow) return true;
    for (int i = 0; i < n; ++i) {
        if (out[i].window == window) return true;
    }
    if (n >= capacity) return false;
    out[n++] = HeldWindow{window, command == 0 ? win::SwShowNa : command};
    return true;
}

constexpr std::string_view Header = "Skelvo window journal 1";

template <typename T>
bool number(std::string_view& line, T& value, int base = 10) {
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value, base);
    if (error != std::errc{} || end == line.data()) return false;
    line.remove_prefix(static_cast<std::size_t>(end - line.data()));
    return true;
}

bool word(std::string_view& line, std::string_view expected) {
    if (line.substr(0, expected.size()) != expected) return false;
    line.remove_prefix(expected.size());
    return true;
}

}  // namespace

int collectHeld(const DesktopArray& desktops, int skipped, const WindowHandle* extra,
                int extraCount, HeldWindow* out, int capacity) {
    int n = 0;
    for (int k = 0; k < DesktopCount; ++k) {
        if (k == skipped) continue;
        const VirtualDesktop& d = desktops[k];
        for (int i = 0; i < d.count && i < EntryCapacity; ++i) {
            add(d.entries[i].window, d.entries[i].showState, out, n, capacity);
        }
        // The windows that go with them, after them so that they come back above them.
        for (int i = 0; i < d.owned.count && i < OwnedCapacity; ++i) {
            add(d.owned.items[i].window, d.owned.items[i].command, out, n, capacity);
        }
    }
    for (int i = 0; i < extraCount; ++i) add(extra[i], win::SwShowNa, out, n, capacity);
    return n;
}

int showHeldAsync(WindowSystem& windows, const HeldWindow* held, int count) {
    int shown = 0;
    for (int i = 0; i < count; ++i) {
        // One still visible may have a hide on its way: a show posted behind it brings the
        // window back, with SW_SHOWNA in the state it has.
        const bool visible = windows.isVisible(held[i].window);
        windows.showAsync(held[i].window, visible ? win::SwShowNa : held[i].command);
        if (!visible) ++shown;
    }
    return shown;
}

std::string formatJournal(const Journal& journal) {
    std::string out(Header);
    char line[96];
    std::snprintf(line, sizeof line, "\nowner %lu %llu\n",
                  static_cast<unsigned long>(journal.ownerId),
                  static_cast<unsigned long long>(journal.ownerMark));
    out += line;
    for (const JournalRecord& r : journal.records) {
        if (r.place) {
            std::snprintf(line, sizeof line, "place %llx %lu %d %d %d %d ",
                          static_cast<unsigned long long>(r.window),
                          static_cast<unsigned long>(r.processId), r.place->left, r.place->top,
                          r.place->right, r.place->bottom);
        } else {
            std::snprintf(line, sizeof line, "window %llx %lu %d ",
                          static_cast<unsigned long long>(r.window),
                          static_cast<unsigned long>(r.processId), r.command);
        }
        out += line;
        out += r.className;
        out += '\n';
    }
    std::snprintf(line, sizeof line, "end %zu\n", journal.records.size());
    return out + line;
}

std::optional<Journal> parseJournal(std::string_view bytes) {
    Journal journal;
    bool owner = false;
    std::size_t lineNo = 0;
    while (!bytes.empty()) {
        const std::size_t eol = bytes.find('\n');
        // A line without its newline was cut short: it counts for nothing.
        if (eol == std::string_view::npos) break;
        std::string_view line = bytes.substr(0, eol);
        bytes.remove_prefix(eol + 1);
        if (lineNo++ == 0) {
            if (line != Header) return std::nullopt;
            continue;
        }
        if (word(line, "owner ")) {
            if (!number(line, journal.ownerId) || !number(line, journal.ownerMark)) break;
            owner = true;
        } else if (const bool placeLine = word(line, "place ");
                   placeLine || word(line, "window ")) {
            JournalRecord r;
            unsigned long long handle = 0;
            if (!number(line, handle, 16) || !number(line, r.processId)) break;
            if (placeLine) {
                Rect at{};
                if (!number(line, at.left) || !number(line, at.top) || !number(line, at.right) ||
                    !number(line, at.bottom)) {
                    break;
                }
                r.place = at;
            } else if (!number(line, r.command)) {
                break;
            }
            if (!word(line, " ") || line.empty()) break;
            r.window = static_cast<WindowHandle>(handle);
            r.className = std::string(line);
            journal.records.push_back(std::move(r));
        } else if (word(line, "end ")) {
            std::size_t count = 0;
            journal.complete = number(line, count) && count == journal.records.size();
            break;
        } else {
            break;
        }
    }
    if (lineNo == 0 || !owner) return std::nullopt;
    return journal;
}

std::string journalPath(const std::string& folder, std::uint32_t processId) {
    return folder + "\\" + JournalPrefix + std::to_string(processId) + ".txt";
}

std::optional<JournalRecord> describeWindow(WindowSystem& windows, WindowHandle window,
                                            int command) {
    JournalRecord r;
    r.window = window;
    r.command = command;
    r.processId = windows.processId(window);
    if (r.processId == 0) return std::nullopt;
    char name[256];
    const int n = windows.className(window, name, sizeof name);
    if (n <= 0) return std::nullopt;
    r.className.assign(name, static_cast<std::size_t>(n));
    return r;
}

// Only asynchronous calls: a program that hangs must not hold the start.
int replayJournal(WindowSystem& windows, const Journal& journal) {
    int shown = 0;
    for (const JournalRecord& r : journal.records) {
        if (!windows.isWindow(r.window)) continue;
        const std::optional<JournalRecord> now = describeWindow(windows, r.window, r.command);
        if (!now || now->processId != r.processId || now->className != r.className) continue;
        if (r.place) {
            if (windows.rect(r.window) != *r.place)
                windows.moveAsync(r.window, r.place->left, r.place->top, r.place->width(),
                                  r.place->height(), true);
            continue;
        }
        // A visible one may still have the hide of the instance that ended on its way.
        const bool visible = windows.isVisible(r.window);
        windows.showAsync(r.window, visible || r.command == 0 ? win::SwShowNa : r.command);
        if (!visible) ++shown;
    }
    return shown;
}

}  // namespace skelvo
