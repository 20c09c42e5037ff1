// Pointer gestures and timers on the fakes: hit zones, classification, clicks against
// drags, window drags on the map, panel drags, docking and the two modes.
#include <gtest/gtest.h>

#include "app/ids.h"
#include "app/modes.h"
#include "app/pointer.h"
#include "tests/fakes/panel_harness.h"
#include "tests/unit/message_orders.h"

namespace skelvo::testing {
namespace {

TEST(HitZone, EdgesAndGutters) {
    EXPECT_EQ(hitZone(200, 10), ZoneNone);
    EXPECT_EQ(hitZone(202, 130), ZoneNone);
    EXPECT_EQ(hitZone(210, 124), ZoneNone);
    EXPECT_EQ(hitZone(201, 130), ZoneInfoBar);
    EXPECT_EQ(hitZone(210, 123), ZoneSwitchLower);
    EXPECT_EQ(hitZone(210, 61), ZoneSwitchUpper);
    EXPECT_EQ(hitZone(210, 62), ZoneSwitchLower);
    EXPECT_EQ(hitZone(0, 0), 1);
    EXPECT_EQ(hitZone(199, 119), 12);
    EXPECT_EQ(hitZone(237, 0), ZoneNone);
    EXPECT_EQ(hitZone(-1, 5), ZoneNone);
    EXPECT_EQ(hitZone(236, 157), ZoneSizeButton);
    EXPECT_EQ(hitZone(51, 41), 1);
    EXPECT_EQ(hitZone(52, 42), 6);
    EXPECT_EQ(hitZone(100, 120), ZoneNone);
}

TEST(Classify, ClicksDragsAndMenus) {
    EXPECT_EQ(classifyGesture(3, GestureLeft, FunctionDesktop, 4, -4, NullWindow, 2),
              ActionCellClick);
    EXPECT_EQ(classifyGesture(3, GestureLeft, FunctionDesktop, 5, 0, NullWindow, 0), ActionNone);
    EXPECT_EQ(classifyGesture(3, GestureLeft, FunctionDesktop, 0, 0, NullWindow, 3), ActionNone);
    EXPECT_EQ(classifyGesture(3, GestureLeft, FunctionDesktop, 9, 0, 0x10, 0), ActionWindowDrop);
    EXPECT_EQ(classifyGesture(3, GestureLeft, FunctionLauncher, 9, 0, 0x10, 0), ActionNone);
    EXPECT_EQ(classifyGesture(3, GestureRight, FunctionLauncher, 0, 0, 0x10, 0),
              ActionLauncherMenu);
    EXPECT_EQ(classifyGesture(3, GestureRight, FunctionDesktop, 0, 0, 0x10, 0), ActionWindowMenu);
    EXPECT_EQ(classifyGesture(3, GestureRight, FunctionDesktop, 0, 0, NullWindow, 0),
              ActionDesktopMenu);
    EXPECT_EQ(classifyGesture(ZoneSwitchUpper, GestureLeft, FunctionDesktop, 50, 50, NullWindow, 2),
              ActionFunctionSwitch);
    EXPECT_EQ(classifyGesture(ZoneSizeButton, GestureLeft, FunctionDesktop, 0, 0, NullWindow, 3),
              ActionNone);
    EXPECT_EQ(classifyGesture(ZoneInfoBar, GestureLeft, FunctionDesktop, 0, 0, NullWindow, 0),
              ActionNone);
    EXPECT_EQ(classifyGesture(ZoneInfoBar, GestureRight, FunctionLauncher, 0, 0, NullWindow, 0),
              ActionPanelMenu);
    EXPECT_EQ(classifyGesture(ZoneNone, GestureRight, FunctionDesktop, 0, 0, NullWindow, 0),
              ActionNone);
    EXPECT_EQ(classifyGesture(3, 131, FunctionDesktop, 0, 0, NullWindow, 0), ActionNone);
}

struct GestureTest : ::testing::Test {
    PanelHarness h;
    void SetUp() override {
        h.windows.addAtBottom(FakeWindow{.title = "shell"});
        h.create();
    }
    void press(int x, int y) {
        h.pointAt(x, y);
        h.send(win::WmLButtonDown);
    }
    // Releases at a client point, measured against the panel's present position.
    void release(int x, int y) {
        h.pointAt(x, y);
        h.send(win::WmLButtonUp);
    }
};

TEST_F(GestureTest, ClickOnCellSwitchesWithinFourPixels) {
    press(60, 50);  // cell 5, empty
    EXPECT_TRUE(h.host.timerRunning(TimerPanelDrag));
    h.host.advance(250);  // two ticks of the drag timer
    EXPECT_EQ(h.state().heldTicks, 2);
    release(64, 54);
    EXPECT_EQ(h.state().currentDesktop, 5);
    EXPECT_FALSE(h.host.timerRunning(TimerPanelDrag));
    ASSERT_FALSE(h.host.posted.empty());
    EXPECT_EQ(h.host.posted.back().message, win::WmPaint) << "every left release posts a repaint";
    EXPECT_EQ(h.state().pointerState, PointerIdle);
    EXPECT_EQ(h.state().heldTicks, 0);

    press(60, 50);
    release(65, 50);  // five pixels: a panel drag, not a click
    EXPECT_EQ(h.state().currentDesktop, 5);
    press(10, 10);
    release(10, 10);
    EXPECT_EQ(h.state().currentDesktop, 0);
}

TEST_F(GestureTest, LongPressOnSizeButtonDoesNotSwitch) {
    press(215, 140);
    h.host.advance(300);
    EXPECT_EQ(h.state().heldTicks, 3);
    release(215, 140);
    EXPECT_EQ(h.state().sizeState, SizeFull);
    EXPECT_TRUE(h.host.regions.empty());
    // The release stopped the drag timer: the clock no longer counts ticks.
    h.host.advance(1000);
    EXPECT_EQ(h.state().heldTicks, 0);
    press(215, 140);
    h.tick(TimerPanelDrag);
    release(215, 140);
    EXPECT_EQ(h.state().sizeState, SizeSmall);
    ASSERT_EQ(h.host.regions.size(), 1u);
    EXPECT_EQ(h.host.regions[0], (Rect{202, 124, 234, 156}));
    EXPECT_EQ(h.app->skin.cornerSource, h.app->skin.cornerOn);
}

TEST_F(GestureTest, SecondPressDuringGestureIsIgnored) {
    press(60, 50);
    h.pointAt(100, 100);
    h.send(win::WmRButtonDown);
    EXPECT_EQ(h.state().pointerState, PointerLeftDown);
    h.send(win::WmLButtonDown);
    EXPECT_EQ(h.state().pointerState, PointerLeftDown);
    h.send(win::WmRButtonUp);  // a right release in the left gesture does nothing
    EXPECT_EQ(std::tuple(h.state().pointerState, h.state().pointerZone),
              std::tuple(PointerLeftDown, 6));
    EXPECT_TRUE(h.host.popups.empty());
    release(60, 50);
    // A right press on its own sets its state; the left press is then ignored.
    h.pointAt(20, 20);
    h.send(win::WmRButtonDown);
    EXPECT_EQ(h.state().pointerState, PointerRightDown);
    EXPECT_EQ(h.state().pressPoint, (Point{20, 20}));
    h.send(win::WmLButtonDown);
    EXPECT_FALSE(h.host.timerRunning(TimerPanelDrag));
}

TEST_F(GestureTest, RightReleaseEndsTheGestureAndNotesTheWindow) {
    const WindowHandle w = h.addWindow("target", Rect{200, 190, 600, 570});
    h.tick(TimerRefresh);
    h.pointAt(20, 20);
    h.send(win::WmRButtonUp);  // no right press before it: ignored
    EXPECT_EQ(h.state().pointerZone, 0);
    EXPECT_TRUE(h.host.popups.empty());
    h.pointAt(20, 20);
    h.send(win::WmRButtonDown);
    h.send(win::WmRButtonUp);
    EXPECT_EQ(h.state().pointerState, PointerIdle);
    EXPECT_EQ(h.state().pointerZone, 1);
    EXPECT_EQ(h.state().menuTargetWindow, w);
    EXPECT_EQ(h.state().dragWindow, NullWindow);
    EXPECT_EQ(h.host.posted.back().message, win::WmPaint);
    // The left button works again after a right click.
    press(60, 50);
    release(60, 50);
    EXPECT_EQ(h.state().currentDesktop, 5);
}

TEST_F(GestureTest, PanelDragFollowsPointerAndStopsOffScreen) {
    press(100, 140);  // information bar
    // The pointer moves 30 right and 20 down in screen terms.
    h.host.moveCursor(Point{300 + 30, 340 + 20});
    h.tick(TimerPanelDrag);
    EXPECT_EQ(h.windows.rect(h.panelWindow), (Rect{230, 220, 466, 377}));
    h.host.moveCursor(Point{1024 + 5, 100});  // off the screen: the timer stops itself
    h.tick(TimerPanelDrag);
    EXPECT_FALSE(h.host.timerRunning(TimerPanelDrag));
    EXPECT_EQ(h.windows.rect(h.panelWindow), (Rect{230, 220, 466, 377}));
    EXPECT_EQ(h.state().pointerState, PointerLeftDown) << "the gesture stays open";
    h.host.moveCursor(Point{330, 360});
    h.send(win::WmLButtonUp);
    EXPECT_EQ(h.state().pointerState, PointerIdle);
    EXPECT_EQ(h.state().panelRect, (Rect{230, 220, 466, 377}));
}

TEST_F(GestureTest, WindowDragInsideCurrentCellMovesRealWindow) {
    // Screen 1024x768: scales 20 and 19. A window at (200, 190) maps to (12, 12).
    const WindowHandle w = h.addWindow("drag me", Rect{200, 190, 600, 570});
    h.tick(TimerRefresh);
    ASSERT_EQ(h.app->desktops[0].count, 1);
    press(20, 20);
    EXPECT_TRUE(h.host.timerRunning(TimerWindowDrag));
    EXPECT_EQ(h.state().dragWindow, w);
    ASSERT_TRUE(h.host.clip.has_value());
    EXPECT_EQ(*h.host.clip, (Rect{202, 202, 400, 320}));
    h.pointAt(25, 22);  // 5 right, 2 down on the map
    h.tick(TimerWindowDrag);
    EXPECT_EQ(h.windows.rect(w), (Rect{300, 228, 700, 608}));
    EXPECT_EQ(h.state().heldTicks, 1);
    // Released on its own cell after a drag: still the move, into its own desktop.
    release(25, 22);
    EXPECT_EQ(h.state().currentDesktop, 0);
    EXPECT_EQ(h.app->desktops[0].count, 1);
    EXPECT_EQ(h.app->desktops[0].entries[0].window, w);
    EXPECT_EQ(h.windows.rect(w), (Rect{300, 228, 700, 608}));
    EXPECT_TRUE(h.windows.at(w).visible);
    EXPECT_FALSE(h.host.timerRunning(TimerWindowDrag));
    EXPECT_EQ(h.host.clip, std::nullopt) << "freed, not confined to the primary screen";
}

// Drops on slow programs' windows, under both message orders.
struct Drops : GestureTest, ::testing::WithParamInterface<MessageOrder> {
    void SetUp() override {
        h.windows.order = GetParam();
        h.answerMs = SlowAnswerMs;
        GestureTest::SetUp();
    }
};

TEST_P(Drops, WindowDropIntoAnotherCellParksIt) {
    const WindowHandle w = h.addWindow("parked", Rect{200, 190, 600, 570});
    h.tick(TimerRefresh);
    press(20, 20);
    // Drag to cell 2 (column 2): the cursor is clipped to the map.
    h.pointAt(120, 20);
    h.tick(TimerWindowDrag);
    release(120, 20);
    EXPECT_EQ(h.app->desktops[0].count, 0);
    ASSERT_EQ(h.app->desktops[2].count, 1);
    EXPECT_FALSE(h.windows.at(w).visible);
    // Moved by the pointer's travel (100 map pixels * 20), then back by two screens.
    EXPECT_EQ(h.windows.rect(w).left, 200 + 100 * 20 - 2 * 1024);
}

TEST_P(Drops, ARefusedDropPutsTheWindowBackWhereTheDragFoundIt) {
    const Rect start{200, 190, 600, 570};
    const WindowHandle w = h.addWindow("refused", start);
    h.tick(TimerRefresh);
    press(20, 20);
    h.pointAt(120, 20);
    h.tick(TimerWindowDrag);  // dragged into desktop 2's tile
    ASSERT_NE(h.windows.rect(w), start);
    h.windows.at(w).enabled = false;  // no longer managed: the refresh drops it
    h.tick(TimerRefresh);
    release(120, 20);
    EXPECT_EQ(h.windows.rect(w), start);
    EXPECT_TRUE(h.windows.isVisible(w));
}

INSTANTIATE_TEST_SUITE_P(BothOrders, Drops, BothMessageOrders, orderName);

TEST_F(GestureTest, LauncherFunctionNeverGrabsWindows) {
    h.addWindow("w", Rect{200, 190, 600, 570});
    h.tick(TimerRefresh);
    h.send(win::WmCommand, CmdSwitchFunction);
    press(20, 20);
    EXPECT_EQ(h.state().dragWindow, NullWindow);
    EXPECT_TRUE(h.host.timerRunning(TimerPanelDrag));
    release(20, 20);
    EXPECT_EQ(h.state().selectedSlot, 0);
    press(160, 100);
    release(160, 100);
    EXPECT_EQ(h.state().selectedSlot, 11);
    EXPECT_EQ(h.state().currentDesktop, 0);
}

TEST_F(GestureTest, TimersRefreshOnlyInDesktopFunction) {
    const WindowHandle w = h.addWindow("late");
    h.send(win::WmCommand, CmdSwitchFunction);
    h.graphics.blits.clear();
    h.tick(TimerRefresh);
    EXPECT_EQ(h.app->desktops[0].count, 0) << "the launcher function only repaints";
    EXPECT_FALSE(h.graphics.blits.empty()) << "the launcher picture is drawn at once";
    h.send(win::WmCommand, CmdSwitchFunction);
    h.tick(TimerRefresh);
    ASSERT_EQ(h.app->desktops[0].count, 1);
    EXPECT_EQ(h.app->desktops[0].entries[0].window, w);
    // Unknown timer ids do nothing.
    const std::size_t sent = h.host.sent.size();
    h.graphics.blits.clear();
    h.tick(7);
    EXPECT_EQ(h.host.sent.size(), sent);
    EXPECT_TRUE(h.graphics.blits.empty());
}

TEST_F(GestureTest, DoubleClickOnInfoBarDocks) {
    h.addWindow("low", Rect{10, 300, 400, 500});
    h.addWindow("top", Rect{500, 0, 900, 300});
    h.pointAt(100, 140);
    h.send(win::WmLButtonDblClk);
    EXPECT_EQ(h.windows.rect(h.panelWindow), (Rect{900 - 336, -120, 900 - 336 + 236, 37}));
    EXPECT_EQ(h.state().pointerState, PointerIdle);
    EXPECT_EQ(h.state().pointerZone, ZoneInfoBar);
}

TEST(Modes, FunctionTwiceAndSizeStates) {
    PanelHarness h;
    h.create();
    h.state().currentDesktop = 3;
    EXPECT_EQ(switchFunction(h.state().functionMode), FunctionLauncher);
    EXPECT_EQ(switchFunction(h.state().functionMode), FunctionDesktop);
    EXPECT_EQ(h.state().currentDesktop, 3);

    Services s{h.windows, h.host, h.graphics, h.shell, h.files};
    int size = 5;
    EXPECT_EQ(switchSize(s, h.panelWindow, size, h.app->skin), 5);
    EXPECT_TRUE(h.host.regions.empty());
    size = SizeSmall;
    EXPECT_EQ(switchSize(s, h.panelWindow, size, h.app->skin), SizeFull);
    EXPECT_EQ(h.host.regions.back(), (Rect{0, 0, 236, 157}));
    EXPECT_EQ(h.app->skin.cornerSource, h.app->skin.cornerOff);
    // Docking with no managed window leaves the panel where it is.
    EXPECT_EQ(dockPanelToTopWindow(s, h.panelWindow), 0);
    EXPECT_EQ(h.windows.rect(h.panelWindow), (Rect{200, 200, 436, 357}));
}

}  // namespace
}  // namespace skelvo::testing
