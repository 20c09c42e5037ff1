// Fuzz entry for the settings file: any bytes, read as a file and as a working directory,
// must keep every invariant the loader and saver rely on. Built with libFuzzer by
// `make fuzz`; the corpus replay in the unit tests links it with an ordinary main.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp932.h"
#include "settings/settings_format.h"

namespace {

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "settings invariant failed: %s\n", what);
    std::abort();
}

#define REQUIRE(condition) require(condition, #condition)

void checkFile(std::string_view bytes) {
    using namespace skelvo;
    const std::vector<SettingsRecord> records = parseSettings(bytes);
    // The slots as the loader leaves them: a later record replaces an earlier one.
    std::array<std::optional<std::string>, SlotCount> slots;
    for (const SettingsRecord& record : records) {
        REQUIRE(record.slot >= 0 && record.slot < SlotCount);
        REQUIRE(record.path.size() <= MaxPathBytes);
        REQUIRE(record.path.find('\0') == std::string::npos);
        REQUIRE(isStorablePath(record.path));
        slots[record.slot] = record.path;
    }
    std::vector<SettingsRecord> loaded;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (slots[slot]) loaded.push_back({slot, *slots[slot]});
    }
    // Saving what was loaded and loading it again gives the same slots, byte for byte.
    const std::string saved = formatSettings(records);
    REQUIRE(saved.starts_with("--- LANCHER ---\r\n") && saved.ends_with("\r\n--- L_END ---"));
    REQUIRE(parseSettings(saved) == loaded);
    REQUIRE(formatSettings(loaded) == saved);
}

void checkDirectory(std::string_view directory) {
    using namespace skelvo;
    const std::optional<std::string> path = settingsFilePath(directory);
    const bool fits =
        !directory.empty() && isValidCp932(directory) &&
        directory.size() + (endsWithBackslash(directory) ? 0 : 1) + std::strlen(SettingsFileName) <=
            MaxPathBytes;
    REQUIRE(path.has_value() == fits);
    if (!path) return;
    const std::string_view name = SettingsFileName;
    REQUIRE(path->size() <= MaxPathBytes);
    REQUIRE(path->starts_with(directory) && path->ends_with(name));
    REQUIRE(isValidCp932(*path));
    REQUIRE(endsWithBackslash(std::string_view(*path).substr(0, path->size() - name.size())));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkFile(bytes);
    checkDirectory(bytes);
    return 0;
}
