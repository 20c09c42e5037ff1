// The whole panel composed on the pixel canvas: background, map, highlight, frame,
// information bar and corner, checked pixel by pixel for the states that show each step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sstream>
#include <tuple>

#include "app/ids.h"
#include "tests/unit/painting_scene.h"

namespace skelvo::testing {
namespace {

constexpr unsigned PaintMessage = win::WmPaint;

// Pixels of an inclusive area that differ from what expected() says; the first few are
// described so that a failure shows where the picture went wrong.
::testing::AssertionResult areaMatches(Scene& s, Rect area,
                                       const std::function<Colour(int, int)>& expected) {
    int bad = 0;
    std::ostringstream where;
    for (int y = area.top; y <= area.bottom; ++y) {
        for (int x = area.left; x <= area.right; ++x) {
            const Colour want = expected(x, y);
            const Colour got = s.at(x, y);
            if (got == want) continue;
            if (bad++ < 4)
                where << " (" << x << "," << y << ") 0x" << std::hex << got << " not 0x" << want
                      << std::dec;
        }
    }
    if (bad == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << bad << " pixels differ:" << where.str();
}

std::function<Colour(int, int)> picture(Scene& s, const char* name, int dx = 0, int dy = 0) {
    const BitmapFile& bmp = s.skin(name);
    return [&bmp, dx, dy](int x, int y) { return bmp.at(x - dx, y - dy); };
}

std::function<Colour(int, int)> solid(Colour c) {
    return [c](int, int) { return c; };
}

// The opening of a cell with the checkerboard merged over the given picture: white where
// SELECTER is black, the picture where it is white.
std::function<Colour(int, int)> highlighted(Scene& s, int column, int row,
                                            std::function<Colour(int, int)> under) {
    const BitmapFile& sel = s.skin("SELECTER");
    const int ox = 3 + 50 * column;
    const int oy = 4 + 40 * row;
    return [&sel, ox, oy, under](int x, int y) {
        return sel.at(x - ox, y - oy) == 0 ? White : under(x, y);
    };
}

// Every pixel outside the fourteen openings above the information bar is the frame's.
void expectFrame(Scene& s) {
    const BitmapFile& mask = s.skin("FLAMEMASK");
    const BitmapFile& frame = s.skin("MAINFLAME");
    int bad = 0;
    for (int y = 0; y < 124; ++y)
        for (int x = 0; x < PanelWidth; ++x)
            if (mask.at(x, y) == White && s.at(x, y) != frame.at(x, y)) ++bad;
    EXPECT_EQ(bad, 0) << "frame pixels differ from MAINFLAME";
}

void expectBarAndCorner(Scene& s, const char* corner = "OWN_OFF") {
    EXPECT_TRUE(areaMatches(s, Rect{0, 124, 201, 156}, picture(s, "INFO_OFF", 0, 124)));
    EXPECT_TRUE(areaMatches(s, Rect{202, 124, 235, 156}, picture(s, corner, 202, 124)));
}

WindowHandle addNormal(Scene& s, const std::string& title, Rect r) {
    return s.h.addWindow(title, r);
}

// ---- the background, highlight, frame, bar and corner ------------------------------

TEST(PanelPicture, WithoutWindowsShowsBackgroundFrameBarAndCorner) {
    Scene s;
    s.h.create();
    s.paint();

    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            if (row == 0 && column == 0) continue;  // the highlighted cell
            EXPECT_TRUE(areaMatches(s, openingOf(column, row), picture(s, "MAINSELECT")))
                << "cell " << column << "," << row;
        }
    }
    // The buttons are the background's own picture.
    EXPECT_TRUE(areaMatches(s, Rect{203, 4, 232, 61}, picture(s, "MAINSELECT")));
    EXPECT_TRUE(areaMatches(s, Rect{203, 64, 232, 121}, picture(s, "MAINSELECT")));
    expectFrame(s);
    expectBarAndCorner(s);
    EXPECT_TRUE(s.h.graphics.texts.empty()) << "no window, no title";
    EXPECT_EQ(std::count(s.h.graphics.calls.begin(), s.h.graphics.calls.end(), "rectangle"), 0);
}

TEST(PanelPicture, HighlightMergesTheCheckerboardOverTheCurrentDesktopsCell) {
    Scene s;
    s.h.create();
    s.paint();
    EXPECT_TRUE(areaMatches(s, openingOf(0, 0), highlighted(s, 0, 0, picture(s, "MAINSELECT"))));
    // Top-left pixel of SELECTER is white: the background stays; its neighbours whiten.
    EXPECT_EQ(s.at(3, 4), s.skin("MAINSELECT").at(3, 4));
    EXPECT_EQ(s.at(4, 4), White);
    EXPECT_EQ(s.at(3, 5), White);
    EXPECT_EQ(s.at(4, 5), s.skin("MAINSELECT").at(4, 5));

    // "デスクトップ7" is desktop 6: column 2, row 1.
    s.h.send(win::WmCommand, CmdDesktopFirst + 6);
    s.paint();
    EXPECT_TRUE(areaMatches(s, openingOf(2, 1), highlighted(s, 2, 1, picture(s, "MAINSELECT"))));
    EXPECT_TRUE(areaMatches(s, openingOf(0, 0), picture(s, "MAINSELECT")))
        << "the old cell shows no highlight any more";
    // The frame around the highlighted cell is untouched by it.
    EXPECT_EQ(s.at(102, 43), s.skin("MAINFLAME").at(102, 43));
    EXPECT_EQ(s.at(151, 82), s.skin("MAINFLAME").at(151, 82));
}

TEST(PanelPicture, StepsRunInOrderWithTheirRasterOperations) {
    Scene s;
    addNormal(s, "one", Rect{100, 100, 500, 400});
    s.h.create();
    s.h.log.clear();
    s.paint();
    const SkinSet& skin = s.h.app->skin;
    const DcHandle canvas = skin.canvas;
    const std::vector<std::string> calls = s.h.graphics.calls;
    const std::vector<std::string> expected = {"getdc",
                                               "bitblt " + std::to_string(win::RopSrcCopy),
                                               "rectangle",
                                               "text",
                                               "bitblt " + std::to_string(win::RopMergePaint),
                                               "bitblt " + std::to_string(win::RopSrcPaint),
                                               "bitblt " + std::to_string(win::RopSrcAnd),
                                               "bitblt " + std::to_string(win::RopSrcCopy),
                                               "bitblt " + std::to_string(win::RopSrcCopy),
                                               "text",
                                               "bitblt " + std::to_string(win::RopSrcCopy),
                                               "releasedc"};
    EXPECT_EQ(calls, expected);

    const auto& b = s.h.graphics.blits;
    ASSERT_EQ(b.size(), 7u);
    const DcHandle screen = s.h.graphics.screenDc();
    auto blit = [](DcHandle t, Rect a, DcHandle src, std::uint32_t rop) {
        return std::make_tuple(t, a, src, rop);
    };
    auto seen = [](const BlitCall& c) {
        EXPECT_EQ(c.sourceOrigin, (Point{0, 0}));
        return std::make_tuple(c.target, c.area, c.source, c.rop);
    };
    EXPECT_EQ(seen(b[0]),
              blit(canvas, Rect{0, 0, 236, 124}, skin.desktopBackground, win::RopSrcCopy));
    EXPECT_EQ(seen(b[1]), blit(canvas, Rect{3, 4, 51, 42}, skin.cellHighlight, win::RopMergePaint));
    EXPECT_EQ(seen(b[2]), blit(canvas, Rect{0, 0, 236, 157}, skin.frameMask, win::RopSrcPaint));
    EXPECT_EQ(seen(b[3]), blit(canvas, Rect{0, 0, 236, 157}, skin.frameImage, win::RopSrcAnd));
    EXPECT_EQ(seen(b[4]),
              blit(canvas, Rect{0, 124, 202, 157}, skin.infoBarSource, win::RopSrcCopy));
    EXPECT_EQ(seen(b[5]),
              blit(canvas, Rect{202, 124, 236, 157}, skin.cornerSource, win::RopSrcCopy));
    EXPECT_EQ(seen(b[6]), blit(screen, Rect{0, 0, 236, 157}, canvas, win::RopSrcCopy));
    for (const TextCall& t : s.h.graphics.texts)
        EXPECT_EQ(t.dc, canvas) << "texts go to the canvas";

    // The message goes on to the default procedure once the DC is back.
    const int released = s.h.log.indexOf("releasedc");
    const int passedOn = s.h.log.indexOf("default " + std::to_string(PaintMessage));
    EXPECT_GE(released, 0);
    EXPECT_GT(passedOn, released);
    EXPECT_EQ(s.h.graphics.windowDcsOut, 0);
    EXPECT_EQ(s.screen().data, s.canvas().data) << "the window gets the whole canvas";
}

TEST(PanelPicture, ARepaintLeavesNothingOfThePreviousPicture) {
    Scene s;
    const WindowHandle w = addNormal(s, "gone soon", Rect{0, 0, 1024, 768});
    s.h.create();
    s.paint();
    ASSERT_NE(s.skin("SELECTER").at(20 - 3, 21 - 4), 0u);
    ASSERT_EQ(s.at(20, 21), TopWindowBrush) << "the window is drawn";
    s.h.windows.destroy(w);
    s.h.tick(TimerRefresh);  // re-captures desktop 0 and repaints
    EXPECT_EQ(s.desktop(0).count, 0);
    EXPECT_TRUE(areaMatches(s, openingOf(0, 0), highlighted(s, 0, 0, picture(s, "MAINSELECT"))));
}

// ---- desktop map states --------------------------------------------------------------

// Five windows side by side on desktop 0. Window i at x 200i+40..200i+200, y 100..400 maps
// to (10i+4, 7, 10i+12, 23) with scales 20 and 19.
struct FiveWindows : ::testing::Test {
    void SetUp() override {
        for (int i = 0; i < 5; ++i)
            addNormal(s, i == 4 ? "top window" : "window " + std::to_string(i),
                      Rect{200 * i + 40, 100, 200 * i + 200, 400});
        s.h.create();
        s.paint();
    }
    static Rect mapRectOf(int i) { return Rect{10 * i + 4, 7, 10 * i + 12, 23}; }
    Scene s;
};

TEST_F(FiveWindows, TopWindowHasTheLightPairAndTheOthersTheDarkPair) {
    ASSERT_EQ(s.desktop(0).count, 5);
    const auto& sel = s.skin("SELECTER");
    for (int i = 0; i < 5; ++i) {
        const Rect r = mapRectOf(i);
        EXPECT_EQ(s.desktop(0).entries[i].mapRect, r);
        const bool top = i == 4;
        const Colour pen = top ? TopWindowPen : OtherWindowPen;
        const Colour brush = top ? TopWindowBrush : OtherWindowBrush;
        // Pixels of the highlight's white squares are white whatever lies beneath.
        auto seen = [&](int x, int y, Colour c) { return sel.at(x - 3, y - 4) == 0 ? White : c; };
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < std::min(r.right, 51); ++x) {
                const bool edge =
                    x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
                ASSERT_EQ(s.at(x, y), seen(x, y, edge ? pen : brush))
                    << "window " << i << " at " << x << "," << y;
            }
        }
        // Just outside the rectangle: the background again.
        EXPECT_EQ(s.at(r.left - 1, 12),
                  seen(r.left - 1, 12, s.skin("MAINSELECT").at(r.left - 1, 12)));
        EXPECT_EQ(s.at(r.left + 3, r.bottom),
                  seen(r.left + 3, r.bottom, s.skin("MAINSELECT").at(r.left + 3, r.bottom)));
    }
    // The fifth reaches under the frame at x 51: the frame covers it there.
    EXPECT_EQ(s.at(51, 12), s.skin("MAINFLAME").at(51, 12));
    expectFrame(s);
}

TEST_F(FiveWindows, TitlesInTheMapAndTheTopTitleInTheInformationBar) {
    const auto& texts = s.h.graphics.texts;
    ASSERT_EQ(texts.size(), 6u);
    for (int i = 0; i < 5; ++i) {
        const TextCall& t = texts[static_cast<std::size_t>(i)];
        EXPECT_EQ(t.text, i == 4 ? "top window" : "window " + std::to_string(i));
        EXPECT_EQ(t.rect, mapRectOf(i));
        EXPECT_EQ(t.format, win::DtSingleLine | win::DtVCenter);
        EXPECT_EQ(t.font.height, 10);
        EXPECT_EQ(t.font.charset, 128);
        EXPECT_EQ(t.font.faceName, nullptr);
        EXPECT_EQ(t.colour, 0x000000FAu);
    }
    const TextCall& info = texts.back();
    EXPECT_EQ(info.text, "top window");
    EXPECT_EQ(info.rect, (Rect{3, 125, 201, 157}));
    EXPECT_EQ(info.format, 0x8025u);
    EXPECT_EQ(info.font.height, 18);
    EXPECT_EQ(info.font.charset, 128);
    EXPECT_EQ(info.font.faceName, nullptr);
    EXPECT_EQ(info.colour, 0x005032FFu);
    expectBarAndCorner(s);
}

TEST_F(FiveWindows, ARaisedWindowBecomesTheTopOneAtTheNextCapture) {
    const WindowHandle second = s.desktop(0).entries[1].window;
    s.h.windows.raise(second);
    s.h.tick(TimerRefresh);
    s.paint();
    ASSERT_EQ(s.desktop(0).entries[4].window, second);
    // Window 1's rectangle (14..21) now has the light pair; the old top (44..) the dark.
    // Row 13 on these columns falls on the highlight's untouched squares.
    ASSERT_NE(s.skin("SELECTER").at(14 - 3, 13 - 4), 0u);
    EXPECT_EQ(s.at(14, 13), TopWindowPen);
    EXPECT_EQ(s.at(16, 13), TopWindowBrush);
    EXPECT_EQ(s.at(44, 13), OtherWindowPen);
    EXPECT_EQ(s.at(46, 13), OtherWindowBrush);
    ASSERT_EQ(s.infoTexts().size(), 1u);
    EXPECT_EQ(s.infoTexts()[0].text, "window 1");
}

TEST(DesktopMapPicture, OnlyMinimisedWindowsGiveTheBarAndNoRectangle) {
    Scene s;
    s.h.addWindow("min a", Rect{100, 100, 500, 400}, true);
    s.h.addWindow("min b", Rect{300, 300, 600, 500}, true);
    s.h.create();
    // Desktop 5 becomes current, so desktop 0's cell carries no highlight.
    s.h.send(win::WmCommand, CmdDesktopFirst + 5);
    s.paint();
    ASSERT_EQ(s.desktop(0).count, 2);
    const auto background = picture(s, "MAINSELECT");
    // Rows 39, 40 and 41 of the cell: white, magenta, white across the opening.
    EXPECT_TRUE(areaMatches(s, Rect{3, 39, 50, 39}, solid(White)));
    EXPECT_TRUE(areaMatches(s, Rect{3, 40, 50, 40}, solid(MinimisedMarkerBrush)));
    EXPECT_TRUE(areaMatches(s, Rect{3, 41, 50, 41}, solid(White)));
    EXPECT_TRUE(areaMatches(s, Rect{3, 4, 50, 38}, background)) << "no rectangle above the bar";
    EXPECT_EQ(s.at(2, 40), s.skin("MAINFLAME").at(2, 40)) << "the bar's ends lie under the frame";
    EXPECT_EQ(s.at(51, 40), s.skin("MAINFLAME").at(51, 40));
    EXPECT_EQ(std::count(s.h.graphics.calls.begin(), s.h.graphics.calls.end(), "rectangle"), 1);
    // The information bar belongs to the current desktop, which is empty.
    EXPECT_TRUE(s.infoTexts().empty());
}

TEST(DesktopMapPicture, BarSitsAtTheBottomOfItsOwnCell) {
    Scene s;
    s.h.create();
    s.h.send(win::WmCommand, CmdDesktopFirst + 10);  // column 2, row 2
    s.h.addWindow("normal", Rect{0, 0, 512, 384});
    s.h.addWindow("minimised", Rect{0, 0, 512, 384}, true);
    s.h.tick(TimerRefresh);
    s.h.send(win::WmCommand, CmdDesktopFirst + 0);
    s.paint();
    ASSERT_EQ(s.desktop(10).count, 2);
    // Rows 119..121 of column 2 (x 103..150).
    EXPECT_TRUE(areaMatches(s, Rect{103, 119, 150, 119}, solid(White)));
    EXPECT_TRUE(areaMatches(s, Rect{103, 120, 150, 120}, solid(MinimisedMarkerBrush)));
    EXPECT_TRUE(areaMatches(s, Rect{103, 121, 150, 121}, solid(White)));
    // The normal window maps to (102, 82, 127, 102), above the bar. The minimised one is
    // the top entry, so the normal one keeps the dark pair though it is the only rectangle.
    EXPECT_EQ(s.desktop(10).entries[0].mapRect, (Rect{102, 82, 127, 102}));
    EXPECT_EQ(s.at(110, 87), OtherWindowBrush);
    EXPECT_EQ(s.at(110, 101), OtherWindowPen);
    EXPECT_EQ(s.at(103, 118), s.skin("MAINSELECT").at(103, 118));
}

TEST(DesktopMapPicture, MaximisedWindowFillsItsCellsOpening) {
    Scene s;
    s.h.addWindow("max", Rect{100, 100, 500, 400}, false, true);
    s.h.create();
    s.h.send(win::WmCommand, CmdDesktopFirst + 1);
    s.paint();
    const WindowEntry& e = s.desktop(0).entries[0];
    ASSERT_EQ(s.desktop(0).count, 1);
    EXPECT_EQ(e.showState, win::SwShowMaximized);
    // The screen rectangle, not the window's own, which reaches past the screen's edges.
    EXPECT_EQ(e.windowRect, (Rect{0, 0, 1024, 768}));
    EXPECT_EQ(e.mapRect, (Rect{2, 2, 53, 42}));
    // Its pen runs under the frame except for the bottom row, y 41, inside the opening.
    EXPECT_TRUE(areaMatches(s, Rect{3, 4, 50, 40}, solid(TopWindowBrush)));
    EXPECT_TRUE(areaMatches(s, Rect{3, 41, 50, 41}, solid(TopWindowPen)));
    expectFrame(s);
}

TEST(DesktopMapPicture, RectangleReachingIntoTheNextCellStaysVisibleThere) {
    Scene s;
    // x 900..1100 maps to 47..57: across the frame into cell 1's opening (x 53..).
    s.h.addWindow("wide", Rect{900, 200, 1100, 400});
    s.h.create();
    s.h.send(win::WmCommand, CmdDesktopFirst + 4);
    s.paint();
    EXPECT_EQ(s.desktop(0).entries[0].mapRect, (Rect{47, 12, 57, 23}));
    EXPECT_EQ(s.at(47, 15), TopWindowPen);
    EXPECT_EQ(s.at(50, 15), TopWindowBrush);
    EXPECT_EQ(s.at(51, 15), s.skin("MAINFLAME").at(51, 15));
    EXPECT_EQ(s.at(52, 15), s.skin("MAINFLAME").at(52, 15));
    EXPECT_EQ(s.at(53, 15), TopWindowBrush) << "visible in the neighbour's opening";
    EXPECT_EQ(s.at(56, 15), TopWindowPen);
    EXPECT_EQ(s.at(57, 15), s.skin("MAINSELECT").at(57, 15));
}

TEST(DesktopMapPicture, ClosedWindowIsSkippedButItsTitleStaysInTheBar) {
    Scene s;
    s.h.addWindow("stays", Rect{0, 0, 200, 200});
    const WindowHandle closed = s.h.addWindow("closed", Rect{400, 0, 600, 200});
    s.h.create();
    s.h.windows.destroy(closed);  // no capture since: the entry is stale
    s.paint();
    ASSERT_EQ(s.desktop(0).count, 2);
    EXPECT_EQ(std::count(s.h.graphics.calls.begin(), s.h.graphics.calls.end(), "rectangle"), 1);
    // Its map rectangle (22, 2, 32, 12) shows the background with the highlight.
    EXPECT_TRUE(
        areaMatches(s, Rect{22, 4, 31, 11}, highlighted(s, 0, 0, picture(s, "MAINSELECT"))));
    ASSERT_EQ(s.infoTexts().size(), 1u);
    EXPECT_EQ(s.infoTexts()[0].text, "closed") << "the stored title of the top entry";
}

// ---- the launcher function -------------------------------------------------------------

struct LauncherPicture : ::testing::Test {
    void SetUp() override {
        s.h.create();
        registerSlot(2, 0x7002, "memo");
        registerSlot(6, 0x7006, "\x83\x81\x83\x82");  // "メモ" in CP932
        registerSlot(9, 1, "no icon");                // icon 1 is none
        registerSlot(10, 0x700A, "unregistered");
        s.h.app->slots[10].registered = 0;
        s.h.send(win::WmCommand, CmdSwitchFunction);
        s.h.state().selectedSlot = 6;
        s.paint();
    }
    void registerSlot(int i, IconHandle icon, const char* title) {
        LauncherSlot& slot = s.h.app->slots[i];
        slot.icon = icon;
        slot.registered = 1;
        std::snprintf(slot.fileTitle, sizeof slot.fileTitle, "%s", title);
    }
    Scene s;
};

TEST_F(LauncherPicture, OrangeBackgroundWithTheHighlightOnTheSelectedSlot) {
    ASSERT_EQ(s.h.state().functionMode, FunctionLauncher);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            const auto under = picture(s, "MAINLANCHER");
            EXPECT_TRUE(areaMatches(s, openingOf(column, row),
                                    column == 2 && row == 1 ? highlighted(s, 2, 1, under) : under))
                << "cell " << column << "," << row;
        }
    }
    // The lower button's face, the launcher's, is the checkered one in MAINLANCHER.
    EXPECT_TRUE(areaMatches(s, Rect{203, 4, 232, 61}, picture(s, "MAINLANCHER")));
    EXPECT_TRUE(areaMatches(s, Rect{203, 64, 232, 121}, picture(s, "MAINLANCHER")));
    expectFrame(s);
    expectBarAndCorner(s);
}

TEST_F(LauncherPicture, IconsAndCaptionsOnlyForRegisteredSlotsWithAnIcon) {
    const auto& icons = s.h.graphics.icons;
    ASSERT_EQ(icons.size(), 2u);
    EXPECT_EQ(icons[0].x, 104);  // slot 2: column 2, row 0
    EXPECT_EQ(icons[0].y, 4);
    EXPECT_EQ(icons[0].icon, 0x7002u);
    EXPECT_EQ(icons[1].x, 104);  // slot 6: column 2, row 1
    EXPECT_EQ(icons[1].y, 44);
    EXPECT_EQ(icons[1].dc, s.h.app->skin.canvas);

    const auto& texts = s.h.graphics.texts;
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "memo");
    EXPECT_EQ(texts[0].rect, (Rect{136, 3, 150, 40}));
    EXPECT_EQ(texts[0].format, win::DtWordBreak);
    EXPECT_EQ(texts[0].font.height, 10);
    EXPECT_EQ(texts[0].font.charset, 128);
    EXPECT_EQ(texts[0].colour, 0x00FF2337u);
    EXPECT_EQ(texts[1].rect, (Rect{136, 43, 150, 80}));
    // The information bar: the selected slot's title.
    EXPECT_EQ(texts[2].text, "\x83\x81\x83\x82");
    EXPECT_EQ(texts[2].rect, InfoTextRect);
    EXPECT_EQ(texts[2].format, 0x8025u);
    EXPECT_EQ(texts[2].font.height, 18);
    EXPECT_EQ(texts[2].colour, 0x00FF4628u);
}

TEST_F(LauncherPicture, InformationBarFollowsTheSelectedSlot) {
    s.h.state().selectedSlot = 0;  // empty
    s.paint();
    EXPECT_TRUE(s.infoTexts().empty());
    s.h.state().selectedSlot = 10;  // an icon and a title, though not registered
    s.paint();
    ASSERT_EQ(s.infoTexts().size(), 1u);
    EXPECT_EQ(s.infoTexts()[0].text, "unregistered");
    s.h.state().selectedSlot = 9;  // registered without an icon
    s.paint();
    EXPECT_TRUE(s.infoTexts().empty());
    EXPECT_TRUE(areaMatches(s, openingOf(1, 2), highlighted(s, 1, 2, picture(s, "MAINLANCHER"))));
}

TEST_F(LauncherPicture, DrawsTheSlotsAsTheyAreNow) {
    registerSlot(2, 0x7102, "renamed");
    s.h.app->slots[6].registered = 0;
    s.h.app->slots[6].fileTitle[0] = '\0';
    s.paint();
    ASSERT_EQ(s.h.graphics.icons.size(), 1u);
    EXPECT_EQ(s.h.graphics.icons[0].icon, 0x7102u);
    ASSERT_EQ(s.h.graphics.texts.size(), 1u) << "the caption; the selected slot is empty now";
    EXPECT_EQ(s.h.graphics.texts[0].text, "renamed");
}

TEST_F(LauncherPicture, SwitchingBackShowsTheDesktopsAgain) {
    s.h.send(win::WmCommand, CmdSwitchFunction);
    s.paint();
    EXPECT_TRUE(areaMatches(s, openingOf(2, 1), picture(s, "MAINSELECT")));
    EXPECT_TRUE(areaMatches(s, openingOf(0, 0), highlighted(s, 0, 0, picture(s, "MAINSELECT"))));
    EXPECT_TRUE(s.h.graphics.icons.empty());
}

// ---- the corner and repeated paints --------------------------------------------------

TEST(PanelPicture, SmallSizeShowsTheEmblemInTheCorner) {
    Scene s;
    s.h.create();
    s.paint();
    s.h.send(win::WmCommand, CmdSwitchSize);
    ASSERT_EQ(s.h.host.regions.back(), (Rect{202, 124, 234, 156}));
    s.paint();
    // OWN_ON is 32 x 32: the rest of the 34 x 33 copy keeps the white of the frame mask.
    EXPECT_TRUE(areaMatches(s, Rect{202, 124, 233, 155}, picture(s, "OWN_ON", 202, 124)));
    EXPECT_TRUE(areaMatches(s, Rect{234, 124, 235, 156}, solid(White)));
    EXPECT_TRUE(areaMatches(s, Rect{202, 156, 235, 156}, solid(White)));
    EXPECT_TRUE(areaMatches(s, Rect{0, 124, 201, 156}, picture(s, "INFO_OFF", 0, 124)))
        << "the whole panel is still composed";
    s.h.send(win::WmCommand, CmdSwitchSize);
    EXPECT_EQ(s.h.host.regions.back(), (Rect{0, 0, 236, 157}));
    s.paint();
    expectBarAndCorner(s);
}

TEST(PanelPicture, ThousandPaintsGiveBackEveryDcPenBrushAndFont) {
    Scene s;
    s.h.addWindow("a", Rect{0, 0, 300, 300});
    s.h.addWindow("b", Rect{10, 10, 300, 300}, true);
    s.h.create();
    const int memoryDcs = s.h.graphics.liveMemoryDcs;
    for (int i = 0; i < 1000; ++i) s.h.send(win::WmPaint);
    const ObjectTally& t = s.h.graphics.objects;
    // Per paint: a rectangle, the bar, two titles.
    EXPECT_EQ(t.pensCreated, 2000);
    EXPECT_EQ(t.brushesCreated, 2000);
    EXPECT_EQ(t.fontsCreated, 2000);
    EXPECT_EQ(t.live(), 0);
    EXPECT_EQ(s.h.graphics.windowDcsOut, 0);
    EXPECT_EQ(s.h.graphics.liveMemoryDcs, memoryDcs);
    EXPECT_EQ(s.h.graphics.staleDcUses, 0);
}

}  // namespace
}  // namespace skelvo::testing
