// Reads and writes the settings file's bytes. Lines end with LF or CR LF and may be of any
// length; every line inside a launcher section that is not a well-formed record is skipped.
#include "settings/settings_format.h"

#include <array>
#include <cstddef>

#include "base/ansi_path.h"

namespace skelvo {

namespace {

constexpr std::string_view LauncherOpen = "--- LANCHER ---";
constexpr std::string_view LauncherClose = "--- L_END ---";
constexpr std::string_view LineEnd = "\r\n";
// A record with this number stops the reading: nothing after it is loaded.
constexpr int StopNumber = -1;

struct Line {
    std::string_view text;  // without its line end
    bool ended;             // false for a last line that runs to the end of the file
};

Line nextLine(std::string_view bytes, std::size_t& pos) {
    const std::size_t lf = bytes.find('\n', pos);
    if (lf == std::string_view::npos) {
        const Line last{bytes.substr(pos), false};
        pos = bytes.size();
        return last;
    }
    std::size_t end = lf;
    if (end > pos && bytes[end - 1] == '\r') --end;
    const Line line{bytes.substr(pos, end - pos), true};
    pos = lf + 1;
    return line;
}

// The blanks that the number scan skips; a line holds no line feed.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Record {
    int number;
    std::string_view path;  // the rest of the line, whatever it holds
};

// Optional blanks, a signed decimal number, optional blanks, the path to the line's end.
std::optional<Record> readRecord(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && isBlank(line[i])) ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    const std::size_t digits = i;
    int value = 0;
    for (; i < line.size() && isDigit(line[i]); ++i) {
        // Saturates well past the slot range, so no digit string can overflow.
        if (value < 1000) value = value * 10 + (line[i] - '0');
    }
    if (i == digits) return std::nullopt;
    while (i < line.size() && isBlank(line[i])) ++i;
    return Record{negative ? -value : value, line.substr(i)};
}

// Bytes that no record line carries: the slot's terminator and the line ends.
bool holdsLineBreakOrNul(std::string_view path) {
    return path.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos;
}

// The path is bytes in the system's code page, taken as they are. A cut path would open
// another file: a path no slot can hold is not loaded at all.
bool isLoadable(const Record& record, std::size_t maxPathBytes) {
    return record.number >= 0 && record.number < SlotCount && !record.path.empty() &&
           record.path.size() <= maxPathBytes && !holdsLineBreakOrNul(record.path);
}

}  // namespace

std::vector<SettingsRecord> parseSettings(std::string_view bytes, std::size_t maxPathBytes) {
    std::vector<SettingsRecord> records;
    bool inSection = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const Line line = nextLine(bytes, pos);
        if (!inSection) {
            inSection = line.ended && line.text == LauncherOpen;
            continue;
        }
        // The closing marker is the writer's last line; followed by a line end it is
        // merely a line that is not a record.
        if (!line.ended && line.text == LauncherClose) {
            inSection = false;
        } else if (const auto record = readRecord(line.text)) {
            // Whatever follows the number, nothing after a -1 is loaded.
            if (record->number == StopNumber) return records;
            if (isLoadable(*record, maxPathBytes))
                records.push_back({record->number, std::string(record->path)});
        }
    }
    return records;
}

bool isStorablePath(std::string_view path, std::size_t maxPathBytes) {
    return !path.empty() && path.size() <= maxPathBytes && !isBlank(path.front()) &&
           !holdsLineBreakOrNul(path);
}

std::string formatSettings(const std::vector<SettingsRecord>& registered,
                           std::size_t maxPathBytes) {
    std::array<const std::string*, SlotCount> paths{};
    for (const SettingsRecord& record : registered) {
        if (record.slot >= 0 && record.slot < SlotCount &&
            isStorablePath(record.path, maxPathBytes)) {
            paths[record.slot] = &record.path;
        }
    }
    std::string bytes;
    bytes.append(LauncherOpen).append(LineEnd);
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (!paths[slot]) continue;
        bytes.append(std::to_string(slot)).append(" ").append(*paths[slot]).append(LineEnd);
    }
    bytes.append(LauncherClose);
    return bytes;
}

std::optional<std::string> settingsFilePath(std::string_view workingDirectory,
                                            const LeadByteTest& isLeadByte) {
    // A directory ending in a lone lead byte would swallow the separator as its trail byte.
    if (workingDirectory.empty() || workingDirectory.find('\0') != std::string_view::npos ||
        endsInLoneLeadByte(workingDirectory, isLeadByte))
        return std::nullopt;
    std::string path(workingDirectory);
    if (!endsWithBackslash(workingDirectory, isLeadByte)) path += '\\';
    path += SettingsFileName;
    if (path.size() > MaxStoredPathBytes) return std::nullopt;
    return path;
}

std::optional<std::string> settingsFilePathUtf8(std::string_view workingDirectory) {
    const LeadByteTest noLeadBytes = [](unsigned char) { return false; };
    if (workingDirectory.empty() || workingDirectory.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::string path(workingDirectory);
    if (!endsWithBackslash(workingDirectory, noLeadBytes)) path += '\\';
    path += SettingsFileName;
    // Each character is one UTF-16 unit but those of four bytes, which are two.
    std::size_t units = 0;
    for (const char c : path) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) ++units;
        if (byte >= 0xF0) ++units;
    }
    if (units > MaxStoredPathBytes) return std::nullopt;
    return path;
}

}  // namespace skelvo
