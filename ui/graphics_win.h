// Drawing on Win32 with GDI. Every pen, brush and font is made for one call, selected
// for it and deleted afterwards; the tally lets tests prove that nothing is left behind.
#pragma once

#include "ui/graphics.h"

namespace skelvo {

// Pens, brushes and fonts this object made, and those it deleted and saw gone.
struct GdiTally {
    long created = 0;
    long deleted = 0;
};

class Win32Graphics : public Graphics {
public:
    DcHandle windowDc(WindowHandle window) override;
    void releaseWindowDc(WindowHandle window, DcHandle dc) override;
    DcHandle loadBitmapDc(InstanceHandle instance, WindowHandle window, const char* name) override;
    void deleteMemoryDc(DcHandle dc) override;
    void bitBlt(DcHandle target, int x, int y, int width, int height, DcHandle source, int sourceX,
                int sourceY, std::uint32_t rop) override;
    void rectangle(DcHandle dc, Rect rect, Colour pen, Colour brush) override;
    void drawText(DcHandle dc, const char* text, Rect rect, unsigned format,
                  const FontRequest& font, Colour colour) override;
    void drawIcon(DcHandle dc, int x, int y, IconHandle icon) override;

    const GdiTally& tally() const { return tally_; }

private:
    GdiTally tally_;
};

}  // namespace skelvo
