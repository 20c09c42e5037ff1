// The settings file at its edges: whole-file read and atomic replace.
#include "settings/settings_file.h"

#include <cstring>

#include "launcher/registration.h"
#include "settings/hotkey_section.h"
#include "settings/settings_format.h"

namespace skelvo {

namespace {

// No directory (it did not fit at creation) names no file, never one in the root.
std::optional<std::string> filePath(FileStore& files, const char* directory) {
    if (directory == nullptr || directory[0] == '\0') return std::nullopt;
    return settingsFilePath(std::string_view(directory, strnlen(directory, SlotPathBytes)),
                            [&files](unsigned char byte) { return files.isLeadByte(byte); });
}

}  // namespace

bool loadSettings(Services& services, const char* directory, SlotArray& slots, KeySection* keys) {
    const std::optional<std::string> path = filePath(services.files, directory);
    if (!path) return true;
    const FileRead file = services.files.readFile(*path);
    if (file.status != FileRead::Read) return file.status == FileRead::Missing;
    if (keys != nullptr) *keys = readKeySection(file.bytes);
    for (const SettingsRecord& record : parseSettings(file.bytes)) {
        if (record.slot < 0 || record.slot >= SlotCount) continue;
        // Only a path that a slot holds whole, as a terminated string.
        if (record.path.empty() || record.path.size() >= SlotPathBytes ||
            record.path.find('\0') != std::string::npos)
            continue;
        fillSlot(services, slots[record.slot], record.path.c_str());
    }
    return true;
}

bool saveSettings(Services& services, const char* directory, const SlotArray& slots,
                  bool keepFile, const KeySection* keys, bool tell) {
    std::vector<SettingsRecord> registered;
    for (const LauncherSlot& slot : slots) {
        if (slot.registered != 1) continue;
        registered.push_back(
            {slot.slotIndex, std::string(slot.filePath, strnlen(slot.filePath, SlotPathBytes))});
    }
    const std::optional<std::string> path = filePath(services.files, directory);
    // The hotkeys go first: a launcher section's closing marker must end the file.
    const std::string bytes =
        (keys != nullptr ? formatKeySection(*keys) : std::string()) + formatSettings(registered);
    if (path && !keepFile && services.files.replace(*path, bytes)) return true;
    if (tell) {
        services.host.messageBox(services.windows.desktopWindow(), WriteFailedText, nullptr,
                                 win::MbOk);
    }
    return false;
}

}  // namespace skelvo
