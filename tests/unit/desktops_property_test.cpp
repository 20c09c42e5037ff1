// Seeded random sequences on the simulated desktop: switches, drops between any cells,
// refreshes, and windows that their own programs open, close, minimise, maximise,
// restore, restack and show again while parked, each sequence ending with the
// process-exit teardown. The programs answer at once, slowly or not at all, under both
// message orders, and the desktops call them through the awaited calls. After every step
// the lists must be sound, no window may sit in two lists and no hidden window may lack
// one; after each capture every window another desktop lists is hidden; after the
// teardown no window may be left hidden. Stale entries carry a handle never to be used.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "desktops/awaited_windows.h"
#include "desktops/switching.h"
#include "tests/fakes/fake_window_system.h"
#include "tests/unit/message_orders.h"

namespace skelvo::testing {
namespace {

constexpr std::uint32_t BaseSeed = 0x5EC0DE;
constexpr int Sequences = 1000;
constexpr WindowHandle Stale = 0xBAD000;
constexpr int FunctionDesktopMode = 17;

struct Stats {
    int steps = 0;
    int switches = 0;
    int moves = 0;
    int ownDrops = 0;
    int refusedFull = 0;
    int unlistedDrops = 0;
    int fullestList = 0;
    int hiddenAtEnd = 0;
};

// The observable state: every valid list and every window.
struct Snapshot {
    struct Window {
        bool alive, visible, iconic, zoomed;
        Rect rect;
        friend bool operator==(const Window&, const Window&) = default;
    };
    struct Entry {
        WindowHandle window;
        Rect windowRect, mapRect;
        int showState, captureIndex, desktopIndex;
        friend bool operator==(const Entry&, const Entry&) = default;
    };
    std::vector<std::vector<Entry>> lists;
    std::map<WindowHandle, Window> windows;
    std::vector<WindowHandle> z;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

class Sequence {
public:
    Sequence(std::uint32_t seed, Stats& stats, MessageOrder order)
        : rng_(seed), stats_(stats) {
        ws_.order = order;
        const Rect screens[] = {
            {0, 0, 1024, 768}, {0, 0, 1366, 768}, {0, 0, 1920, 1080}, {0, 0, 40, 30}};
        screen_ = screens[pick(4)];
        ws_.setScreen(screen_);
        ws_.watchedHandle = Stale;
        // One sequence in eight piles its drops onto one desktop, to fill it.
        // It stays on desktop 0: a visit to the favourite would re-capture it.
        if (pick(8) == 0) favourite_ = 1 + pick(DesktopCount - 1);
        steps_ = favourite_ ? 260 : 50 + pick(30);
        ws_.add(captioned("bottom-most"));
        const int initial = 3 + pick(6);
        for (int i = 0; i < initial; ++i) open();
        desktops_ = std::make_unique<DesktopArray>();
        for (int k = 0; k < DesktopCount; ++k) (*desktops_)[k].reset(aw_, k);
        (*desktops_)[0].capture();
    }

    // Runs the sequence; returns the first broken rule, or nothing.
    std::optional<std::string> play() {
        for (int step = 0; step < steps_; ++step) {
            poisonStaleEntries();
            // A budget runs on over many steps and is spent, as a long command spends it.
            if (pick(20) == 0) aw_.beginCommand();
            const std::string what = act();
            ++stats_.steps;
            // Time passes: busy programs get on; now and then a silent one wakes.
            ws_.elapse(static_cast<std::uint64_t>(pick(60)));
            if (pick(8) == 0) {
                for (WindowHandle w : ws_.zOrder())
                    if (ws_.at(w).hung && pick(3) == 0) ws_.wake(w);
            }
            captured_ = what == "refresh" || what.rfind("switched", 0) == 0;
            if (auto broken = check())
                return "step " + std::to_string(step) + " (" + what + "): " + *broken;
        }
        poisonStaleEntries();
        desktops_.reset();  // the teardown at process exit, desktops 11 down to 0
        for (WindowHandle w : ws_.zOrder()) ws_.wake(w);
        ws_.settle();
        if (ws_.watchedCalls != 0) return std::string("teardown used a stale entry");
        for (WindowHandle w : ws_.zOrder()) {
            if (!ws_.isVisible(w)) {
                ++stats_.hiddenAtEnd;
                return "after teardown " + ws_.at(w).title + " is still hidden";
            }
        }
        return std::nullopt;
    }

private:
    int pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint32_t>(n)); }
    VirtualDesktop& desktop(int k) { return (*desktops_)[k]; }

    FakeWindow captioned(const std::string& title) {
        FakeWindow w;
        w.title = title;
        const int x = pick(std::max(1, screen_.right)) - 50;
        const int y = pick(std::max(1, screen_.bottom)) - 20;
        w.rect = Rect{x, y, x + 100 + pick(600), y + 80 + pick(400)};
        return w;
    }

    std::vector<WindowHandle> visibleWindows() {
        std::vector<WindowHandle> out;
        for (WindowHandle w : ws_.zOrder()) {
            if (ws_.isVisible(w) && ws_.at(w).title != "bottom-most") out.push_back(w);
        }
        return out;
    }

    void open() {
        FakeWindow w = captioned("w" + std::to_string(opened_++));
        switch (pick(10)) {
        case 0: w.minimised = true; break;
        case 1: w.maximised = true; break;
        case 2: w.style = win::WsPopup; break;  // not managed
        case 3: w.title.clear(); break;         // not managed
        default: break;
        }
        const unsigned speeds[] = {0, 0, 20, 60};
        w.answerMs = speeds[pick(4)];
        if (pick(15) == 0) w.hung = w.hungUnnoticed = true;
        ws_.add(w);
    }

    // Stale entries hold a handle the fake watches, and map rectangles that cover every
    // point, so that any read of one shows.
    void poisonStaleEntries() {
        for (int k = 0; k < DesktopCount; ++k) {
            for (int i = desktop(k).count; i < EntryCapacity; ++i) {
                WindowEntry& e = desktop(k).entries[i];
                e.window = Stale;
                e.style = win::WsOverlappedWindow;
                e.showState = win::SwShowNormal;
                e.mapRect = Rect{0, 0, MapRight, MapBottom};
                e.captureIndex = 0;
            }
        }
    }

    Snapshot snapshot() {
        Snapshot s;
        for (int k = 0; k < DesktopCount; ++k) {
            std::vector<Snapshot::Entry> list;
            for (int i = 0; i < desktop(k).count; ++i) {
                const WindowEntry& e = desktop(k).entries[i];
                list.push_back({e.window, e.windowRect, e.mapRect, e.showState, e.captureIndex,
                                e.desktopIndex});
            }
            s.lists.push_back(list);
        }
        for (WindowHandle w = 0x20000; w < 0x20000 + 4 * static_cast<WindowHandle>(opened_ + 1);
             w += 4) {
            const bool alive = ws_.isWindow(w);
            s.windows[w] = {alive, alive && ws_.isVisible(w), alive && ws_.isIconic(w),
                            alive && ws_.isZoomed(w), alive ? ws_.rect(w) : Rect{}};
        }
        s.z = ws_.zOrder();
        return s;
    }

    // One step, chosen at random; returns its description.
    std::string act() {
        const int roll = pick(100);
        if (favourite_ && roll < 40) return dropSomething();
        if (favourite_ && roll < 60) {
            refreshDesktop(*desktops_, current_);
            return "refresh";
        }
        if (favourite_ && roll < 80) {
            open();
            return "open";
        }
        if (roll < 22) return switchDesktop();
        if (roll < 47) return dropSomething();
        if (roll < 57) {
            refreshDesktop(*desktops_, current_);
            return "refresh";
        }
        if (roll < 69) {
            open();
            return "open";
        }
        const std::vector<WindowHandle> shown = visibleWindows();
        if (roll < 72) {
            // A parked window that its program shows again.
            for (int tries = 0; tries < 4; ++tries) {
                const VirtualDesktop& d = desktop(pick(DesktopCount));
                if (d.index == current_ || d.count == 0) continue;
                const WindowHandle w = d.entries[pick(d.count)].window;
                if (!ws_.isWindow(w) || ws_.at(w).hung || aw_.isVisible(w)) continue;
                ws_.programShow(w, win::SwShowNa);
                return "shown again";
            }
            return "nothing";
        }
        if (roll < 75) {
            // Closed by its program, shown or hidden.
            const std::vector<WindowHandle>& all = ws_.zOrder();
            if (all.size() > 1)
                ws_.destroy(all[static_cast<std::size_t>(pick(static_cast<int>(all.size() - 1)))]);
            return "close";
        }
        if (shown.empty()) return "nothing";
        const WindowHandle w =
            shown[static_cast<std::size_t>(pick(static_cast<int>(shown.size())))];
        if (roll < 81) {
            ws_.programShow(w, win::SwMinimize);
            return "minimise";
        }
        if (roll < 87) {
            ws_.programShow(w, win::SwShowMaximized);
            return "maximise";
        }
        if (roll < 91) {
            ws_.programShow(w, win::SwShowNormal);
            return "restore";
        }
        ws_.activate(w);
        return "restack";
    }

    std::string switchDesktop() {
        ++stats_.switches;
        const int cell = pick(14);  // 0 and 13 are outside the map
        const int old = current_;
        const int result = selectCell(cell, FunctionDesktopMode, current_, slot_, *desktops_);
        if (result != (cell >= 1 && cell <= 12 ? 1 : 0))
            return "switch returned " + std::to_string(result);
        // Only a switch to another desktop captures.
        return (current_ != old ? "switched to cell " : "switch to cell ") + std::to_string(cell);
    }

    int target() {
        if (favourite_ && pick(10) < 8) return *favourite_;
        return pick(DesktopCount);
    }

    std::string dropSomething() {
        const int source = pick(2) == 0 ? current_ : pick(DesktopCount);
        VirtualDesktop& from = desktop(source);
        const int to = target();
        if (from.count == 0 || pick(12) == 0) {
            // A window that the source may not list: any handle, even a closed one.
            const WindowHandle w = 0x20000 + 4 * static_cast<WindowHandle>(pick(opened_ + 1));
            const bool listed = from.findEntry(w).has_value();
            const Snapshot before = snapshot();
            moveWindowToDesktop(w, to + 1, source, current_, *desktops_);
            if (!listed) {
                ++stats_.unlistedDrops;
                if (!(snapshot() == before))
                    return "a drop of an unlisted window changed something";
            }
            return "drop of any window";
        }
        // The drag: the window follows the pointer across the virtual screen, and its
        // source entry with it.
        WindowEntry& e = from.entries[pick(from.count)];
        const WindowHandle w = e.window;
        const Rect origin = ws_.rect(w);
        const int x = pick(4 * std::max(1, screen_.right)) - screen_.right / 2;
        const int y = pick(3 * std::max(1, screen_.bottom)) - screen_.bottom / 2;
        ws_.move(w, x, y, e.windowRect.width(), e.windowRect.height(), true);
        e.windowRect = ws_.rect(w);
        e.updateMapRect(ws_);
        if (pick(10) == 0) refreshDesktop(*desktops_, current_);  // a refresh during the drag

        const bool listed = from.findEntry(w).has_value();
        const int position = listed ? position_of(from, w) : -1;
        const int sourceCount = from.count;
        const int targetCount = desktop(to).count;
        const bool full = to != source && targetCount >= EntryCapacity;
        Snapshot before = snapshot();
        if (moveWindowToDesktop(w, to + 1, source, current_, *desktops_, origin) != 1)
            return "drop did not return 1";
        if (!listed || full) {
            if (full) ++stats_.refusedFull;
            if (!listed) ++stats_.unlistedDrops;
            // Every list and every other window stays; the window goes back where it was.
            Snapshot after = snapshot();
            if (ws_.isWindow(w) && ws_.rect(w) != origin)
                return "a refused window was not put back";
            for (auto* s : {&before, &after}) {
                s->windows.erase(w);
                for (auto& list : s->lists)
                    for (auto& entry : list)
                        if (entry.window == w) entry.windowRect = entry.mapRect = Rect{};
            }
            if (!(after == before)) return "a refused drop changed something";
            return "refused drop";
        }
        ++stats_.moves;
        if (to == source) {
            ++stats_.ownDrops;
            if (from.count != sourceCount) return "an own drop changed the count";
            if (from.entries[position].window != w) return "an own drop moved the window's place";
        } else {
            if (desktop(to).count != targetCount + 1 ||
                desktop(to).entries[targetCount].window != w) {
                return "the target did not append the window";
            }
            if (position_of(from, w) >= 0 || from.count != sourceCount - 1) {
                return "the source still lists the window";
            }
        }
        if (ws_.isWindow(w) && aw_.isVisible(w) != (to == current_)) {
            return "dropped window visible " + std::to_string(ws_.isVisible(w)) + " on desktop " +
                   std::to_string(to) + " with " + std::to_string(current_) + " on screen";
        }
        return "drop from " + std::to_string(source) + " to " + std::to_string(to);
    }

    static int position_of(const VirtualDesktop& d, WindowHandle w) {
        for (int i = 0; i < d.count; ++i) {
            if (d.entries[i].window == w) return i;
        }
        return -1;
    }

    std::optional<std::string> check() {
        if (ws_.watchedCalls != 0) return std::string("a stale entry was used");
        for (int k = 0; k < DesktopCount; ++k) {
            const VirtualDesktop& d = desktop(k);
            if (d.count < 0 || d.count > EntryCapacity) return "count " + std::to_string(d.count);
            // A write past the entries would land on these.
            if (d.index != k || d.originX != (k % 4) * screen_.right ||
                d.originY != screen_.bottom * (k / 4)) {
                return "desktop " + std::to_string(k) + " record overwritten";
            }
            stats_.fullestList = std::max(stats_.fullestList, d.count);
            for (int i = 0; i < d.count; ++i) {
                if (d.entries[i].captureIndex != i) return "captureIndex is not the position";
                if (d.entries[i].desktopIndex != k) return "desktopIndex is not the desktop";
                if (d.entries[i].window == Stale) return "a stale entry became valid";
            }
            for (int i = 0; i < d.count; ++i) {
                for (int j = i + 1; j < d.count; ++j) {
                    if (d.entries[i].window == d.entries[j].window)
                        return "a list holds a window twice";
                }
            }
        }
        // Points of the map: the window found there is one that desktop lists.
        for (int probe = 0; probe < 24; ++probe) {
            const VirtualDesktop& d = desktop(pick(DesktopCount));
            const WindowHandle hit = d.windowAtMapPoint(pick(MapRight + 1), pick(MapBottom + 1));
            if (hit != NullWindow && position_of(d, hit) < 0)
                return "windowAtMapPoint found an unlisted window";
        }
        if (ws_.watchedCalls != 0) return std::string("windowAtMapPoint used a stale entry");
        // No window in two lists; after a capture every window another desktop lists is
        // hidden, as the calls made ask.
        std::map<WindowHandle, int> lists;
        for (int k = 0; k < DesktopCount; ++k) {
            for (int i = 0; i < desktop(k).count; ++i) {
                const WindowHandle w = desktop(k).entries[i].window;
                if (++lists[w] > 1) return "a window sits in two lists";
                if (captured_ && k != current_ && ws_.isWindow(w) && aw_.isVisible(w))
                    return "desktop " + std::to_string(k) + " lists a window on screen";
            }
        }
        // No window hidden without a list that holds it.
        for (WindowHandle w : ws_.zOrder()) {
            if (aw_.isVisible(w)) continue;
            bool held = false;
            for (int k = 0; k < DesktopCount && !held; ++k) held = position_of(desktop(k), w) >= 0;
            if (!held) return ws_.at(w).title + " is hidden and no desktop lists it";
        }
        return std::nullopt;
    }

    std::mt19937 rng_;
    Stats& stats_;
    FakeWindowSystem ws_;
    AwaitedWindows aw_{ws_};
    std::unique_ptr<DesktopArray> desktops_;
    bool captured_ = false;
    Rect screen_;
    std::optional<int> favourite_;
    int steps_ = 0;
    int opened_ = 0;
    int current_ = 0;
    int slot_ = 0;
};

class DesktopProperties : public ::testing::TestWithParam<MessageOrder> {};

TEST_P(DesktopProperties, RandomSequencesKeepListsSoundAndLeaveNoWindowHidden) {
    Stats stats;
    int failures = 0;
    for (int i = 0; i < Sequences && failures < 3; ++i) {
        const std::uint32_t seed = BaseSeed + static_cast<std::uint32_t>(i);
        Sequence run(seed, stats, GetParam());
        if (auto broken = run.play()) {
            ADD_FAILURE() << "seed " << seed << ": " << *broken;
            ++failures;
        }
    }
    // The sequences did reach the cases they are meant to exercise.
    EXPECT_GE(stats.steps, Sequences * 50);
    EXPECT_GT(stats.moves, 1000);
    EXPECT_GT(stats.ownDrops, 50);
    EXPECT_GT(stats.refusedFull, 0) << "no drop met a full desktop";
    EXPECT_GT(stats.unlistedDrops, 50);
    EXPECT_EQ(stats.fullestList, EntryCapacity);
    std::printf(
        "%d steps, %d switches, %d moves (%d own), %d refused at a full desktop, %d of "
        "unlisted windows\n",
        stats.steps, stats.switches, stats.moves, stats.ownDrops, stats.refusedFull,
        stats.unlistedDrops);
    RecordProperty("steps", stats.steps);
    RecordProperty("moves", stats.moves);
    RecordProperty("refused_full", stats.refusedFull);
}

INSTANTIATE_TEST_SUITE_P(BothOrders, DesktopProperties, BothMessageOrders, orderName);

}  // namespace
}  // namespace skelvo::testing
