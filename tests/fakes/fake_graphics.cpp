// The pixel canvas behind the painter's tests.
#include "tests/fakes/fake_graphics.h"

#include <algorithm>

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
    return screen_;
}

void FakeGraphics::releaseWindowDc(WindowHandle, DcHandle) {
    --windowDcsOut;
    calls.push_back("releasedc");
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

void FakeGraphics::deleteMemoryDc(DcHandle dc) {
    if (dcs_.erase(dc) != 0) --liveMemoryDcs;
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
                // Outside a source bitmap GDI reads nothing: such pixels stay untouched.
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
    Pixels* p = pixels(dc);
    if (p == nullptr) return;
    // Right and bottom exclusive; the one-pixel pen outlines, the brush fills inside.
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (x < 0 || y < 0 || x >= p->width || y >= p->height) continue;
            const bool edge = x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
            p->at(x, y) = edge ? pen : brush;
        }
    }
}

void FakeGraphics::drawText(DcHandle dc, const char* text, Rect rect, unsigned format,
                            const FontSpec& font, Colour colour) {
    calls.push_back("text");
    texts.push_back({dc, text ? text : "", rect, format, font, colour});
}

void FakeGraphics::drawIcon(DcHandle dc, int x, int y, IconHandle icon) {
    calls.push_back("icon");
    icons.push_back({dc, x, y, icon});
}

}  // namespace skelvo::testing
