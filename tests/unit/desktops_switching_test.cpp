// Desktop switching and window drops on the simulated desktop, directly and through the
// panel's messages: which windows are hidden and shown with which states, where a dropped
// window lands, and the lists afterwards.
#include <gtest/gtest.h>

#include <memory>

#include "app/ids.h"
#include "desktops/switching.h"
#include "tests/fakes/panel_harness.h"
#include "tests/unit/desktops_recording.h"
#include "tests/unit/message_orders.h"

namespace skelvo::testing {
namespace {

struct Desktops : ::testing::Test {
    explicit Desktops(Rect screen = Rect{0, 0, 1024, 768}) : ws(screen) {}
    FakeWindowSystem ws;
    // Declared before the desktops, which may still call it when they are destroyed.
    RecordingWindows rec{ws};
    std::unique_ptr<DesktopArray> desktops = std::make_unique<DesktopArray>();
    int current = 0;
    int slot = 0;

    void SetUp() override {
        ws.add(captioned("bottom"));
        for (int k = 0; k < DesktopCount; ++k) (*desktops)[k].reset(ws, k);
    }
    VirtualDesktop& desktop(int k) { return (*desktops)[k]; }
    int select(int cell, int mode = 17) { return selectCell(cell, mode, current, slot, *desktops); }
    // What the drag leaves behind before the drop: the window at a virtual-screen
    // position and the source entry holding that rectangle.
    void dragTo(int source, WindowHandle w, int x, int y) {
        VirtualDesktop& d = desktop(source);
        for (int i = 0; i < d.count; ++i) {
            if (d.entries[i].window != w) continue;
            WindowEntry& e = d.entries[i];
            ws.move(w, x, y, e.windowRect.width(), e.windowRect.height(), true);
            e.windowRect = ws.rect(w);
            e.updateMapRect(ws);
        }
    }
    int drop(WindowHandle w, int targetDesktop, int source,
             std::optional<Rect> origin = std::nullopt) {
        return moveWindowToDesktop(w, targetDesktop + 1, source, current, *desktops, origin);
    }
    std::vector<WindowHandle> listed(int k) {
        std::vector<WindowHandle> out;
        for (int i = 0; i < desktop(k).count; ++i) out.push_back(desktop(k).entries[i].window);
        return out;
    }
    void expectIndexesArePositions() {
        for (int k = 0; k < DesktopCount; ++k) {
            for (int i = 0; i < desktop(k).count; ++i) {
                EXPECT_EQ(desktop(k).entries[i].captureIndex, i) << "desktop " << k;
                EXPECT_EQ(desktop(k).entries[i].desktopIndex, k) << "desktop " << k;
            }
        }
    }
};

// ---- Switching ----------------------------------------------------------------------

TEST_F(Desktops, CellsOutsideOneToTwelveChangeNothing) {
    ws.add(captioned("a"));
    for (int cell : {0, 13, -1, 100}) {
        EXPECT_EQ(select(cell), 0);
        EXPECT_EQ(select(cell, 18), 0);
    }
    EXPECT_EQ(current, 0);
    EXPECT_EQ(slot, 0);
    EXPECT_TRUE(ws.shows.empty());
    EXPECT_EQ(desktop(0).count, 0) << "not even a capture";
}

TEST_F(Desktops, TheDesktopOnScreenAndTheLauncherFunctionTouchNoWindow) {
    ws.add(captioned("a"));
    EXPECT_EQ(select(1), 1);
    EXPECT_EQ(current, 0);
    EXPECT_EQ(desktop(0).count, 0);
    EXPECT_EQ(select(8, 18), 1);
    EXPECT_EQ(slot, 7);
    EXPECT_EQ(current, 0);
    EXPECT_TRUE(ws.shows.empty());
}

TEST_F(Desktops, SwitchingAwayAndBackRestoresEachState) {
    FakeWindow min = captioned("min");
    min.minimised = true;
    FakeWindow max = captioned("max");
    max.maximised = true;
    const WindowHandle m = ws.add(min);
    const WindowHandle x = ws.add(max);
    const WindowHandle n = ws.add(captioned("normal"));
    for (int k = 0; k < DesktopCount; ++k) desktop(k).reset(rec, k);

    EXPECT_EQ(select(6), 1);
    EXPECT_EQ(current, 5);
    for (WindowHandle w : {m, x, n}) EXPECT_FALSE(ws.isVisible(w));
    EXPECT_EQ(listed(0), (std::vector<WindowHandle>{m, x, n}));

    rec.calls.clear();
    EXPECT_EQ(select(1), 1);
    EXPECT_EQ(current, 0);
    for (WindowHandle w : {m, x, n}) EXPECT_TRUE(ws.isVisible(w));
    EXPECT_TRUE(ws.isIconic(m));
    EXPECT_TRUE(ws.isZoomed(x));
    EXPECT_FALSE(ws.isIconic(n) || ws.isZoomed(n));
    // Desktop 0 is shown from its highest entry down, each followed by UpdateWindow.
    std::vector<std::pair<std::string, WindowHandle>> shows;
    for (const auto& c : rec.calls) {
        if (c.first.rfind("show", 0) == 0 || c.first == "update") shows.push_back(c);
    }
    const std::vector<std::pair<std::string, WindowHandle>> expected = {
        {"show 1", n}, {"update", n}, {"show 3", x}, {"update", x}, {"show 6", m}, {"update", m}};
    EXPECT_EQ(shows, expected) << "desktop 5 is empty, so nothing is hidden";
}

TEST_F(Desktops, LeavingCapturesFirstSoNewWindowsLeaveToo) {
    const WindowHandle a = ws.add(captioned("a"));
    select(4);  // to desktop 3
    EXPECT_FALSE(ws.isVisible(a));
    const WindowHandle opened = ws.add(captioned("opened on 3"));
    select(1);  // no refresh in between
    EXPECT_FALSE(ws.isVisible(opened));
    EXPECT_EQ(listed(3), (std::vector<WindowHandle>{opened}));
    EXPECT_TRUE(ws.isVisible(a));
    select(4);
    EXPECT_TRUE(ws.isVisible(opened));
    EXPECT_FALSE(ws.isVisible(a));
}

// A parked window that its own program shows again belongs to the desktop on screen from
// the next capture on, the refresh's or the switch's, and to no other.
TEST_F(Desktops, AParkedWindowShownByItsProgramJoinsTheDesktopOnScreenAlone) {
    for (const bool refreshFirst : {true, false}) {
        SCOPED_TRACE(refreshFirst ? "refresh first" : "switch first");
        for (int k = 0; k < DesktopCount; ++k) desktop(k).reset(ws, k);
        current = 0;
        const WindowHandle below = ws.add(captioned("parked below"));
        const WindowHandle parked = ws.add(captioned("parked"));
        const WindowHandle above = ws.add(captioned("parked above"));
        FakeWindow owned = captioned("its dialog");
        owned.owner = parked;
        const WindowHandle dialog = ws.add(owned);
        select(2);  // desktop 0 parked
        const WindowHandle here = ws.add(captioned("on 1"));
        ws.programShow(parked, win::SwShow);
        ws.programShow(dialog, win::SwShow);
        if (refreshFirst) {
            refreshDesktop(*desktops, 1);
            EXPECT_EQ(listed(1), (std::vector<WindowHandle>{here, parked}));
            EXPECT_EQ(listed(0), (std::vector<WindowHandle>{below, above}));
            expectIndexesArePositions();
        }
        select(3);
        EXPECT_EQ(listed(0), (std::vector<WindowHandle>{below, above}));
        EXPECT_EQ(listed(1), (std::vector<WindowHandle>{here, parked}));
        EXPECT_TRUE(desktop(1).owned.holds(dialog) && !desktop(0).owned.holds(dialog))
            << "its dialog goes with it";
        select(1);
        EXPECT_FALSE(ws.isVisible(parked) || ws.isVisible(dialog)) << "desktop 0 no longer shows it";
        select(2);
        EXPECT_TRUE(ws.isVisible(parked) && ws.isVisible(dialog));
        EXPECT_FALSE(ws.isVisible(below) || ws.isVisible(above));
        for (WindowHandle w : {below, dialog, parked, above, here}) ws.destroy(w);
    }
}

TEST_F(Desktops, ZeroShowStateCountsAsShowNa) {
    const WindowHandle a = ws.add(captioned("a"));
    select(3);
    desktop(0).entries[0].showState = 0;
    ws.shows.clear();
    select(1);
    EXPECT_EQ(ws.shows, (std::vector<std::pair<WindowHandle, int>>{{a, win::SwShowNa}}));
    EXPECT_TRUE(ws.isVisible(a));
}

TEST_F(Desktops, WindowsAboveTheFifteenthStayOnScreen) {
    std::vector<WindowHandle> all;
    for (int i = 0; i < 17; ++i) all.push_back(ws.add(captioned("w" + std::to_string(i))));
    select(2);
    for (int i = 0; i < 17; ++i) EXPECT_EQ(ws.isVisible(all[i]), i >= CaptureLimit) << i;
    refreshDesktop(*desktops, 1);
    EXPECT_EQ(listed(1), (std::vector<WindowHandle>{all[15], all[16]}));
}

// ---- Dropping windows ---------------------------------------------------------------

struct Drops1366 : Desktops {
    Drops1366() : Desktops(Rect{0, 0, 1366, 768}) {}
};

TEST_F(Drops1366, ADropIsShiftedByWholeScreens) {
    const WindowHandle w = ws.add(captioned("w", Rect{100, 100, 500, 400}));
    refreshDesktop(*desktops, 0);
    // Dropped on desktop 1's cell: the pointer's map point stands for virtual x 1350 + 100
    // (one cell is 50 * 27 virtual pixels), the tile for one screen, 1366.
    dragTo(0, w, 1350 + 100, 100);
    EXPECT_EQ(drop(w, 1, 0), 1);
    EXPECT_EQ(ws.rect(w), (Rect{84, 100, 484, 400})) << "16 pixels left of the drop point";
    EXPECT_FALSE(ws.isVisible(w));
    ASSERT_EQ(listed(1), (std::vector<WindowHandle>{w}));
    EXPECT_EQ(desktop(1).entries[0].windowRect, (Rect{84, 100, 484, 400}));
    EXPECT_EQ(desktop(1).entries[0].mapRect, (Rect{55, 7, 69, 23}));
    EXPECT_EQ(desktop(0).count, 0);

    // One row down: 40 * 19 = 760 virtual pixels per cell against 768 per tile.
    const WindowHandle v = ws.add(captioned("v", Rect{100, 100, 500, 400}));
    refreshDesktop(*desktops, 0);
    dragTo(0, v, 100, 760 + 100);
    drop(v, 4, 0);
    EXPECT_EQ(ws.rect(v), (Rect{100, 92, 500, 392})) << "8 pixels higher";
    // And back up from desktop 4 to desktop 0: shifted down by a whole screen.
    dragTo(4, v, 100, 92 - 760);
    drop(v, 0, 4);
    EXPECT_EQ(ws.rect(v), (Rect{100, 100, 500, 400}));
    EXPECT_TRUE(ws.isVisible(v)) << "dropped into the desktop on screen";
    expectIndexesArePositions();
}

TEST_F(Desktops, AMaximisedDropLandsAtTheOrigin) {
    FakeWindow max = captioned("max");
    max.maximised = true;
    const WindowHandle w = ws.add(max);
    refreshDesktop(*desktops, 0);
    dragTo(0, w, 3 * 1024 + 200, 768 + 300);
    drop(w, 7, 0);
    EXPECT_EQ(ws.rect(w).left, 0);
    EXPECT_EQ(ws.rect(w).top, 0);
    EXPECT_TRUE(ws.isZoomed(w));
    EXPECT_EQ(desktop(7).entries[0].showState, win::SwShowMaximized);
    // Into its own desktop as well.
    select(8);
    EXPECT_TRUE(ws.isVisible(w));
    dragTo(7, w, 300, 200);
    drop(w, 7, 7);
    EXPECT_EQ(ws.rect(w).left, 0);
    EXPECT_EQ(ws.rect(w).top, 0);
    EXPECT_TRUE(ws.isVisible(w));
}

TEST_F(Desktops, ADropIntoItsOwnDesktopKeepsCountAndPlace) {
    for (int k = 0; k < DesktopCount; ++k) desktop(k).reset(rec, k);
    const WindowHandle a = ws.add(captioned("a"));
    const WindowHandle b = ws.add(captioned("b"));
    const WindowHandle c = ws.add(captioned("c"));
    refreshDesktop(*desktops, 0);
    dragTo(0, b, 300, 250);
    rec.calls.clear();
    EXPECT_EQ(drop(b, 0, 0), 1);
    EXPECT_EQ(listed(0), (std::vector<WindowHandle>{a, b, c}));
    EXPECT_EQ(desktop(0).entries[1].windowRect, (Rect{300, 250, 700, 550}));
    EXPECT_EQ(desktop(0).entries[1].captureIndex, 1);
    EXPECT_EQ(rec.callsOn(b),
              (std::vector<std::string>{"isZoomed", "move", "rect", "show 0", "show 5"}));
    EXPECT_TRUE(ws.isVisible(b));

    // Not on screen: hidden, and shown when its desktop is. (Leaving re-captured the
    // list: hidden and shown again, b went to the top.)
    select(2);
    EXPECT_EQ(listed(0), (std::vector<WindowHandle>{a, c, b}));
    dragTo(0, a, 10, 20);
    drop(a, 0, 0);
    EXPECT_EQ(listed(0), (std::vector<WindowHandle>{a, c, b}));
    EXPECT_FALSE(ws.isVisible(a));
    select(1);
    EXPECT_EQ(ws.rect(a), (Rect{10, 20, 410, 320}));
}

TEST_F(Desktops, MovesKeepCaptureIndexEqualToPosition) {
    std::vector<WindowHandle> w;
    for (int i = 0; i < 5; ++i) w.push_back(ws.add(captioned("w" + std::to_string(i))));
    refreshDesktop(*desktops, 0);
    drop(w[1], 2, 0);  // w4 fills the gap at 1
    drop(w[3], 2, 0);
    drop(w[0], 2, 0);
    EXPECT_EQ(listed(0), (std::vector<WindowHandle>{w[2], w[4]}));
    EXPECT_EQ(listed(2), (std::vector<WindowHandle>{w[1], w[3], w[0]}));
    expectIndexesArePositions();
    // Every entry is found through its own captureIndex: here desktop 0's two windows.
    const WindowEntry& moved = desktop(0).entries[1];
    EXPECT_EQ(desktop(0).windowAtMapPoint(moved.mapRect.left, moved.mapRect.top), w[4]);
}

TEST_F(Desktops, AWindowTheSourceNoLongerListsStaysAsItIs) {
    const WindowHandle a = ws.add(captioned("a"));
    const WindowHandle b = ws.add(captioned("b"));
    refreshDesktop(*desktops, 0);
    ws.shows.clear();
    const Rect before = ws.rect(a);
    EXPECT_EQ(drop(a, 3, 5), 1) << "desktop 5 does not list it";
    EXPECT_EQ(drop(NullWindow, 3, 0), 1);
    ws.destroy(b);  // closed during the drag, then refreshed away
    refreshDesktop(*desktops, 0);
    EXPECT_EQ(drop(b, 3, 0), 1);
    EXPECT_TRUE(ws.shows.empty());
    EXPECT_EQ(ws.rect(a), before);
    EXPECT_TRUE(ws.isVisible(a));
    EXPECT_EQ(listed(0), (std::vector<WindowHandle>{a}));
    EXPECT_EQ(desktop(3).count, 0);
    EXPECT_EQ(desktop(5).count, 0);

    // Disabled during its drag (a modal dialog) and refreshed away: back where it was found.
    const Rect origin = ws.rect(a);
    dragTo(0, a, 3 * 1024 + 10, 10);
    ws.at(a).enabled = false;
    refreshDesktop(*desktops, 0);
    EXPECT_EQ(drop(a, 3, 0, origin), 1);
    EXPECT_EQ(ws.rect(a), origin);
    EXPECT_EQ(desktop(0).count, 0);
    EXPECT_EQ(desktop(3).count, 0);
}

TEST_F(Desktops, AFullDesktopRefusesWindowsFromElsewhere) {
    // 32 windows parked on desktop 9, 15 at a time; bounded, so that a fault fails the test
    // rather than hanging it.
    std::vector<WindowHandle> parked;
    for (int round = 0; round < 3 && desktop(9).count < EntryCapacity; ++round) {
        for (int i = 0; i < CaptureLimit && desktop(9).count + i < EntryCapacity; ++i) {
            parked.push_back(ws.add(captioned("p" + std::to_string(parked.size()))));
        }
        refreshDesktop(*desktops, 0);
        for (int i = 0; i < CaptureLimit && desktop(0).count > 0; ++i)
            drop(desktop(0).entries[0].window, 9, 0);
    }
    ASSERT_EQ(desktop(9).count, EntryCapacity);
    expectIndexesArePositions();
    const WindowHandle extra = ws.add(captioned("extra"));
    refreshDesktop(*desktops, 0);
    const Rect origin = ws.rect(extra);
    dragTo(0, extra, 2048 + 10, 768 + 10);
    ws.shows.clear();
    EXPECT_EQ(drop(extra, 9, 0, origin), 1);
    EXPECT_EQ(desktop(9).count, EntryCapacity);
    EXPECT_EQ(listed(0), (std::vector<WindowHandle>{extra}));
    EXPECT_TRUE(ws.isVisible(extra)) << "never hidden without a list";
    EXPECT_EQ(ws.rect(extra), origin) << "back from the target's tile, where the map can reach it";
    EXPECT_EQ(desktop(0).entries[0].windowRect, origin);
    EXPECT_TRUE(ws.shows.empty());

    // Its own windows may still be dropped within it, keeping the count.
    select(10);
    const WindowHandle inner = desktop(9).entries[31].window;
    dragTo(9, inner, 40, 50);
    drop(inner, 9, 9);
    EXPECT_EQ(desktop(9).count, EntryCapacity);
    EXPECT_EQ(desktop(9).entries[31].window, inner);
    EXPECT_EQ(ws.rect(inner).left, 40);
    EXPECT_TRUE(ws.isVisible(inner));
    expectIndexesArePositions();
}

// ---- Through the panel --------------------------------------------------------------

TEST(PanelDesktops, CreationResetsAllCapturesDesktopZeroAndTakesTheScales) {
    PanelHarness h(Rect{0, 0, 1920, 1080});
    h.windows.addAtBottom(captioned("bottom"));
    const WindowHandle a = h.addWindow("a");
    h.create();
    for (int k = 0; k < DesktopCount; ++k) {
        EXPECT_EQ(h.app->desktops[k].index, k);
        EXPECT_EQ(h.app->desktops[k].originX, (k % 4) * 1920);
        EXPECT_EQ(h.app->desktops[k].originY, (k / 4) * 1080);
        if (k > 0) {
            EXPECT_EQ(h.app->desktops[k].count, 0);
        }
    }
    ASSERT_EQ(h.app->desktops[0].count, 1);
    EXPECT_EQ(h.app->desktops[0].entries[0].window, a);
    EXPECT_DOUBLE_EQ(h.state().mapScaleX, 38.0);
    EXPECT_DOUBLE_EQ(h.state().mapScaleY, 27.0);

    PanelHarness tiny(Rect{0, 0, 40, 30});
    tiny.create();
    EXPECT_DOUBLE_EQ(tiny.state().mapScaleX, 1.0);
    EXPECT_DOUBLE_EQ(tiny.state().mapScaleY, 1.0);
}

// Through the panel on slow programs' windows, under both message orders.
struct PanelSwitching : ::testing::TestWithParam<MessageOrder> {
    PanelHarness h;
    void SetUp() override {
        h.windows.order = GetParam();
        h.answerMs = SlowAnswerMs;
        h.windows.addAtBottom(captioned("bottom"));
    }
};

TEST_P(PanelSwitching, DesktopCommandsSwitchInEitherFunction) {
    const WindowHandle a = h.addWindow("a");
    h.create();
    for (unsigned id = CmdDesktopFirst; id <= CmdDesktopLast; ++id) {
        h.state().menuTargetWindow = a;
        EXPECT_EQ(h.send(win::WmCommand, id), 0);
        EXPECT_EQ(h.state().currentDesktop, static_cast<int>(id - CmdDesktopFirst));
        EXPECT_EQ(h.state().menuTargetWindow, NullWindow);
    }
    EXPECT_FALSE(h.windows.isVisible(a));
    h.state().functionMode = FunctionLauncher;
    h.state().selectedSlot = 4;
    h.send(win::WmCommand, CmdDesktopFirst + 0);
    EXPECT_EQ(h.state().currentDesktop, 0);
    EXPECT_EQ(h.state().selectedSlot, 4);
    EXPECT_TRUE(h.windows.isVisible(a));
}

TEST_P(PanelSwitching, QuittingShowsEveryParkedWindowAgain) {
    const WindowHandle n = h.addWindow("normal");
    const WindowHandle m = h.addWindow("min", Rect{100, 100, 500, 400}, true);
    const WindowHandle x = h.addWindow("max", Rect{100, 100, 500, 400}, false, true);
    h.create();
    h.send(win::WmCommand, CmdDesktopFirst + 3);
    const WindowHandle later = h.addWindow("on 3");
    h.send(win::WmCommand, CmdDesktopFirst + 7);
    for (WindowHandle w : {n, m, x, later}) EXPECT_FALSE(h.windows.isVisible(w));
    h.host.answers = {win::IdYes};
    h.send(win::WmClose);
    h.send(win::WmDestroy);
    h.app.reset();  // the process-wide objects go after the message loop
    for (WindowHandle w : {n, m, x, later}) EXPECT_TRUE(h.windows.isVisible(w));
    EXPECT_TRUE(h.windows.isIconic(m));
    EXPECT_TRUE(h.windows.isZoomed(x));
    EXPECT_FALSE(h.windows.isIconic(n) || h.windows.isZoomed(n));
}

INSTANTIATE_TEST_SUITE_P(BothOrders, PanelSwitching, BothMessageOrders, orderName);

}  // namespace
}  // namespace skelvo::testing
