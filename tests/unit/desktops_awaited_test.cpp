// Switches through the panel with programs that answer at once, slowly or not at all,
// under both message orders: calls land in the order made, commands never run inside one
// another, and calls left to finish on their own are reported as asked until they do.
#include <gtest/gtest.h>

#include "app/hotkeys.h"
#include "app/ids.h"
#include "tests/fakes/panel_harness.h"
#include "tests/unit/message_orders.h"

namespace skelvo::testing {
namespace {

class Awaited : public ::testing::TestWithParam<MessageOrder> {
protected:
    void SetUp() override {
        h.windows.order = GetParam();
        h.windows.addAtBottom(captioned("bottom"));
    }
    WindowHandle program(const std::string& title, unsigned answerMs) {
        const WindowHandle w = h.addWindow(title);
        h.windows.at(w).answerMs = answerMs;
        return w;
    }
    void toDesktop(int k) { h.send(win::WmCommand, CmdDesktopFirst + static_cast<unsigned>(k)); }
    std::vector<WindowHandle> normalBand() {
        std::vector<WindowHandle> out;
        for (WindowHandle w : h.windows.zOrder())
            if (!h.windows.at(w).topmost && h.windows.at(w).title != "bottom") out.push_back(w);
        return out;
    }
    PanelHarness h;
};

// Slow programs (a hide under a window manager takes tens of milliseconds) are awaited by
// the result, not by their answer: the entered desktop comes back in its stacking, the
// lowest window shown last and active, and no program counts as hung.
TEST_P(Awaited, SlowProgramsAreAwaitedByResultInTheOrderOfTheCalls) {
    const WindowHandle low = program("slow low", 60);
    const WindowHandle mid = program("quick mid", 0);
    const WindowHandle top = program("slow top", 40);
    h.create();
    const std::vector<WindowHandle> before = normalBand();
    const std::uint64_t start = h.windows.clockMs();
    toDesktop(4);
    EXPECT_EQ(h.windows.queued(), 0u) << "every hide was carried out before the switch ended";
    // All hides are asked for before any is awaited: the programs carry them out side by
    // side, and the switch waits about as long as the slowest (two of its looks at most,
    // under Windows' order), not the sum.
    const unsigned looks = GetParam() == MessageOrder::Windows ? 2 : 1;
    EXPECT_LE(h.windows.clockMs() - start, looks * 60u + 5u);
    for (WindowHandle w : {low, mid, top}) EXPECT_FALSE(h.windows.at(w).visible);
    toDesktop(0);
    EXPECT_EQ(h.windows.queued(), 0u);
    // Each show activates and raises: the lowest, shown last, ends on top.
    EXPECT_EQ(normalBand(), std::vector<WindowHandle>(before.rbegin(), before.rend()));
    EXPECT_EQ(h.windows.activeWindow(), low);
    EXPECT_EQ(h.awaited.pendingCount(), 0u);
    for (WindowHandle w : {low, mid, top}) EXPECT_FALSE(h.awaited.isHung(w));
}

// A command sent to the panel while it waits inside a switch runs after that switch, a
// menu's as a key's.
TEST_P(Awaited, ACommandSentDuringASwitchRunsAfterIt) {
    const WindowHandle a = program("a", 30);
    const WindowHandle b = program("b", 30);
    h.create();
    toDesktop(1);
    const WindowHandle c = program("c on 1", 30);
    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "hotkey" : "menu command");
        toDesktop(0);
        h.windows.asyncShows.clear();
        bool sent = false;
        h.windows.duringWait = [&] {
            if (sent) return;
            sent = true;
            // As SendMessage from another process, or a pressed key, arrives.
            if (!byKey) return toDesktop(2);
            const auto id = h.keyboard.press(ModControl | ModAlt, VkF1 + 2);
            ASSERT_TRUE(id);
            h.send(win::WmHotKey, static_cast<std::uintptr_t>(*id));
        };
        toDesktop(1);
        h.windows.duringWait = nullptr;
        EXPECT_EQ(h.state().currentDesktop, 2);
        const VirtualDesktop& zero = h.app->desktops[0];
        ASSERT_EQ(zero.count, 2);
        const std::vector<std::pair<WindowHandle, int>> expected = {
            {zero.entries[0].window, win::SwHide}, {zero.entries[1].window, win::SwHide},
            {c, win::SwShowNormal}, {c, win::SwHide}};
        EXPECT_EQ(h.windows.asyncShows, expected);
        for (WindowHandle w : {a, b, c}) EXPECT_FALSE(h.windows.at(w).visible);
        EXPECT_EQ(h.app->desktops[1].count, 1);
    }
}

// Of switch commands waiting in a row only the last is carried out, so that a burst costs
// one switch at its end rather than one for each; any other message between keeps both,
// and a command sent while the panel looks at its queue waits for the switch.
TEST_P(Awaited, OfSwitchCommandsWaitingInARowOnlyTheLastIsCarriedOut) {
    const WindowHandle a = program("a", 30);
    h.create();
    toDesktop(1);
    const WindowHandle b = program("b on 1", 30);
    toDesktop(2);
    const WindowHandle c = program("c on 2", 30);
    const auto to = [](int k) { return WaitingMessage{win::WmCommand, CmdDesktopFirst + k}; };
    const WaitingMessage noSwitch[] = {{win::WmCommand, 40009},
                                       {win::WmCommand, 0x10000 | (CmdDesktopFirst + 2)}};
    const std::vector<std::pair<WindowHandle, int>> throughOne = {
        {a, win::SwHide}, {b, win::SwShowNormal}, {b, win::SwHide}, {c, win::SwShowNormal}};
    const struct {
        std::vector<WaitingMessage> burst;
        std::vector<std::pair<WindowHandle, int>> calls;
    } cases[] = {
        {{to(1), to(2), to(0), to(1), to(2)}, {{a, win::SwHide}, {c, win::SwShowNormal}}},
        {{to(1), noSwitch[0], to(2)}, throughOne},
        {{to(1), noSwitch[1], to(2)}, throughOne},
        {{to(1), to(0), to(2)}, {{a, win::SwHide}, {c, win::SwShowNormal}}},
    };
    for (const auto& burst : cases) {
        toDesktop(0);
        h.windows.asyncShows.clear();
        h.host.waiting.assign(burst.burst.begin(), burst.burst.end());
        while (!h.host.waiting.empty()) {
            const WaitingMessage next = h.host.waiting.front();
            h.host.waiting.pop_front();
            h.send(next.message, next.wParam);
        }
        EXPECT_EQ(h.state().currentDesktop, 2);
        EXPECT_EQ(h.windows.asyncShows, burst.calls);
    }
    // A command sent while the panel looks at its queue runs after the switch.
    h.host.whilePeeking = [&] {
        h.host.whilePeeking = nullptr;
        toDesktop(0);
    };
    toDesktop(1);
    EXPECT_EQ(h.state().currentDesktop, 0);
}

// A program that does not answer costs one call's wait once; what it was asked is
// reported until it shows. A hide is never taken as done by time alone: a program that
// answers what it is sent but leaves its posted queue alone for seconds keeps its window
// on the desktop it is parked on, through refreshes of the desktop on screen, until the
// hide lands; and one that shows its window again itself keeps it there until it is
// shown by a switch, rather than have a late hide land on a window no list holds.
TEST_P(Awaited, APendingHideKeepsItsWindowParkedUntilTheWindowShowsIt) {
    const WindowHandle sleeper = program("sleeper", 0);
    const WindowHandle busy = program("busy", 30);
    const WindowHandle awake = program("awake", 30);
    h.create();
    h.windows.at(sleeper).hung = true;
    h.windows.at(sleeper).hungUnnoticed = true;
    h.windows.at(busy).postedHeldUntil = 6000;
    const std::uint64_t start = h.windows.clockMs();
    toDesktop(5);
    toDesktop(0);
    toDesktop(5);
    EXPECT_LT(h.windows.clockMs() - start, AwaitedWindows::CommandBudgetMs * 3 + 100u);
    for (WindowHandle w : {sleeper, busy}) {
        EXPECT_TRUE(h.windows.at(w).visible);
        EXPECT_FALSE(h.awaited.isVisible(w)) << "its hide is reported as asked";
    }
    h.windows.wake(sleeper);
    h.windows.programShow(sleeper, win::SwShowNa);  // its program shows it itself
    for (int i = 0; i < 8; ++i) {
        h.windows.elapse(AwaitedWindows::PendingLifeMs / 2);
        h.tick(TimerRefresh);
        EXPECT_EQ(h.app->desktops[5].count, 0) << "at " << h.windows.clockMs() << " ms";
        EXPECT_EQ(h.app->desktops[0].count, 3);
    }
    EXPECT_FALSE(h.windows.at(busy).visible) << "its hide has landed";
    EXPECT_FALSE(h.awaited.isVisible(sleeper));
    toDesktop(0);
    for (WindowHandle w : {sleeper, busy, awake}) EXPECT_TRUE(h.windows.at(w).visible);
    EXPECT_EQ(h.awaited.pendingCount(), 0u);
}

// The waits of one command share one budget, however many programs let it pass. A move
// that the spent budget left on its way is reported until a later one lands: then the
// later one's place stands.
TEST_P(Awaited, ACommandsWaitsShareOneBudgetAndTheLastMoveStands) {
    const WindowHandle slow = program("slow", SlowAnswerMs);
    for (int i = 0; i < 5; ++i) {
        const WindowHandle w = program("sleeper " + std::to_string(i), 0);
        h.windows.at(w).hung = h.windows.at(w).hungUnnoticed = true;
    }
    h.create();
    const std::uint64_t start = h.windows.clockMs();
    toDesktop(5);
    EXPECT_LE(h.windows.clockMs() - start, AwaitedWindows::CommandBudgetMs + 2 * SlowAnswerMs);
    toDesktop(0);

    const Rect first{10, 10, 300, 200}, second{40, 50, 330, 240};
    h.awaited.beginCommand();
    h.awaited.move(slow, 0, 0, 200, 100, true);  // the budget's first wait
    h.windows.elapse(AwaitedWindows::CommandBudgetMs);
    h.awaited.move(slow, first.left, first.top, first.width(), first.height(), true);
    EXPECT_EQ(h.awaited.rect(slow), first) << "on its way";
    h.awaited.beginCommand();
    h.awaited.move(slow, second.left, second.top, second.width(), second.height(), true);
    EXPECT_EQ(h.windows.rect(slow), second);
    EXPECT_EQ(h.awaited.rect(slow), second);
}

// A session end asked while a switch waits on a program's hide shows that window too: its
// hide, on its way, must not land after the question's shows.
TEST_P(Awaited, TheSessionEndAskedDuringAHideShowsThatWindowToo) {
    const WindowHandle slow = program("slow", SlowAnswerMs);
    h.create();
    bool asked = false;
    h.windows.duringWait = [&] {
        if (!std::exchange(asked, true)) h.send(win::WmQueryEndSession);
    };
    toDesktop(1);
    h.windows.duringWait = nullptr;
    ASSERT_TRUE(asked);
    h.windows.settle();
    EXPECT_TRUE(h.windows.at(slow).visible);
}

// Hiding every shown window leaves a parked one alone: a hide posted to it, which a busy
// program takes up only later, would land after its program has shown it again and the
// desktop on screen has taken it, hidden in no list.
TEST_P(Awaited, HidingEveryShownWindowPostsNoHideToAParkedOne) {
    const WindowHandle parked = program("parked", 0);
    h.create();
    toDesktop(1);
    h.windows.at(parked).postedHeldUntil = h.windows.clockMs() + 1000;
    h.host.answers = {win::IdYes};
    h.send(win::WmCommand, CmdHideAllWindows);
    h.windows.programShow(parked, win::SwShowNormal);
    h.tick(TimerRefresh);
    h.windows.settle();
    EXPECT_TRUE(h.windows.at(parked).visible);
    EXPECT_TRUE(h.app->desktops[1].findEntry(parked));
}

// A drop that cannot be carried out puts the window back, though a maximised window's
// place cannot be read back while its moves are on their way (its program is busy): it is
// not left to be shown maximised in another desktop's tile, off the screen.
TEST_P(Awaited, ACancelledDropPutsAMaximisedWindowBackOnTheScreen) {
    const WindowHandle w = program("maximised", SlowAnswerMs);
    h.windows.programShow(w, win::SwShowMaximized);
    const Rect place = h.windows.rect(w);
    h.create();
    h.windows.at(w).postedHeldUntil = h.windows.clockMs() + 1000;
    h.send(win::WmQueryEndSession);  // no drop is carried out meanwhile
    h.pointAt(20, 20);
    h.send(win::WmLButtonDown);
    h.pointAt(120, 20);
    h.tick(TimerWindowDrag);
    h.send(win::WmLButtonUp);
    h.windows.settle();
    EXPECT_EQ(h.windows.rect(w), place);
}

INSTANTIATE_TEST_SUITE_P(BothOrders, Awaited, BothMessageOrders, orderName);

}  // namespace
}  // namespace skelvo::testing
