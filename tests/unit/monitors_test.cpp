// Several monitors: the map shows the virtual screen, which spans them all, as one desktop;
// windows are drawn and found in their own desktop's cell, and keep their monitor.
#include <gtest/gtest.h>

#include <memory>

#include "app/ids.h"
#include "app/hotkeys.h"
#include "app/pointer.h"
#include "desktops/switching.h"
#include "tests/fakes/panel_harness.h"
#include "ui/painter.h"

namespace skelvo::testing {
namespace {

constexpr Rect Primary{0, 0, 1024, 768};
constexpr Rect RightOf{1024, 0, 1824, 600};
constexpr Rect LeftOf{-1280, 0, 0, 1024};

const std::vector<Monitor> One{{Primary, true}};
const std::vector<Monitor> Two{{Primary, true}, {RightOf, false}};
const std::vector<Monitor> Three{{LeftOf, false}, {Primary, true}, {RightOf, false}};

Rect shifted(Rect r, int dx, int dy) {
    return Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// A window captured on desktop d lies in d's cell, at (x - box left) div scale, and the
// pointer finds it there. One monitor keeps the old figures, reaching into the next cell.
TEST(MonitorMap, WindowsOnEveryMonitorAreDrawnAndFoundInTheirOwnCell) {
    struct Case {
        const char* what;
        std::vector<Monitor> monitors;
        Rect window;
        Rect onDesktop0;  // its map rectangle on desktop 0
    };
    const Case cases[] = {
        {"one: primary", One, Rect{100, 100, 500, 400}, Rect{7, 7, 27, 23}},
        {"one: past the right edge", One, Rect{900, 100, 1300, 400}, Rect{47, 7, 67, 23}},
        // Box 1824 x 768: scales 36 and 19.
        {"two: primary", Two, Rect{100, 100, 500, 400}, Rect{4, 7, 15, 23}},
        {"two: second", Two, Rect{1124, 100, 1524, 400}, Rect{33, 7, 44, 23}},
        {"two: past the second's edge", Two, Rect{1700, 100, 2100, 400}, Rect{49, 7, 52, 23}},
        // Box -1280..1824 x 0..1024: scales 62 and 25.
        {"three: left", Three, Rect{-1180, 100, -780, 400}, Rect{3, 6, 10, 18}},
        {"three: primary", Three, Rect{100, 100, 500, 400}, Rect{24, 6, 30, 18}},
        {"three: right", Three, Rect{1124, 100, 1524, 400}, Rect{40, 6, 47, 18}},
    };
    for (const Case& c : cases) {
        for (const int d : {0, 6, 9}) {
            FakeWindowSystem ws;
            ws.setMonitors(c.monitors);
            ws.add(captioned("bottom"));
            const WindowHandle w = ws.add(captioned("w", c.window));
            VirtualDesktop desktop;
            desktop.reset(ws, d);
            desktop.capture();
            ASSERT_EQ(desktop.count, 1);
            const Rect map = desktop.entries[0].mapRect;
            EXPECT_EQ(map, shifted(c.onDesktop0, 50 * (d % 4), 40 * (d / 4)))
                << c.what << ", desktop " << d;
            const Point mid{(map.left + map.right) / 2, (map.top + map.bottom) / 2};
            if (c.monitors.size() > 1) {
                EXPECT_EQ(hitZone(mid.x, mid.y), d + 1) << c.what << ": in its own cell";
            }
            EXPECT_EQ(desktop.windowAtMapPoint(mid.x, mid.y), w) << c.what << ", desktop " << d;
        }
    }
}

// A maximised window is drawn over its own monitor; a window off every monitor and out of
// its tile is not drawn into another desktop's cell unless it lies in that desktop's tile.
TEST(MonitorMap, MaximisedWindowsCoverTheirMonitorAndStrayWindowsStayOut) {
    PanelHarness h;
    h.create();
    h.windows.addAtBottom(FakeWindow{.title = "bottom"});
    h.windows.setMonitors(Two);
    const WindowHandle max = h.addWindow("max", Rect{1124, 100, 1524, 400}, false, true);
    const WindowHandle onPrimary = h.addWindow("primary max", Rect{100, 100, 500, 400}, false, true);
    h.tick(TimerRefresh);
    const VirtualDesktop& d = h.app->desktops[0];
    ASSERT_EQ(d.count, 2);
    EXPECT_EQ(d.findEntry(max)->windowRect, RightOf);
    EXPECT_EQ(d.findEntry(max)->mapRect, (Rect{30, 2, 52, 33}));
    EXPECT_EQ(d.findEntry(onPrimary)->windowRect, Primary);
    EXPECT_EQ(d.findEntry(onPrimary)->mapRect, (Rect{2, 2, 30, 42}));

    // Dragged a whole tile to the right, as into desktop 1's cell: drawn there, clipped.
    WindowEntry e = *d.findEntry(max);
    e.windowRect = shifted(Rect{1124, 100, 1524, 400}, 1824, 0);
    e.updateMapRect(readScreen(h.windows));
    EXPECT_EQ(e.mapRect, (Rect{83, 7, 95, 23}));
    e.windowRect = Rect{-900, -900, -800, -800};  // off every monitor, in no tile
    e.updateMapRect(readScreen(h.windows));
    EXPECT_EQ(e.mapRect, NoMapRect);
}

// A key send to desktop 5 and a drag from its cell to desktop 2's at the same place, each
// followed by a switch there: the window stays on its monitor, a maximised one maximised
// over it. The drag travels 50 x 40 map pixels times the scales, the drop a whole tile.
TEST(MonitorMoves, SendsAndDropsKeepTheWindowsMonitor) {
    struct Case {
        std::vector<Monitor> monitors;
        Rect window;
        Point dropShift;  // (50 scaleX - box width, box height - 40 scaleY)
    };
    const Case cases[] = {
        {Two, Rect{100, 100, 500, 400}, Point{-24, 8}},
        {Two, Rect{1124, 100, 1524, 400}, Point{-24, 8}},
        {Three, Rect{-1180, 100, -780, 400}, Point{-4, 24}},
        {Three, Rect{1124, 100, 1524, 400}, Point{-4, 24}},
    };
    for (const Case& c : cases) {
        for (const bool maximised : {false, true}) {
            PanelHarness h;
            h.windows.addAtBottom(captioned("shell"));
            h.windows.setMonitors(c.monitors);
            h.create();
            const WindowHandle w = h.addWindow("w", c.window, false, maximised);
            h.tick(TimerRefresh);
            const Rect before = h.windows.rect(w);
            const ScreenLayout screen = readScreen(h.windows);
            const Rect monitor = screen.nearest(before);
            const std::string what = std::to_string(c.window.left) + (maximised ? " max" : "");

            h.windows.activate(w);
            h.send(win::WmHotKey, HotkeyIdBase + SendFirst + 5);
            h.send(win::WmCommand, CmdDesktopFirst + 5);
            ASSERT_TRUE(h.app->desktops[5].findEntry(w)) << what;
            EXPECT_EQ(h.windows.rect(w), before) << what << ": sent";
            EXPECT_EQ(h.windows.isZoomed(w), maximised) << what;

            VirtualDesktop& from = h.app->desktops[5];
            for (int i = 0; i < from.count; ++i) {
                if (from.entries[i].window != w) continue;
                const Rect r = h.windows.rect(w);
                h.awaited.move(w, r.left + static_cast<int>(50 * h.state().mapScaleX),
                               r.top - static_cast<int>(40 * h.state().mapScaleY), r.width(),
                               r.height(), true);
                from.entries[i].windowRect = h.windows.rect(w);
            }
            moveWindowToDesktop(w, 3, 5, 5, h.app->desktops, before);
            h.send(win::WmCommand, CmdDesktopFirst + 2);
            ASSERT_TRUE(h.app->desktops[2].findEntry(w)) << what;
            const Rect after = h.windows.rect(w);
            EXPECT_EQ(after, maximised ? before : shifted(before, c.dropShift.x, c.dropShift.y))
                << what << ": dropped";
            EXPECT_EQ(screen.nearest(after), monitor) << what;
            EXPECT_EQ(h.windows.isZoomed(w), maximised) << what;
        }
    }
}

// The second monitor goes while desktop 1 is on screen: the scales are taken again, the
// panel comes onto the primary, and desktop 0's windows there are brought onto it as they
// are shown again, keeping their size; a minimised one is left where it is.
TEST(MonitorChange, WindowsOfAMonitorThatWentComeOntoTheNearestWhenShown) {
    PanelHarness h;
    h.windows.addAtBottom(captioned("shell"));
    h.windows.setMonitors(Two);
    h.create();
    h.awaited.move(h.panelWindow, 1300, 300, 236, 157, true);
    const WindowHandle normal = h.addWindow("normal", Rect{1124, 100, 1524, 400});
    const WindowHandle wide = h.addWindow("wide", Rect{1100, 50, 2300, 500});
    const WindowHandle reachable = h.addWindow("reachable", Rect{980, 100, 1380, 400});
    const WindowHandle min = h.addWindow("min", Rect{1124, 100, 1524, 400}, true);
    h.tick(TimerRefresh);
    EXPECT_DOUBLE_EQ(h.state().mapScaleX, 36.0);
    h.send(win::WmCommand, CmdDesktopFirst + 1);

    h.windows.setMonitors(One);
    h.send(win::WmDisplayChange);
    EXPECT_DOUBLE_EQ(h.state().mapScaleX, 20.0);
    EXPECT_DOUBLE_EQ(h.state().mapScaleY, 19.0);
    EXPECT_EQ(h.windows.rect(h.panelWindow), (Rect{788, 300, 1024, 457}));
    EXPECT_EQ(h.windows.rect(normal), (Rect{1124, 100, 1524, 400})) << "hidden: not yet";

    h.send(win::WmCommand, CmdDesktopFirst + 0);
    EXPECT_EQ(h.windows.rect(normal), (Rect{624, 100, 1024, 400}));
    EXPECT_EQ(h.windows.rect(wide), (Rect{0, 50, 1024, 500})) << "cut to the monitor";
    EXPECT_EQ(h.windows.rect(reachable), (Rect{980, 100, 1380, 400})) << "44 pixels to hold";
    EXPECT_EQ(h.windows.at(min).rect, (Rect{1124, 100, 1524, 400}));
    EXPECT_TRUE(h.windows.isIconic(min));
}

// The panel follows a drag over every monitor, left of the primary too, and stops only
// where no monitor is.
TEST(MonitorChange, ThePanelIsDraggedOverEveryMonitor) {
    PanelHarness h;
    h.windows.setMonitors(Three);
    h.create();
    h.pointAt(100, 140);  // the information bar, at (300, 340) on the screen
    h.send(win::WmLButtonDown);
    for (const int dx : {-1200, 1300}) {
        h.host.cursor = Point{300 + dx, 340};
        h.tick(TimerPanelDrag);
        EXPECT_EQ(h.windows.rect(h.panelWindow).left, 200 + dx);
    }
    h.host.cursor = Point{1500, 700};  // below the monitor on the right
    h.tick(TimerPanelDrag);
    EXPECT_EQ(h.windows.rect(h.panelWindow).left, 1500) << "no longer follows";
}

}  // namespace
}  // namespace skelvo::testing
