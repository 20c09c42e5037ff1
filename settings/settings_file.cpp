// The settings file at its edges: whole-file read and atomic replace.
#include "settings/settings_file.h"

#include <cstring>

#include "launcher/registration.h"
#include "settings/hotkey_section.h"
#include "settings/settings_format.h"

namespace skelvo {

namespace {

// No directory (it did not fit at creation) names no file, never one in the root.
std::optional<std::string> filePath(const char* directory) {
    if (directory == nullptr || directory[0] == '\0') return std::nullopt;
    return settingsFilePathUtf8(std::string_view(directory, strnlen(directory, MaxDirectoryBytes)));
}

}  // namespace

bool loadSettings(Services& services, const char* directory, SlotArray& slots, KeySection* keys,
                  SettingsEncoding* encoding, KeptSection* rules) {
    const std::optional<std::string> path = filePath(directory);
    if (!path) return true;
    const FileRead file = services.files.readFile(*path);
    if (file.status != FileRead::Read) return file.status == FileRead::Missing;
    std::string_view bytes = file.bytes;
    const bool utf8 = bytes.substr(0, 3) == Utf8Mark;
    if (utf8) bytes.remove_prefix(3);
    if (encoding != nullptr) *encoding = utf8 ? SettingsEncoding::Utf8 : SettingsEncoding::Ansi;
    if (keys != nullptr) *keys = readKeySection(bytes);
    if (rules != nullptr) *rules = readKeptSection(bytes, SectionKind::Rules);
    for (SettingsRecord& record :
         parseSettings(bytes, utf8 ? MaxUtf8PathBytes : MaxStoredPathBytes)) {
        if (record.slot < 0 || record.slot >= SlotCount) continue;
        // Only a path that a slot holds whole, as a terminated string.
        if (record.path.find('\0') != std::string::npos) continue;
        if (utf8) {
            // A name the code page cannot hold, even shortened, cannot be opened by a slot.
            fillSlotUtf8(services, slots[record.slot], record.path);
            continue;
        }
        if (record.path.empty() || record.path.size() >= SlotPathBytes) continue;
        fillSlot(services, slots[record.slot], record.path.c_str());
    }
    return true;
}

bool saveSettings(Services& services, const char* directory, const SlotArray& slots, bool keepFile,
                  const KeySection* keys, SettingsEncoding encoding, bool tell,
                  const KeptSection* rules) {
    const bool utf8 = encoding == SettingsEncoding::Utf8;
    std::vector<SettingsRecord> registered;
    for (const LauncherSlot& slot : slots) {
        if (slot.registered != 1) continue;
        std::string stored(slot.filePath, strnlen(slot.filePath, SlotPathBytes));
        if (utf8) stored = !slot.longPath.empty() ? slot.longPath : services.shell.toUtf8(stored);
        registered.push_back({slot.slotIndex, std::move(stored)});
    }
    const std::optional<std::string> path = filePath(directory);
    // The hotkeys go first: a launcher section's closing marker must end the file.
    const std::string bytes =
        (utf8 ? std::string(Utf8Mark) : std::string()) +
        (keys != nullptr ? formatKeySection(*keys) : std::string()) +
        (rules != nullptr ? formatKeptSection(*rules, SectionKind::Rules) : std::string()) +
        formatSettings(registered, utf8 ? MaxUtf8PathBytes : MaxStoredPathBytes);
    if (path && !keepFile && services.files.replace(*path, bytes)) return true;
    if (tell) {
        services.host.messageBox(services.windows.desktopWindow(), WriteFailedText, nullptr,
                                 win::MbOk);
    }
    return false;
}

}  // namespace skelvo
