// The settings file's bytes: parsing the launcher records out of KQZ.txt and formatting
// them back. Portable and free of I/O; the loader and saver reach the file through the
// file store.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skelvo {

inline constexpr char SettingsFileName[] = "KQZ.txt";

struct SettingsRecord {
    int slot = 0;      // 0..11
    std::string path;  // CP932 bytes as the slot holds them, at most 259
    friend bool operator==(const SettingsRecord&, const SettingsRecord&) = default;
};

// The launcher records of a settings file in file order, as the loader applies them (a
// later record for a slot replaces an earlier one). Only slots 0..11 ever appear; any
// input, however large or malformed, is safe.
std::vector<SettingsRecord> parseSettings(std::string_view bytes);

// The whole file for the given registered slots, written in increasing slot order.
std::string formatSettings(const std::vector<SettingsRecord>& registered);

// The settings file in workingDirectory; nullopt when the path would not fit the system's
// path limit.
std::optional<std::string> settingsFilePath(std::string_view workingDirectory);

}  // namespace skelvo
