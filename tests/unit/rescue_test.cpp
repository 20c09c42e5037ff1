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

std::set<WindowHandle> journalled(FakeFileStore& files, const std::string& path) {
    std::set<WindowHandle> out;
    const auto bytes = files.read(path);
    if (const auto journal = bytes ? parseJournal(*bytes) : std::nullopt) {
        for (const auto& r : journal->records) out.insert(r.window);
    }
    return out;
}

// Counts the hides the system sees while the journal on disk does not name the window: a
// kill at that moment would lose it.
struct KillCheck : RecordingWindows {
    KillCheck(WindowSystem& inner, FakeFileStore& files) : RecordingWindows(inner), files(files) {}
    bool show(WindowHandle window, int command) override {
        if (command == win::SwHide) unnamedHides += journalled(files, path).count(window) == 0;
        return RecordingWindows::show(window, command);
    }
    void showAsync(WindowHandle window, int command) override {
        if (command == win::SwHide) unnamedHides += journalled(files, path).count(window) == 0;
        RecordingWindows::showAsync(window, command);
    }
    FakeFileStore& files;
    std::string path;
    int unnamedHides = 0;
};

struct Guarded : ::testing::Test {
    PanelHarness h;
    FakeProcessSystem processes;
    KillCheck check{h.windows, h.files};
    WindowGuard guard{check, h.files, processes};
    GuardedWindowSystem guarded{check, guard};
    AwaitedWindows awaited{guarded};

    void SetUp() override {
        h.panel = std::make_unique<Panel>(
            *h.app, Services{awaited, h.host, h.graphics, h.shell, h.files, &guard, &awaited});
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
    h.windows.asyncShows.clear();

    const int shown = guard.rescue();
    EXPECT_EQ(shown, 6) << "desktops 0 and 5 and the hide-all list";
    EXPECT_TRUE(h.windows.shows.empty()) << "only asynchronous calls";
    std::set<WindowHandle> once;
    for (auto& [w, command] : h.windows.asyncShows) EXPECT_TRUE(once.insert(w).second);
    for (WindowHandle w : all) EXPECT_TRUE(h.windows.at(w).visible) << h.windows.at(w).title;
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
    EXPECT_EQ(check.unnamedHides, 0);

    // Every write is a whole journal or a removal; every cut of one yields whole records.
    ASSERT_FALSE(h.files.writes.empty());
    for (const auto& write : h.files.writes) {
        ASSERT_TRUE(write.bytes);
        const auto whole = parseJournal(*write.bytes);
        ASSERT_TRUE(whole && whole->complete);
        for (std::size_t cut = 0; cut < write.bytes->size(); ++cut) {
            const auto part = parseJournal(std::string_view(*write.bytes).substr(0, cut));
            EXPECT_TRUE(
                !part ||
                (!part->complete && part->records.size() <= whole->records.size() &&
                 std::equal(part->records.begin(), part->records.end(), whole->records.begin())))
                << cut;
        }
    }
    // Switching among the same windows writes nothing more.
    const std::size_t writes = h.files.writes.size();
    toDesktop(5);
    toDesktop(0);
    EXPECT_EQ(h.files.writes.size(), writes);
    EXPECT_EQ(journalled(h.files, guard.journalFile()),
              (std::set<WindowHandle>{all[0], all[1], all[2], all[3]}));

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
    for (WindowHandle w : {same, otherProcess, otherClass, runningOnes})
        EXPECT_EQ(h.windows.at(w).visible, w == same) << h.windows.at(w).title;
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

// The capture's few reads fill each entry exactly as the filter and assignFromWindow do,
// and list every window the filter passes; the lookups by handle are made only for a
// window of their class, and a window's class is read once while it stays a candidate.
TEST(CaptureReads, EntriesMatchTheFilterAndAssignFromWindowWithFewReads) {
    FakeWindowSystem fake;
    RecordingWindows rec(fake);
    fake.addAtBottom(captioned("bottom"));
    FakeWindow kinds[11] = {captioned("normal"), captioned("min"),      captioned("max"),
                            captioned("hidden"), captioned("disabled"), captioned(""),
                            panelWindow(),       captioned("lower dialog"),
                            captioned("upper dialog"), captioned("tip"), captioned("panel-like")};
    kinds[1].minimised = true;
    kinds[2].maximised = true;
    kinds[3].visible = false;
    kinds[4].enabled = false;
    kinds[7].className = kinds[8].className = "#32770";
    kinds[9].className = "TOOLTIPS_CLASS32";  // class names match whatever their case
    kinds[10].className = PanelClassName;      // its title is not the panel's
    std::vector<WindowHandle> added;
    for (const FakeWindow& k : kinds) added.push_back(fake.add(k));

    VirtualDesktop d;
    d.reset(rec, 4);
    const auto reads = [&](const char* name) {
        return std::count_if(rec.calls.begin(), rec.calls.end(),
                             [&](const auto& c) { return c.first.rfind(name, 0) == 0; });
    };
    rec.calls.clear();
    d.capture();
    ASSERT_EQ(d.count, 5) << "normal, min, max, the lower dialog and the panel-like window";
    EXPECT_EQ(reads("rect"), 6) << "the screen once and each listed window";
    EXPECT_EQ(reads("isIconic") + reads("isZoomed") + reads("isVisible") + reads("isEnabled"), 0);
    EXPECT_EQ(reads("find"), 3) << "one lookup for each class present";
    int managedCount = 0;
    for (WindowHandle w : added) managedCount += isManagedWindow(fake, w) ? 1 : 0;
    EXPECT_EQ(managedCount, d.count);
    for (int i = 0; i < d.count; ++i) {
        const WindowEntry& e = d.entries[i];
        WindowEntry x;
        x.desktopIndex = 4;
        x.assignFromWindow(fake, e.window);
        x.setShowState(liveShowState(fake, e.window));
        EXPECT_TRUE(isManagedWindow(fake, e.window)) << e.title;
        EXPECT_TRUE(e.windowRect == x.windowRect && e.mapRect == x.mapRect && e.style == x.style &&
                    e.showState == x.showState && e.captureIndex == i);
        EXPECT_STREQ(e.title, x.title);
    }

    for (int k = 7; k < 11; ++k) fake.destroy(added[k]);
    d.capture();
    rec.calls.clear();
    d.capture();
    EXPECT_EQ(d.count, 3);
    EXPECT_EQ(reads("find") + reads("className"), 0) << "only ordinary windows remain";
    d.count = 0;
}

}  // namespace
}  // namespace skelvo::testing
