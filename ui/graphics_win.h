// Drawing on Win32 with GDI.
#pragma once

#include "ui/graphics.h"

namespace skelvo {

class Win32Graphics : public Graphics {
public:
    DcHandle windowDc(WindowHandle window) override;
    void releaseWindowDc(WindowHandle window, DcHandle dc) override;
    DcHandle loadBitmapDc(InstanceHandle instance, WindowHandle window, const char* name) override;
    void deleteMemoryDc(DcHandle dc) override;
    void bitBlt(DcHandle target, int x, int y, int width, int height, DcHandle source, int sourceX,
                int sourceY, std::uint32_t rop) override;
    void rectangle(DcHandle dc, Rect rect, Colour pen, Colour brush) override;
    void drawText(DcHandle dc, const char* text, Rect rect, unsigned format, const FontSpec& font,
                  Colour colour) override;
    void drawIcon(DcHandle dc, int x, int y, IconHandle icon) override;
};

}  // namespace skelvo
