// Checks the generated skin against the panel's geometry and the way painting combines the
// pictures, the icons' file structure, the resource script, and the BMP reader itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/fakes/bitmap_file.h"

namespace skelvo {
namespace {

namespace fs = std::filesystem;

const fs::path kSkinDir = SKELVO_SKIN_DIR;
const fs::path kSourceDir = fs::path(__FILE__).parent_path().parent_path().parent_path();

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;

int red(std::uint32_t c) {
    return c & 0xFF;
}
int green(std::uint32_t c) {
    return (c >> 8) & 0xFF;
}
int blue(std::uint32_t c) {
    return (c >> 16) & 0xFF;
}
std::uint32_t rgb(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}
int brightness(std::uint32_t c) {
    return red(c) + green(c) + blue(c);
}
bool isGrey(std::uint32_t c) {
    return red(c) == green(c) && green(c) == blue(c);
}

int maxChannelDistance(std::uint32_t a, std::uint32_t b) {
    return std::max(
        {std::abs(red(a) - red(b)), std::abs(green(a) - green(b)), std::abs(blue(a) - blue(b))});
}

std::vector<std::uint8_t> fileBytes(const fs::path& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

BitmapFile load(const char* name) {
    auto bmp = readBitmapFile((kSkinDir / name).string());
    if (!bmp) ADD_FAILURE() << name << " is missing or unreadable";
    return bmp.value_or(BitmapFile{});
}

// The fourteen openings of the frame, inclusive bounds.
struct Box {
    int x0, y0, x1, y1;
    bool contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};
const Box kUpperButton{203, 4, 232, 61};
const Box kLowerButton{203, 64, 232, 121};

bool inOpening(int x, int y) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            if (Box{3 + 50 * c, 4 + 40 * r, 50 + 50 * c, 41 + 40 * r}.contains(x, y)) return true;
    return kUpperButton.contains(x, y) || kLowerButton.contains(x, y);
}

// ---- every file: size, depth and storage ----------------------------------------------

struct Expected {
    const char* name;
    int width, height, bitCount;
    unsigned compression;
};

TEST(SkinFiles, HaveTheSizesDepthsAndStorageThePainterExpects) {
    const Expected all[] = {
        {"MAINSELECT.bmp", 233, 124, 24, 0}, {"MAINLANCHER.bmp", 233, 124, 24, 0},
        {"SELECTER.bmp", 48, 38, 8, 0},      {"MAINFLAME.bmp", 236, 124, 8, 1},
        {"FLAMEMASK.bmp", 236, 157, 8, 1},   {"INFO_OFF.bmp", 202, 33, 8, 1},
        {"OWN_OFF.bmp", 34, 33, 8, 1},       {"OWN_ON.bmp", 32, 32, 24, 0},
    };
    for (const Expected& e : all) {
        SCOPED_TRACE(e.name);
        BitmapFile bmp = load(e.name);
        EXPECT_EQ(bmp.width, e.width);
        EXPECT_EQ(bmp.height, e.height);
        EXPECT_EQ(bmp.bitCount, e.bitCount);
        EXPECT_EQ(bmp.compression, e.compression);
        if (e.bitCount == 8) {
            EXPECT_GE(bmp.paletteColoursUsed, 2);
            EXPECT_LE(bmp.paletteColoursUsed, 256);
        }
        EXPECT_EQ(bmp.pixels.size(), static_cast<std::size_t>(e.width) * e.height);
    }
}

TEST(SkinFiles, InfoOnIsNeitherDrawnNorEmbedded) {
    EXPECT_FALSE(fs::exists(kSkinDir / "INFO_ON.bmp"));
}

// Walks an RLE8 stream the way a strict decoder does: every row must be filled exactly and
// closed by an end of line or, the last one, by the end of the bitmap, which ends the data.
TEST(SkinFiles, RleStreamsCloseEveryRowExactly) {
    for (const char* name : {"MAINFLAME.bmp", "FLAMEMASK.bmp", "INFO_OFF.bmp", "OWN_OFF.bmp"}) {
        SCOPED_TRACE(name);
        const auto b = fileBytes(kSkinDir / name);
        ASSERT_GT(b.size(), 54u);
        auto u32 = [&](std::size_t at) {
            return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24;
        };
        const int width = u32(18), height = u32(22);
        const std::size_t start = u32(10), size = u32(34);
        ASSERT_EQ(start + size, b.size()) << "biSizeImage must cover the data exactly";
        ASSERT_EQ(static_cast<std::size_t>(u32(2)), b.size()) << "bfSize";
        std::size_t pos = start;
        int rowsClosed = 0, x = 0;
        bool sawEncodedRun = false, ended = false;
        while (pos + 1 < b.size() && !ended) {
            const int first = b[pos], second = b[pos + 1];
            pos += 2;
            if (first > 0) {
                x += first;
                sawEncodedRun = true;
            } else if (second == 1 && x == 0 && rowsClosed == height) {
                ended = true;  // the last row was closed by an end of line already
            } else if (second == 0 || second == 1) {
                ASSERT_EQ(x, width) << "row " << rowsClosed << " not filled exactly";
                x = 0;
                ++rowsClosed;
                ended = second == 1;
            } else {
                ASSERT_NE(second, 2) << "no deltas: every pixel is written";
                x += second;
                pos += second + second % 2;
            }
            ASSERT_LE(x, width);
        }
        EXPECT_TRUE(ended);
        EXPECT_EQ(rowsClosed, height);
        EXPECT_EQ(pos, b.size());
        EXPECT_TRUE(sawEncodedRun);
    }
}

// ---- frame and mask -------------------------------------------------------------------

TEST(FlameMask, IsBlackExactlyOnTheFourteenOpenings) {
    BitmapFile mask = load("FLAMEMASK.bmp");
    ASSERT_EQ(mask.width, 236);
    ASSERT_EQ(mask.height, 157);
    int black = 0;
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            const std::uint32_t want = inOpening(x, y) ? kBlack : kWhite;
            ASSERT_EQ(mask.at(x, y), want) << "at " << x << "," << y;
            black += mask.at(x, y) == kBlack;
        }
    EXPECT_EQ(black, 12 * 48 * 38 + 2 * 30 * 58);
}

TEST(FlameMask, OpeningBoundsAreInclusive) {
    BitmapFile mask = load("FLAMEMASK.bmp");
    ASSERT_EQ(mask.width, 236);
    // First cell corners and its neighbours just outside.
    EXPECT_EQ(mask.at(3, 4), kBlack);
    EXPECT_EQ(mask.at(50, 41), kBlack);
    EXPECT_EQ(mask.at(2, 4), kWhite);
    EXPECT_EQ(mask.at(51, 4), kWhite);
    EXPECT_EQ(mask.at(3, 3), kWhite);
    EXPECT_EQ(mask.at(3, 42), kWhite);
    // The last cell, and the gap between cells.
    EXPECT_EQ(mask.at(200, 121), kBlack);
    EXPECT_EQ(mask.at(153, 84), kBlack);
    EXPECT_EQ(mask.at(52, 44), kWhite);
    EXPECT_EQ(mask.at(53, 43), kWhite);
    EXPECT_EQ(mask.at(201, 50), kWhite);
    // The buttons and the gap between them.
    EXPECT_EQ(mask.at(203, 4), kBlack);
    EXPECT_EQ(mask.at(232, 61), kBlack);
    EXPECT_EQ(mask.at(232, 62), kWhite);
    EXPECT_EQ(mask.at(232, 63), kWhite);
    EXPECT_EQ(mask.at(203, 64), kBlack);
    EXPECT_EQ(mask.at(232, 121), kBlack);
    EXPECT_EQ(mask.at(233, 121), kWhite);
    EXPECT_EQ(mask.at(232, 122), kWhite);
    for (int y = 124; y < 157; ++y)
        for (int x = 0; x < 236; ++x)
            ASSERT_EQ(mask.at(x, y), kWhite) << "bar strip " << x << "," << y;
}

TEST(MainFrame, IsPureWhiteExactlyWhereTheMaskIsBlack) {
    BitmapFile frame = load("MAINFLAME.bmp");
    BitmapFile mask = load("FLAMEMASK.bmp");
    ASSERT_EQ(frame.width, 236);
    ASSERT_EQ(frame.height, 124);
    ASSERT_EQ(mask.width, 236);
    for (int y = 0; y < 124; ++y)
        for (int x = 0; x < 236; ++x)
            ASSERT_EQ(frame.at(x, y) == kWhite, mask.at(x, y) == kBlack) << "at " << x << "," << y;
}

TEST(MainFrame, DrawsGreyThreeDimensionalLinesAroundTheOpenings) {
    BitmapFile frame = load("MAINFLAME.bmp");
    ASSERT_EQ(frame.width, 236);
    std::set<std::uint32_t> greys;
    for (int y = 0; y < 124; ++y)
        for (int x = 0; x < 236; ++x)
            if (!inOpening(x, y)) {
                ASSERT_TRUE(isGrey(frame.at(x, y))) << "at " << x << "," << y;
                greys.insert(frame.at(x, y));
            }
    for (int v : {240, 192, 128, 36}) EXPECT_TRUE(greys.count(rgb(v, v, v))) << "grey " << v;

    // Openings are sunk into the frame: the edge above and left of each is darker than
    // the one below and right of it.
    auto sunken = [&](Box b) {
        SCOPED_TRACE(::testing::Message() << "opening at " << b.x0 << "," << b.y0);
        const int midX = (b.x0 + b.x1) / 2, midY = (b.y0 + b.y1) / 2;
        EXPECT_LT(brightness(frame.at(midX, b.y0 - 1)), brightness(frame.at(midX, b.y1 + 1)));
        EXPECT_LT(brightness(frame.at(b.x0 - 1, midY)), brightness(frame.at(b.x1 + 1, midY)));
    };
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) sunken({3 + 50 * c, 4 + 40 * r, 50 + 50 * c, 41 + 40 * r});
    sunken(kUpperButton);
    sunken(kLowerButton);

    // The panel's outer edge is raised: lit on the left, dark on the right.
    EXPECT_GT(brightness(frame.at(0, 60)), brightness(frame.at(235, 60)));
}

// ---- the selection pattern ------------------------------------------------------------

TEST(Selecter, IsAOnePixelCheckerboardStartingWhite) {
    BitmapFile sel = load("SELECTER.bmp");
    ASSERT_EQ(sel.width, 48);
    ASSERT_EQ(sel.height, 38);
    EXPECT_EQ(sel.paletteColoursUsed, 2);
    EXPECT_EQ(sel.at(0, 0), kWhite);
    for (int y = 0; y < sel.height; ++y)
        for (int x = 0; x < sel.width; ++x)
            ASSERT_EQ(sel.at(x, y), (x + y) % 2 == 0 ? kWhite : kBlack) << "at " << x << "," << y;
}

// ---- the map backgrounds --------------------------------------------------------------

// Pure white pixels on the even squares of a face, and on the odd ones.
struct Checker {
    int evenWhite = 0, evenTotal = 0, oddWhite = 0;
};

Checker checkerOf(const BitmapFile& bmp, Box face) {
    Checker c;
    for (int y = face.y0; y <= face.y1; ++y)
        for (int x = face.x0; x <= face.x1; ++x) {
            const bool white = bmp.at(x, y) == kWhite;
            if ((x + y) % 2 == 0) {
                ++c.evenTotal;
                c.evenWhite += white;
            } else {
                c.oddWhite += white;
            }
        }
    return c;
}

void expectLatched(const BitmapFile& bmp, Box face) {
    Checker c = checkerOf(bmp, face);
    EXPECT_GT(c.evenWhite, c.evenTotal * 3 / 4) << "the latched face is checkered white";
    EXPECT_EQ(c.oddWhite, 0) << "a one-pixel checker, not a white patch";
}

void expectPlain(const BitmapFile& bmp, Box face) {
    Checker c = checkerOf(bmp, face);
    EXPECT_EQ(c.evenWhite + c.oddWhite, 0) << "the plain face has no checker";
}

struct Gradient {
    const char* name;
    std::uint32_t topLeft, bottomRight;
};

TEST(Backgrounds, RunDiagonallyFromTheFullToTheLightColour) {
    for (Gradient g : {Gradient{"MAINSELECT.bmp", rgb(0, 0, 255), rgb(151, 202, 255)},
                       Gradient{"MAINLANCHER.bmp", rgb(255, 102, 0), rgb(255, 202, 151)}}) {
        SCOPED_TRACE(g.name);
        BitmapFile bg = load(g.name);
        ASSERT_EQ(bg.width, 233);
        ASSERT_EQ(bg.height, 124);
        EXPECT_LE(maxChannelDistance(bg.at(0, 0), g.topLeft), 4);
        EXPECT_LE(maxChannelDistance(bg.at(232, 123), g.bottomRight), 4);
        // Smooth over the map area: no visible bands, and lighter down and to the right.
        for (int y = 0; y < 124; ++y)
            for (int x = 0; x < 200; ++x) {
                ASSERT_LE(maxChannelDistance(bg.at(x, y), bg.at(x + 1, y)), 2) << x << "," << y;
                if (y + 1 < 124) {
                    ASSERT_LE(maxChannelDistance(bg.at(x, y), bg.at(x, y + 1)), 2) << x << "," << y;
                }
                ASSERT_LE(brightness(bg.at(x, y)), brightness(bg.at(x + 1, y)));
            }
        EXPECT_LT(brightness(bg.at(100, 0)), brightness(bg.at(100, 123)));
    }
}

TEST(Backgrounds, HaveWhiteSeparatorsBeforeTheButtons) {
    for (const char* name : {"MAINSELECT.bmp", "MAINLANCHER.bmp"}) {
        SCOPED_TRACE(name);
        BitmapFile bg = load(name);
        ASSERT_EQ(bg.width, 233);
        for (int y = 0; y < 124; ++y) {
            EXPECT_EQ(bg.at(201, y), kWhite) << y;
            EXPECT_EQ(bg.at(202, y), kWhite) << y;
        }
        EXPECT_NE(bg.at(200, 60), kWhite);
    }
}

TEST(Backgrounds, CheckerTheButtonOfTheActiveFunction) {
    BitmapFile desktops = load("MAINSELECT.bmp");
    BitmapFile launcher = load("MAINLANCHER.bmp");
    ASSERT_EQ(desktops.width, 233);
    ASSERT_EQ(launcher.width, 233);
    {
        SCOPED_TRACE("desktops");
        expectLatched(desktops, kUpperButton);
        expectPlain(desktops, kLowerButton);
    }
    {
        SCOPED_TRACE("launcher");
        expectPlain(launcher, kUpperButton);
        expectLatched(launcher, kLowerButton);
    }
}

// ---- the bar along the bottom ---------------------------------------------------------

void expectRaised(const BitmapFile& bmp) {
    const int midX = bmp.width / 2, midY = bmp.height / 2;
    EXPECT_GT(brightness(bmp.at(midX, 0)), brightness(bmp.at(midX, bmp.height - 1)));
    EXPECT_GT(brightness(bmp.at(0, midY)), brightness(bmp.at(bmp.width - 1, midY)));
    EXPECT_GT(brightness(bmp.at(midX, 1)), 3 * 192);
    EXPECT_LT(brightness(bmp.at(bmp.width - 2, midY)), 3 * 192);
}

TEST(InformationBar, IsALightGreyFieldWithABevelledEdge) {
    BitmapFile bar = load("INFO_OFF.bmp");
    ASSERT_EQ(bar.width, 202);
    ASSERT_EQ(bar.height, 33);
    // The text goes on the field: all of it is the same grey.
    for (int y = 3; y < bar.height - 3; ++y)
        for (int x = 3; x < bar.width - 3; ++x)
            ASSERT_EQ(bar.at(x, y), rgb(192, 192, 192)) << x << "," << y;
    expectRaised(bar);
}

TEST(CornerButton, IsARaisedGreySquare) {
    BitmapFile button = load("OWN_OFF.bmp");
    ASSERT_EQ(button.width, 34);
    ASSERT_EQ(button.height, 33);
    EXPECT_EQ(button.at(10, 10), rgb(192, 192, 192));
    for (std::uint32_t c : button.pixels) ASSERT_TRUE(isGrey(c));
    expectRaised(button);
}

// ---- icons and the emblem -------------------------------------------------------------

struct Icon {
    std::vector<std::uint32_t> palette;  // 16 entries
    std::vector<int> index;              // 32x32, top row first
    std::vector<bool> transparent;
};

std::uint32_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8;
}
std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}

// Checks the .ico layout on the way: one 32x32 image of 16 colours with its mask.
std::optional<Icon> readIcon(const char* name) {
    SCOPED_TRACE(name);
    const auto b = fileBytes(kSkinDir / name);
    constexpr std::size_t xorBytes = 16 * 32, andBytes = 4 * 32;
    constexpr std::size_t imageBytes = 40 + 16 * 4 + xorBytes + andBytes;
    EXPECT_EQ(b.size(), 6 + 16 + imageBytes);
    if (b.size() != 6 + 16 + imageBytes) return std::nullopt;
    EXPECT_EQ(le16(b, 0), 0u);  // reserved
    EXPECT_EQ(le16(b, 2), 1u);  // icon, not cursor
    EXPECT_EQ(le16(b, 4), 1u);  // one image
    EXPECT_EQ(b[6], 32);
    EXPECT_EQ(b[7], 32);
    EXPECT_EQ(b[8], 16);
    EXPECT_EQ(le16(b, 10), 1u);
    EXPECT_EQ(le16(b, 12), 4u);
    EXPECT_EQ(le32(b, 14), imageBytes);
    EXPECT_EQ(le32(b, 18), 22u);
    EXPECT_EQ(le32(b, 22), 40u);
    EXPECT_EQ(static_cast<std::int32_t>(le32(b, 26)), 32);
    EXPECT_EQ(static_cast<std::int32_t>(le32(b, 30)), 64) << "colour bits and mask together";
    EXPECT_EQ(le16(b, 34), 1u);
    EXPECT_EQ(le16(b, 36), 4u);
    EXPECT_EQ(le32(b, 38), 0u);
    if (::testing::Test::HasFailure()) return std::nullopt;

    Icon icon;
    for (int i = 0; i < 16; ++i) {
        const std::size_t at = 62 + 4 * i;
        icon.palette.push_back(rgb(b[at + 2], b[at + 1], b[at]));
    }
    const std::size_t xorAt = 62 + 64, andAt = xorAt + xorBytes;
    icon.index.resize(32 * 32);
    icon.transparent.resize(32 * 32);
    for (int y = 0; y < 32; ++y) {
        const int stored = 31 - y;  // bottom-up
        for (int x = 0; x < 32; ++x) {
            const std::uint8_t pair = b[xorAt + 16 * stored + x / 2];
            icon.index[y * 32 + x] = x % 2 ? pair & 0x0F : pair >> 4;
            icon.transparent[y * 32 + x] = (b[andAt + 4 * stored + x / 8] >> (7 - x % 8)) & 1;
        }
    }
    return icon;
}

TEST(Icons, AreOneThirtyTwoPixelSixteenColourImageWithAMask) {
    for (const char* name : {"emblem_lettered.ico", "emblem.ico"}) {
        SCOPED_TRACE(name);
        auto icon = readIcon(name);
        ASSERT_TRUE(icon);
        const int transparent =
            static_cast<int>(std::count(icon->transparent.begin(), icon->transparent.end(), true));
        EXPECT_GT(transparent, 0) << "rounded corners";
        EXPECT_LT(transparent, 32) << "the emblem fills its square";
        EXPECT_FALSE(icon->transparent[16 * 32 + 16]);
        // Where the mask lets the screen through, the colour bits must add nothing.
        for (int i = 0; i < 32 * 32; ++i)
            if (icon->transparent[i]) {
                EXPECT_EQ(icon->palette[icon->index[i]], kBlack) << "pixel " << i;
            }
        std::set<int> used(icon->index.begin(), icon->index.end());
        EXPECT_GE(used.size(), 8u);
    }
}

TEST(Icons, DifferOnlyByTheLettering) {
    auto lettered = readIcon("emblem_lettered.ico");
    auto plain = readIcon("emblem.ico");
    ASSERT_TRUE(lettered && plain);
    EXPECT_EQ(lettered->palette, plain->palette);
    EXPECT_EQ(lettered->transparent, plain->transparent);
    std::set<int> letterInk;
    int differing = 0;
    for (int i = 0; i < 32 * 32; ++i)
        if (lettered->index[i] != plain->index[i]) {
            ++differing;
            letterInk.insert(lettered->index[i]);
        }
    EXPECT_GE(differing, 40) << "two letters' worth of pixels";
    EXPECT_EQ(letterInk.size(), 1u) << "the lettering is one colour laid over the emblem";
}

TEST(Emblem, SmallPanelPictureMatchesTheLetteredIcon) {
    BitmapFile own = load("OWN_ON.bmp");
    auto icon = readIcon("emblem_lettered.ico");
    ASSERT_EQ(own.width, 32);
    ASSERT_EQ(own.height, 32);
    ASSERT_TRUE(icon);
    // The icon has 16 colours and dithers the tile; the full-colour picture is otherwise
    // the same drawing.
    int exact = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (icon->transparent[y * 32 + x]) continue;
            const std::uint32_t a = own.at(x, y), b = icon->palette[icon->index[y * 32 + x]];
            ASSERT_LE(maxChannelDistance(a, b), 60) << x << "," << y;
            exact += a == b;
        }
    EXPECT_GT(exact, 32 * 32 / 3);
    std::set<std::uint32_t> colours(own.pixels.begin(), own.pixels.end());
    EXPECT_GT(colours.size(), 16u) << "the full-colour tile is a smooth gradient";
}

// ---- the resource script --------------------------------------------------------------

TEST(ResourceScript, EmbedsExactlyTheGeneratedPicturesInJapanese) {
    std::ifstream f(kSourceDir / "resources" / "skelvo.rc");
    ASSERT_TRUE(f) << "resources/skelvo.rc";
    std::string first;
    std::getline(f, first);
    EXPECT_EQ(first, "#pragma code_page(65001)");

    const std::regex language(R"(^\s*LANGUAGE\s+LANG_JAPANESE\s*,\s*SUBLANG_DEFAULT\s*$)");
    const std::regex resource(R"re(^\s*(\w+)\s+(BITMAP|ICON)\s+"([^"]+)"\s*$)re");
    bool languageSet = false;
    std::set<std::string> bitmaps, icons;
    std::string line;
    while (std::getline(f, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::smatch m;
        if (std::regex_match(line, language)) languageSet = true;
        if (!std::regex_match(line, m, resource)) continue;
        EXPECT_TRUE(languageSet) << m[1] << " comes before the LANGUAGE statement";
        EXPECT_TRUE(fs::exists(kSkinDir / m[3].str())) << m[3] << " is not generated";
        (m[2] == "BITMAP" ? bitmaps : icons).insert(m[1]);
        if (m[2] == "BITMAP") {
            EXPECT_EQ(m[3].str(), m[1].str() + ".bmp");
        }
    }
    EXPECT_EQ(bitmaps, (std::set<std::string>{"MAINSELECT", "MAINLANCHER", "SELECTER", "MAINFLAME",
                                              "FLAMEMASK", "INFO_OFF", "OWN_OFF", "OWN_ON"}));
    EXPECT_EQ(icons, (std::set<std::string>{"124", "149"}));
    EXPECT_FALSE(bitmaps.count("INFO_ON"));
}

// ---- the reader -----------------------------------------------------------------------

// An 8-bit bitmap file around hand-made pixel data, with a four-colour table.
std::vector<std::uint8_t> eightBitFile(int w, int h, unsigned compression,
                                       const std::vector<std::uint8_t>& bits) {
    std::vector<std::uint8_t> b;
    auto u16 = [&](unsigned v) { b.push_back(v & 0xFF), b.push_back((v >> 8) & 0xFF); };
    auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
    const std::uint32_t offset = 14 + 40 + 16;
    b.push_back('B'), b.push_back('M');
    u32(offset + static_cast<std::uint32_t>(bits.size())), u32(0), u32(offset);
    u32(40), u32(w), u32(h), u16(1), u16(8), u32(compression),
        u32(static_cast<std::uint32_t>(bits.size()));
    u32(0), u32(0), u32(4), u32(0);
    for (std::uint32_t bgr : {0x000000u, 0x0000FFu, 0x00FF00u, 0xFF0000u})
        u32(bgr);  // black, blue, green, red
    b.insert(b.end(), bits.begin(), bits.end());
    return b;
}

constexpr std::uint32_t K = 0x000000, B = 0xFF0000, G = 0x00FF00, R = 0x0000FF;

TEST(BitmapReader, DecodesTrickyRle8Runs) {
    // Stored bottom row first. Bottom row: an encoded run, an odd absolute run with its
    // pad byte, a run of one. Middle row: a run ended early by an end of line (the rest
    // stays colour 0). Top row: a delta skipping two pixels, a run of two, and the end of
    // the bitmap before the row is full.
    const std::vector<std::uint8_t> rle = {
        3, 1, 0, 3, 2, 3, 1, 0, 1, 3, 0, 0, 5, 2, 0, 0, 0, 2, 2, 0, 2, 3, 0, 1,
    };
    auto bmp = decodeBitmap(eightBitFile(7, 3, 1, rle));
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->compression, 1u);
    EXPECT_EQ(bmp->paletteColoursUsed, 4);
    const std::vector<std::uint32_t> want = {
        K, K, R, R, K, K, K,  // top: skipped by the delta, then red, then never written
        G, G, G, G, G, K, K,  // middle
        B, B, B, G, R, B, R,  // bottom
    };
    EXPECT_EQ(bmp->pixels, want);
}

TEST(BitmapReader, DecodesAFullWidthAbsoluteRunAndAMaximalEncodedRun) {
    std::vector<std::uint8_t> rle = {255, 2, 45, 1, 0, 0};  // row 0: 300 pixels in two runs
    rle.push_back(0), rle.push_back(255);                   // row 1: 255 literal pixels...
    for (int i = 0; i < 255; ++i) rle.push_back(static_cast<std::uint8_t>(i % 4));
    rle.push_back(0);                     // ...padded to a word
    rle.push_back(0), rle.push_back(45);  // then 45 more
    for (int i = 255; i < 300; ++i) rle.push_back(static_cast<std::uint8_t>(i % 4));
    rle.push_back(0);
    rle.push_back(0), rle.push_back(1);
    auto bmp = decodeBitmap(eightBitFile(300, 2, 1, rle));
    ASSERT_TRUE(bmp);
    const std::uint32_t colours[] = {K, B, G, R};
    for (int x = 0; x < 300; ++x) {
        ASSERT_EQ(bmp->at(x, 1), x < 255 ? G : B) << x;
        ASSERT_EQ(bmp->at(x, 0), colours[x % 4]) << x;
    }
}

TEST(BitmapReader, RejectsRle8ThatRunsPastThePicture) {
    EXPECT_FALSE(decodeBitmap(eightBitFile(4, 1, 1, {5, 1, 0, 1}))) << "a run past the row";
    EXPECT_FALSE(decodeBitmap(eightBitFile(4, 1, 1, {0, 5, 1, 1, 1, 1, 1, 0, 0, 1})))
        << "an absolute run past the row";
    EXPECT_FALSE(decodeBitmap(eightBitFile(4, 1, 1, {4, 1, 0, 0, 4, 1, 0, 1})))
        << "a row past the top";
    EXPECT_FALSE(decodeBitmap(eightBitFile(4, 1, 1, {4, 1}))) << "no end of bitmap";
    EXPECT_FALSE(decodeBitmap(eightBitFile(4, 1, 1, {0, 3, 1, 1}))) << "absolute run cut off";
    EXPECT_FALSE(decodeBitmap(eightBitFile(4, 1, 1, {4, 9, 0, 1})))
        << "index beyond the colour table";
}

TEST(BitmapReader, ReadsUncompressedRowsWithPadding) {
    // 8-bit, width 5: each stored row is padded to 8 bytes.
    auto eight =
        decodeBitmap(eightBitFile(5, 2, 0, {1, 1, 1, 1, 2, 0, 0, 0, 3, 0, 0, 0, 0, 9, 9, 9}));
    ASSERT_TRUE(eight);
    EXPECT_EQ(eight->pixels, (std::vector<std::uint32_t>{R, K, K, K, K, B, B, B, B, G}));

    // 24-bit, width 3: 9 bytes of pixels and 3 of padding per row, top-down this time.
    std::vector<std::uint8_t> b = {'B', 'M', 0, 0,  0, 0, 0, 0, 0, 0, 54,
                                   0,   0,   0, 40, 0, 0, 0, 3, 0, 0, 0};
    for (std::uint8_t v : {0xFE, 0xFF, 0xFF, 0xFF}) b.push_back(v);  // height -2
    for (std::uint8_t v : {1, 0, 24, 0}) b.push_back(v);
    b.resize(54, 0);
    const std::uint8_t rows[] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 7, 7, 7,
                                 1,  2,  3,  4,  5,  6,  7,  8,  9,  7, 7, 7};
    b.insert(b.end(), std::begin(rows), std::end(rows));
    auto top = decodeBitmap(b);
    ASSERT_TRUE(top);
    EXPECT_EQ(top->bitCount, 24);
    EXPECT_EQ(top->paletteColoursUsed, 0);
    EXPECT_EQ(top->pixels,
              (std::vector<std::uint32_t>{rgb(30, 20, 10), rgb(60, 50, 40), rgb(90, 80, 70),
                                          rgb(3, 2, 1), rgb(6, 5, 4), rgb(9, 8, 7)}));
    b.pop_back();
    EXPECT_FALSE(decodeBitmap(b)) << "truncated pixel data";
}

TEST(BitmapReader, ReadsFromAFileAndRefusesWhatItCannotDecode) {
    const fs::path path = fs::temp_directory_path() / "skelvo_bitmap_reader_test.bmp";
    {
        const auto bytes = eightBitFile(2, 1, 1, {1, 3, 1, 2, 0, 1});
        std::ofstream f(path, std::ios::binary);
        f.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
    }
    auto bmp = readBitmapFile(path.string());
    fs::remove(path);
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->pixels, (std::vector<std::uint32_t>{R, G}));

    EXPECT_FALSE(readBitmapFile((kSkinDir / "no_such_picture.bmp").string()));
    auto notBmp = eightBitFile(2, 1, 1, {2, 1, 0, 1});
    notBmp[0] = 'P';
    EXPECT_FALSE(decodeBitmap(notBmp));
    auto fourBit = eightBitFile(2, 1, 0, {0x12, 0, 0, 0});
    fourBit[28] = 4;
    EXPECT_FALSE(decodeBitmap(fourBit)) << "4-bit pictures are not part of the skin";
}

}  // namespace
}  // namespace skelvo
