// BMP decoding for the tests: headers, colour tables, bottom-up and top-down rows, RLE8.
#include "tests/fakes/bitmap_file.h"

#include <fstream>
#include <iterator>

namespace skelvo {
namespace {

constexpr unsigned kBiRgb = 0;
constexpr unsigned kBiRle8 = 1;

std::uint32_t u16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8);
}
std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return u16(b, at) | (u16(b, at + 2) << 16);
}

std::uint32_t colourRef(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return r | (g << 8) | (static_cast<std::uint32_t>(b) << 16);
}

// Fills `index` (bottom row first) from RLE8 data; false on malformed data.
bool decodeRle8(const std::vector<std::uint8_t>& b, std::size_t pos, int w, int h,
                std::vector<int>& index) {
    int x = 0, y = 0;  // y counts rows from the bottom
    auto put = [&](int v) {
        if (x >= w || y >= h) return false;
        index[static_cast<std::size_t>(y) * w + x++] = v;
        return true;
    };
    while (true) {
        if (pos + 2 > b.size()) return false;
        const int first = b[pos], second = b[pos + 1];
        pos += 2;
        if (first > 0) {
            for (int i = 0; i < first; ++i)
                if (!put(second)) return false;
        } else if (second == 0) {  // end of line
            x = 0;
            ++y;
        } else if (second == 1) {  // end of bitmap
            return true;
        } else if (second == 2) {  // delta
            if (pos + 2 > b.size()) return false;
            x += b[pos];
            y += b[pos + 1];
            pos += 2;
            if (x > w || y > h) return false;
        } else {  // absolute run, padded to a word
            if (pos + second > b.size()) return false;
            for (int i = 0; i < second; ++i)
                if (!put(b[pos + i])) return false;
            pos += second + (second % 2);
        }
    }
}

}  // namespace

std::optional<BitmapFile> decodeBitmap(const std::vector<std::uint8_t>& b) {
    if (b.size() < 14 + 40 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    const std::size_t pixelOffset = u32(b, 10);
    const std::size_t headerSize = u32(b, 14);
    if (headerSize < 40 || 14 + headerSize > b.size()) return std::nullopt;

    BitmapFile bmp;
    bmp.width = static_cast<std::int32_t>(u32(b, 18));
    const auto rawHeight = static_cast<std::int32_t>(u32(b, 22));
    const bool topDown = rawHeight < 0;
    bmp.height = topDown ? -rawHeight : rawHeight;
    bmp.bitCount = static_cast<int>(u16(b, 28));
    bmp.compression = u32(b, 30);
    const std::uint32_t coloursUsed = u32(b, 46);
    const int w = bmp.width, h = bmp.height;
    if (u16(b, 26) != 1 || w <= 0 || h <= 0 || w > 1 << 15 || h > 1 << 15) return std::nullopt;

    const bool rgb24 = bmp.bitCount == 24 && bmp.compression == kBiRgb;
    const bool pal8 =
        bmp.bitCount == 8 && (bmp.compression == kBiRgb || bmp.compression == kBiRle8);
    if (!rgb24 && !pal8) return std::nullopt;
    if (bmp.compression == kBiRle8 && topDown) return std::nullopt;  // RLE is always bottom-up

    std::vector<std::uint32_t> palette;
    if (pal8) {
        bmp.paletteColoursUsed = coloursUsed == 0 ? 256 : static_cast<int>(coloursUsed);
        if (bmp.paletteColoursUsed > 256) return std::nullopt;
        const std::size_t at = 14 + headerSize;
        if (at + 4 * bmp.paletteColoursUsed > b.size()) return std::nullopt;
        for (int i = 0; i < bmp.paletteColoursUsed; ++i)
            palette.push_back(colourRef(b[at + 4 * i + 2], b[at + 4 * i + 1], b[at + 4 * i]));
    }
    if (pixelOffset > b.size()) return std::nullopt;

    bmp.pixels.assign(static_cast<std::size_t>(w) * h, 0);
    auto rowOf = [&](int storedRow) { return topDown ? storedRow : h - 1 - storedRow; };

    if (rgb24) {
        const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
        if (pixelOffset + stride * h > b.size()) return std::nullopt;
        for (int r = 0; r < h; ++r) {
            const std::size_t row = pixelOffset + stride * r;
            for (int x = 0; x < w; ++x)
                bmp.pixels[static_cast<std::size_t>(rowOf(r)) * w + x] =
                    colourRef(b[row + 3 * x + 2], b[row + 3 * x + 1], b[row + 3 * x]);
        }
        return bmp;
    }

    // Indexed: pixels the RLE data skips keep index 0, as GDI leaves them.
    std::vector<int> index(static_cast<std::size_t>(w) * h, 0);
    if (bmp.compression == kBiRle8) {
        if (!decodeRle8(b, pixelOffset, w, h, index)) return std::nullopt;
    } else {
        const std::size_t stride = (static_cast<std::size_t>(w) + 3) & ~std::size_t{3};
        if (pixelOffset + stride * h > b.size()) return std::nullopt;
        for (int r = 0; r < h; ++r)
            for (int x = 0; x < w; ++x)
                index[static_cast<std::size_t>(r) * w + x] = b[pixelOffset + stride * r + x];
    }
    for (int r = 0; r < h; ++r) {
        for (int x = 0; x < w; ++x) {
            const int i = index[static_cast<std::size_t>(r) * w + x];
            if (i >= static_cast<int>(palette.size())) return std::nullopt;
            bmp.pixels[static_cast<std::size_t>(rowOf(r)) * w + x] = palette[i];
        }
    }
    return bmp;
}

std::optional<BitmapFile> readBitmapFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return std::nullopt;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(f)),
                                    std::istreambuf_iterator<char>());
    return decodeBitmap(bytes);
}

}  // namespace skelvo
