// Reads Windows BMP files (24-bit and 8-bit, uncompressed or RLE8) into plain pixels, so
// that tests and the fake canvas can see the skin exactly as LoadBitmapA would.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace skelvo {

struct BitmapFile {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    unsigned compression = 0;           // 0 BI_RGB, 1 BI_RLE8
    int paletteColoursUsed = 0;         // entries in the colour table; 0 without one
    std::vector<std::uint32_t> pixels;  // row-major, top row first, COLORREF 0x00BBGGRR

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Decodes 24-bit BI_RGB, 8-bit BI_RGB and 8-bit BI_RLE8. Anything else, a truncated file
// or RLE data that runs past the picture gives nullopt.
std::optional<BitmapFile> readBitmapFile(const std::string& path);

// The same from bytes already in memory.
std::optional<BitmapFile> decodeBitmap(const std::vector<std::uint8_t>& bytes);

}  // namespace skelvo
