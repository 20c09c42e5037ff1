// The graphics contract's probe on the pixel fake.
#include "tests/contract/graphics_contract.h"
#include "tests/fakes/fake_graphics.h"

namespace skelvo::contract {
namespace {

class FakeProbe : public GraphicsProbe {
public:
    Graphics& graphics() override { return g_; }
    DcHandle canvas(int width, int height, Colour fill) override {
        return g_.createCanvas(width, height, fill);
    }
    Colour pixel(DcHandle dc, int x, int y) override { return g_.pixels(dc)->at(x, y); }
    void setPixel(DcHandle dc, int x, int y, Colour colour) override {
        g_.pixels(dc)->at(x, y) = colour;
    }
    bool release(DcHandle dc) override {
        g_.deleteMemoryDc(dc);
        return !g_.isLive(dc) && g_.staleDcUses == 0;
    }
    long objectsLeft() override { return g_.objects.live(); }

private:
    testing::FakeGraphics g_;
};

}  // namespace

std::unique_ptr<GraphicsProbe> makeGraphicsProbe() {
    return std::make_unique<FakeProbe>();
}

}  // namespace skelvo::contract
