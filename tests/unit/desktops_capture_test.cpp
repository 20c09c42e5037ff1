// Desktop records on the simulated desktop: reset, capture from the live Z order, the
// window under a map point, entry lookup, refresh and the release at destruction.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "desktops/virtual_desktop.h"
#include "tests/fakes/fake_window_system.h"
#include "tests/unit/desktops_recording.h"

namespace skelvo::testing {
namespace {

struct CaptureTest : ::testing::Test {
    FakeWindowSystem ws;
    // Declared before the desktops, which may still call it when they are destroyed.
    RecordingWindows rec{ws};
    std::unique_ptr<DesktopArray> desktops = std::make_unique<DesktopArray>();
    WindowHandle bottom = NullWindow;

    void SetUp() override {
        // The bottom-most window passes the filter, yet is never listed.
        bottom = ws.add(captioned("bottom"));
        for (int k = 0; k < DesktopCount; ++k) (*desktops)[k].reset(ws, k);
    }
    VirtualDesktop& desktop(int k) { return (*desktops)[k]; }
};

TEST_F(CaptureTest, ResetTakesIndexOriginAndScreenAndTouchesNoWindow) {
    ws.setScreen(Rect{0, 0, 1366, 768});
    VirtualDesktop& d = desktop(7);
    d.count = 3;
    d.reset(ws, 7);
    EXPECT_EQ(d.index, 7);
    EXPECT_EQ(d.count, 0);
    EXPECT_EQ(d.screenRect, (Rect{0, 0, 1366, 768}));
    EXPECT_EQ(d.originX, 3 * 1366);
    EXPECT_EQ(d.originY, 768);
    desktop(0).reset(ws, 0);
    EXPECT_EQ(desktop(0).originX, 0);
    EXPECT_EQ(desktop(0).originY, 0);
    EXPECT_TRUE(ws.shows.empty());
}

TEST_F(CaptureTest, ListsTheFifteenLowestManagedWindowsFromTheBottomUp) {
    std::vector<WindowHandle> managed;
    for (int i = 0; i < 20; ++i) {
        managed.push_back(ws.add(captioned("w" + std::to_string(i))));
        FakeWindow popup = captioned("popup");
        popup.style = win::WsPopup;
        ws.add(popup);  // skipped, and does not count
    }
    desktop(4).capture();
    ASSERT_EQ(desktop(4).count, CaptureLimit);
    for (int i = 0; i < CaptureLimit; ++i) {
        const WindowEntry& e = desktop(4).entries[i];
        EXPECT_EQ(e.window, managed[i]) << i;
        EXPECT_EQ(e.captureIndex, i);
        EXPECT_EQ(e.desktopIndex, 4);
        EXPECT_EQ(std::string(e.title), "w" + std::to_string(i));
    }
}

TEST_F(CaptureTest, TheBottomMostWindowIsNeverExamined) {
    const WindowHandle only = ws.add(captioned("only"));
    desktop(0).reset(rec, 0);
    desktop(0).capture();
    ASSERT_EQ(desktop(0).count, 1);
    EXPECT_EQ(desktop(0).entries[0].window, only);
    EXPECT_TRUE(rec.callsOn(bottom).empty()) << "nothing is read of it";
    EXPECT_EQ(std::count(rec.calls.begin(), rec.calls.end(),
                         std::pair<std::string, WindowHandle>("topLevelWindows", NullWindow)),
              1)
        << "the Z order is read once";

    // With only the bottom-most window there is nothing to list.
    ws.destroy(only);
    desktop(0).capture();
    EXPECT_EQ(desktop(0).count, 0);
}

TEST_F(CaptureTest, ShowStatesFollowTheLiveWindows) {
    FakeWindow min = captioned("min");
    min.minimised = true;
    FakeWindow max = captioned("max");
    max.maximised = true;
    FakeWindow maxThenMin = captioned("max then min");
    maxThenMin.maximised = true;
    maxThenMin.minimised = true;
    ws.add(min);
    ws.add(max);
    ws.add(captioned("normal"));
    ws.add(maxThenMin);
    desktop(0).capture();
    ASSERT_EQ(desktop(0).count, 4);
    EXPECT_EQ(desktop(0).entries[0].showState, win::SwMinimize);
    EXPECT_EQ(desktop(0).entries[1].showState, win::SwShowMaximized);
    EXPECT_EQ(desktop(0).entries[2].showState, win::SwShowNormal);
    EXPECT_EQ(desktop(0).entries[3].showState, win::SwMinimize);
}

TEST_F(CaptureTest, RecaptureRebuildsAndAnEmptyScreenKeepsTheList) {
    const WindowHandle a = ws.add(captioned("a"));
    const WindowHandle b = ws.add(captioned("b"));
    desktop(0).capture();
    ASSERT_EQ(desktop(0).count, 2);
    ws.raise(a);
    ws.programShow(b, win::SwMinimize);
    refreshDesktop(*desktops, 0);
    ASSERT_EQ(desktop(0).count, 2);
    EXPECT_EQ(desktop(0).entries[0].window, b);
    EXPECT_EQ(desktop(0).entries[0].showState, win::SwMinimize);
    EXPECT_EQ(desktop(0).entries[1].window, a);
    refreshDesktop(*desktops, 12);  // no such desktop: nothing
    refreshDesktop(*desktops, -1);
    EXPECT_EQ(desktop(0).count, 2);

    // No top-level window at all: the list stays as it was.
    ws.destroy(a);
    ws.destroy(b);
    ws.destroy(bottom);
    desktop(0).capture();
    EXPECT_EQ(desktop(0).count, 2);
}

TEST_F(CaptureTest, WindowAtMapPointPrefersTheHigherListedAndSkipsMinimised) {
    ws.setScreen(Rect{0, 0, 1920, 1080});
    const WindowHandle low = ws.add(captioned("low", Rect{0, 0, 960, 540}));
    const WindowHandle high = ws.add(captioned("high", Rect{380, 270, 1140, 810}));
    desktop(0).capture();
    // low maps to (2, 2, 27, 22), high to (12, 12, 32, 32).
    EXPECT_EQ(desktop(0).windowAtMapPoint(5, 5), low);
    EXPECT_EQ(desktop(0).windowAtMapPoint(20, 20), high) << "overlap: the higher entry";
    EXPECT_EQ(desktop(0).windowAtMapPoint(32, 32), high) << "edges count";
    EXPECT_EQ(desktop(0).windowAtMapPoint(40, 40), NullWindow);
    ws.programShow(high, win::SwMinimize);
    EXPECT_EQ(desktop(0).windowAtMapPoint(20, 20), low) << "a minimised window is never hit";
    EXPECT_EQ(desktop(0).windowAtMapPoint(30, 30), NullWindow);
}

TEST_F(CaptureTest, WindowAtMapPointNeverReadsBeyondCount) {
    const WindowHandle a = ws.add(captioned("a", Rect{0, 0, 200, 190}));
    desktop(0).capture();
    ASSERT_EQ(desktop(0).count, 1);
    // A stale entry that would cover every point, and a stale handle that must stay unused.
    constexpr WindowHandle Stale = 0xdead0;
    ws.watchedHandle = Stale;
    for (int i = 1; i < EntryCapacity; ++i) {
        WindowEntry& e = desktop(0).entries[i];
        e.window = Stale;
        e.style = win::WsOverlappedWindow;
        e.showState = win::SwShowNormal;
        e.mapRect = Rect{0, 0, 202, 124};
        e.captureIndex = 0;
    }
    EXPECT_EQ(desktop(0).windowAtMapPoint(100, 100), NullWindow);
    EXPECT_EQ(desktop(0).windowAtMapPoint(5, 5), a);
    // A valid entry whose captureIndex names a position at or beyond count yields nothing.
    desktop(0).entries[0].captureIndex = 1;
    EXPECT_EQ(desktop(0).windowAtMapPoint(5, 5), NullWindow);
    desktop(0).entries[0].captureIndex = -1;
    EXPECT_EQ(desktop(0).windowAtMapPoint(5, 5), NullWindow);
    EXPECT_EQ(ws.watchedCalls, 0);
}

TEST_F(CaptureTest, FindEntryGivesACopyOfTheFirstMatchOnly) {
    const WindowHandle a = ws.add(captioned("a"));
    const WindowHandle b = ws.add(captioned("b"));
    desktop(0).capture();
    auto found = desktop(0).findEntry(b);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->captureIndex, 1);
    found->windowRect = Rect{};
    EXPECT_NE(desktop(0).entries[1].windowRect, Rect{}) << "a copy";
    EXPECT_FALSE(desktop(0).findEntry(bottom).has_value());
    EXPECT_FALSE(desktop(0).findEntry(NullWindow).has_value());
    desktop(0).count = 1;
    EXPECT_FALSE(desktop(0).findEntry(b).has_value()) << "beyond count";
    EXPECT_TRUE(desktop(0).findEntry(a).has_value());
}

TEST_F(CaptureTest, DestructionShowsEveryListedWindowLastToFirst) {
    FakeWindow min = captioned("min");
    min.minimised = true;
    const WindowHandle m = ws.add(min);
    const WindowHandle n = ws.add(captioned("normal"));
    const WindowHandle z = ws.add(captioned("zero"));
    {
        auto own = std::make_unique<DesktopArray>();
        (*own)[3].reset(rec, 3);
        (*own)[3].capture();
        ASSERT_EQ((*own)[3].count, 3);
        (*own)[3].entries[2].showState = 0;  // counts as SW_SHOWNA
        for (WindowHandle w : {m, n, z}) ws.programShow(w, win::SwHide);
        rec.calls.clear();
    }
    // The monitors once, for a window that none of them would show.
    const std::vector<std::pair<std::string, WindowHandle>> expected = {
        {"monitors", NullWindow}, {"show 8", z}, {"update", z}, {"show 1", n},
        {"update", n},            {"show 6", m}, {"update", m}};
    EXPECT_EQ(rec.calls, expected);
    EXPECT_TRUE(ws.at(m).visible);
    EXPECT_TRUE(ws.at(m).minimised) << "minimised again";
    EXPECT_TRUE(ws.at(n).visible);
    EXPECT_TRUE(ws.at(z).visible);
}

TEST_F(CaptureTest, DestroyingAnEmptyDesktopShowsNothing) {
    ws.add(captioned("a"));
    desktops.reset();
    EXPECT_TRUE(ws.shows.empty());
}

TEST_F(CaptureTest, ArrayTearsDownFromElevenToZero) {
    const WindowHandle a = ws.add(captioned("a"));
    const WindowHandle b = ws.add(captioned("b"));
    const WindowHandle c = ws.add(captioned("c"));
    desktop(0).capture();  // a, b, c
    // The same windows parked on other desktops too: the last show decides.
    desktop(11).entries[0] = desktop(0).entries[0];
    desktop(11).entries[0].showState = win::SwShowMaximized;
    desktop(11).count = 1;
    desktop(6).entries[0] = desktop(0).entries[1];
    desktop(6).count = 1;
    for (WindowHandle w : {a, b, c}) ws.programShow(w, win::SwHide);
    ws.shows.clear();
    desktops.reset();
    const std::vector<std::pair<WindowHandle, int>> expected = {{a, win::SwShowMaximized},
                                                                {b, win::SwShowNormal},
                                                                {c, win::SwShowNormal},
                                                                {b, win::SwShowNormal},
                                                                {a, win::SwShowNormal}};
    EXPECT_EQ(ws.shows, expected);
    EXPECT_FALSE(ws.isZoomed(a)) << "desktop 0 comes last";
}

}  // namespace
}  // namespace skelvo::testing
