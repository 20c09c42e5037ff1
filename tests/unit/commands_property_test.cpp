// Seeded random sequences through the whole panel, journalled as the program runs it:
// right releases anywhere with any popup choice, commands of any id, switches by command
// and by key and bursts of them, sends by key, drops on the map, refreshes, session ends
// asked, cancelled or carried out (the question may arrive inside a switch), and programs
// that open and close windows and dialogs (modal or not), maximise, minimise, hide and
// show them on their own. The programs answer at once, slowly, not at all, or only what
// they are sent, under both message orders. Every sequence ends in a quit, a session end,
// a crash or a kill (either may come while a switch waits on a program) and the next
// start's replay.
// After every step the lists must be sound, no window may be held by two desktops, every
// window hidden, as the calls made ask, must be held by a desktop or by the hide-all
// record unless its own program hid it, and none may be off the screen; after a refresh
// no other desktop holds a window on screen; while a session end is asked no window that
// the panel hid stays hidden. After the end every window the panel hid is shown, on the
// screen, and no journal is left for the next start but a kill's. The sanitized build
// checks every array index.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/hotkey_table.h"
#include "app/ids.h"
#include "app/window_guard.h"
#include "tests/fakes/fake_process_system.h"
#include "tests/fakes/panel_harness.h"
#include "tests/unit/message_orders.h"

namespace skelvo::testing {
namespace {

constexpr int Sequences = 1000;
constexpr int Steps = 60;
constexpr unsigned CtrlAlt = ModControl | ModAlt;

// How often each kind of step and ending ran, over all sequences of one message order.
using Counts = std::map<std::string, int>;

// The windows as the panel's thread reaches them, journalled. Once stopped (the crash path
// has suspended the thread, or the process was killed) the calls it would still make never
// reach the system.
class StoppableWindows : public GuardedWindowSystem {
public:
    using GuardedWindowSystem::GuardedWindowSystem;
    bool stopped = false;

    bool show(WindowHandle w, int command) override {
        return stopped ? isVisible(w) : GuardedWindowSystem::show(w, command);
    }
    bool showAsync(WindowHandle w, int command) override {
        return stopped || GuardedWindowSystem::showAsync(w, command);
    }
    void move(WindowHandle w, int x, int y, int cx, int cy, bool repaint) override {
        if (!stopped) GuardedWindowSystem::move(w, x, y, cx, cy, repaint);
    }
    void moveAsync(WindowHandle w, int x, int y, int cx, int cy, bool repaint) override {
        if (!stopped) GuardedWindowSystem::moveAsync(w, x, y, cx, cy, repaint);
    }
    void minimise(WindowHandle w) override {
        if (!stopped) GuardedWindowSystem::minimise(w);
    }
    bool ping(WindowHandle w, unsigned ms) override {
        return !stopped && GuardedWindowSystem::ping(w, ms);
    }
};

class CommandSequence {
public:
    CommandSequence(std::uint32_t seed, MessageOrder order, Counts& counts)
        : rng_(seed), counts_(counts) {
        h_.windows.order = order;
        h_.windows.addAtBottom(captioned("shell"));
        for (int i = 0; i < 4; ++i) open();
        // As the program wires it: the journal sees every hide before the system does.
        guard_ = std::make_unique<WindowGuard>(h_.windows, h_.files, processes_);
        guarded_ = std::make_unique<StoppableWindows>(h_.windows, *guard_);
        awaited_ = std::make_unique<AwaitedWindows>(*guarded_);
        h_.panel = std::make_unique<Panel>(
            *h_.app, Services{*awaited_, h_.host, h_.graphics, h_.shell, h_.files, guard_.get(),
                              awaited_.get(), &h_.keyboard});
        guard_->attach(*h_.app);
        h_.create();
    }
    ~CommandSequence() {
        h_.panel.reset();
        h_.app.reset();
    }

    std::optional<std::string> play(int steps) {
        for (int step = 0; step < steps; ++step) {
            const std::string what = act();
            ++counts_[what.substr(0, what.find(' '))];
            const std::string at = "step " + std::to_string(step) + " (" + what + "): ";
            if (ended_) return prefixed(at, finish());
            // Time passes: busy programs get on; now and then a silent one wakes.
            h_.windows.elapse(static_cast<std::uint64_t>(pick(60)));
            if (pick(8) == 0) {
                for (WindowHandle w : h_.windows.zOrder())
                    if (h_.windows.at(w).hung && pick(3) == 0) h_.windows.wake(w);
            }
            noteShows();
            if (auto broken =
                    check(what == "refresh" && h_.state().functionMode == FunctionDesktop))
                return at + *broken;
            if (pick(100) == 0) {
                ended_ = static_cast<Ending>(pick(3));
                if (ended_ != Ending::Quit) endInsideASwitch();
                return prefixed(at, finish());
            }
        }
        ended_ = static_cast<Ending>(pick(4));
        if (ended_ == Ending::Crash || ended_ == Ending::Kill) endInsideASwitch();
        return prefixed("at the end: ", finish());
    }

private:
    enum class Ending { Quit, Crash, Kill, SessionEnd };

    static std::optional<std::string> prefixed(const std::string& at,
                                               std::optional<std::string> broken) {
        if (broken) return at + *broken;
        return std::nullopt;
    }

    int pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint32_t>(n)); }
    template <typename T>
    T any(const std::vector<T>& v) {
        return v[static_cast<std::size_t>(pick(static_cast<int>(v.size())))];
    }
    const std::string& title(WindowHandle w) { return h_.windows.at(w).title; }

    // The other programs' windows, visible or hidden, but the shell at the bottom; running:
    // only those whose programs are free to act on them, neither hung nor busy.
    std::vector<WindowHandle> programWindows(int visibility = -1, bool running = false) {
        std::vector<WindowHandle> out;
        for (WindowHandle w : h_.windows.zOrder()) {
            const FakeWindow& f = h_.windows.at(w);
            if (w == h_.panelWindow || w == h_.windows.zOrder().back()) continue;
            if (running && (f.hung || f.postedHeldUntil > h_.windows.clockMs())) continue;
            if (visibility < 0 || f.visible == (visibility == 1)) out.push_back(w);
        }
        return out;
    }

    // The program answers what it is sent but leaves what is posted to it alone for a while:
    // it is in a SendMessage, a COM call or a filtered PeekMessage loop.
    void busy(FakeWindow& w) {
        w.postedHeldUntil = h_.windows.clockMs() + 100 + static_cast<std::uint64_t>(pick(3000));
    }

    void open() {
        FakeWindow w = captioned("w" + std::to_string(opened_++));
        const int x = pick(1000) - 50, y = pick(700) - 30;
        w.rect = Rect{x, y, x + 80 + pick(500), y + 60 + pick(400)};
        w.minimised = pick(8) == 0;
        w.maximised = pick(6) == 0;
        if (pick(6) == 0) w.style &= ~(pick(2) ? win::WsMaximizeBox : win::WsMinimizeBox);
        const unsigned speeds[] = {0, 0, 20, 60};
        w.answerMs = speeds[pick(4)];
        if (pick(15) == 0) w.hung = w.hungUnnoticed = true;
        if (pick(10) == 0) busy(w);
        w.elevated = pick(25) == 0;  // run as administrator: its hides are refused
        h_.windows.add(w);
    }

    // A dialog of any program's window, on that window's thread; a modal one disables it.
    void openDialog() {
        const auto owners = programWindows(-1, true);
        if (owners.empty()) return;
        const WindowHandle owner = any(owners);
        const FakeWindow& o = h_.windows.at(owner);
        FakeWindow d = captioned("d" + std::to_string(opened_++), Rect{150, 120, 450, 320});
        d.className = "#32770";
        d.style = win::WsPopup | win::WsCaption | win::WsSysMenu;
        d.owner = owner;
        d.thread = h_.windows.threadId(owner);
        d.answerMs = o.answerMs;
        d.hung = o.hung;
        d.hungUnnoticed = o.hungUnnoticed;
        d.postedHeldUntil = o.postedHeldUntil;
        const WindowHandle dialog = h_.windows.add(d);
        if (pick(3) == 0) {
            h_.windows.at(owner).enabled = false;
            modal_[dialog] = owner;
        }
    }

    void close(WindowHandle w) {
        h_.windows.destroy(w);
        for (auto it = modal_.begin(); it != modal_.end();) {
            if (h_.windows.isWindow(it->first)) {
                ++it;
                continue;
            }
            if (h_.windows.isWindow(it->second)) h_.windows.at(it->second).enabled = true;
            it = modal_.erase(it);
        }
    }

    std::uintptr_t anyCommand() {
        static constexpr std::uintptr_t odd[] = {
            0, 40009, 40016, 40070, 65535, 0x10000 | 40008, std::uintptr_t{0xFFFF0000} | 40027};
        if (pick(5) == 0) return odd[pick(7)];
        return 40001 + pick(69);
    }

    bool press(unsigned modifiers, unsigned key) {
        const auto id = h_.keyboard.press(modifiers, key);
        if (id) h_.send(win::WmHotKey, static_cast<std::uintptr_t>(*id));
        return id.has_value();
    }

    void switchOnce() {
        const int k = pick(12);
        switch (pick(3)) {
        case 0: h_.send(win::WmCommand, CmdDesktopFirst + static_cast<unsigned>(k)); break;
        case 1: press(CtrlAlt, VkF1 + static_cast<unsigned>(k)); break;
        default: press(CtrlAlt, VkLeft + static_cast<unsigned>(pick(4))); break;
        }
    }

    // Presses a window's rectangle in its cell, drags it over a cell and lets it go there.
    std::string drop() {
        const int source = pick(3) == 0 ? pick(DesktopCount) : h_.state().currentDesktop;
        const VirtualDesktop& d = h_.app->desktops[source];
        if (d.count == 0) return "drop-nothing";
        const Rect m = d.entries[pick(d.count)].mapRect;
        const int cellX = 2 + 50 * (source % 4), cellY = 2 + 40 * (source / 4);
        const int x = std::clamp((m.left + m.right) / 2, cellX, cellX + 48);
        const int y = std::clamp((m.top + m.bottom) / 2, cellY, cellY + 38);
        const int target = pick(DesktopCount);
        h_.pointAt(x, y);
        h_.send(win::WmLButtonDown);
        h_.pointAt(2 + 50 * (target % 4) + 1 + pick(47), 2 + 40 * (target / 4) + 1 + pick(37));
        h_.tick(TimerWindowDrag);
        h_.send(win::WmLButtonUp);
        return "drop from " + std::to_string(source) + " to " + std::to_string(target);
    }

    std::string act() {
        h_.host.answers = {pick(2) ? win::IdYes : win::IdNo};
        if (queried_ && pick(4) == 0) {
            const bool ending = pick(3) == 0;
            h_.send(win::WmEndSession, ending ? 1 : 0);
            queried_ = false;
            if (ending) ended_ = Ending::SessionEnd;
            return ending ? "session-ended" : "session-continues";
        }
        const int roll = pick(100);
        if (roll < 18) {
            const int x = pick(240) - 2, y = pick(160) - 2;
            // Quitting would end the sequence: its command is left to the ending.
            std::uintptr_t command = anyCommand();
            if (command == CmdQuit || pick(4) == 0) command = 0;
            if (pick(10) == 0) h_.send(win::WmRButtonUp);  // without a press: ignored
            h_.rightClick(x, y, static_cast<unsigned>(command));
            return "right-click at " + std::to_string(x) + "," + std::to_string(y) + " choosing " +
                   std::to_string(command);
        }
        if (roll < 30) {
            const std::uintptr_t command = anyCommand();
            if (command != CmdQuit) h_.send(win::WmCommand, command);
            return "command " + std::to_string(command);
        }
        if (roll < 40) {
            switchOnce();
            return "switch";
        }
        if (roll < 44) {
            // Commands waiting in the panel's queue behind one another, now and then
            // another message among them.
            for (int i = 1 + pick(5); i > 0; --i) {
                const unsigned id = pick(6) == 0 ? CmdSwitchFunction : CmdDesktopFirst + pick(12);
                h_.host.waiting.push_back(WaitingMessage{win::WmCommand, id});
            }
            while (!h_.host.waiting.empty()) {
                const WaitingMessage next = h_.host.waiting.front();
                h_.host.waiting.pop_front();
                h_.send(next.message, next.wParam);
            }
            return "burst";
        }
        if (roll < 50) {
            const auto shown = programWindows(1);
            if (!shown.empty()) h_.windows.activate(any(shown));  // the user clicks it
            const int k = pick(12);
            press(CtrlAlt | ModShift, VkF1 + static_cast<unsigned>(k));
            return "send to " + std::to_string(k);
        }
        if (roll < 56) return drop();
        if (roll < 66) {
            h_.tick(TimerRefresh);
            return "refresh";
        }
        if (roll < 71) {
            open();
            return "open";
        }
        if (roll < 75) {
            openDialog();
            return "dialog";
        }
        if (roll < 79) {
            const auto all = programWindows();
            if (!all.empty()) close(any(all));
            return "close";
        }
        // A program shows its window again (from its tray icon, a second start, a chat),
        // hides it, or sizes it.
        static const struct {
            int below;
            int shown;  // what programWindows picks from: 0 hidden, 1 shown
            const char* what;
            std::vector<int> commands;
        } own[] = {
            {83, 0, "program-show",
             {win::SwShow, win::SwShowNa, win::SwRestore, win::SwShowMaximized}},
            {87, 1, "program-hide", {win::SwHide}},
            {90, 1, "program-size", {win::SwShowMaximized, win::SwRestore, win::SwMinimize}},
        };
        for (const auto& o : own) {
            if (roll >= o.below) continue;
            const auto candidates = programWindows(o.shown, true);
            if (candidates.empty()) return std::string(o.what) + " nothing";
            const WindowHandle w = any(candidates);
            const int n = static_cast<int>(o.commands.size());
            const int command = o.commands[n > 1 ? pick(n) : 0];
            h_.windows.programShow(w, command);
            if (o.shown == 0) selfHidden_.erase(w);
            if (command == win::SwHide) selfHidden_.insert(w);
            return std::string(o.what) + " " + title(w);
        }
        if (roll < 93) {
            if (queried_) return "query-again";
            queried_ = true;
            if (pick(2) == 0) {
                h_.send(win::WmQueryEndSession);
                return "query";
            }
            // Sent to the panel while it waits on a program inside a switch.
            bool sent = false;
            h_.windows.duringWait = [&] {
                if (std::exchange(sent, true)) return;
                h_.send(win::WmQueryEndSession);
            };
            switchOnce();
            h_.windows.duringWait = nullptr;
            if (!sent) h_.send(win::WmQueryEndSession);
            return sent ? "query-inside-switch" : "query-after-switch";
        }
        if (roll < 96) {
            const auto all = programWindows();
            if (all.empty()) return "busy nothing";
            const WindowHandle w = any(all);
            busy(h_.windows.at(w));
            return "busy " + title(w);
        }
        const auto shown = programWindows(1);
        if (!shown.empty()) h_.windows.activate(any(shown));
        return "activate";
    }

    // A window the panel shows is the panel's to bring back from then on. (A hide of a
    // window hidden already changes nothing; a window must be shown before it can be hidden.)
    void noteShows() {
        const auto note = [this](const std::vector<std::pair<WindowHandle, int>>& calls,
                                 std::size_t& seen) {
            for (; seen < calls.size(); ++seen)
                if (calls[seen].second != win::SwHide) selfHidden_.erase(calls[seen].first);
        };
        note(h_.windows.shows, shown_);
        note(h_.windows.asyncShows, asyncShown_);
    }

    // Which desktops hold the window, in their lists or beside them as owned.
    std::vector<int> holders(WindowHandle w) {
        std::vector<int> out;
        for (const VirtualDesktop& d : h_.app->desktops)
            if (d.findEntry(w) || d.owned.holds(w)) out.push_back(d.index);
        return out;
    }

    bool held(WindowHandle w) {
        const auto& hidden = h_.app->hidden.windows();
        return std::find(hidden.begin(), hidden.end(), w) != hidden.end() || !holders(w).empty();
    }

    bool offScreen(WindowHandle w) {
        if (!h_.windows.isVisible(w) || h_.windows.isIconic(w)) return false;
        const Rect r = h_.windows.rect(w), s = h_.windows.screen();
        return r.right <= s.left || r.left >= s.right || r.bottom <= s.top || r.top >= s.bottom;
    }

    // captured: the desktop on screen was just refreshed, so every window another desktop
    // holds is hidden, as the calls made ask, but for the bottom-most window, which a
    // capture never examines, and those above a full capture's fifteenth.
    std::optional<std::string> check(bool captured) {
        const PanelState& st = h_.state();
        if (st.currentDesktop < 0 || st.currentDesktop >= DesktopCount)
            return std::string("current desktop out of range");
        if (st.pointerState != PointerIdle) return std::string("gesture left open");
        for (int k = 0; k < DesktopCount; ++k) {
            const VirtualDesktop& d = h_.app->desktops[k];
            if (d.index != k || d.count < 0 || d.count > EntryCapacity || d.owned.count < 0 ||
                d.owned.count > OwnedCapacity)
                return "desktop " + std::to_string(k) + " broken";
            for (int i = 0; i < d.count; ++i)
                if (d.entries[i].captureIndex != i || d.entries[i].desktopIndex != k)
                    return "desktop " + std::to_string(k) + " entry " + std::to_string(i) +
                           " broken";
        }
        const bool full = h_.app->desktops[st.currentDesktop].count >= CaptureLimit;
        for (WindowHandle w : h_.windows.zOrder()) {
            const std::vector<int> by = holders(w);
            if (by.size() > 1)
                return title(w) + " is held by desktops " + std::to_string(by[0]) + " and " +
                       std::to_string(by[1]);
            const bool visible = awaited_->isVisible(w);
            if (captured && !queried_ && visible && !by.empty() && by[0] != st.currentDesktop &&
                w != h_.windows.zOrder().back() && !full)
                return "desktop " + std::to_string(by[0]) + " holds " + title(w) +
                       ", which is on screen";
            if (w == h_.panelWindow) continue;
            if (!visible && selfHidden_.count(w) == 0) {
                // While asked, on screen, whatever a hide whose wait the question cut short
                // left noted.
                if (queried_ && !h_.windows.isVisible(w))
                    return title(w) + " is hidden while a session end is asked";
                if (!queried_ && !held(w)) return title(w) + " is hidden and held by nothing";
            }
            if (offScreen(w)) return title(w) + " is off the screen";
        }
        return std::nullopt;
    }

    // A crash or a kill while a switch waits on a program: the crash path runs on another
    // thread and suspends the panel's, or the process is killed, in the middle of the switch.
    void endInsideASwitch() {
        std::optional<std::map<std::string, std::string>> disk;
        h_.windows.duringWait = [&] {
            if (insideSwitch_) return;
            insideSwitch_ = true;
            if (*ended_ == Ending::Crash) guard_->rescue();
            if (*ended_ == Ending::Kill) disk = h_.files.files;
            guarded_->stopped = true;
        };
        switchOnce();
        h_.windows.duringWait = nullptr;
        if (disk) h_.files.files = *disk;  // no write after the kill reaches the disk
    }

    // The process ends; afterwards every window the panel hid must be back.
    std::optional<std::string> finish() {
        const char* names[] = {"quit", "crash", "kill", "session end"};
        const std::string how =
            names[static_cast<int>(*ended_)] + std::string(insideSwitch_ ? " in a switch" : "");
        ++counts_["ending:" + how];
        switch (*ended_) {
        case Ending::Quit:
            h_.host.answers = {win::IdYes};
            h_.send(win::WmClose);
            h_.panel.reset();
            h_.app.reset();
            break;
        case Ending::SessionEnd:
            if (h_.host.destroyed.empty()) {  // asked and ended now, if not by a step
                if (!queried_) h_.send(win::WmQueryEndSession);
                h_.send(win::WmEndSession, 1);
            }
            h_.panel.reset();
            h_.app.reset();
            break;
        case Ending::Crash:
            if (!insideSwitch_) guard_->rescue();
            abandon();
            break;
        case Ending::Kill:
            abandon();
            h_.windows.elapse(static_cast<std::uint64_t>(pick(300)));
            break;
        }
        // A clean exit removes the journal; a killed process's stays for the next start.
        if (*ended_ != Ending::Kill) guard_.reset();
        processes_.current = 101;
        processes_.running = {{101, 1}};
        WindowGuard next(h_.windows, h_.files, processes_);
        const int replayed = next.replayLeftovers();
        guard_.reset();
        for (WindowHandle w : h_.windows.zOrder()) h_.windows.wake(w);
        h_.windows.settle();
        noteShows();
        if (*ended_ != Ending::Kill && replayed != 0)
            return how + " left a journal that showed " + std::to_string(replayed);
        for (WindowHandle w : h_.windows.zOrder()) {
            if (w == h_.panelWindow) continue;  // the panel window goes with its process
            if (!h_.windows.isVisible(w) && selfHidden_.count(w) == 0)
                return "after the " + how + " " + title(w) + " is hidden";
            if (offScreen(w)) return "after the " + how + " " + title(w) + " is off the screen";
        }
        return std::nullopt;
    }

    // A crash or a kill: the process is gone, and no destructor of its shows anything.
    void abandon() {
        for (VirtualDesktop& d : h_.app->desktops) {
            d.reset(gone_, d.index);
            d.owned.clear();
        }
        h_.app->hidden.bind(gone_);
        h_.panel.reset();
        h_.app.reset();
        guarded_.reset();
        awaited_.reset();
    }

    std::mt19937 rng_;
    Counts& counts_;
    PanelHarness h_;
    FakeProcessSystem processes_;
    std::unique_ptr<WindowGuard> guard_;
    std::unique_ptr<StoppableWindows> guarded_;
    std::unique_ptr<AwaitedWindows> awaited_;
    FakeWindowSystem gone_;  // what a dead process's teardown would reach: nothing
    int opened_ = 0;
    bool queried_ = false;
    std::optional<Ending> ended_;
    bool insideSwitch_ = false;  // the crash or the kill came while a switch waited
    std::map<WindowHandle, WindowHandle> modal_;  // open modal dialog -> its disabled owner
    std::set<WindowHandle> selfHidden_;           // hidden by their programs, not by the panel
    std::size_t shown_ = 0;
    std::size_t asyncShown_ = 0;
};

class CommandProperties : public ::testing::TestWithParam<MessageOrder> {};

TEST_P(CommandProperties, RandomSequencesNeverLoseAWindowWhateverEndsThem) {
    Counts counts;
    int broken = 0;
    for (int i = 0; i < Sequences; ++i) {
        const std::uint32_t seed = 0xC0FFEEu + static_cast<std::uint32_t>(i);
        CommandSequence run(seed, GetParam(), counts);
        if (auto failure = run.play(Steps)) {
            if (++broken <= 3) ADD_FAILURE() << "seed " << seed << ": " << *failure;
        }
    }
    EXPECT_EQ(broken, 0) << "sequences that lost or misplaced a window";
    std::string summary;
    for (const auto& [what, n] : counts) summary += " " + what + "=" + std::to_string(n);
    std::printf("%d sequences:%s\n", Sequences, summary.c_str());
}

INSTANTIATE_TEST_SUITE_P(BothOrders, CommandProperties, BothMessageOrders, orderName);

}  // namespace
}  // namespace skelvo::testing
