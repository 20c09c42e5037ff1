// skin_gen: draws Skelvo's skin (the panel bitmaps and the two emblem icons) and writes
// them as Windows BMP and ICO files into the directory given on the command line.
// Runs on the build machine, so it uses the standard library only.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// Inclusive bounds, as the panel's geometry is stated.
struct Box {
    int x0, y0, x1, y1;
    bool contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

struct RgbImage {
    int w, h;
    std::vector<Rgb> px;
    RgbImage(int width, int height, Rgb fill = {})
        : w(width), h(height), px(width * height, fill) {}
    Rgb& at(int x, int y) { return px[y * w + x]; }
};

struct IndexedImage {
    int w, h;
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> px;
    IndexedImage(int width, int height, std::vector<Rgb> pal, std::uint8_t fill = 0)
        : w(width), h(height), palette(std::move(pal)), px(width * height, fill) {}
    std::uint8_t& at(int x, int y) { return px[y * w + x]; }
    void fill(Box b, std::uint8_t v) {
        for (int y = b.y0; y <= b.y1; ++y)
            for (int x = b.x0; x <= b.x1; ++x) at(x, y) = v;
    }
    void hline(int x0, int x1, int y, std::uint8_t v) { fill({x0, y, x1, y}, v); }
    void vline(int x, int y0, int y1, std::uint8_t v) { fill({x, y0, x, y1}, v); }
};

// ---- panel geometry -------------------------------------------------------------------

constexpr int kPanelWidth = 236;
constexpr int kPanelHeight = 157;
constexpr int kFrameHeight = 124;
constexpr int kBackgroundWidth = 233;
constexpr Box kUpperButton{203, 4, 232, 61};
constexpr Box kLowerButton{203, 64, 232, 121};

// The fourteen places where the content shows through the frame.
std::vector<Box> openings() {
    std::vector<Box> boxes;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            boxes.push_back({3 + 50 * c, 4 + 40 * r, 50 + 50 * c, 41 + 40 * r});
    boxes.push_back(kUpperButton);
    boxes.push_back(kLowerButton);
    return boxes;
}

// ---- colour helpers -------------------------------------------------------------------

std::uint8_t clampByte(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

Rgb lerp(Rgb a, Rgb b, double t) {
    return {clampByte(a.r + (b.r - a.r) * t), clampByte(a.g + (b.g - a.g) * t),
            clampByte(a.b + (b.b - a.b) * t)};
}

Rgb grey(int v) {
    return {std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)};
}

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// ---- file writers ---------------------------------------------------------------------

class Bytes {
public:
    void u8(unsigned v) { data.push_back(static_cast<std::uint8_t>(v)); }
    void u16(unsigned v) {
        u8(v & 0xFF);
        u8(v >> 8);
    }
    void u32(std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void append(const std::vector<std::uint8_t>& more) {
        data.insert(data.end(), more.begin(), more.end());
    }
    void patch32(std::size_t offset, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) data[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    std::vector<std::uint8_t> data;
};

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;

void bitmapInfoHeader(Bytes& out, int w, int h, int bitCount, std::uint32_t compression,
                      std::uint32_t sizeImage, std::uint32_t coloursUsed) {
    out.u32(40);
    out.i32(w);
    out.i32(h);
    out.u16(1);
    out.u16(bitCount);
    out.u32(compression);
    out.u32(sizeImage);
    out.i32(2835);  // 72 dpi
    out.i32(2835);
    out.u32(coloursUsed);
    out.u32(0);
}

void palette(Bytes& out, const std::vector<Rgb>& colours) {
    for (Rgb c : colours) {
        out.u8(c.b);
        out.u8(c.g);
        out.u8(c.r);
        out.u8(0);
    }
}

// One row of RLE8: runs of three or more equal bytes become encoded runs; stretches of
// differing bytes become absolute runs (which need at least three bytes and are padded to
// a word), and one or two leftover bytes become short encoded runs.
void rle8Row(const std::uint8_t* row, int w, std::vector<std::uint8_t>& out) {
    auto runLength = [&](int i) {
        int n = 1;
        while (i + n < w && n < 255 && row[i + n] == row[i]) ++n;
        return n;
    };
    int i = 0;
    while (i < w) {
        int run = runLength(i);
        if (run >= 3) {
            out.push_back(static_cast<std::uint8_t>(run));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        // Gather literals until a run worth encoding starts.
        int start = i;
        while (i < w && i - start < 255) {
            if (runLength(i) >= 3) break;
            ++i;
        }
        int count = i - start;
        if (count >= 3) {
            out.push_back(0);
            out.push_back(static_cast<std::uint8_t>(count));
            out.insert(out.end(), row + start, row + i);
            if (count % 2) out.push_back(0);
        } else {
            for (int k = start; k < i;) {
                int same = 1;
                while (k + same < i && row[k + same] == row[k]) ++same;
                out.push_back(static_cast<std::uint8_t>(same));
                out.push_back(row[k]);
                k += same;
            }
        }
    }
}

std::vector<std::uint8_t> rle8(const IndexedImage& img) {
    std::vector<std::uint8_t> out;
    for (int y = img.h - 1; y >= 0; --y) {
        rle8Row(&img.px[y * img.w], img.w, out);
        out.push_back(0);
        out.push_back(y == 0 ? 1 : 0);  // end of bitmap after the top row, else end of line
    }
    return out;
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& data) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!f) {
        std::fprintf(stderr, "skin_gen: cannot write %s\n", path.string().c_str());
        std::exit(1);
    }
}

void fileHeader(Bytes& out, std::uint32_t pixelOffset) {
    out.u8('B');
    out.u8('M');
    out.u32(0);  // file size, patched at the end
    out.u16(0);
    out.u16(0);
    out.u32(pixelOffset);
}

void writeBmp24(const std::filesystem::path& path, const RgbImage& img) {
    const int stride = (img.w * 3 + 3) & ~3;
    Bytes out;
    fileHeader(out, 14 + 40);
    bitmapInfoHeader(out, img.w, img.h, 24, kBiRgb, stride * img.h, 0);
    for (int y = img.h - 1; y >= 0; --y) {
        for (int x = 0; x < img.w; ++x) {
            Rgb c = img.px[y * img.w + x];
            out.u8(c.b);
            out.u8(c.g);
            out.u8(c.r);
        }
        for (int pad = img.w * 3; pad < stride; ++pad) out.u8(0);
    }
    out.patch32(2, static_cast<std::uint32_t>(out.data.size()));
    writeFile(path, out.data);
}

void writeBmp8(const std::filesystem::path& path, const IndexedImage& img, bool compress) {
    const auto colours = static_cast<std::uint32_t>(img.palette.size());
    std::vector<std::uint8_t> bits;
    if (compress) {
        bits = rle8(img);
    } else {
        const int stride = (img.w + 3) & ~3;
        for (int y = img.h - 1; y >= 0; --y) {
            bits.insert(bits.end(), &img.px[y * img.w], &img.px[y * img.w] + img.w);
            bits.resize(bits.size() + (stride - img.w), 0);
        }
    }
    Bytes out;
    fileHeader(out, 14 + 40 + 4 * colours);
    bitmapInfoHeader(out, img.w, img.h, 8, compress ? kBiRle8 : kBiRgb,
                     static_cast<std::uint32_t>(bits.size()), colours);
    palette(out, img.palette);
    out.append(bits);
    out.patch32(2, static_cast<std::uint32_t>(out.data.size()));
    writeFile(path, out.data);
}

// A one-image .ico: 32x32, 16 colours, with its transparency mask.
void writeIco(const std::filesystem::path& path, const IndexedImage& img,
              const std::vector<bool>& transparent) {
    const int xorStride = (img.w / 2 + 3) & ~3;
    const int andStride = ((img.w + 31) / 32) * 4;
    const std::uint32_t imageBytes = 40 + 16 * 4 + (xorStride + andStride) * img.h;

    Bytes out;
    out.u16(0);  // reserved
    out.u16(1);  // icon
    out.u16(1);  // one image
    out.u8(img.w);
    out.u8(img.h);
    out.u8(16);
    out.u8(0);
    out.u16(1);  // planes
    out.u16(4);  // bits per pixel
    out.u32(imageBytes);
    out.u32(6 + 16);
    // The height counts the colour bits and the mask together.
    bitmapInfoHeader(out, img.w, img.h * 2, 4, kBiRgb, (xorStride + andStride) * img.h, 16);
    std::vector<Rgb> pal = img.palette;
    pal.resize(16, kBlack);
    palette(out, pal);
    for (int y = img.h - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(xorStride, 0);
        for (int x = 0; x < img.w; ++x) {
            // Transparent pixels hold black so that AND-then-XOR leaves the screen as it is.
            unsigned v = transparent[y * img.w + x] ? 0 : img.px[y * img.w + x] & 0x0F;
            row[x / 2] |= static_cast<std::uint8_t>(x % 2 ? v : v << 4);
        }
        out.append(row);
    }
    for (int y = img.h - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(andStride, 0);
        for (int x = 0; x < img.w; ++x)
            if (transparent[y * img.w + x])
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.append(row);
    }
    writeFile(path, out.data);
}

// ---- the map backgrounds --------------------------------------------------------------

struct Scheme {
    Rgb from, to;   // diagonal gradient, top left to bottom right
    Rgb ink;        // button glyphs
    bool launcher;  // which button face is latched
};

constexpr Scheme kDesktopScheme{{0, 0, 255}, {151, 202, 255}, {0, 0, 120}, false};
constexpr Scheme kLauncherScheme{{255, 102, 0}, {255, 202, 151}, {128, 48, 0}, true};

double diagonal(int x, int y, int w, int h) {
    return (static_cast<double>(x) / (w - 1) + static_cast<double>(y) / (h - 1)) / 2.0;
}

// Four little screens: the desktops.
bool desktopsGlyph(int gx, int gy) {
    // 20x16 glyph: two by two screens of 9x7 with a gap of 2.
    if (gx < 0 || gy < 0 || gx >= 20 || gy >= 16) return false;
    int cx = gx % 11, cy = gy % 9;
    if (cx >= 9 || cy >= 7) return false;
    bool edge = cx == 0 || cx == 8 || cy == 0 || cy == 6;
    bool titleBar = cy == 1;
    return edge || titleBar;
}

// Three by three tiles: the launcher slots.
bool launcherGlyph(int gx, int gy) {
    if (gx < 0 || gy < 0 || gx >= 17 || gy >= 17) return false;
    return gx % 6 < 5 && gy % 6 < 5;
}

void drawButtonFace(RgbImage& img, Box face, const Scheme& s, bool latched, bool (*glyph)(int, int),
                    int glyphW, int glyphH) {
    const int gx0 = face.x0 + (face.x1 - face.x0 + 1 - glyphW) / 2;
    const int gy0 = face.y0 + (face.y1 - face.y0 + 1 - glyphH) / 2;
    for (int y = face.y0; y <= face.y1; ++y) {
        for (int x = face.x0; x <= face.x1; ++x) {
            Rgb base = lerp(s.from, s.to, diagonal(x, y, kBackgroundWidth, kFrameHeight));
            Rgb c = base;
            bool top = y == face.y0, left = x == face.x0;
            bool bottom = y == face.y1, right = x == face.x1;
            if (latched) {
                // Pressed and held: a white checker, shaded along the top and left.
                c = (x + y) % 2 == 0 ? kWhite : base;
                if (top || left) c = lerp(base, kBlack, 0.45);
            } else {
                // Raised: lit from the top left.
                if (top || left)
                    c = lerp(base, kWhite, 0.6);
                else if (bottom || right)
                    c = lerp(base, kBlack, 0.4);
            }
            img.at(x, y) = c;
        }
    }
    // Latched glyphs sit one pixel down and right, as pressed buttons do.
    const int shift = latched ? 1 : 0;
    for (int y = 0; y < glyphH; ++y) {
        for (int x = 0; x < glyphW; ++x) {
            if (!glyph(x, y)) continue;
            int px = gx0 + x + shift, py = gy0 + y + shift;
            img.at(px, py) = s.ink;
            // A soft highlight below and right of each stroke engraves the glyph.
            if (!glyph(x + 1, y + 1) && face.contains(px + 1, py + 1)) {
                Rgb& h = img.at(px + 1, py + 1);
                if (!(h == s.ink)) h = lerp(lerp(s.from, s.to, 0.8), kWhite, 0.75);
            }
        }
    }
}

RgbImage background(const Scheme& s) {
    RgbImage img(kBackgroundWidth, kFrameHeight);
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x)
            img.at(x, y) = lerp(s.from, s.to, diagonal(x, y, img.w, img.h));
    for (int y = 0; y < img.h; ++y) img.at(201, y) = img.at(202, y) = kWhite;
    drawButtonFace(img, kUpperButton, s, !s.launcher, desktopsGlyph, 20, 16);
    drawButtonFace(img, kLowerButton, s, s.launcher, launcherGlyph, 17, 17);
    return img;
}

// ---- selection, frame and mask --------------------------------------------------------

IndexedImage selecter() {
    IndexedImage img(48, 38, {kBlack, kWhite});
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) img.at(x, y) = (x + y) % 2 == 0 ? 1 : 0;
    return img;
}

IndexedImage flameMask() {
    IndexedImage img(kPanelWidth, kPanelHeight, {kBlack, kWhite}, 1);
    for (Box b : openings()) img.fill(b, 0);
    return img;
}

enum FrameInk : std::uint8_t { kClear, kLight, kFace, kShadow, kDark };

IndexedImage mainFrame() {
    IndexedImage img(kPanelWidth, kFrameHeight, {kWhite, grey(240), grey(192), grey(128), grey(36)},
                     kFace);
    const int right = kPanelWidth - 1, bottom = kFrameHeight - 1;
    // Raised outer edge; the bottom edge belongs to the information bar below.
    img.hline(0, right - 1, 0, kLight);
    img.vline(0, 0, bottom, kLight);
    img.vline(right - 1, 1, bottom, kShadow);
    img.vline(right, 0, bottom, kDark);
    // Each opening is a sunken well: shadow above and left, light below and right.
    for (Box b : openings()) {
        img.hline(b.x0 - 1, b.x1, b.y0 - 1, kShadow);
        img.vline(b.x0 - 1, b.y0 - 1, b.y1, kShadow);
        img.hline(b.x0 - 1, b.x1 + 1, b.y1 + 1, kLight);
        img.vline(b.x1 + 1, b.y0 - 1, b.y1 + 1, kLight);
    }
    for (Box b : openings()) img.fill(b, kClear);
    return img;
}

// ---- the bar along the bottom ---------------------------------------------------------

enum BarInk : std::uint8_t { kBarWhite, kBarLight, kBarFace, kBarShadow, kBarDark };

IndexedImage raisedPanel(int w, int h) {
    IndexedImage img(w, h, {kWhite, grey(240), grey(192), grey(128), grey(36)}, kBarFace);
    img.hline(0, w - 1, 0, kBarLight);
    img.vline(0, 0, h - 1, kBarLight);
    img.hline(1, w - 2, 1, kBarWhite);
    img.vline(1, 1, h - 2, kBarWhite);
    img.hline(1, w - 2, h - 2, kBarShadow);
    img.vline(w - 2, 1, h - 2, kBarShadow);
    img.hline(0, w - 1, h - 1, kBarDark);
    img.vline(w - 1, 0, h - 1, kBarDark);
    return img;
}

IndexedImage infoBar() {
    return raisedPanel(202, 33);
}

// The corner button: a raised square with a size grip in its lower right.
IndexedImage cornerButton() {
    IndexedImage img = raisedPanel(34, 33);
    for (int k = 0; k < 3; ++k) {
        int reach = 4 + 4 * k;  // diagonal strokes of growing length
        for (int i = 0; i < reach; ++i) {
            int x = 28 - i, y = 27 - reach + 1 + i;
            img.at(x, y) = kBarShadow;
            if (x + 1 <= 28 && y + 1 <= 27) img.at(x + 1, y + 1) = kBarShadow;
            if (x - 1 >= 0) img.at(x - 1, y) = kBarWhite;
        }
    }
    return img;
}

// ---- the emblem -----------------------------------------------------------------------

// Emblem colours; the icons use exactly this palette, the 24-bit picture blends the tile.
enum EmblemInk : std::uint8_t {
    eNone,
    eOutline,
    eTile0,
    eTile1,
    eTile2,
    eTile3,
    eTile4,  // tile gradient steps, dark to light
    eWhite,
    eOrange,
    eLightOrange,
    eDarkOrange,
    eTitle,
    ePaper,
    ePaperShade,
    eShadow,
    eLetter,
};

const std::vector<Rgb> kEmblemPalette = {
    kBlack,          {0, 0, 96},      {0, 24, 230},    {36, 84, 240},
    {74, 134, 248},  {112, 172, 252}, {151, 202, 255}, kWhite,
    {255, 102, 0},   {255, 176, 112}, {170, 60, 0},    {0, 60, 210},
    {244, 248, 255}, {200, 216, 240}, {0, 0, 60},      {0, 0, 150},
};

constexpr Rgb kTileFrom{0, 24, 230};
constexpr Rgb kTileTo{151, 202, 255};

struct EmblemPixel {
    EmblemInk ink = eNone;
    double tile = 0;  // gradient position, for tile pixels
};

constexpr std::array<const char*, 9> kLetterS = {
    ".#####.", "##...##", "##.....", "##.....", ".#####.",
    ".....##", ".....##", "##...##", ".#####.",
};
constexpr std::array<const char*, 9> kLetterK = {
    "##...##", "##..##.", "##.##..", "####...", "###....",
    "####...", "##.##..", "##..##.", "##...##",
};

std::vector<EmblemPixel> emblem(bool lettering) {
    constexpr int n = 32;
    std::vector<EmblemPixel> px(n * n);
    auto set = [&](int x, int y, EmblemInk ink) { px[y * n + x].ink = ink; };
    auto fill = [&](Box b, EmblemInk ink) {
        for (int y = b.y0; y <= b.y1; ++y)
            for (int x = b.x0; x <= b.x1; ++x) set(x, y, ink);
    };
    auto outline = [&](Box b, EmblemInk ink) {
        for (int x = b.x0; x <= b.x1; ++x) set(x, b.y0, ink), set(x, b.y1, ink);
        for (int y = b.y0; y <= b.y1; ++y) set(b.x0, y, ink), set(b.x1, y, ink);
    };

    // The tile: the panel's blue running to light blue, outlined in navy.
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) px[y * n + x] = {eTile0, diagonal(x, y, n, n)};
    outline({0, 0, n - 1, n - 1}, eOutline);
    for (int i = 1; i < n - 1; ++i) set(i, 1, eTile4), set(1, i, eTile4);  // inner light
    for (int c = 0; c < 4; ++c) {                                          // rounded corners
        int x = c % 2 ? n - 1 : 0, y = c / 2 ? n - 1 : 0, dx = c % 2 ? -1 : 1, dy = c / 2 ? -1 : 1;
        set(x, y, eNone), set(x + dx, y, eNone), set(x, y + dy, eNone);
        set(x + dx, y + dy, eOutline);
    }

    // A desktop behind: orange, peeking out at the top left.
    const Box back{4, 4, 19, 16};
    fill(back, eLightOrange);
    fill({back.x0, back.y0, back.x1, back.y0 + 2}, eOrange);
    outline(back, eDarkOrange);

    // The desktop in front, with its shadow.
    const Box front{9, 10, 27, 27};
    fill({front.x0 + 2, front.y1 + 1, front.x1 + 1, front.y1 + 1}, eShadow);
    fill({front.x1 + 1, front.y0 + 2, front.x1 + 1, front.y1 + 1}, eShadow);
    fill(front, ePaper);
    fill({front.x0, front.y0, front.x1, front.y0 + 2}, eTitle);
    fill({front.x0 + 1, front.y1 - 1, front.x1 - 1, front.y1 - 1}, ePaperShade);
    fill({front.x1 - 1, front.y0 + 3, front.x1 - 1, front.y1 - 1}, ePaperShade);
    outline(front, eOutline);
    set(front.x1 - 2, front.y0 + 1, eWhite);  // the title bar's button
    set(front.x1 - 3, front.y0 + 1, eWhite);

    if (lettering) {
        const int top = front.y0 + 5, leftS = front.x0 + 2, leftK = leftS + 8;
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 7; ++x) {
                if (kLetterS[y][x] == '#') set(leftS + x, top + y, eLetter);
                if (kLetterK[y][x] == '#') set(leftK + x, top + y, eLetter);
            }
    }
    return px;
}

// 4x4 ordered dither, so that five tile shades read as a smooth gradient in 16 colours.
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

IndexedImage emblemIndexed(const std::vector<EmblemPixel>& px, std::vector<bool>& transparent) {
    IndexedImage img(32, 32, kEmblemPalette);
    transparent.assign(32 * 32, false);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const EmblemPixel& p = px[y * 32 + x];
            std::uint8_t v = p.ink;
            if (p.ink == eTile0) {
                double level = p.tile * 4.0;
                int base = static_cast<int>(level);
                double frac = level - base;
                if (frac > (kBayer[y % 4][x % 4] + 0.5) / 16.0) ++base;
                v = static_cast<std::uint8_t>(eTile0 + std::min(base, 4));
            }
            if (p.ink == eNone) transparent[y * 32 + x] = true;
            img.at(x, y) = v;
        }
    }
    return img;
}

// The full-colour emblem for the small panel, whose window is square: the corners the icon
// leaves transparent take the outline's colour.
RgbImage emblemRgb(const std::vector<EmblemPixel>& px) {
    RgbImage img(32, 32);
    for (int i = 0; i < 32 * 32; ++i) {
        const EmblemInk ink = px[i].ink == eNone ? eOutline : px[i].ink;
        img.px[i] = ink == eTile0 ? lerp(kTileFrom, kTileTo, px[i].tile) : kEmblemPalette[ink];
    }
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_gen OUTPUT_DIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);

    writeBmp24(dir / "MAINSELECT.bmp", background(kDesktopScheme));
    writeBmp24(dir / "MAINLANCHER.bmp", background(kLauncherScheme));
    writeBmp8(dir / "SELECTER.bmp", selecter(), false);
    writeBmp8(dir / "MAINFLAME.bmp", mainFrame(), true);
    writeBmp8(dir / "FLAMEMASK.bmp", flameMask(), true);
    writeBmp8(dir / "INFO_OFF.bmp", infoBar(), true);
    writeBmp8(dir / "OWN_OFF.bmp", cornerButton(), true);
    writeBmp24(dir / "OWN_ON.bmp", emblemRgb(emblem(true)));

    std::vector<bool> transparent;
    IndexedImage lettered = emblemIndexed(emblem(true), transparent);
    writeIco(dir / "emblem_lettered.ico", lettered, transparent);
    IndexedImage plain = emblemIndexed(emblem(false), transparent);
    writeIco(dir / "emblem.ico", plain, transparent);
    return 0;
}
