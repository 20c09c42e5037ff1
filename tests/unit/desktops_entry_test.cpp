// The managed-window filter, the live show state and the window entry: filling, map
// geometry on real screen sizes, the hit test and the show-state guard.
#include <gtest/gtest.h>

#include "desktops/window_entry.h"
#include "tests/fakes/fake_window_system.h"
#include "tests/unit/desktops_recording.h"

namespace skelvo::testing {
namespace {

// ---- The filter ---------------------------------------------------------------------

TEST(ManagedFilter, EachConditionExcludesOnItsOwn) {
    FakeWindowSystem ws;
    const WindowHandle good = ws.add(captioned("good"));
    FakeWindow untitled = captioned("");
    FakeWindow hidden = captioned("hidden");
    hidden.visible = false;
    FakeWindow disabled = captioned("disabled");
    disabled.enabled = false;
    FakeWindow borderOnly = captioned("border only");
    borderOnly.style = win::WsPopup | win::WsBorder;  // WS_CAPTION needs WS_DLGFRAME too
    FakeWindow popup = captioned("popup");
    popup.style = win::WsPopup;
    FakeWindow panel = captioned(PanelTitle);
    panel.className = PanelClassName;
    FakeWindow tip = captioned("tip");
    tip.className = "tooltips_class32";
    for (const FakeWindow& w : {untitled, hidden, disabled, borderOnly, popup, panel, tip}) {
        const WindowHandle h = ws.add(w);
        EXPECT_FALSE(isManagedWindow(ws, h)) << w.title;
        EXPECT_TRUE(isManagedWindow(ws, good)) << "alongside " << w.title;
    }
    EXPECT_FALSE(isManagedWindow(ws, NullWindow));
    EXPECT_FALSE(isManagedWindow(ws, FakeWindowSystem::DesktopHandle));
    ws.destroy(good);
    EXPECT_FALSE(isManagedWindow(ws, good)) << "a closed window has no title";
}

TEST(ManagedFilter, MinimisedAndMaximisedWindowsAreManaged) {
    FakeWindowSystem ws;
    FakeWindow min = captioned("min");
    min.minimised = true;
    FakeWindow max = captioned("max");
    max.maximised = true;
    EXPECT_TRUE(isManagedWindow(ws, ws.add(min)));
    EXPECT_TRUE(isManagedWindow(ws, ws.add(max)));
}

// The nine tests run in their order and stop at the first that fails: what a window
// fails on decides which calls are made at all.
TEST(ManagedFilter, TestsRunInOrderAndStopAtTheFirstFailure) {
    FakeWindowSystem fake;
    RecordingWindows ws(fake);
    struct Case {
        const char* what;
        FakeWindow window;
        std::vector<std::string> calls;
    };
    FakeWindow untitled = captioned("");
    FakeWindow hidden = captioned("hidden");
    hidden.visible = false;
    FakeWindow disabled = captioned("disabled");
    disabled.enabled = false;
    FakeWindow noBorder = captioned("no border");
    noBorder.style = win::WsPopup;
    FakeWindow noCaption = captioned("no caption");
    noCaption.style = win::WsPopup | win::WsBorder;
    FakeWindow tip = captioned("tip");
    tip.className = "tooltips_class32";
    FakeWindow dialog = captioned("dialog");
    dialog.className = "#32770";
    dialog.processId = fake.ownProcessId;  // the panel's own question
    FakeWindow panel = captioned(PanelTitle);
    panel.className = PanelClassName;
    const std::vector<std::string> head = {"style", "text"};
    const std::vector<std::string> checks = {"style", "text", "isVisible", "isEnabled"};
    auto plus = [](std::vector<std::string> v, std::initializer_list<const char*> more) {
        for (const char* m : more) v.emplace_back(m);
        return v;
    };
    const Case cases[] = {
        {"untitled", untitled, head},
        {"hidden", hidden, plus(head, {"isVisible"})},
        {"disabled", disabled, plus(checks, {"topLevelWindows"})},
        {"no border", noBorder, checks},
        {"no caption", noCaption, checks},
        {"tooltip", tip, plus(checks, {"find tooltips_class32"})},
        {"dialog", dialog,
         plus(checks, {"find tooltips_class32", "className", "processId", "currentProcessId"})},
        {"panel", panel,
         plus(checks,
              {"find tooltips_class32", "className", "desktopWindow", "find WindowControl"})},
        {"managed", captioned("managed"),
         plus(checks, {"find tooltips_class32", "className", "desktopWindow",
                       "find WindowControl", "relative 4"})},
    };
    for (const Case& c : cases) {
        const WindowHandle h = fake.add(c.window);
        ws.calls.clear();
        EXPECT_EQ(isManagedWindow(ws, h), std::string(c.what) == "managed") << c.what;
        EXPECT_EQ(ws.names(), c.calls) << c.what;
        fake.destroy(h);
    }
}

TEST(ManagedFilter, FirstManagedWindowWalksDownFromTheTop) {
    FakeWindowSystem ws;
    EXPECT_EQ(firstManagedWindow(ws), NullWindow) << "no window at all";
    FakeWindow popup = captioned("popup");
    popup.style = win::WsPopup;
    ws.add(popup);
    EXPECT_EQ(firstManagedWindow(ws), NullWindow) << "none managed";
    const WindowHandle low = ws.add(captioned("low"));
    const WindowHandle high = ws.add(captioned("high"));
    ws.add(popup);
    EXPECT_EQ(firstManagedWindow(ws), high);
    ws.raise(low);
    EXPECT_EQ(firstManagedWindow(ws), low);
}

TEST(LiveShowState, MinimisedBeforeMaximisedBeforeNormal) {
    FakeWindowSystem ws;
    const WindowHandle w = ws.add(captioned("w"));
    EXPECT_EQ(liveShowState(ws, w), win::SwShowNormal);
    ws.programShow(w, win::SwShowMaximized);
    EXPECT_EQ(liveShowState(ws, w), win::SwShowMaximized);
    ws.programShow(w, win::SwMinimize);
    EXPECT_EQ(liveShowState(ws, w), win::SwMinimize) << "minimised from maximised";
    ws.programShow(w, win::SwHide);
    EXPECT_EQ(liveShowState(ws, w), win::SwMinimize) << "hidden keeps the state";
    EXPECT_TRUE(windowHasStyle(ws, w, win::WsMinimize));
    EXPECT_FALSE(windowHasStyle(ws, w, win::WsMinimize | win::WsVisible));
    EXPECT_TRUE(hasAllBits(0x00CF0000u, win::WsCaption | win::WsMaximizeBox));
    EXPECT_FALSE(hasAllBits(win::WsBorder, win::WsCaption));
}

// ---- The entry ----------------------------------------------------------------------

TEST(WindowEntry, AssignFillsFromTheLiveWindowAndLeavesTheIndexes) {
    FakeWindowSystem ws(Rect{0, 0, 1920, 1080});
    FakeWindow w = captioned(std::string(200, 'x'));
    w.rect = Rect{100, 50, 600, 450};
    w.maximised = true;
    const WindowHandle h = ws.add(w);
    WindowEntry e;
    e.desktopIndex = 5;
    e.captureIndex = 9;
    e.showState = win::SwMinimize;
    e.assignFromWindow(ws, h);
    EXPECT_EQ(e.window, h);
    EXPECT_EQ(e.windowRect, ws.rect(h));
    EXPECT_EQ(e.style, ws.style(h));
    EXPECT_EQ(e.showState, win::SwShowNa) << "a fresh entry is shown with SW_SHOWNA";
    EXPECT_EQ(std::string(e.title), std::string(TitleChars - 1, 'x'));
    EXPECT_EQ(e.captureIndex, 9);
    EXPECT_EQ(e.desktopIndex, 5);
    // The maximised rectangle (-4, -4, 1924, 1084) on desktop 5's cell.
    EXPECT_EQ(e.mapRect, (Rect{52, 42, 102, 82}));
}

TEST(WindowEntry, MapRectanglesOnA1920By1080Screen) {
    FakeWindowSystem ws(Rect{0, 0, 1920, 1080});
    WindowEntry e;
    auto map = [&](Rect r, int desktop) {
        e.windowRect = r;
        e.desktopIndex = desktop;
        e.updateMapRect(ws);
        return e.mapRect;
    };
    EXPECT_EQ(map(Rect{0, 0, 1920, 1080}, 0), (Rect{2, 2, 52, 42}));
    EXPECT_DOUBLE_EQ(e.scaleX, 38.0);
    EXPECT_DOUBLE_EQ(e.scaleY, 27.0);
    EXPECT_EQ(map(Rect{0, 0, 1920, 1080}, 11), (Rect{152, 82, 202, 122}));
    EXPECT_EQ(map(Rect{100, 50, 600, 450}, 5), (Rect{54, 43, 67, 58}));
    EXPECT_EQ(map(Rect{-200, 10, 300, 200}, 0), (Rect{0, 2, 9, 9})) << "left -3 clamps to 0";
    // Division truncates toward zero: -37 / 38 is 0, not -1.
    EXPECT_EQ(map(Rect{-37, -26, 38, 27}, 0), (Rect{2, 2, 3, 3}));
    // Only the map's outer edges clamp; a rectangle may run into the next cell.
    EXPECT_EQ(map(Rect{1900, 1000, 3000, 2000}, 0), (Rect{52, 39, 80, 76}));
    EXPECT_EQ(map(Rect{1900, 1000, 3000, 2000}, 11), (Rect{202, 119, 202, 124}));
}

TEST(WindowEntry, MapRectanglesOnA1024By768Screen) {
    FakeWindowSystem ws(Rect{0, 0, 1024, 768});
    WindowEntry e;
    e.windowRect = Rect{-4, -4, 1028, 772};
    e.updateMapRect(ws);
    EXPECT_DOUBLE_EQ(e.scaleX, 20.0);
    EXPECT_DOUBLE_EQ(e.scaleY, 19.0);
    EXPECT_EQ(e.mapRect, (Rect{2, 2, 53, 42}));
    // The scales are taken afresh: a new resolution shows at the next update.
    ws.setScreen(Rect{0, 0, 1920, 1080});
    e.updateMapRect(ws);
    EXPECT_DOUBLE_EQ(e.scaleX, 38.0);
    EXPECT_EQ(e.mapRect, (Rect{2, 2, 29, 30}));
}

TEST(WindowEntry, TinyScreenUsesScaleOneInsteadOfDividingByZero) {
    for (const Rect screen : {Rect{0, 0, 49, 39}, Rect{0, 0, 0, 0}, Rect{0, 0, 30, 1000}}) {
        FakeWindowSystem ws(screen);
        WindowEntry e;
        e.windowRect = Rect{10, 20, 30, 35};
        e.desktopIndex = 5;
        e.updateMapRect(ws);
        EXPECT_DOUBLE_EQ(e.scaleX, 1.0);
        const double scaleY = screen.bottom >= 40 ? screen.bottom / 40 : 1.0;
        EXPECT_DOUBLE_EQ(e.scaleY, scaleY);
        EXPECT_EQ(e.mapRect.left, 62);
        EXPECT_EQ(e.mapRect.right, 82);
    }
    EXPECT_DOUBLE_EQ(mapScale(-100, 50), 1.0);
    EXPECT_DOUBLE_EQ(mapScale(50, 50), 1.0);
    EXPECT_DOUBLE_EQ(mapScale(1366, 50), 27.0);
}

TEST(WindowEntry, HitTestIncludesEdgesAndNeverHitsMinimised) {
    FakeWindowSystem ws;
    const WindowHandle h = ws.add(captioned("w"));
    WindowEntry e;
    e.window = h;
    e.style = ws.style(h);
    e.showState = win::SwShowNormal;
    e.mapRect = Rect{10, 20, 30, 40};
    for (const Point p :
         {Point{10, 20}, Point{30, 40}, Point{10, 40}, Point{30, 20}, Point{20, 30}}) {
        EXPECT_TRUE(e.containsMapPoint(ws, p.x, p.y)) << p.x << "," << p.y;
    }
    for (const Point p : {Point{9, 20}, Point{31, 40}, Point{20, 19}, Point{20, 41}}) {
        EXPECT_FALSE(e.containsMapPoint(ws, p.x, p.y)) << p.x << "," << p.y;
    }
    e.showState = win::SwMinimize;
    EXPECT_FALSE(e.containsMapPoint(ws, 20, 30)) << "recorded minimised";
    e.showState = win::SwShowNormal;
    ws.programShow(h, win::SwMinimize);
    EXPECT_FALSE(e.containsMapPoint(ws, 20, 30)) << "minimised now";
}

TEST(WindowEntry, SetShowStateOnlyOnFilledEntriesAndNonZeroStates) {
    WindowEntry e;
    e.style = 0;
    EXPECT_FALSE(e.setShowState(win::SwShowMaximized));
    EXPECT_EQ(e.showState, win::SwShowNa);
    e.style = win::WsOverlappedWindow;
    EXPECT_FALSE(e.setShowState(0));
    EXPECT_EQ(e.showState, win::SwShowNa);
    EXPECT_TRUE(e.setShowState(win::SwMinimize));
    EXPECT_EQ(e.showState, win::SwMinimize);
}

}  // namespace
}  // namespace skelvo::testing
