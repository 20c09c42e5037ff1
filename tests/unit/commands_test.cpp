// Popup menus opened by the right release, and the window and desktop commands chosen in
// them, through the whole panel on the fakes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/ids.h"
#include "app/pointer.h"
#include "desktops/operations.h"
#include "tests/fakes/panel_harness.h"
#include "tests/unit/message_orders.h"
#include "ui/commands.h"

namespace skelvo::testing {
namespace {

constexpr unsigned YesNoExclamation = 0x34;
// Under both message orders, with slow programs.
struct Commands : ::testing::TestWithParam<MessageOrder> {
    PanelHarness h;
    WindowHandle shell = NullWindow;
    WindowHandle a = NullWindow;  // maps to (12, 12)-(32, 32) in its cell
    WindowHandle b = NullWindow;  // right half of the screen

    void SetUp() override {
        h.windows.order = GetParam();
        h.answerMs = SlowAnswerMs;
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

TEST_P(Commands, RightReleaseOpensThePopupForWhereItHappened) {
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
        {"empty part of a cell", FunctionDesktop, {95, 5}, 1, 2, nullptr},
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
        h.windows.shows.clear();
        const PanelState before = h.state();
        h.rightClick(c.point.x, c.point.y, 0);  // dismissed with Escape
        EXPECT_TRUE(h.windows.shows.empty() && h.windows.posted.empty());
        EXPECT_EQ(std::tuple(h.state().currentDesktop, h.state().functionMode, h.state().sizeState,
                             h.state().selectedSlot, h.state().inTray),
                  std::tuple(before.currentDesktop, before.functionMode, before.sizeState,
                             before.selectedSlot, before.inTray))
            << "Escape leaves the panel as it was";
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
    }
}

TEST_P(Commands, SingleWindowCommandsActOnTheWindowUnderThePointerOnly) {
    choose(0, 20, 20, CmdMinimiseWindow);
    EXPECT_TRUE(minimised(a));
    EXPECT_FALSE(minimised(b));
    EXPECT_EQ(h.state().menuTargetWindow, NullWindow);
    choose(0, 45, 5, CmdRestoreWindow);  // nothing under the pointer: "ウィンドウ" greyed
    EXPECT_EQ(h.host.refusedChoices, std::vector<unsigned>{CmdRestoreWindow});
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

TEST_P(Commands, CloseTheWindowClosesItsTargetOrNothingWhateverHappensWhileAsking) {
    h.host.answers = {win::IdYes};
    choose(0, 20, 20, CmdCloseWindow);
    EXPECT_EQ(std::tuple(closes(a), closes(b), closes(shell)), std::tuple(1, 0, 0));

    // The target goes while the question is open, and the refresh of the modal loop drops
    // it: Yes then closes nothing at all.
    h.windows.posted.clear();
    h.host.answers = {win::IdYes};
    h.host.whileAsking = [&] {
        h.windows.destroy(a);
        h.host.advance(RefreshPeriodMs);
    };
    choose(0, 20, 20, CmdCloseWindow);
    EXPECT_EQ(h.host.messageBoxes.size(), 2u);
    EXPECT_TRUE(h.windows.posted.empty()) << "never the desktop's other windows";
}

TEST_P(Commands, MaximiseNeedsAMaximiseBoxOnScreenAndOff) {
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

TEST_P(Commands, MinimiseAllOnAParkedDesktopWaitsForTheSwitch) {
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

TEST_P(Commands, OutsideTheMapPerDesktopCommandsActOnTheDesktopOnScreen) {
    h.send(win::WmCommand, CmdDesktopFirst + 6);
    const WindowHandle c = h.addWindow("c");
    h.tick(TimerRefresh);
    h.rightClick(100, 140, CmdMinimiseAll);  // information bar
    EXPECT_TRUE(minimised(c));
    h.rightClick(220, 140, 0);  // size button, then restore all sent from anywhere
    h.state().pointerZone = ZoneSizeButton;
    h.send(win::WmCommand, CmdRestoreAll);
    EXPECT_FALSE(minimised(c));
    h.send(win::WmCommand, CmdDesktopFirst);
    EXPECT_FALSE(minimised(a) || minimised(b)) << "desktop 0 was not on screen";
}

// Desktop 5 on screen, p parked on desktop 2: a command reaching desktop 2 only records
// p's new state, which the switch to desktop 2 applies.
struct ParkedAndOnScreen {
    PanelHarness h;
    WindowHandle p = NullWindow, s = NullWindow;  // both map to (12, 12)-(32, 32) in a cell
    ParkedAndOnScreen(bool minimised, MessageOrder order) {
        h.windows.order = order;
        h.answerMs = SlowAnswerMs;
        h.windows.addAtBottom(captioned("shell"));  // the bottom window is never captured
        h.create();
        for (auto [desktop, window] : {std::pair{2, &p}, std::pair{5, &s}}) {
            h.send(win::WmCommand, CmdDesktopFirst + desktop);
            *window = h.addWindow("w", Rect{200, 190, 600, 570}, minimised);
            h.tick(TimerRefresh);
        }
        h.windows.shows.clear();
    }
    void expectParked() {
        EXPECT_FALSE(h.windows.isVisible(p) || h.windows.isZoomed(p));
        for (const auto& [w, command] : h.windows.shows) EXPECT_NE(w, p) << command;
    }
};

// Under both message orders.
class ParkedDesktops : public ::testing::TestWithParam<MessageOrder> {};

TEST_P(ParkedDesktops, CommandsOnlyRecordUntilTheSwitch) {
    const struct {
        unsigned command;
        Point at;  // in desktop 2's cell, or 5's for the window on screen
        bool minimisedBefore;
        bool minimisedAfter, maximisedAfter;  // p entered, or s at once
        bool reachesP, reachesS;
    } cases[] = {
        {CmdRestoreAll, {145, 35}, true, false, false, true, false},
        {CmdRestoreAllDesktops, {145, 35}, true, false, false, true, true},
        {CmdMaximiseAllDesktops, {145, 35}, false, false, true, true, true},
        {CmdMinimiseAllDesktops, {145, 35}, false, true, false, true, true},
        {CmdMaximiseWindow, {120, 20}, false, false, true, true, false},
        {CmdMinimiseWindow, {70, 60}, false, true, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        ParkedAndOnScreen t(c.minimisedBefore, GetParam());
        PanelHarness& h = t.h;
        h.rightClick(c.at.x, c.at.y, c.command);
        t.expectParked();
        EXPECT_EQ(h.windows.isIconic(t.p), c.minimisedBefore);
        EXPECT_EQ(h.windows.isIconic(t.s), c.reachesS ? c.minimisedAfter : c.minimisedBefore);
        EXPECT_EQ(h.windows.isZoomed(t.s), c.reachesS && c.maximisedAfter);

        h.send(win::WmCommand, CmdDesktopFirst + 2);
        EXPECT_TRUE(h.windows.isVisible(t.p));
        EXPECT_EQ(h.windows.isIconic(t.p), c.reachesP ? c.minimisedAfter : c.minimisedBefore);
        EXPECT_EQ(h.windows.isZoomed(t.p), c.reachesP && c.maximisedAfter);
    }
}

TEST_P(Commands, ConfirmationsGoOnOnlyOnYes) {
    WindowHandle p = NullWindow;
    park(2, [&] { p = h.addWindow("p"); });
    auto visible = [&](WindowHandle w) { return h.windows.isVisible(w); };
    struct Case {
        unsigned command;
        const char* text;
        const char* caption;
        std::function<void()> yes;  // what Yes must have done
    };
    const Case cases[] = {
        {CmdCloseWindow, "ウィンドウを閉じますか？", "終了確認",
         [&] { EXPECT_EQ(std::tuple(closes(a), closes(b), closes(p)), std::tuple(1, 0, 0)); }},
        {CmdCloseAll, "すべてのウィンドウを閉じますか？", "終了確認",
         [&] { EXPECT_EQ(std::tuple(closes(a), closes(b), closes(p)), std::tuple(1, 1, 0)); }},
        // Hidden windows are asked too; posted, so their programs decide.
        {CmdCloseAllDesktops, "すべてのデスクトップを閉じますか？", "終了確認",
         [&] { EXPECT_EQ(std::tuple(closes(a), closes(b), closes(p)), std::tuple(1, 1, 1)); }},
        {CmdHideAllWindows, "すべての表示ウィンドウを非表示しますか？", "注意！",
         [&] { EXPECT_FALSE(visible(a) || visible(b) || visible(p)); }},
        {CmdShowAllWindows, "すべての非表示ウィンドウを表示しますか？", "注意！",
         [&] { EXPECT_TRUE(visible(a) && visible(b) && visible(p)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        for (int answer : {win::IdNo, win::IdCancel, win::IdYes}) {
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
            EXPECT_EQ(h.state().menuTargetWindow, NullWindow);
            if (answer == win::IdYes)
                c.yes();
            else
                EXPECT_TRUE(h.windows.shows.empty() && h.windows.posted.empty());
        }
    }
}

TEST_P(Commands, HideAllLeavesThePanelAndEveryHiddenWindowComesBack) {
    WindowHandle p = NullWindow;
    park(3, [&] { p = h.addWindow("p"); });
    h.host.answers = {win::IdYes, win::IdYes, win::IdYes};
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

TEST_P(Commands, LauncherCommandsIgnoreTheWindowUnderThePointer) {
    h.send(win::WmCommand, CmdSwitchFunction);
    h.shell.dialogAnswers = {FakeShell::DialogAnswer{"C:\\x.exe", "x.exe"}};
    h.host.answers = {win::IdYes};
    for (unsigned command : {CmdRegister, CmdRun, CmdDeleteRegistration}) {
        h.pointAt(20, 20);
        h.send(win::WmRButtonDown);
        h.send(win::WmRButtonUp);
        ASSERT_EQ(h.state().menuTargetWindow, a);
        h.send(win::WmCommand, command);
    }
    ASSERT_EQ(h.shell.dialogs.size(), 1u);
    EXPECT_EQ(h.shell.dialogs[0].owner, h.panelWindow);
    ASSERT_EQ(h.shell.executed.size(), 1u);
    EXPECT_EQ(h.shell.executed[0].file, "C:\\x.exe");
    EXPECT_EQ(h.host.messageBoxes.at(0).owner, h.panelWindow);
    EXPECT_FALSE(h.app->slots[0].registered);
    EXPECT_TRUE(h.windows.shows.empty() && h.windows.posted.empty()) << "a left alone";
}

TEST_P(Commands, EveryOtherIdOnlyClearsTheTarget) {
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

INSTANTIATE_TEST_SUITE_P(BothOrders, Commands, BothMessageOrders, orderName);
INSTANTIATE_TEST_SUITE_P(BothOrders, ParkedDesktops, BothMessageOrders, orderName);

}  // namespace
}  // namespace skelvo::testing
