// A drawing fake whose memory DCs hold real pixels: bit-block transfers apply the raster
// operations the painter uses, rectangles are drawn as GDI draws them with a one-pixel
// pen, and texts and icons are recorded with everything that decides how they look.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/fakes/event_log.h"
#include "ui/graphics.h"

namespace skelvo::testing {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<Colour> data;  // row-major, top row first
    Colour at(int x, int y) const { return data[static_cast<std::size_t>(y * width + x)]; }
    Colour& at(int x, int y) { return data[static_cast<std::size_t>(y * width + x)]; }
};

struct TextCall {
    DcHandle dc;
    std::string text;
    Rect rect;
    unsigned format;
    FontRequest font;
    Colour colour;
};

struct BlitCall {
    DcHandle target;
    Rect area;  // x, y, x + width, y + height on the target
    DcHandle source;
    Point sourceOrigin;
    std::uint32_t rop;
};

struct IconCall {
    DcHandle dc;
    int x;
    int y;
    IconHandle icon;
};

// Pens, brushes and fonts made and given back, as the Win32 side makes them per call.
struct ObjectTally {
    int pensCreated = 0;
    int pensDeleted = 0;
    int brushesCreated = 0;
    int brushesDeleted = 0;
    int fontsCreated = 0;
    int fontsDeleted = 0;
    int live() const {
        return pensCreated - pensDeleted + brushesCreated - brushesDeleted + fontsCreated -
               fontsDeleted;
    }
};

class FakeGraphics : public Graphics {
public:
    // Supplies the pixels of a named bitmap resource, or nothing when there is none.
    using BitmapSource = std::function<std::optional<Pixels>(const std::string& name)>;
    explicit FakeGraphics(BitmapSource source = {}, int screenWidth = 236, int screenHeight = 157);

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

    // A memory DC with a bitmap of its own, filled with one colour (for contract checks).
    DcHandle createCanvas(int width, int height, Colour fill);

    // The pixels of a DC; null for a DC without a bitmap.
    const Pixels* pixels(DcHandle dc) const;
    Pixels* pixels(DcHandle dc);
    DcHandle screenDc() const { return screen_; }
    std::string bitmapName(DcHandle dc) const;
    bool isLive(DcHandle dc) const { return dcs_.count(dc) != 0; }

    std::vector<std::string> loaded;  // names, in load order
    std::vector<DcHandle> deleted;
    std::vector<BlitCall> blits;
    std::vector<TextCall> texts;
    std::vector<IconCall> icons;
    std::vector<std::string>
        calls;  // "bitblt <rop>", "rectangle", "text", "icon", "getdc", "releasedc"
    int liveMemoryDcs = 0;
    int windowDcsOut = 0;
    EventLog* log = nullptr;  // "getdc" and "releasedc", beside the host's events
    ObjectTally objects;
    // Drawing on or copying from a DC that was never made or was already deleted.
    int staleDcUses = 0;

private:
    struct Dc {
        std::optional<Pixels> pixels;
        std::string name;
    };
    bool known(DcHandle dc) const { return dc == 0 || dcs_.count(dc) != 0; }
    std::map<DcHandle, Dc> dcs_;
    BitmapSource source_;
    DcHandle screen_;
    DcHandle next_ = 0x5000;
};

// The skin as LoadBitmapA would see it: <name>.bmp read from a directory.
FakeGraphics::BitmapSource skinFromDirectory(const std::string& directory);

}  // namespace skelvo::testing
