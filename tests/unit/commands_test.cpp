// Popup menus opened by the right release, and the window and desktop commands chosen in
// them, through the whole panel on the fakes.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/ids.h"
#include "app/pointer.h"
#include "desktops/operations.h"
#include "tests/fakes/panel_harness.h"
#include "ui/commands.h"

namespace skelvo::testing {
namespace {

constexpr unsigned YesNoExclamation = 0x34;

struct Commands : ::testing::Test {
    PanelHarness h;
    WindowHandle shell = NullWindow;
    WindowHandle a = NullWindow;  // maps to (12, 12)-(32, 32) in its cell
    WindowHandle b = NullWindow;  // right half of the screen

    void SetUp() override {
        shell = h.windows.addAtBottom(captioned("shell"));
        a = h.addWindow("a", Rect{200, 190, 600, 570});
        b = h.addWindow("b", Rect{700, 100, 1000, 300});
        h.create();
    }
    // Parks windows made by make() on desktop k, then returns to desktop 0.
    template <typename Make>
    void park(int k, Make make) {
        h.send(win::WmCommand, CmdDesktopFirst + k);
        make();
        h.tick(TimerRefresh);
        h.send(win::WmCommand, CmdDesktopFirst);
    }
    Point cellPoint(int desktop, int x, int y) {
        return {50 * (desktop % 4) + x, 40 * (desktop / 4) + y};
    }
    void choose(int desktop, int x, int y, unsigned command) {
        const Point p = cellPoint(desktop, x, y);
        h.rightClick(p.x, p.y, command);
    }
    bool minimised(WindowHandle w) { return h.windows.isIconic(w); }
    bool maximised(WindowHandle w) { return h.windows.isZoomed(w); }
    int closes(WindowHandle w) {
        int n = 0;
        for (const auto& [window, message] : h.windows.posted)
            n += window == w && message == win::WmClose;
        return n;
    }
};

TEST_F(Commands, RightReleaseOpensThePopupForWhereItHappened) {
    struct Case {
        const char* where;
        int function;
        Point point;
        int popup;  // -1: none
        int greyed;
        WindowHandle Commands::*target;
    };
    const Case cases[] = {
        {"window in a cell", FunctionDesktop, {20, 20}, 1, -1, &Commands::a},
        {"empty part of a cell", FunctionDesktop, {45, 5}, 1, 2, nullptr},
        {"information bar", FunctionDesktop, {100, 140}, 1, 2, nullptr},
        {"function button", FunctionLauncher, {210, 30}, 1, 2, nullptr},
        {"size button", FunctionLauncher, {220, 140}, 1, 2, nullptr},
        {"cell, launcher function", FunctionLauncher, {20, 20}, 2, -1, &Commands::a},
        {"gutter between the map and the buttons", FunctionDesktop, {201, 50}, -1, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        if (h.state().functionMode != c.function) h.send(win::WmCommand, CmdSwitchFunction);
        h.host.popups.clear();
        h.pointAt(c.point.x, c.point.y);
        h.send(win::WmRButtonDown);
        h.send(win::WmRButtonUp);
        EXPECT_EQ(h.state().pointerState, PointerIdle);
        EXPECT_EQ(h.state().menuTargetWindow, c.target ? this->*c.target : NullWindow)
            << "the launcher popup still notes the window";
        if (c.popup < 0) {
            EXPECT_TRUE(h.host.popups.empty());
            continue;
        }
        ASSERT_EQ(h.host.popups.size(), 1u);
        const FakeHost::Popup& p = h.host.popups[0];
        EXPECT_EQ(p.templateId, 123);
        EXPECT_EQ(p.position, c.popup);
        EXPECT_EQ(p.greyPosition, c.greyed);
        EXPECT_EQ(p.screen, (Point{200 + c.point.x, 200 + c.point.y}));
        EXPECT_TRUE(h.host.posted.back().message == win::WmPaint) << "Escape: no command";
    }
}

TEST_F(Commands, SingleWindowCommandsActOnTheWindowUnderThePointerOnly) {
    choose(0, 20, 20, CmdMinimiseWindow);
    EXPECT_TRUE(minimised(a));
    EXPECT_FALSE(minimised(b));
    EXPECT_EQ(h.state().menuTargetWindow, NullWindow);
    choose(0, 45, 5, CmdRestoreWindow);  // nothing under the pointer: nothing at all
    EXPECT_TRUE(minimised(a));
    h.send(win::WmCommand, CmdRestoreAll);  // restore all on a minimised window
    EXPECT_FALSE(minimised(a));

    // A target that its desktop no longer lists: nothing, and nothing asked.
    choose(0, 20, 20, 0);
    const WindowHandle target = h.state().menuTargetWindow;
    ASSERT_EQ(target, a);
    h.windows.destroy(a);
    h.tick(TimerRefresh);
    h.state().menuTargetWindow = target;
    h.send(win::WmCommand, CmdCloseWindow);
    EXPECT_TRUE(h.host.messageBoxes.empty());
    EXPECT_EQ(closes(b), 0) << "the scope rule must not fall through to every window";
}

TEST_F(Commands, MaximiseNeedsAMaximiseBoxOnScreenAndOff) {
    FakeWindow fixed = captioned("fixed", Rect{200, 190, 600, 570});
    fixed.style = win::WsOverlappedWindow & ~win::WsMaximizeBox;
    WindowHandle onScreen = h.windows.add(fixed);
    h.tick(TimerRefresh);
    choose(0, 20, 20, CmdMaximiseWindow);
    EXPECT_FALSE(maximised(onScreen));

    WindowHandle parked = NullWindow, boxed = NullWindow;
    park(4, [&] {
        parked = h.windows.add(fixed);
        boxed = h.addWindow("boxed", Rect{700, 100, 1000, 300});
    });
    choose(4, 45, 35, CmdMaximiseAll);  // from desktop 4's cell, desktop 0 on screen
    EXPECT_FALSE(maximised(a) || maximised(b) || maximised(onScreen)) << "nothing on screen";
    EXPECT_FALSE(maximised(boxed)) << "only recorded";
    h.send(win::WmCommand, CmdDesktopFirst + 4);
    EXPECT_TRUE(maximised(boxed));
    EXPECT_FALSE(maximised(parked));
}

TEST_F(Commands, MinimiseAllOnAParkedDesktopWaitsForTheSwitch) {
    WindowHandle p1 = NullWindow, p2 = NullWindow;
    park(7, [&] {
        p1 = h.addWindow("p1");
        FakeWindow fixed = captioned("p2");
        fixed.style = win::WsOverlappedWindow & ~win::WsMinimizeBox;
        p2 = h.windows.add(fixed);
    });
    choose(7, 45, 35, CmdMinimiseAll);
    EXPECT_FALSE(minimised(a) || minimised(b) || minimised(p1));
    h.send(win::WmCommand, CmdDesktopFirst + 7);
    EXPECT_TRUE(minimised(p1));
    EXPECT_FALSE(minimised(p2));
    EXPECT_TRUE(h.windows.isVisible(p1) && h.windows.isVisible(p2));
}

TEST_F(Commands, OutsideTheMapPerDesktopCommandsActOnTheDesktopOnScreen) {
    WindowHandle p = NullWindow;
    park(11, [&] { p = h.addWindow("p"); });
    h.rightClick(100, 140, CmdMinimiseAll);  // information bar
    EXPECT_TRUE(minimised(a) && minimised(b));
    h.rightClick(220, 140, 0);  // size button, then restore all sent from anywhere
    h.state().pointerZone = ZoneSizeButton;
    h.send(win::WmCommand, CmdRestoreAll);
    EXPECT_FALSE(minimised(a) || minimised(b));
    h.send(win::WmCommand, CmdDesktopFirst + 11);
    EXPECT_FALSE(minimised(p));
}

TEST_F(Commands, ConfirmationsGoOnOnlyOnYes) {
    WindowHandle p = NullWindow;
    park(2, [&] { p = h.addWindow("p"); });
    struct Case {
        unsigned command;
        const char* text;
        const char* caption;
    };
    const Case cases[] = {
        {CmdCloseWindow, "ウィンドウを閉じますか？", "終了確認"},
        {CmdCloseAll, "すべてのウィンドウを閉じますか？", "終了確認"},
        {CmdCloseAllDesktops, "すべてのデスクトップを閉じますか？", "終了確認"},
        {CmdShowAllWindows, "すべての非表示ウィンドウを表示しますか？", "注意！"},
        {CmdHideAllWindows, "すべての表示ウィンドウを非表示しますか？", "注意！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        for (int answer : {win::IdNo, win::IdCancel}) {
            h.host.messageBoxes.clear();
            h.windows.shows.clear();
            h.windows.posted.clear();
            h.host.answers = {answer};
            choose(0, 20, 20, c.command);
            ASSERT_EQ(h.host.messageBoxes.size(), 1u) << "asked once";
            EXPECT_EQ(h.host.messageBoxes[0].text, c.text);
            EXPECT_EQ(h.host.messageBoxes[0].caption, c.caption);
            EXPECT_EQ(h.host.messageBoxes[0].flags, YesNoExclamation);
            EXPECT_EQ(h.host.messageBoxes[0].owner, h.panelWindow);
            EXPECT_TRUE(h.windows.shows.empty() && h.windows.posted.empty());
            EXPECT_EQ(h.state().menuTargetWindow, NullWindow);
        }
    }
    // Yes: close all desktops posts WM_CLOSE to every listed window, hidden ones included.
    h.host.answers = {win::IdYes};
    h.host.messageBoxes.clear();
    h.windows.posted.clear();
    choose(0, 45, 5, CmdCloseAllDesktops);
    EXPECT_EQ(h.host.messageBoxes.size(), 1u);
    EXPECT_EQ(closes(a) + closes(b) + closes(p), 3);
    EXPECT_TRUE(h.windows.isWindow(p)) << "posted, so the program decides";
}

TEST_F(Commands, HideAllLeavesThePanelAndEveryHiddenWindowComesBack) {
    WindowHandle p = NullWindow;
    park(3, [&] { p = h.addWindow("p"); });
    h.send(win::WmCommand, CmdHideAllWindows);
    EXPECT_FALSE(h.windows.isVisible(a) || h.windows.isVisible(b));
    EXPECT_TRUE(h.windows.isVisible(h.panelWindow));
    h.tick(TimerRefresh);  // the desktop on screen now lists nothing
    EXPECT_EQ(h.app->desktops[0].count, 0);
    std::vector<WindowHandle> hidden = h.app->hidden.windows();
    std::sort(hidden.begin(), hidden.end());
    EXPECT_EQ(hidden, (std::vector<WindowHandle>{shell, a, b})) << "not p: desktop 3 holds it";

    h.send(win::WmCommand, CmdShowAllWindows);
    EXPECT_TRUE(h.windows.isVisible(a) && h.windows.isVisible(b) && h.windows.isVisible(p));
    EXPECT_TRUE(h.app->hidden.windows().empty());

    // Hidden again, and one loses its title meanwhile: quitting still shows both.
    h.send(win::WmCommand, CmdHideAllWindows);
    h.tick(TimerRefresh);
    h.windows.at(a).title.clear();
    h.app.reset();
    EXPECT_TRUE(h.windows.isVisible(a) && h.windows.isVisible(b));
}

TEST_F(Commands, EveryOtherIdOnlyClearsTheTarget) {
    for (std::uintptr_t id :
         {std::uintptr_t{0}, std::uintptr_t{40009}, std::uintptr_t{40016}, std::uintptr_t{40070},
          std::uintptr_t{65535}, std::uintptr_t{0x10000} | CmdMinimiseAll,
          (std::uintptr_t{1} << 32) | CmdQuit}) {
        SCOPED_TRACE(id);
        h.state().menuTargetWindow = a;
        h.windows.shows.clear();
        h.host.posted.clear();
        EXPECT_EQ(h.send(win::WmCommand, id), 0);
        EXPECT_EQ(h.state().menuTargetWindow, NullWindow);
        EXPECT_TRUE(h.windows.shows.empty() && h.host.posted.empty());
        EXPECT_FALSE(minimised(a));
    }
    h.send(win::WmCommand, CmdQuit);
    ASSERT_EQ(h.host.posted.size(), 1u);
    EXPECT_EQ(h.host.posted[0].message, win::WmClose);
}

}  // namespace
}  // namespace skelvo::testing
