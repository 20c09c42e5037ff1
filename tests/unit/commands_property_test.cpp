// Seeded random sequences through the whole panel: right releases anywhere with any popup
// choice, commands of any id, answers Yes or No, refreshes, and windows that their
// programs open and close under the panel. The programs answer at once, slowly or not at
// all, under both message orders. After every step the lists must be sound, no window may
// sit in two lists, and every window hidden, as the calls made ask, must be held by a
// desktop or by the hide-all record; after a refresh no other desktop lists a window on
// screen; after the exit teardown no window may be hidden. The sanitized build checks
// every array index.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>

#include "app/ids.h"
#include "tests/fakes/panel_harness.h"
#include "tests/unit/message_orders.h"

namespace skelvo::testing {
namespace {

constexpr int Sequences = 300;

class CommandSequence {
public:
    CommandSequence(std::uint32_t seed, MessageOrder order) : rng_(seed) {
        h_.windows.order = order;
        h_.windows.addAtBottom(captioned("shell"));
        for (int i = 0; i < 4; ++i) open();
        h_.create();
    }

    std::optional<std::string> play(int steps) {
        for (int step = 0; step < steps; ++step) {
            const std::string what = act();
            // Time passes: busy programs get on; now and then a silent one wakes.
            h_.windows.elapse(static_cast<std::uint64_t>(pick(60)));
            if (pick(8) == 0) {
                for (WindowHandle w : h_.windows.zOrder())
                    if (h_.windows.at(w).hung && pick(3) == 0) h_.windows.wake(w);
            }
            if (auto broken =
                    check(what == "refresh" && h_.state().functionMode == FunctionDesktop))
                return "step " + std::to_string(step) + " (" + what + "): " + *broken;
        }
        h_.app.reset();
        for (WindowHandle w : h_.windows.zOrder()) h_.windows.wake(w);
        h_.windows.settle();
        for (WindowHandle w : h_.windows.zOrder())  // the panel window goes with its process
            if (w != h_.panelWindow && !h_.windows.isVisible(w))
                return "after teardown " + h_.windows.at(w).title + " is hidden";
        return std::nullopt;
    }

private:
    int pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint32_t>(n)); }

    void open() {
        FakeWindow w = captioned("w" + std::to_string(opened_++));
        const int x = pick(1100) - 50, y = pick(800) - 30;
        w.rect = Rect{x, y, x + 80 + pick(500), y + 60 + pick(400)};
        w.minimised = pick(8) == 0;
        if (pick(6) == 0) w.style &= ~(pick(2) ? win::WsMaximizeBox : win::WsMinimizeBox);
        const unsigned speeds[] = {0, 0, 20, 60};
        w.answerMs = speeds[pick(4)];
        if (pick(15) == 0) w.hung = w.hungUnnoticed = true;
        h_.windows.add(w);
    }

    std::uintptr_t anyCommand() {
        static constexpr std::uintptr_t odd[] = {
            0, 40009, 40016, 40070, 65535, 0x10000 | 40008, std::uintptr_t{0xFFFF0000} | 40027};
        if (pick(5) == 0) return odd[pick(7)];
        return 40001 + pick(69);
    }

    std::string act() {
        h_.host.answers = {pick(2) ? win::IdYes : win::IdNo};
        const int roll = pick(100);
        if (roll < 35) {
            const int x = pick(240) - 2, y = pick(160) - 2;
            // Quitting would end the sequence: its command is left to the teardown.
            std::uintptr_t command = anyCommand();
            if (command == CmdQuit || pick(4) == 0) command = 0;
            if (pick(10) == 0) h_.send(win::WmRButtonUp);  // without a press: ignored
            h_.rightClick(x, y, static_cast<unsigned>(command));
            return "right click at " + std::to_string(x) + "," + std::to_string(y) + " choosing " +
                   std::to_string(command);
        }
        if (roll < 60) {
            const std::uintptr_t command = anyCommand();
            if (command != CmdQuit) h_.send(win::WmCommand, command);
            return "command " + std::to_string(command);
        }
        if (roll < 75) {
            h_.tick(TimerRefresh);
            return "refresh";
        }
        if (roll < 88) {
            open();
            return "open";
        }
        std::vector<WindowHandle> others;
        for (WindowHandle w : h_.windows.zOrder())
            if (w != h_.panelWindow) others.push_back(w);
        if (others.size() > 1)
            h_.windows.destroy(
                others[static_cast<std::size_t>(pick(static_cast<int>(others.size())))]);
        return "close";
    }

    bool held(WindowHandle w) {
        if (w == h_.panelWindow) return h_.state().inTray;  // hidden only behind its icon
        const auto& hidden = h_.app->hidden.windows();
        if (std::find(hidden.begin(), hidden.end(), w) != hidden.end()) return true;
        for (const VirtualDesktop& d : h_.app->desktops)
            if (d.findEntry(w)) return true;
        return false;
    }

    // captured: the desktop on screen was just refreshed, so every window another desktop
    // lists is hidden, as the calls made ask, but for the bottom-most window, which a
    // capture never examines, and those above a full capture's fifteenth.
    std::optional<std::string> check(bool captured) {
        const PanelState& st = h_.state();
        if (st.currentDesktop < 0 || st.currentDesktop >= DesktopCount)
            return std::string("current desktop out of range");
        if (st.pointerState != PointerIdle) return std::string("gesture left open");
        for (int k = 0; k < DesktopCount; ++k) {
            const VirtualDesktop& d = h_.app->desktops[k];
            if (d.index != k || d.count < 0 || d.count > EntryCapacity)
                return "desktop " + std::to_string(k) + " broken";
            for (int i = 0; i < d.count; ++i)
                if (d.entries[i].captureIndex != i || d.entries[i].desktopIndex != k)
                    return "desktop " + std::to_string(k) + " entry " + std::to_string(i) +
                           " broken";
        }
        std::map<WindowHandle, int> lists;
        for (int k = 0; k < DesktopCount; ++k) {
            const VirtualDesktop& d = h_.app->desktops[k];
            for (int i = 0; i < d.count; ++i) {
                const WindowHandle w = d.entries[i].window;
                if (++lists[w] > 1) return h_.windows.at(w).title + " sits in two lists";
                if (captured && k != st.currentDesktop && h_.awaited.isVisible(w) &&
                    w != h_.windows.zOrder().back() &&
                    h_.app->desktops[st.currentDesktop].count < CaptureLimit)
                    return "desktop " + std::to_string(k) + " lists " + h_.windows.at(w).title +
                           ", which is on screen";
            }
        }
        for (WindowHandle w : h_.windows.zOrder())
            if (!h_.awaited.isVisible(w) && !held(w))
                return h_.windows.at(w).title + " is hidden and held by nothing";
        return std::nullopt;
    }

    std::mt19937 rng_;
    PanelHarness h_;
    int opened_ = 0;
};

class CommandProperties : public ::testing::TestWithParam<MessageOrder> {};

TEST_P(CommandProperties, RandomMenusAndCommandsNeverLoseAWindow) {
    int failures = 0;
    for (int i = 0; i < Sequences && failures < 3; ++i) {
        const std::uint32_t seed = 0xC0FFEEu + static_cast<std::uint32_t>(i);
        CommandSequence run(seed, GetParam());
        if (auto broken = run.play(60)) {
            ADD_FAILURE() << "seed " << seed << ": " << *broken;
            ++failures;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothOrders, CommandProperties, BothMessageOrders, orderName);

}  // namespace
}  // namespace skelvo::testing
