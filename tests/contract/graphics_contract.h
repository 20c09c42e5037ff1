// What the painter relies on from the drawing interface, checked against the pixel fake
// natively and against GDI under Wine: rectangles, raster operations, clipping, and that
// every pen, brush, font and memory DC is given back.
#pragma once

#include <memory>

#include "ui/graphics.h"

namespace skelvo::contract {

class GraphicsProbe {
public:
    virtual ~GraphicsProbe() = default;
    virtual Graphics& graphics() = 0;
    // A memory DC with a bitmap of its own, filled with one colour.
    virtual DcHandle canvas(int width, int height, Colour fill) = 0;
    virtual Colour pixel(DcHandle dc, int x, int y) = 0;
    virtual void setPixel(DcHandle dc, int x, int y, Colour colour) = 0;
    // Deletes the DC through the interface; true when the DC and its bitmap are gone.
    virtual bool release(DcHandle dc) = 0;
    // Pens, brushes and fonts made through the interface and not yet deleted.
    virtual long objectsLeft() = 0;
};

std::unique_ptr<GraphicsProbe> makeGraphicsProbe();

}  // namespace skelvo::contract
