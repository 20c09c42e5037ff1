// The desktop map and the text operations on their own: which entries are drawn, in which
// colours, where after the geometry refresh, and what each text call carries.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "app/ids.h"
#include "tests/unit/painting_scene.h"

namespace skelvo::testing {
namespace {

struct MapOnWhite : ::testing::Test {
    void SetUp() override {
        s.h.create();
        dc = s.h.graphics.createCanvas(236, 157, White);
    }
    Services services() { return Services{s.h.windows, s.h.host, s.h.graphics, s.h.shell, s.h.files}; }
    // An entry of a live window, listed at position i with the given capture index.
    WindowEntry& put(VirtualDesktop& d, int i, Rect mapRect, int captureIndex,
                     int showState = win::SwShowNa, const char* title = "t") {
        WindowEntry& e = d.entries[i];
        e = WindowEntry{};
        e.window = s.h.addWindow(title, Rect{0, 0, 100, 100});
        e.style = win::WsOverlappedWindow | win::WsVisible;
        e.mapRect = mapRect;
        e.captureIndex = captureIndex;
        e.desktopIndex = d.index;
        e.showState = showState;
        std::snprintf(e.title, sizeof e.title, "%s", title);
        if (d.count < i + 1) d.count = i + 1;
        return e;
    }
    Colour at(int x, int y) { return s.h.graphics.pixels(dc)->at(x, y); }
    int rectangles() {
        return static_cast<int>(
            std::count(s.h.graphics.calls.begin(), s.h.graphics.calls.end(), "rectangle"));
    }
    Scene s;
    DcHandle dc = 0;
};

TEST_F(MapOnWhite, NullDcOrEmptyDesktopDrawsNothing) {
    VirtualDesktop& d = s.desktop(3);
    put(d, 0, Rect{160, 10, 180, 30}, 0);
    s.h.graphics.calls.clear();
    auto svc = services();
    drawDesktopMap(d, svc, 0);
    EXPECT_TRUE(s.h.graphics.calls.empty());
    d.count = 0;
    drawDesktopMap(d, svc, dc);
    d.count = -1;
    drawDesktopMap(d, svc, dc);
    EXPECT_TRUE(s.h.graphics.calls.empty());
}

TEST_F(MapOnWhite, TopEntryIsTheOneWhoseCaptureIndexIsCountMinusOne) {
    VirtualDesktop& d = s.desktop(1);
    // Listed first but captured last: a move between desktops can leave such an order.
    put(d, 0, Rect{55, 5, 65, 15}, 2);
    put(d, 1, Rect{70, 5, 80, 15}, 0);
    put(d, 2, Rect{85, 5, 95, 15}, 1);
    auto svc = services();
    drawDesktopMap(d, svc, dc);
    EXPECT_EQ(at(55, 5), TopWindowPen);
    EXPECT_EQ(at(60, 10), TopWindowBrush);
    EXPECT_EQ(at(70, 5), OtherWindowPen);
    EXPECT_EQ(at(75, 10), OtherWindowBrush);
    EXPECT_EQ(at(85, 5), OtherWindowPen);
    EXPECT_EQ(at(90, 10), OtherWindowBrush);
    EXPECT_EQ(at(66, 10), White);
}

TEST_F(MapOnWhite, LaterEntriesAreDrawnOverEarlierOnes) {
    VirtualDesktop& d = s.desktop(0);
    put(d, 0, Rect{5, 5, 30, 30}, 0);
    put(d, 1, Rect{20, 20, 40, 40}, 1);
    auto svc = services();
    drawDesktopMap(d, svc, dc);
    EXPECT_EQ(at(25, 25), TopWindowBrush) << "the overlap shows the later entry";
    EXPECT_EQ(at(29, 15), OtherWindowPen);
    ASSERT_EQ(s.h.graphics.texts.size(), 2u);
    EXPECT_EQ(s.h.graphics.texts[0].rect, (Rect{5, 5, 30, 30}));
    EXPECT_EQ(s.h.graphics.texts[1].rect, (Rect{20, 20, 40, 40}));
}

TEST_F(MapOnWhite, ClosedWindowsAreSkippedEvenWhenMinimised) {
    VirtualDesktop& d = s.desktop(2);
    WindowEntry& gone = put(d, 0, Rect{110, 5, 120, 15}, 0, win::SwMinimize);
    s.h.windows.destroy(gone.window);
    s.h.graphics.calls.clear();
    auto svc = services();
    drawDesktopMap(d, svc, dc);
    EXPECT_EQ(rectangles(), 0) << "no bar for a window that no longer exists";
    for (int state : {win::SwShowNormal, win::SwShowMaximized, win::SwShowNa}) {
        WindowEntry& closed = put(d, 0, Rect{110, 5, 120, 15}, 0, state);
        s.h.windows.destroy(closed.window);
        drawDesktopMap(d, svc, dc);
        EXPECT_EQ(rectangles(), 0) << "nor a rectangle, show state " << state;
    }
    put(d, 1, Rect{125, 5, 135, 15}, 1, win::SwMinimize);
    drawDesktopMap(d, svc, dc);
    EXPECT_EQ(rectangles(), 1);
    // Desktop 2's cell: column 2, row 0, bar rows 39..41, x 102..151.
    EXPECT_EQ(at(102, 39), White);
    EXPECT_EQ(at(103, 40), MinimisedMarkerBrush);
    EXPECT_EQ(at(151, 40), White) << "the pen closes the bar at its right end";
    EXPECT_EQ(at(103, 41), White);
    EXPECT_EQ(at(130, 10), White) << "a minimised window gets no rectangle";
}

TEST_F(MapOnWhite, BarFollowsTheDesktopsIndex) {
    VirtualDesktop& d = s.desktop(7);  // column 3, row 1
    put(d, 0, Rect{0, 0, 1, 1}, 0, win::SwMinimize).desktopIndex = 0;
    auto svc = services();
    drawDesktopMap(d, svc, dc);
    EXPECT_EQ(at(155, 80), MinimisedMarkerBrush);
    EXPECT_EQ(at(20, 40), White) << "not the cell of the entry's own desktopIndex";
}

TEST_F(MapOnWhite, GeometryFollowsTheLiveWindowOnlyWhenNormalOrMaximised) {
    s.h.windows.setScreen(Rect{0, 0, 1920, 1080});
    VirtualDesktop& d = s.desktop(5);
    WindowEntry& normal = put(d, 0, Rect{60, 50, 61, 51}, 0, win::SwShowNormal);
    s.h.windows.at(normal.window).rect = Rect{100, 50, 600, 450};
    WindowEntry& unknown = put(d, 1, Rect{80, 70, 90, 80}, 1, win::SwShowNa);
    s.h.windows.at(unknown.window).rect = Rect{0, 0, 1920, 1080};
    auto svc = services();
    drawDesktopMap(d, svc, dc);
    EXPECT_EQ(normal.windowRect, (Rect{100, 50, 600, 450}));
    EXPECT_DOUBLE_EQ(normal.scaleX, 38.0);
    EXPECT_DOUBLE_EQ(normal.scaleY, 27.0);
    EXPECT_EQ(normal.mapRect, (Rect{54, 43, 67, 58}));
    EXPECT_EQ(at(54, 43), OtherWindowPen);
    EXPECT_EQ(unknown.mapRect, (Rect{80, 70, 90, 80})) << "show state 8: drawn as stored";
    EXPECT_EQ(at(85, 75), TopWindowBrush);

    VirtualDesktop& last = s.desktop(11);
    WindowEntry& max = put(last, 0, Rect{0, 0, 1, 1}, 0, win::SwShowMaximized);
    s.h.windows.at(max.window).rect = Rect{300, 300, 400, 400};
    drawDesktopMap(last, svc, dc);
    EXPECT_EQ(max.windowRect, (Rect{0, 0, 1920, 1080})) << "the screen, not the window";
    EXPECT_EQ(max.mapRect, (Rect{152, 82, 202, 122}));
}

TEST_F(MapOnWhite, MapRectanglesAreClampedAtTheMapsEdges) {
    s.h.windows.setScreen(Rect{0, 0, 1920, 1080});
    WindowEntry& left = put(s.desktop(0), 0, Rect{}, 0, win::SwShowNormal);
    s.h.windows.at(left.window).rect = Rect{-200, 10, 300, 200};
    WindowEntry& corner = put(s.desktop(11), 0, Rect{}, 0, win::SwShowNormal);
    s.h.windows.at(corner.window).rect = Rect{1800, 1000, 2100, 1200};
    auto svc = services();
    drawDesktopMap(s.desktop(0), svc, dc);
    drawDesktopMap(s.desktop(11), svc, dc);
    EXPECT_EQ(left.mapRect, (Rect{0, 2, 9, 9}));
    EXPECT_EQ(corner.mapRect, (Rect{199, 119, 202, 124}));
    EXPECT_EQ(at(0, 2), TopWindowPen);
    EXPECT_EQ(at(201, 123), TopWindowPen);
    EXPECT_EQ(at(202, 123), White);
}

// ---- the information bar's choice of entry ----------------------------------------------

TEST_F(MapOnWhite, InformationBarTakesTheHighestCaptureIndexAndTheLowestPositionOnATie) {
    VirtualDesktop& d = s.desktop(0);
    put(d, 0, Rect{5, 5, 10, 10}, 1, win::SwShowNa, "first of the highest");
    put(d, 1, Rect{12, 5, 17, 10}, 1, win::SwShowNa, "second of the highest");
    put(d, 2, Rect{19, 5, 24, 10}, 0, win::SwShowNa, "lower");
    s.paint();
    ASSERT_EQ(s.infoTexts().size(), 1u);
    EXPECT_EQ(s.infoTexts()[0].text, "first of the highest");

    // A closed window's stored title is shown all the same.
    d.entries[2].captureIndex = 5;
    s.h.windows.destroy(d.entries[2].window);
    s.paint();
    ASSERT_EQ(s.infoTexts().size(), 1u);
    EXPECT_EQ(s.infoTexts()[0].text, "lower");
}

// ---- the text operations -------------------------------------------------------------

TEST(PanelTexts, EntryTitlesInTheMapAndTheInformationBar) {
    FakeGraphics g;
    WindowEntry e;
    std::snprintf(e.title, sizeof e.title, "%s", "\x83\x81\x83\x82 title");
    drawEntryTitle(e, g, 0x77, Rect{10, 20, 40, 35});
    drawEntryInfo(e, g, 0x77);
    ASSERT_EQ(g.texts.size(), 2u);
    const TextCall& map = g.texts[0];
    EXPECT_EQ(map.dc, 0x77u);
    EXPECT_EQ(map.text, "\x83\x81\x83\x82 title");
    EXPECT_EQ(map.rect, (Rect{10, 20, 40, 35}));
    EXPECT_EQ(map.format, 0x24u);
    EXPECT_EQ(map.font.height, 10);
    EXPECT_EQ(map.font.charset, 128);
    EXPECT_EQ(map.font.faceName, nullptr);
    EXPECT_EQ(map.colour, 0x000000FAu);
    const TextCall& info = g.texts[1];
    EXPECT_EQ(info.rect, (Rect{3, 125, 201, 157}));
    EXPECT_EQ(info.format, 0x8025u);
    EXPECT_EQ(info.font.height, 18);
    EXPECT_EQ(info.font.charset, 128);
    EXPECT_EQ(info.colour, 0x005032FFu);
}

TEST(PanelTexts, SlotTextsNeedAnIconAboveOneAndATitle) {
    FakeGraphics g;
    LauncherSlot slot;
    slot.registered = 0;  // not consulted by either
    std::snprintf(slot.fileTitle, sizeof slot.fileTitle, "%s", "notes");
    for (IconHandle none : {IconHandle{0}, IconHandle{1}}) {
        slot.icon = none;
        drawSlotInfo(slot, g, 0x77);
        drawSlotCaption(slot, g, 0x77, 50, 40);
    }
    slot.icon = 0x1234;
    slot.fileTitle[0] = '\0';
    drawSlotInfo(slot, g, 0x77);
    drawSlotCaption(slot, g, 0x77, 50, 40);
    EXPECT_TRUE(g.texts.empty());

    std::snprintf(slot.fileTitle, sizeof slot.fileTitle, "%s", "notes");
    slot.icon = ~IconHandle{0};  // "negative" handles are above one as unsigned values
    drawSlotInfo(slot, g, 0x77);
    drawSlotCaption(slot, g, 0x77, 150, 80);
    ASSERT_EQ(g.texts.size(), 2u);
    EXPECT_EQ(g.texts[0].rect, (Rect{3, 125, 201, 157}));
    EXPECT_EQ(g.texts[0].format, 0x8025u);
    EXPECT_EQ(g.texts[0].font.height, 18);
    EXPECT_EQ(g.texts[0].colour, 0x00FF4628u);
    EXPECT_EQ(g.texts[1].rect, (Rect{186, 83, 200, 120}));
    EXPECT_EQ(g.texts[1].format, 0x10u);
    EXPECT_EQ(g.texts[1].font.height, 10);
    EXPECT_EQ(g.texts[1].font.charset, 128);
    EXPECT_EQ(g.texts[1].colour, 0x00FF2337u);
}

// Another program's title in any script, and a file's long name, reach the map, the
// information bar and the tooltip as they are; the panel's own texts stay code page 932.
TEST(PanelTexts, NamesOutsideTheCodePageAreShownWhole) {
    Scene s;
    const std::string title = utf8(u8"😀 emoji 한국어 café € –");
    s.h.addWindow(title, Rect{100, 100, 500, 400});
    s.h.create();
    s.paint();
    EXPECT_EQ(std::count_if(s.h.graphics.texts.begin(), s.h.graphics.texts.end(),
                            [&](const TextCall& t) { return t.text == title; }),
              2)
        << "the map and the information bar";
    auto tip = [&](int x, int y) {
        s.h.pointAt(x, y);
        s.h.tick(TimerToolTip);
        return s.h.host.toolMessages.back();
    };
    const auto overWindow = tip(12, 12);
    EXPECT_EQ(overWindow.text, title);
    EXPECT_TRUE(overWindow.info.utf8);
    EXPECT_FALSE(tip(40, 35).info.utf8) << "the window count is the panel's own text";

    const std::string longName = utf8(u8"C:\\Docs\\한국😀.zzz");
    s.h.shell.shortNames[longName] = "C:\\Docs\\HAN~1.ZZZ";
    s.h.send(win::WmCommand, CmdSwitchFunction);
    s.h.pointAt(77, 22);
    s.h.send(win::WmDropFiles, s.h.shell.addDrop({longName}));
    EXPECT_STREQ(s.h.app->slots[1].filePath, "C:\\Docs\\HAN~1.ZZZ");
    const std::string shown = utf8(u8"한국😀.zzz");
    EXPECT_EQ(std::string(s.h.app->slots[1].fileTitle), shown) << "the long name";
    const auto overSlot = tip(77, 22);
    EXPECT_EQ(overSlot.text, longName);
    EXPECT_TRUE(overSlot.info.utf8);
}

}  // namespace
}  // namespace skelvo::testing
