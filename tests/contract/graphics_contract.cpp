// The drawing contract, run against the pixel fake natively and against GDI under Wine:
// the fake's picture of the panel is only as good as its agreement with GDI here.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "tests/contract/graphics_contract.h"

namespace skelvo::contract {
namespace {

constexpr Colour White = 0x00FFFFFF;
constexpr Colour Pen = 0x00C8FFFF;
constexpr Colour Brush = 0x006EDCA0;

struct Canvas {
    GraphicsProbe& probe;
    DcHandle dc;
    int width;
    int height;

    // Differences from expected(x, y) over the whole canvas, the first few described.
    ::testing::AssertionResult is(const std::function<Colour(int, int)>& expected) {
        int bad = 0;
        std::ostringstream where;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const Colour got = probe.pixel(dc, x, y);
                const Colour want = expected(x, y);
                if (got == want) continue;
                if (bad++ < 5)
                    where << " (" << x << "," << y << ") 0x" << std::hex << got << " not 0x" << want
                          << std::dec;
            }
        }
        if (bad == 0) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << bad << " pixels differ:" << where.str();
    }
};

class GraphicsContract : public ::testing::Test {
protected:
    void TearDown() override {
        for (DcHandle dc : made_) EXPECT_TRUE(probe_->release(dc)) << "memory DC or bitmap left";
        EXPECT_EQ(probe_->objectsLeft(), 0) << "pens, brushes or fonts left";
    }
    Canvas canvas(int width, int height, Colour fill) {
        const DcHandle dc = probe_->canvas(width, height, fill);
        made_.push_back(dc);
        return Canvas{*probe_, dc, width, height};
    }
    Graphics& g() { return probe_->graphics(); }

    std::unique_ptr<GraphicsProbe> probe_ = makeGraphicsProbe();
    std::vector<DcHandle> made_;
};

// The picture GDI draws for Rectangle(l, t, r, b) with l < r and t < b: the pen on
// columns l and r - 1 and rows t and b - 1, the brush inside.
std::function<Colour(int, int)> rectanglePicture(Rect r, Colour background) {
    return [r, background](int x, int y) {
        if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) return background;
        const bool edge = x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
        return edge ? Pen : Brush;
    };
}

TEST_F(GraphicsContract, RectanglePenOnTheInclusiveEdgesBrushInside) {
    Canvas c = canvas(20, 12, White);
    g().rectangle(c.dc, Rect{2, 3, 9, 8}, Pen, Brush);
    EXPECT_TRUE(c.is(rectanglePicture(Rect{2, 3, 9, 8}, White)));
}

TEST_F(GraphicsContract, RectangleWithCornersInAnyOrder) {
    Canvas a = canvas(20, 12, White);
    g().rectangle(a.dc, Rect{9, 8, 2, 3}, Pen, Brush);
    EXPECT_TRUE(a.is(rectanglePicture(Rect{2, 3, 9, 8}, White)));
    Canvas b = canvas(20, 12, White);
    g().rectangle(b.dc, Rect{9, 3, 2, 8}, Pen, Brush);
    EXPECT_TRUE(b.is(rectanglePicture(Rect{2, 3, 9, 8}, White)));
}

TEST_F(GraphicsContract, NarrowAndEmptyRectangles) {
    Canvas twoWide = canvas(12, 12, White);
    g().rectangle(twoWide.dc, Rect{4, 2, 6, 9}, Pen, Brush);
    EXPECT_TRUE(twoWide.is(rectanglePicture(Rect{4, 2, 6, 9}, White))) << "all pen, no inside";
    Canvas oneWide = canvas(12, 12, White);
    g().rectangle(oneWide.dc, Rect{4, 2, 5, 9}, Pen, Brush);
    g().rectangle(oneWide.dc, Rect{7, 10, 11, 11}, Pen, Brush);
    EXPECT_TRUE(oneWide.is([](int x, int y) {
        return (x == 4 && y >= 2 && y < 9) || (y == 10 && x >= 7 && x < 11) ? Pen : White;
    })) << "one pixel wide or high: a line of pen";
    Canvas threeHigh = canvas(12, 12, White);
    g().rectangle(threeHigh.dc, Rect{1, 5, 11, 8}, Pen, Brush);
    EXPECT_TRUE(threeHigh.is(rectanglePicture(Rect{1, 5, 11, 8}, White)))
        << "the shape of the minimised bar: pen, brush, pen";
    Canvas empty = canvas(12, 12, White);
    g().rectangle(empty.dc, Rect{4, 2, 4, 9}, Pen, Brush);
    g().rectangle(empty.dc, Rect{1, 6, 9, 6}, Pen, Brush);
    EXPECT_TRUE(empty.is([](int, int) { return White; })) << "no width or no height: nothing";
}

TEST_F(GraphicsContract, RectangleClippedAtTheCanvasEdges) {
    Canvas c = canvas(10, 8, White);
    g().rectangle(c.dc, Rect{-3, -2, 5, 4}, Pen, Brush);
    g().rectangle(c.dc, Rect{7, 6, 14, 12}, Pen, Brush);
    auto first = rectanglePicture(Rect{-3, -2, 5, 4}, White);
    auto second = rectanglePicture(Rect{7, 6, 14, 12}, White);
    EXPECT_TRUE(c.is([&](int x, int y) {
        const Colour s = second(x, y);
        return s != White ? s : first(x, y);
    }));
}

// Distinct bit patterns in every channel, so that a wrong operation cannot match.
Colour sourceColour(int x, int y) {
    return static_cast<Colour>((0x1F3A5C * (x + 3 * y + 1)) & 0xFFFFFF);
}
Colour targetColour(int x, int y) {
    return static_cast<Colour>((0x6B2D91 * (2 * x + y + 5)) & 0xFFFFFF);
}

void fill(GraphicsProbe& probe, DcHandle dc, int width, int height, Colour (*colour)(int, int)) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) probe.setPixel(dc, x, y, colour(x, y));
}

struct RopCase {
    std::uint32_t rop;
    const char* name;
    Colour (*apply)(Colour target, Colour source);
};

TEST_F(GraphicsContract, RasterOperationsOfThePainter) {
    const RopCase cases[] = {
        {0x00CC0020, "SRCCOPY", [](Colour, Colour s) { return s; }},
        {0x00EE0086, "SRCPAINT", [](Colour d, Colour s) { return d | s; }},
        {0x008800C6, "SRCAND", [](Colour d, Colour s) { return d & s; }},
        {0x00BB0226, "MERGEPAINT", [](Colour d, Colour s) { return (d | ~s) & White; }},
    };
    Canvas source = canvas(8, 6, White);
    fill(*probe_, source.dc, 8, 6, sourceColour);
    ASSERT_TRUE(source.is(sourceColour)) << "the canvas holds 24-bit colours exactly";
    for (const RopCase& rc : cases) {
        Canvas target = canvas(12, 10, White);
        fill(*probe_, target.dc, 12, 10, targetColour);
        // Source (1, 2) onwards, 6 x 4, to (3, 4) of the target.
        g().bitBlt(target.dc, 3, 4, 6, 4, source.dc, 1, 2, rc.rop);
        EXPECT_TRUE(target.is([&](int x, int y) {
            const bool inside = x >= 3 && x < 9 && y >= 4 && y < 8;
            return inside ? rc.apply(targetColour(x, y), sourceColour(x - 2, y - 2))
                          : targetColour(x, y);
        })) << rc.name;
    }
}

TEST_F(GraphicsContract, WhitenessNeedsNoSourceAndClipsAtTheEdge) {
    Canvas c = canvas(10, 6, 0x00123456);
    // One column wider than the canvas, as the skin whitens its canvas.
    g().bitBlt(c.dc, 0, 0, 11, 6, 0, 0, 0, 0x00FF0062);
    EXPECT_TRUE(c.is([](int, int) { return White; }));
    Canvas part = canvas(10, 6, 0x00123456);
    g().bitBlt(part.dc, 4, 2, 3, 2, 0, 0, 0, 0x00FF0062);
    EXPECT_TRUE(part.is(
        [](int x, int y) { return x >= 4 && x < 7 && y >= 2 && y < 4 ? White : 0x00123456; }));
}

TEST_F(GraphicsContract, CopyBeyondTheSourceLeavesTheRestUntouched) {
    // As the 233-wide backgrounds are copied 236 wide and the 124-row frame over 157 rows.
    Canvas source = canvas(5, 4, 0x000000FF);
    Canvas target = canvas(9, 8, 0x0000FF00);
    g().bitBlt(target.dc, 1, 1, 8, 7, source.dc, 0, 0, 0x008800C6);
    EXPECT_TRUE(target.is([](int x, int y) {
        const bool covered = x >= 1 && x < 6 && y >= 1 && y < 5;
        return covered ? Colour{0} : Colour{0x0000FF00};
    }));
    Canvas copy = canvas(9, 8, 0x0000FF00);
    g().bitBlt(copy.dc, 2, 2, 8, 7, source.dc, 0, 0, 0x00CC0020);
    EXPECT_TRUE(copy.is([](int x, int y) {
        const bool covered = x >= 2 && x < 7 && y >= 2 && y < 6;
        return covered ? Colour{0x000000FF} : Colour{0x0000FF00};
    }));
}

TEST_F(GraphicsContract, TextStaysInsideItsRectangle) {
    Canvas c = canvas(60, 30, White);
    const Rect box{10, 8, 40, 20};
    g().drawText(c.dc, "WWWWWWWWWWWWWWWWWWWW", box, 0x0020 | 0x0004, FontRequest{18, 128, nullptr},
                 0x000000FA);
    g().drawText(c.dc, "\x83\x81\x83\x82\x92\xA0", box, 0x0010, FontRequest{10, 128, nullptr},
                 0x00FF2337);
    EXPECT_TRUE(c.is([&](int x, int y) {
        const bool inside = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
        return inside ? c.probe.pixel(c.dc, x, y) : White;
    })) << "DrawTextA without DT_NOCLIP clips to the rectangle";
}

TEST_F(GraphicsContract, ThousandDrawingCallsLeaveNoObjectBehind) {
    Canvas c = canvas(40, 40, White);
    for (int i = 0; i < 1000; ++i) {
        g().rectangle(c.dc, Rect{i % 30, 2, i % 30 + 8, 12}, Pen, Brush);
        g().drawText(c.dc, "title", Rect{0, 20, 40, 40}, 0x8025,
                     FontRequest{i % 2 ? 18 : 10, 128, nullptr}, 0x005032FF);
    }
    EXPECT_EQ(probe_->objectsLeft(), 0);
    // The DC still draws with a fresh pen and brush afterwards.
    Canvas fresh = canvas(12, 12, White);
    g().rectangle(fresh.dc, Rect{2, 3, 9, 8}, Pen, Brush);
    EXPECT_TRUE(fresh.is(rectanglePicture(Rect{2, 3, 9, 8}, White)));
}

TEST_F(GraphicsContract, MissingBitmapGivesADcThatCanBeDeleted) {
    const DcHandle dc = g().loadBitmapDc(0, 0, "INFO_ON");
    EXPECT_NE(dc, 0u);
    EXPECT_TRUE(probe_->release(dc));
}

}  // namespace
}  // namespace skelvo::contract
