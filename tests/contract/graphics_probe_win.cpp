// The graphics contract's probe on GDI: canvases are bitmaps compatible with the screen,
// as the skin's are, so the same pixel formats meet as in the program.
#include <windows.h>

#include <map>

#include "tests/contract/graphics_contract.h"
#include "ui/graphics_win.h"

namespace skelvo::contract {
namespace {

class Win32Probe : public GraphicsProbe {
public:
    Graphics& graphics() override { return g_; }
    DcHandle canvas(int width, int height, Colour fill) override {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        SelectObject(dc, bitmap);
        HBRUSH brush = CreateSolidBrush(fill);
        RECT all{0, 0, width, height};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        bitmaps_[dc] = bitmap;
        return reinterpret_cast<DcHandle>(dc);
    }
    Colour pixel(DcHandle dc, int x, int y) override {
        return GetPixel(reinterpret_cast<HDC>(dc), x, y);
    }
    void setPixel(DcHandle dc, int x, int y, Colour colour) override {
        SetPixel(reinterpret_cast<HDC>(dc), x, y, colour);
    }
    bool release(DcHandle dc) override {
        HDC h = reinterpret_cast<HDC>(dc);
        HBITMAP bitmap = bitmaps_[h];
        bitmaps_.erase(h);
        g_.deleteMemoryDc(dc);
        return GetObjectType(h) == 0 && GetObjectType(bitmap) == 0;
    }
    long objectsLeft() override { return g_.tally().created - g_.tally().deleted; }

private:
    Win32Graphics g_;
    std::map<HDC, HBITMAP> bitmaps_;
};

}  // namespace

std::unique_ptr<GraphicsProbe> makeGraphicsProbe() {
    return std::make_unique<Win32Probe>();
}

}  // namespace skelvo::contract
