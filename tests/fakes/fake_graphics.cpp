// The pixel canvas behind the painter's tests.
#include "tests/fakes/fake_graphics.h"

#include <algorithm>
#include <utility>

#include "tests/fakes/bitmap_file.h"

namespace skelvo::testing {

namespace {
Pixels blank(int width, int height, Colour colour) {
    Pixels p;
    p.width = width;
    p.height = height;
    p.data.assign(static_cast<std::size_t>(width * height), colour);
    return p;
}
constexpr Colour White = 0x00FFFFFF;
constexpr Colour Black = 0x00000000;
}  // namespace

FakeGraphics::FakeGraphics(BitmapSource source, int screenWidth, int screenHeight)
    : source_(std::move(source)) {
    screen_ = next_++;
    dcs_[screen_] = Dc{blank(screenWidth, screenHeight, Black), "screen"};
}

DcHandle FakeGraphics::windowDc(WindowHandle) {
    ++windowDcsOut;
    calls.push_back("getdc");
    if (log != nullptr) log->add("getdc");
    return screen_;
}

void FakeGraphics::releaseWindowDc(WindowHandle, DcHandle) {
    --windowDcsOut;
    calls.push_back("releasedc");
    if (log != nullptr) log->add("releasedc");
}

DcHandle FakeGraphics::loadBitmapDc(InstanceHandle, WindowHandle, const char* name) {
    const DcHandle dc = next_++;
    Dc record;
    record.name = name;
    if (source_) record.pixels = source_(name);
    dcs_[dc] = std::move(record);
    loaded.emplace_back(name);
    ++liveMemoryDcs;
    return dc;
}

DcHandle FakeGraphics::createCanvas(int width, int height, Colour fill) {
    const DcHandle dc = next_++;
    dcs_[dc] = Dc{blank(width, height, fill), "canvas"};
    ++liveMemoryDcs;
    return dc;
}

void FakeGraphics::deleteMemoryDc(DcHandle dc) {
    if (dc == screen_ || dcs_.erase(dc) == 0) {
        ++staleDcUses;
    } else {
        --liveMemoryDcs;
    }
    deleted.push_back(dc);
}

const Pixels* FakeGraphics::pixels(DcHandle dc) const {
    auto it = dcs_.find(dc);
    return it == dcs_.end() || !it->second.pixels ? nullptr : &*it->second.pixels;
}

Pixels* FakeGraphics::pixels(DcHandle dc) {
    auto it = dcs_.find(dc);
    return it == dcs_.end() || !it->second.pixels ? nullptr : &*it->second.pixels;
}

std::string FakeGraphics::bitmapName(DcHandle dc) const {
    auto it = dcs_.find(dc);
    return it == dcs_.end() ? std::string() : it->second.name;
}

void FakeGraphics::bitBlt(DcHandle target, int x, int y, int width, int height, DcHandle source,
                          int sourceX, int sourceY, std::uint32_t rop) {
    calls.push_back("bitblt " + std::to_string(rop));
    blits.push_back(
        {target, Rect{x, y, x + width, y + height}, source, Point{sourceX, sourceY}, rop});
    if (!known(target) || (rop != win::RopWhiteness && !known(source))) ++staleDcUses;
    Pixels* dst = pixels(target);
    if (dst == nullptr) return;
    const Pixels* src = rop == win::RopWhiteness ? nullptr : pixels(source);
    if (rop != win::RopWhiteness && src == nullptr) return;
    for (int dy = 0; dy < height; ++dy) {
        for (int dx = 0; dx < width; ++dx) {
            const int tx = x + dx;
            const int ty = y + dy;
            if (tx < 0 || ty < 0 || tx >= dst->width || ty >= dst->height) continue;
            Colour s = Black;
            if (src != nullptr) {
                const int sx = sourceX + dx;
                const int sy = sourceY + dy;
                // GDI clips the copy to the source bitmap: these pixels stay untouched.
                if (sx < 0 || sy < 0 || sx >= src->width || sy >= src->height) continue;
                s = src->at(sx, sy);
            }
            Colour& d = dst->at(tx, ty);
            switch (rop) {
            case win::RopSrcCopy: d = s; break;
            case win::RopSrcPaint: d = (d | s) & White; break;
            case win::RopSrcAnd: d = d & s; break;
            case win::RopMergePaint: d = (d | ~s) & White; break;
            case win::RopWhiteness: d = White; break;
            default: break;
            }
        }
    }
}

void FakeGraphics::rectangle(DcHandle dc, Rect r, Colour pen, Colour brush) {
    calls.push_back("rectangle");
    if (!known(dc)) ++staleDcUses;
    ++objects.pensCreated;
    ++objects.brushesCreated;
    if (Pixels* p = pixels(dc)) {
        // As GDI: corners in any order; an empty rectangle draws nothing; the one-pixel
        // pen runs on the first and last column and row inside the exclusive bounds.
        if (r.left > r.right) std::swap(r.left, r.right);
        if (r.top > r.bottom) std::swap(r.top, r.bottom);
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                if (x < 0 || y < 0 || x >= p->width || y >= p->height) continue;
                const bool edge =
                    x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
                p->at(x, y) = edge ? pen : brush;
            }
        }
    }
    ++objects.pensDeleted;
    ++objects.brushesDeleted;
}

void FakeGraphics::drawText(DcHandle dc, const char* text, Rect rect, unsigned format,
                            const FontRequest& font, Colour colour) {
    calls.push_back("text");
    if (!known(dc)) ++staleDcUses;
    ++objects.fontsCreated;
    texts.push_back({dc, text ? text : "", rect, format, font, colour});
    ++objects.fontsDeleted;
}

void FakeGraphics::drawIcon(DcHandle dc, int x, int y, IconHandle icon) {
    calls.push_back("icon");
    if (!known(dc)) ++staleDcUses;
    icons.push_back({dc, x, y, icon});
}

FakeGraphics::BitmapSource skinFromDirectory(const std::string& directory) {
    return [directory](const std::string& name) -> std::optional<Pixels> {
        const auto bmp = readBitmapFile(directory + "/" + name + ".bmp");
        if (!bmp) return std::nullopt;
        Pixels p;
        p.width = bmp->width;
        p.height = bmp->height;
        p.data.assign(bmp->pixels.begin(), bmp->pixels.end());
        return p;
    };
}

}  // namespace skelvo::testing
