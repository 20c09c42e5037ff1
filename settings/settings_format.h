// The settings file's bytes: parsing the launcher records out of KQZ.txt and formatting
// them back. Portable and free of I/O; the loader and saver reach the file through the
// file store.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ansi_path.h"
#include "launcher/launcher_slot.h"

namespace skelvo {

inline constexpr char SettingsFileName[] = "KQZ.txt";
// The longest path a slot holds and the system opens (MAX_PATH without the NUL).
inline constexpr std::size_t MaxStoredPathBytes = SlotPathBytes - 1;
// The same path in UTF-8, at most three bytes for each of its UTF-16 units.
inline constexpr std::size_t MaxUtf8PathBytes = MaxStoredPathBytes * 3;
// The byte-order mark in front of a settings file saved as UTF-8.
inline constexpr char Utf8Mark[] = "\xEF\xBB\xBF";

// How a settings file was written: in the ANSI code page, or in UTF-8 after the mark. It
// is written back the same way.
enum class SettingsEncoding { Ansi, Utf8 };

struct SettingsRecord {
    int slot = 0;      // 0..11
    std::string path;  // bytes as the slot holds them, at most 259
    friend bool operator==(const SettingsRecord&, const SettingsRecord&) = default;
};

// The launcher records of a settings file in file order, as the loader applies them (a
// later record for a slot replaces an earlier one). Only slots 0..11 ever appear; any
// input, however large or malformed, is safe. Lines end with LF or CR LF (a lone CR is
// part of the line) and may be of any length. "--- LANCHER ---" with a line end opens a
// launcher section; "--- L_END ---" closes it only as the file's last line, and followed
// by a line end is merely a line that is not a record. A record is blanks, a number
// (sign and zeros allowed), blanks, then the path; a record numbered 0..11 whose path a
// slot holds is loaded, and the first record numbered -1, whatever its path, ends the
// reading. Any other line in a section is skipped, so is a record whose path is longer
// than MaxStoredPathBytes, since a cut path would open another file. The desktop section's
// markers, compared as the whole line without its line end, can match only a file's last
// line, so no desktop section ever holds a line: they are lines like any other.
// A file in UTF-8 (its mark taken off) passes MaxUtf8PathBytes as maxPathBytes.
std::vector<SettingsRecord> parseSettings(std::string_view bytes,
                                          std::size_t maxPathBytes = MaxStoredPathBytes);

// The whole file for the given registered slots, written in increasing slot order.
// A later record for a slot replaces an earlier one; a record outside 0..11 or whose path
// is not storable is left out, since it would read back as another path or not at all.
std::string formatSettings(const std::vector<SettingsRecord>& registered,
                           std::size_t maxPathBytes = MaxStoredPathBytes);

// A path that a record carries unchanged through formatSettings and parseSettings: 1 to
// maxPathBytes bytes of any code page without NUL, CR or LF, not starting with a blank
// (the blanks after the record number are skipped).
bool isStorablePath(std::string_view path, std::size_t maxPathBytes = MaxStoredPathBytes);

// The settings file in workingDirectory, whose bytes are in the system's code page;
// nullopt when the directory is empty, holds a NUL or ends in a lone lead byte, or the path
// would exceed MaxStoredPathBytes.
std::optional<std::string> settingsFilePath(std::string_view workingDirectory,
                                            const LeadByteTest& isLeadByte);
// The same for a directory in UTF-8, as the wide file API opens it: no longer than
// MaxStoredPathBytes UTF-16 units.
std::optional<std::string> settingsFilePathUtf8(std::string_view workingDirectory);

}  // namespace skelvo
