// Panel creation, quit and start-up on the fakes: the order of the steps and the state
// they leave behind.
#include <gtest/gtest.h>

#include "app/ids.h"
#include "app/startup.h"
#include "tests/fakes/panel_harness.h"

namespace skelvo::testing {
namespace {

TEST(PanelCreate, InitialStateAndTimers) {
    PanelHarness h;
    h.windows.addAtBottom(FakeWindow{.title = "bottom"});
    h.addWindow("one");
    h.create();
    const PanelState& st = h.state();
    EXPECT_EQ(st.functionMode, FunctionDesktop);
    EXPECT_EQ(st.currentDesktop, 0);
    EXPECT_EQ(st.selectedSlot, 0);
    EXPECT_EQ(st.sizeState, SizeFull);
    EXPECT_EQ(st.pointerState, PointerIdle);
    EXPECT_EQ(st.pointerZone, 0);
    EXPECT_EQ(st.dragWindow, NullWindow);
    EXPECT_EQ(st.menuTargetWindow, NullWindow);
    EXPECT_EQ(st.heldTicks, 0);
    EXPECT_EQ(st.panelRect, (Rect{200, 200, 436, 357}));
    EXPECT_DOUBLE_EQ(st.mapScaleX, 20.0);
    EXPECT_DOUBLE_EQ(st.mapScaleY, 19.0);
    EXPECT_STREQ(st.workingDirectory, "C:\\Skelvo");
    EXPECT_EQ(h.host.timers,
              (std::map<unsigned, unsigned>{{TimerRefresh, 600}, {TimerToolTip, 1200}}));
    for (int k = 0; k < DesktopCount; ++k) {
        EXPECT_EQ(h.app->desktops[k].index, k);
        EXPECT_EQ(h.app->slots[k].slotIndex, k);
        EXPECT_EQ(h.app->slots[k].registered, 0);
        EXPECT_EQ(h.app->slots[k].ownerWindow, h.panelWindow);
    }
    // The window on screen was captured into desktop 0; the bottom-most one never is.
    ASSERT_EQ(h.app->desktops[0].count, 1);
    EXPECT_STREQ(h.app->desktops[0].entries[0].title, "one");
    EXPECT_TRUE(h.host.regions.empty()) << "creation sets no window region";
    EXPECT_TRUE(h.shell.notifications.empty()) << "creation adds no tray icon";
}

TEST(PanelCreate, StepsRunInOrder) {
    PanelHarness h;
    h.create();
    // Skin loaded before the directory is taken, timers last.
    const int skin = h.log.indexOf("currentDirectory");
    EXPECT_EQ(h.graphics.loaded.front(), "MAINSELECT");
    EXPECT_LT(skin, h.log.indexOf("read C:\\Skelvo\\KQZ.txt"));
    EXPECT_LT(h.log.indexOf("read C:\\Skelvo\\KQZ.txt"), h.log.indexOf("setTimer 1"));
    EXPECT_LT(h.log.indexOf("setTimer 1"), h.log.indexOf("setTimer 4"));
}

TEST(PanelCreate, EmptyScreenStillStartsTimers) {
    PanelHarness h;
    h.create();
    EXPECT_EQ(h.app->desktops[0].count, 0);
    EXPECT_TRUE(h.host.timerRunning(TimerRefresh));
    EXPECT_TRUE(h.host.timerRunning(TimerToolTip));
}

TEST(PanelQuit, DeclinedLeavesEverythingRunning) {
    PanelHarness h;
    h.create();
    h.host.answers = {win::IdNo};
    EXPECT_EQ(h.send(win::WmClose), 0);
    ASSERT_EQ(h.host.messageBoxes.size(), 1u);
    EXPECT_EQ(h.host.messageBoxes[0].caption, QuitCaption);
    EXPECT_EQ(h.host.messageBoxes[0].text, QuitText);
    EXPECT_EQ(h.host.messageBoxes[0].flags, win::MbYesNo | win::MbIconQuestion);
    EXPECT_EQ(h.host.messageBoxes[0].owner, h.panelWindow);
    EXPECT_TRUE(h.host.timerRunning(TimerRefresh));
    EXPECT_TRUE(h.host.destroyed.empty());
    EXPECT_TRUE(h.shell.notifications.empty());
}

TEST(PanelQuit, ConfirmedStopsTimersRemovesIconThenDestroys) {
    PanelHarness h;
    h.create();
    h.log.clear();
    h.host.answers = {win::IdYes};
    h.send(win::WmClose);
    const std::vector<std::string> expected = {
        "messageBox",   "killTimer 1",  "killTimer 2", "killTimer 3", "replace C:\\Skelvo\\KQZ.txt",
        "notifyIcon 2", "destroyWindow"};
    EXPECT_EQ(h.log.events, expected);
    EXPECT_FALSE(h.host.timerRunning(TimerRefresh));
    EXPECT_TRUE(h.host.timerRunning(TimerToolTip)) << "timer 4 ends with the window";
    // Anything but No goes on, as a closed box (IDCANCEL) does.
    PanelHarness h2;
    h2.create();
    h2.host.answers = {win::IdCancel};
    h2.send(win::WmClose);
    EXPECT_EQ(h2.host.destroyed.size(), 1u);
}

TEST(PanelQuit, DestroyPostsQuitZero) {
    PanelHarness h;
    h.create();
    h.send(win::WmDestroy);
    EXPECT_EQ(h.host.quitCode, 0);
}

TEST(PanelMessages, KillFocusStopsOnlyDragTimersUnlessTheTooltipTakesIt) {
    for (const bool toTooltip : {false, true}) {
        SCOPED_TRACE(toTooltip ? "focus to the panel's tooltip" : "focus elsewhere");
        PanelHarness h;
        h.create();
        ASSERT_NE(h.state().toolTipWindow, NullWindow);
        h.host.setTimer(h.panelWindow, TimerPanelDrag, 100);
        h.host.setTimer(h.panelWindow, TimerWindowDrag, 100);
        h.state().pointerState = PointerLeftDown;
        h.send(win::WmKillFocus, toTooltip ? h.state().toolTipWindow : 0x4242);
        EXPECT_EQ(h.host.timerRunning(TimerPanelDrag), toTooltip);
        EXPECT_EQ(h.host.timerRunning(TimerWindowDrag), toTooltip);
        EXPECT_TRUE(h.host.timerRunning(TimerRefresh));
        EXPECT_EQ(h.state().pointerState, PointerLeftDown) << "the gesture stays open";
    }
}

TEST(PanelMessages, UnhandledGoToDefaultAndCommandsClearTarget) {
    PanelHarness h;
    h.create();
    EXPECT_FALSE(h.send(0x0200).has_value()) << "WM_MOUSEMOVE goes to DefWindowProc";
    h.state().menuTargetWindow = 0x1234;
    EXPECT_EQ(h.send(win::WmCommand, 39999), 0);
    EXPECT_EQ(h.state().menuTargetWindow, NullWindow);
    h.state().menuTargetWindow = 0x1234;
    h.send(win::WmCommand, CmdQuit);
    EXPECT_EQ(h.state().menuTargetWindow, NullWindow);
    ASSERT_FALSE(h.host.posted.empty());
    EXPECT_EQ(h.host.posted.back().message, win::WmClose);
}

// Records the start-up steps the Win32 program supplies.
struct RecordingSteps : ProgramSteps {
    std::vector<std::string> calls;
    bool registers = true;
    bool creates = true;
    bool registerPanelClass(InstanceHandle) override {
        calls.push_back("register");
        return registers;
    }
    bool createPanel(InstanceHandle, int show) override {
        calls.push_back("create " + std::to_string(show));
        return creates;
    }
    int runMessageLoop() override {
        calls.push_back("loop");
        return 0;
    }
};

TEST(Startup, DuplicateDeclinedStartsNothing) {
    PanelHarness h;
    h.create();  // a running panel
    RecordingSteps steps;
    h.host.answers = {win::IdNo};
    Services s{h.windows, h.host, h.graphics, h.shell, h.files};
    Application second;
    EXPECT_EQ(runProgram(second, s, steps, 0x400000, 5), 0);
    EXPECT_TRUE(steps.calls.empty());
    ASSERT_EQ(h.host.messageBoxes.size(), 1u);
    EXPECT_EQ(h.host.messageBoxes[0].caption, DuplicateCaption);
    EXPECT_EQ(h.host.messageBoxes[0].text, DuplicateText);
    EXPECT_EQ(h.host.messageBoxes[0].owner, FakeWindowSystem::DesktopHandle);
    EXPECT_EQ(h.host.messageBoxes[0].flags, win::MbYesNo | win::MbIconQuestion);
}

TEST(Startup, DuplicateAcceptedOrNoneRunning) {
    PanelHarness h;
    h.create();
    RecordingSteps steps;
    h.host.answers = {win::IdYes};
    Services s{h.windows, h.host, h.graphics, h.shell, h.files};
    Application second;
    EXPECT_EQ(runProgram(second, s, steps, 0x400000, 5), 0);
    EXPECT_EQ(steps.calls, (std::vector<std::string>{"register", "create 5", "loop"}));
    EXPECT_EQ(second.state.instanceHandle, 0x400000u);

    PanelHarness fresh;  // no panel: no question
    RecordingSteps steps2;
    steps2.registers = false;
    Services s2{fresh.windows, fresh.host, fresh.graphics, fresh.shell, fresh.files};
    Application third;
    EXPECT_EQ(runProgram(third, s2, steps2, 0x400000, 1), 0);
    EXPECT_TRUE(fresh.host.messageBoxes.empty());
    EXPECT_EQ(steps2.calls, (std::vector<std::string>{"register"})) << "failed registration stops";
}

TEST(ProcessExit, TeardownShowsDesktopsElevenDownToZero) {
    EventLog order;
    FakeWindowSystem ws;
    WindowHandle a = ws.add(FakeWindow{.title = "a"});
    WindowHandle b = ws.add(FakeWindow{.title = "b"});
    {
        Application app;
        for (int k = 0; k < DesktopCount; ++k) app.desktops[k].reset(ws, k);
        app.desktops[0].entries[0].window = a;
        app.desktops[0].entries[0].showState = win::SwShowNormal;
        app.desktops[0].count = 1;
        app.desktops[11].entries[0].window = b;
        app.desktops[11].entries[0].showState = 0;  // counts as SW_SHOWNA
        app.desktops[11].count = 1;
        ws.show(a, win::SwHide);
        ws.show(b, win::SwHide);
        ws.shows.clear();
    }
    ASSERT_EQ(ws.shows.size(), 2u);
    EXPECT_EQ(ws.shows[0], std::make_pair(b, win::SwShowNa));
    EXPECT_EQ(ws.shows[1], std::make_pair(a, win::SwShowNormal));
    EXPECT_TRUE(ws.at(a).visible);
    EXPECT_TRUE(ws.at(b).visible);
}

}  // namespace
}  // namespace skelvo::testing
