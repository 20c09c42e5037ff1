// Drawing as the painter needs it: memory DCs holding the skin bitmaps, bit-block
// transfers with raster operations, rectangles, text and icons. Every pen, brush and font
// lives for one call. Win32 (GDI) in graphics_win.cpp; a pixel canvas in the tests.
#pragma once

#include "base/platform.h"

namespace skelvo {

struct FontRequest {
    int height = 0;
    int charset = win::ShiftJisCharset;
    const char* faceName = nullptr;  // null: the system's choice
};

class Graphics {
public:
    virtual ~Graphics() = default;

    virtual DcHandle windowDc(WindowHandle window) = 0;  // GetDC
    virtual void releaseWindowDc(WindowHandle window, DcHandle dc) = 0;

    // GetDC(window), LoadBitmapA(instance, name), CreateCompatibleDC, SelectObject,
    // ReleaseDC. With no such resource the memory DC holds no bitmap of its own.
    virtual DcHandle loadBitmapDc(InstanceHandle instance, WindowHandle window,
                                  const char* name) = 0;
    // Deletes a memory DC and the bitmap selected into it.
    virtual void deleteMemoryDc(DcHandle dc) = 0;

    virtual void bitBlt(DcHandle target, int x, int y, int width, int height, DcHandle source,
                        int sourceX, int sourceY, std::uint32_t rop) = 0;
    // Rectangle() with a one-pixel solid pen and a solid brush made for this call.
    virtual void rectangle(DcHandle dc, Rect rect, Colour pen, Colour brush) = 0;
    // DrawTextW of text in UTF-8, so that a title in any script is drawn, with a font from
    // CreateFontA(font), the text colour and a transparent background, all restored
    // afterwards.
    virtual void drawText(DcHandle dc, const char* text, Rect rect, unsigned format,
                          const FontRequest& font, Colour colour) = 0;
    virtual void drawIcon(DcHandle dc, int x, int y, IconHandle icon) = 0;
};

}  // namespace skelvo
