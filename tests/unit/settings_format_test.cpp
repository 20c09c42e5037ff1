// The settings file's bytes: hostile and hand-edited files read as tables, the exact bytes
// written, the file's place, and seeded round trips of random registrations.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "settings/settings_format.h"

namespace skelvo::testing {
namespace {

using Records = std::vector<SettingsRecord>;

const std::string Open = "--- LANCHER ---\r\n";
const std::string Close = "--- L_END ---";
const std::string Hyo = "\x95\x5C";  // 表: its trail byte is a backslash
const std::string Edit = "C:\\Program Files\\Editor\\edit.exe";
const std::string Plan = "D:\\Docs\\plan.txt";

std::string section(const std::string& body) {
    return Open + body + Close;
}
std::string pathOf(std::size_t bytes) {
    return "C:\\" + std::string(bytes - 3, 'p');
}

TEST(SettingsFormat, ParsesRecordsAndSkipsEverythingElse) {
    const std::string nul(1, '\0');
    const std::string desktop = "--- DESKTOP ---\r\n1 a\r\n--- D_END ---\r\n";
    // 10,000 bytes; a 256-byte reader would take its 256th byte on as the record "5 C:\evil".
    const std::string longLine = "1 " + pathOf(253) + "5 C:\\evil" + std::string(9736, 'b');
    const struct {
        const char* name;
        std::string bytes;
        Records expected;
    } cases[] = {
        {"only markers", section(""), {}},
        {"example", section("0 " + Edit + "\r\n3 " + Plan + "\r\n"), {{0, Edit}, {3, Plan}}},
        {"blanks before the path", section("3    " + Plan + "\r\n"), {{3, Plan}}},
        {"same slot twice, in file order", section("5 a\r\n5 b\r\n"), {{5, "a"}, {5, "b"}}},
        {"lines outside the section", "2 x\r\njunk\r\n" + section("1 y\r\n"), {{1, "y"}}},
        {"-1 stops this and later sections",
         section("0 a\r\n-1 x\r\n2 b\r\n" + desktop + Open + "4 d\r\n"),
         {{0, "a"}}},
        {"markers with a line end inside a section are lines",
         section("0 a\r\n" + desktop + Open + Close + "\r\n4 d\r\n"),
         {{0, "a"}, {1, "a"}, {4, "d"}}},
        {"closing marker with a line end is skipped",
         Open + "0 a\r\n" + Close + "\r\n1 b\r\n",
         {{0, "a"}, {1, "b"}}},
        {"no closing marker", Open + "0 a\r\n1 b", {{0, "a"}, {1, "b"}}},
        {"LF line ends", "--- LANCHER ---\n0 a b\n7 c\n" + Close, {{0, "a b"}, {7, "c"}}},
        {"CR-only line ends make one line", "--- LANCHER ---\r0 a\r" + Close, {}},
        {"opening marker is the exact line", "--- LANCHER --- \r\n0 a\r\n" + Close, {}},
        {"number forms; blanks kept in and after the path",
         section("  007 a\r\n\t+2 b\r\n-0 c\r\n0011 d\r\n5foo\r\n6 a  b \r\n"),
         {{7, "a"}, {2, "b"}, {0, "c"}, {11, "d"}, {5, "foo"}, {6, "a  b "}}},
        {"not records",
         section("\r\nabc\r\n7\r\n7   \r\n12 x\r\n99 x\r\n-5 x\r\n-2 x\r\n- 1 x\r\n+-1 x\r\n" +
                 std::string(20, '9') + " x\r\n-" + std::string(20, '9') + " x\r\n1 a" + nul +
                 "b\r\n" + nul + "\r\n8 ok\r\n"),
         {{8, "ok"}}},
        {"paths are bytes of any code page; a CR inside is no path",
         section("1 a\x80\r\n2 \x95 x\xFF\r\n3 caf\xE9\r\n4 a\x95\x7F\r\n5 a\rb\r\n6 a\r\r\n7 " + Hyo +
                 "\r\n"),
         {{1, "a\x80"}, {2, "\x95 x\xFF"}, {3, "caf\xE9"}, {4, "a\x95\x7F"}, {7, Hyo}}},
        {"a 10,000-byte line is one skipped line", section(longLine + "\r\n2 ok\r\n"), {{2, "ok"}}},
        {"259-byte path kept, 260 skipped",
         section("4 " + pathOf(259) + "\r\n5 " + pathOf(260) + "\r\n"),
         {{4, pathOf(259)}}},
        {"DESKTOP with a line end opens no block",
         desktop + Open + "2 b\r\n" + desktop + "3 c\r\n",
         {{2, "b"}, {1, "a"}, {3, "c"}}},
        {"a last DESKTOP line loads nothing", Open + "2 b\r\n--- DESKTOP ---", {{2, "b"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(parseSettings(c.bytes), c.expected) << c.name;
    // A -1 ends the reading whatever follows its number, a path no slot can hold included.
    for (const std::string& stop :
         std::vector<std::string>{"-01", "-1 " + pathOf(260), "-1 a" + nul + "b", " -0001x"}) {
        EXPECT_EQ(parseSettings(section("0 a\r\n" + stop + "\r\n1 b\r\n") + "\r\n" + Open + "2 c"),
                  (Records{{0, "a"}}))
            << stop;
    }
}

TEST(SettingsFormat, WritesExactBytes) {
    const std::string longest = "C:\\" + Hyo + pathOf(254);  // 259 bytes
    const struct {
        const char* name;
        Records registered;
        std::string bytes;
    } cases[] = {
        {"nothing registered", {}, "--- LANCHER ---\r\n--- L_END ---"},
        {"increasing slot order", {{10, "y"}, {1, "x"}}, section("1 x\r\n10 y\r\n")},
        {"whole paths",
         {{0, Edit}, {11, longest}},
         section("0 " + Edit + "\r\n11 " + longest + "\r\n")},
        {"a later record replaces", {{5, "a"}, {5, "b"}}, section("5 b\r\n")},
        {"bytes of any code page", {{5, "a\x95"}, {6, "caf\xE9"}}, section("5 a\x95\r\n6 caf\xE9\r\n")},
        {"unstorable records left out",
         {{12, "a"},
          {-1, "a"},
          {0, ""},
          {1, " lead"},
          {2, "a\nb"},
          {3, std::string("a\0b", 3)},
          {4, pathOf(260)},
          {5, "a\rb"},
          {6, "a\r"}},
         section("")},
    };
    for (const auto& c : cases) EXPECT_EQ(formatSettings(c.registered), c.bytes) << c.name;
}

TEST(SettingsFormat, FilePathInTheWorkingDirectory) {
    const LeadByteTest cp932 = [](unsigned char b) {
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    };
    const LeadByteTest cp1252 = [](unsigned char) { return false; };
    const std::string dir251 = "C:\\" + std::string(248, 'd');
    const std::optional<std::string> none;
    const struct {
        std::string directory;
        bool doubleByte;
        std::optional<std::string> path;
    } cases[] = {
        {"C:\\", true, "C:\\KQZ.txt"},
        {"C:\\Tools", true, "C:\\Tools\\KQZ.txt"},
        {"C:\\" + Hyo, true, "C:\\" + Hyo + "\\KQZ.txt"},
        {"C:\\" + Hyo, false, "C:\\" + Hyo + "KQZ.txt"},  // there, 0x5C is a backslash
        {"C:\\" + Hyo + "\\", true, "C:\\" + Hyo + "\\KQZ.txt"},
        {"C:\\Caf\xE9", false, "C:\\Caf\xE9\\KQZ.txt"},
        {"C:\\Caf\xE9", true, none},  // a lone lead byte would take the separator as its trail
        {dir251, true, dir251 + "\\KQZ.txt"},  // 259 bytes
        {dir251 + "\\", true, dir251 + "\\KQZ.txt"},
        {dir251 + "d", true, none},
        {std::string(10000, 'd'), true, none},
        {"", true, none},
        {std::string("C:\\a\0b", 6), false, none},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(settingsFilePath(c.directory, c.doubleByte ? cp932 : cp1252), c.path)
            << c.directory.size() << " bytes, " << (c.doubleByte ? 932 : 1252);
    }
}

// Random registrations written and read back, with CR LF as written and with LF only.
TEST(SettingsFormat, RoundTripsRandomRegistrations) {
    // Blanks, dots, half-width kana, double-byte characters (three with a 0x5C trail byte),
    // letters of single-byte code pages.
    const std::string pieces[] = {"a",    "Z", "0",        " ",        ".",        "\\",
                                  "\xB1", Hyo, "\x83\x5C", "\x94\x5C", "\x82\xA0", "\x88\x9F",
                                  "\xE9", "\x80", "\xFF"};
    std::mt19937 random(0x5E771);
    for (int round = 0; round < 2000; ++round) {
        Records registered;
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (random() % 2) continue;
            const std::size_t limit = random() % 3 ? 3 + random() % 256 : MaxStoredPathBytes;
            std::string path = round % 2 ? "C:\\" : "\\\\server\\";
            while (path.size() < limit) {
                const std::string& piece = pieces[random() % std::size(pieces)];
                path += path.size() + piece.size() <= limit ? piece : "x";
            }
            registered.push_back({slot, path});
        }
        const std::string bytes = formatSettings(registered);
        ASSERT_EQ(parseSettings(bytes), registered) << bytes;
        std::string lfOnly = bytes;
        lfOnly.erase(std::remove(lfOnly.begin(), lfOnly.end(), '\r'), lfOnly.end());
        ASSERT_EQ(parseSettings(lfOnly), registered) << lfOnly;
    }
}

}  // namespace
}  // namespace skelvo::testing
