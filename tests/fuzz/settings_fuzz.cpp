// Fuzz entry for the settings file: any bytes, read as a file and as a working directory,
// keep the invariants the loader and saver rely on. Built with libFuzzer by `make fuzz`;
// the settings_corpus test links it with replay_main.cpp.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "settings/hotkey_section.h"
#include "settings/rule_section.h"
#include "settings/settings_format.h"

#define REQUIRE(condition) \
    if (!(condition)) std::fprintf(stderr, "invariant failed: %s\n", #condition), std::abort()

using namespace skelvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Slots as the loader leaves them: in range, paths of 1..259 bytes without NUL.
    std::array<std::optional<std::string>, SlotCount> slots;
    const std::vector<SettingsRecord> records = parseSettings(bytes);
    for (const SettingsRecord& record : records) {
        REQUIRE(record.slot >= 0 && record.slot < SlotCount && isStorablePath(record.path));
        slots[record.slot] = record.path;  // a later record replaces an earlier one
    }
    std::vector<SettingsRecord> loaded;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (slots[slot]) loaded.push_back({slot, *slots[slot]});
    }
    // Saved and loaded again, the same slots byte for byte.
    const std::string saved = formatSettings(records);
    REQUIRE(saved.starts_with("--- LANCHER ---\r\n") && saved.ends_with("\r\n--- L_END ---"));
    REQUIRE(parseSettings(saved) == loaded && formatSettings(loaded) == saved);
    // The hotkey section, kept in front, changes no slot and reads back line for line.
    const KeySection keys = readKeySection(bytes);
    const std::string withKeys = formatKeySection(keys) + saved;
    REQUIRE(parseSettings(withKeys) == loaded && readKeySection(withKeys).lines == keys.lines);
    REQUIRE(applyKeySection(readKeySection(withKeys)) == applyKeySection(keys));
    // So does the rules section, written between them, and each section keeps to itself.
    const KeptSection rules = readKeptSection(bytes, SectionKind::Rules);
    const std::string withRules =
        formatKeySection(keys) + formatKeptSection(rules, SectionKind::Rules) + saved;
    REQUIRE(parseSettings(withRules) == loaded && readKeySection(withRules).lines == keys.lines);
    REQUIRE(readKeptSection(withRules, SectionKind::Rules).lines == rules.lines);
    for (const WindowRule& rule : parseRules(rules)) {
        REQUIRE(!rule.pattern.empty() && rule.desktop >= 0 && rule.desktop < 12);
        REQUIRE(rule.pattern.front() != ' ' && rule.pattern.back() != ' ');
        ruleMatches(rule, bytes);  // any bytes as a title, a class or a name
    }

    // The same bytes as a working directory, in code page 932 and in a single-byte code
    // page; the separator is needed unless the last whole character is a backslash (not
    // the trail byte of one like 表), and a lone lead byte at the end names no file.
    const LeadByteTest codePages[] = {
        [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); },
        [](unsigned char) { return false; }};
    for (const LeadByteTest& isLead : codePages) {
        std::size_t last = 0;
        for (std::size_t i = 0; i < size; i += isLead(data[i]) ? 2 : 1) last = i;
        const bool whole = last + 1 == size;
        const bool separated = size > 0 && whole && bytes[last] == '\\';
        const bool loneLead = size > 0 && whole && isLead(data[last]);
        const std::size_t name = std::strlen(SettingsFileName);
        const bool fits = size > 0 && bytes.find('\0') == std::string_view::npos && !loneLead &&
                          size + !separated + name <= MaxStoredPathBytes;
        const std::optional<std::string> path = settingsFilePath(bytes, isLead);
        REQUIRE(path.has_value() == fits);
        if (path) {
            REQUIRE(*path == std::string(bytes) + (separated ? "" : "\\") + SettingsFileName);
        }
    }
    return 0;
}
