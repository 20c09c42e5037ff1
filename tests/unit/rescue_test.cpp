// Never losing a window: the crash path, the journal on disk after every write, the replay
// at start, hung programs and the end of the session, on the simulated desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/ids.h"
#include "app/window_guard.h"
#include "desktops/switching.h"
#include "tests/fakes/fake_process_system.h"
#include "tests/fakes/panel_harness.h"
#include "tests/unit/desktops_recording.h"

namespace skelvo::testing {
namespace {

// Before every hide the inner window system sees, the journal on disk must name the window:
// a kill at any moment then leaves no hidden window unnamed.
struct KillCheck : RecordingWindows {
    KillCheck(WindowSystem& inner, FakeFileStore& files) : RecordingWindows(inner), files(files) {}
    bool show(WindowHandle window, int command) override {
        if (command == win::SwHide && !path.empty()) {
            ++hides;
            const auto bytes = files.read(path);
            const auto journal = bytes ? parseJournal(*bytes) : std::nullopt;
            const bool named =
                journal && std::any_of(journal->records.begin(), journal->records.end(),
                                       [&](auto& r) { return r.window == window; });
            if (!named) ++unnamedHides;
        }
        return RecordingWindows::show(window, command);
    }
    FakeFileStore& files;
    std::string path;
    int hides = 0;
    int unnamedHides = 0;
};

struct Guarded : ::testing::Test {
    PanelHarness h;
    FakeProcessSystem processes;
    KillCheck check{h.windows, h.files};
    WindowGuard guard{check, h.files, processes};
    GuardedWindowSystem guarded{check, guard};

    void SetUp() override {
        h.panel = std::make_unique<Panel>(
            *h.app, Services{guarded, h.host, h.graphics, h.shell, h.files, &guard});
        guard.attach(*h.app);
        check.path = guard.journalFile();
        h.windows.addAtBottom(captioned("bottom"));
    }
    void TearDown() override {
        h.panel.reset();
        h.app.reset();  // its teardown still goes through the guard
    }
    void command(unsigned id) { h.send(win::WmCommand, id); }
    void toDesktop(int d) { command(CmdDesktopFirst + static_cast<unsigned>(d)); }
    std::set<WindowHandle> journalled() {
        std::set<WindowHandle> out;
        const auto bytes = h.files.read(guard.journalFile());
        const auto journal = bytes ? parseJournal(*bytes) : std::nullopt;
        if (journal) {
            for (const auto& r : journal->records) out.insert(r.window);
        }
        return out;
    }
    // Windows on desktops 0, 5 and 9 (one minimised, one maximised), desktop 9 on screen.
    std::vector<WindowHandle> parkOnThreeDesktops() {
        std::vector<WindowHandle> all;
        all.push_back(h.addWindow("zero a"));
        all.push_back(h.addWindow("zero min", Rect{10, 10, 300, 200}, true));
        h.create();
        toDesktop(5);
        all.push_back(h.addWindow("five a"));
        all.push_back(h.addWindow("five max", Rect{20, 20, 400, 300}, false, true));
        toDesktop(9);
        all.push_back(h.addWindow("nine a"));
        h.tick(TimerRefresh);
        return all;
    }
};

TEST_F(Guarded, CrashShowsEveryHeldWindowOnceWithoutWaiting) {
    const auto all = parkOnThreeDesktops();
    // After "show all hidden windows" a window can sit in two lists; it is shown once.
    VirtualDesktop& nine = h.app->desktops[9];
    nine.entries[nine.count++] = h.app->desktops[0].entries[0];
    // "Hide all shown windows" hides desktop 9's window, and the bottom one, into its list.
    command(CmdHideAllWindows);
    h.tick(TimerRefresh);
    ASSERT_FALSE(h.windows.at(all[4]).visible);
    h.windows.shows.clear();

    const int shown = guard.rescue();
    EXPECT_EQ(shown, 6) << "desktops 0 and 5 and the hide-all list";
    EXPECT_TRUE(h.windows.shows.empty()) << "only asynchronous calls";
    std::map<WindowHandle, int> times;
    for (auto& [w, command] : h.windows.asyncShows) ++times[w];
    for (WindowHandle w : all) {
        EXPECT_TRUE(h.windows.at(w).visible) << h.windows.at(w).title;
        EXPECT_LE(times[w], 1) << h.windows.at(w).title;
    }
    EXPECT_TRUE(h.windows.at(all[1]).minimised) << "each in its recorded state";
    EXPECT_TRUE(h.windows.at(all[3]).maximised);
}

TEST_F(Guarded, JournalNamesEveryHiddenWindowAfterAnyPrefixOfItsWrites) {
    const auto all = parkOnThreeDesktops();
    toDesktop(0);
    toDesktop(5);
    h.windows.destroy(all[4]);  // closed while parked: it leaves the journal at the capture
    toDesktop(9);
    toDesktop(0);
    EXPECT_GT(check.hides, 0);
    EXPECT_EQ(check.unnamedHides, 0);

    // Every write is a whole journal or a removal; every cut of one yields whole records.
    ASSERT_FALSE(h.files.writes.empty());
    for (const auto& write : h.files.writes) {
        ASSERT_TRUE(write.bytes);
        const auto whole = parseJournal(*write.bytes);
        ASSERT_TRUE(whole && whole->complete);
        for (std::size_t cut = 0; cut < write.bytes->size(); ++cut) {
            const auto part = parseJournal(std::string_view(*write.bytes).substr(0, cut));
            if (!part) continue;
            EXPECT_FALSE(part->complete) << cut;
            ASSERT_LE(part->records.size(), whole->records.size());
            EXPECT_TRUE(
                std::equal(part->records.begin(), part->records.end(), whole->records.begin()));
        }
    }
    // Switching among the same windows writes nothing more.
    const std::size_t writes = h.files.writes.size();
    toDesktop(5);
    toDesktop(0);
    EXPECT_EQ(h.files.writes.size(), writes);
    EXPECT_EQ(journalled(), (std::set<WindowHandle>{all[0], all[1], all[2], all[3]}));

    h.send(win::WmEndSession, 1);
    for (WindowHandle w : {all[0], all[1], all[2], all[3]}) EXPECT_TRUE(h.windows.at(w).visible);
    EXPECT_FALSE(h.files.read(guard.journalFile())) << "the session end removes the journal";
    ASSERT_FALSE(h.shell.notifications.empty());
    EXPECT_EQ(h.shell.notifications.back().operation, win::NimDelete);
}

TEST_F(Guarded, ReplayShowsOnlyTheSameHiddenWindowsOfInstancesThatEnded) {
    auto hidden = [&](const char* title, const char* cls = "FixtureWindow") {
        FakeWindow w = captioned(title);
        w.className = cls;
        w.visible = false;
        return h.windows.add(w);
    };
    const WindowHandle same = hidden("same");
    const WindowHandle gone = hidden("gone");
    const WindowHandle otherProcess = hidden("other process");
    const WindowHandle otherClass = hidden("other class");
    const WindowHandle visible = h.addWindow("visible");
    const WindowHandle runningOnes = hidden("of a running instance");
    Journal ended{55, 9, {}, true};
    for (WindowHandle w : {same, gone, otherProcess, otherClass, visible})
        ended.records.push_back(*describeWindow(h.windows, w, win::SwShowNormal));
    h.windows.destroy(gone);
    h.windows.at(otherProcess).processId = 4343;
    h.windows.at(otherClass).className = "Reused";
    Journal running{56, 3, {*describeWindow(h.windows, runningOnes, win::SwShowNa)}, true};
    processes.running[56] = 3;
    processes.running[55] = 8;  // id 55 reused by another program since
    const std::string folder = "C:\\Users\\u\\AppData\\Local\\Skelvo";
    h.files.replace(journalPath(folder, 55), formatJournal(ended));
    h.files.replace(journalPath(folder, 56), formatJournal(running));
    h.files.replace(folder + "\\journal-57.txt", "cut sho");

    EXPECT_EQ(guard.replayLeftovers(), 1);
    EXPECT_TRUE(h.windows.at(same).visible);
    EXPECT_FALSE(h.windows.at(otherProcess).visible);
    EXPECT_FALSE(h.windows.at(otherClass).visible);
    EXPECT_FALSE(h.windows.at(runningOnes).visible);
    EXPECT_FALSE(h.files.read(journalPath(folder, 55))) << "replayed journals go";
    EXPECT_FALSE(h.files.read(folder + "\\journal-57.txt"));
    EXPECT_TRUE(h.files.read(journalPath(folder, 56))) << "a running instance keeps its own";
}

TEST_F(Guarded, HungWindowsNeverHoldASwitchAndEndWhereTheirDesktopSays) {
    const WindowHandle sleeper = h.addWindow("sleeper");
    const WindowHandle awake = h.addWindow("awake");
    h.create();
    h.windows.at(sleeper).hung = true;
    toDesktop(5);
    EXPECT_FALSE(h.windows.at(awake).visible);
    EXPECT_TRUE(h.windows.at(sleeper).visible) << "its hide waits for its thread";
    h.send(win::WmPaint);
    toDesktop(0);
    EXPECT_EQ(h.app->desktops[5].count, 0) << "a window on its way out is not taken in";
    toDesktop(3);
    h.windows.wake(sleeper);
    EXPECT_FALSE(h.windows.at(sleeper).visible) << "desktop 0 is not on screen";
    toDesktop(0);
    EXPECT_TRUE(h.windows.at(sleeper).visible);
    EXPECT_TRUE(h.windows.at(awake).visible);
}

// The capture's few reads fill each entry exactly as the filter and assignFromWindow do.
TEST(CaptureReads, EntriesMatchTheFilterAndAssignFromWindowWithThreeReadsAWindow) {
    FakeWindowSystem fake;
    RecordingWindows rec(fake);
    fake.addAtBottom(captioned("bottom"));
    FakeWindow kinds[6] = {captioned("normal"), captioned("min"),      captioned("max"),
                           captioned("hidden"), captioned("disabled"), captioned("")};
    kinds[1].minimised = true;
    kinds[2].maximised = true;
    kinds[3].visible = false;
    kinds[4].enabled = false;
    for (const FakeWindow& k : kinds) fake.add(k);
    FakeWindow tip = captioned("tip");
    tip.className = "tooltips_class32";
    fake.add(tip);
    fake.add(panelWindow());

    VirtualDesktop d;
    d.reset(rec, 4);
    rec.calls.clear();
    d.capture();
    ASSERT_EQ(d.count, 3);
    std::map<std::string, int> perWindow;
    for (const auto& [name, w] : rec.calls) {
        if (w != NullWindow && w != fake.desktopWindow() && name.rfind("find", 0) != 0)
            perWindow[name]++;
    }
    EXPECT_EQ(perWindow["rect"], 3) << "one rectangle per listed window";
    EXPECT_EQ(perWindow.count("isIconic") + perWindow.count("isZoomed") +
                  perWindow.count("isVisible") + perWindow.count("isEnabled"),
              0u);
    for (int i = 0; i < d.count; ++i) {
        const WindowEntry& e = d.entries[i];
        EXPECT_TRUE(isManagedWindow(fake, e.window));
        WindowEntry expected;
        expected.desktopIndex = 4;
        expected.assignFromWindow(fake, e.window);
        expected.captureIndex = i;
        expected.setShowState(liveShowState(fake, e.window));
        EXPECT_EQ(e.windowRect, expected.windowRect);
        EXPECT_EQ(e.mapRect, expected.mapRect);
        EXPECT_EQ(e.style, expected.style);
        EXPECT_STREQ(e.title, expected.title);
        EXPECT_EQ(e.showState, expected.showState);
        EXPECT_EQ(e.captureIndex, i);
    }
    d.count = 0;
}

}  // namespace
}  // namespace skelvo::testing
