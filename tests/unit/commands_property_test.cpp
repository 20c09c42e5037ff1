// Seeded random sequences through the whole panel: right releases anywhere with any popup
// choice, commands of any id, answers Yes or No, refreshes, and windows that their
// programs open and close under the panel. After every step the lists must be sound and
// every hidden window must be held by a desktop or by the hide-all record; after the exit
// teardown no window may be hidden. The sanitized build checks every array index.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "app/ids.h"
#include "tests/fakes/panel_harness.h"

namespace skelvo::testing {
namespace {

constexpr int Sequences = 300;

class CommandSequence {
public:
    explicit CommandSequence(std::uint32_t seed) : rng_(seed) {
        h_.windows.addAtBottom(captioned("shell"));
        for (int i = 0; i < 4; ++i) open();
        h_.create();
    }

    std::optional<std::string> play(int steps) {
        for (int step = 0; step < steps; ++step) {
            const std::string what = act();
            if (auto broken = check())
                return "step " + std::to_string(step) + " (" + what + "): " + *broken;
        }
        h_.app.reset();
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

    std::optional<std::string> check() {
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
        for (WindowHandle w : h_.windows.zOrder())
            if (!h_.windows.isVisible(w) && !held(w))
                return h_.windows.at(w).title + " is hidden and held by nothing";
        return std::nullopt;
    }

    std::mt19937 rng_;
    PanelHarness h_;
    int opened_ = 0;
};

TEST(CommandProperties, RandomMenusAndCommandsNeverLoseAWindow) {
    int failures = 0;
    for (int i = 0; i < Sequences && failures < 3; ++i) {
        const std::uint32_t seed = 0xC0FFEEu + static_cast<std::uint32_t>(i);
        CommandSequence run(seed);
        if (auto broken = run.play(60)) {
            ADD_FAILURE() << "seed " << seed << ": " << *broken;
            ++failures;
        }
    }
}

}  // namespace
}  // namespace skelvo::testing
