// Never losing a window: the crash path, the journal on disk after every write, the replay
// at start, hung programs and the end of the session, on the simulated desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <utility>

#include "app/crash_path.h"
#include "app/hotkeys.h"
#include "app/ids.h"
#include "app/window_guard.h"
#include "desktops/switching.h"
#include "settings/settings_format.h"
#include "tests/fakes/fake_process_system.h"
#include "tests/fakes/panel_harness.h"
#include "tests/unit/desktops_recording.h"
#include "tests/unit/message_orders.h"

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

// Counts, at every hide the system sees, the windows that a kill at that moment would
// lose: the one being hidden and every listed one already hidden, if the journal on disk
// does not name it.
struct KillCheck : RecordingWindows {
    KillCheck(WindowSystem& inner, FakeFileStore& files) : RecordingWindows(inner), files(files) {}
    void countLost(WindowHandle window) {
        const auto named = journalled(files, guard->journalFile());
        const auto lost = [&](WindowHandle w, bool visible) {
            return isWindow(w) && isVisible(w) == visible && named.count(w) == 0;
        };
        unnamedHides += lost(window, true);
        for (const VirtualDesktop& d : *desktops)
            for (int i = 0; i < d.count; ++i) unnamedHides += lost(d.entries[i].window, false);
    }
    bool show(WindowHandle window, int command) override {
        if (command == win::SwHide) countLost(window);
        return RecordingWindows::show(window, command);
    }
    bool showAsync(WindowHandle window, int command) override {
        if (auto hook = std::exchange(onShowAsync, nullptr)) hook();
        if (command == win::SwHide) countLost(window);
        return RecordingWindows::showAsync(window, command);
    }
    void moveAsync(WindowHandle window, int x, int y, int cx, int cy, bool repaint) override {
        asyncMoves.push_back(window);
        RecordingWindows::moveAsync(window, x, y, cx, cy, repaint);
    }
    FakeFileStore& files;
    const WindowGuard* guard = nullptr;
    const DesktopArray* desktops = nullptr;
    int unnamedHides = 0;
    std::function<void()> onShowAsync;  // run once, at the next asynchronous show
    std::vector<WindowHandle> asyncMoves;
};

struct Guarded : ::testing::Test {
    PanelHarness h;
    FakeProcessSystem processes;
    KillCheck check{h.windows, h.files};
    std::unique_ptr<WindowGuard> guard;
    std::unique_ptr<GuardedWindowSystem> guarded;
    std::unique_ptr<AwaitedWindows> awaited;
    WindowHandle bottom = NullWindow;

    void SetUp() override {
        rebuild();
        bottom = h.windows.addAtBottom(captioned("bottom"));
    }
    // A guard for the processes' present folders.
    void rebuild() {
        h.panel.reset();
        guard = std::make_unique<WindowGuard>(check, h.files, processes);
        guarded = std::make_unique<GuardedWindowSystem>(check, *guard);
        awaited = std::make_unique<AwaitedWindows>(*guarded);
        h.panel = std::make_unique<Panel>(*h.app, Services{*awaited, h.host, h.graphics, h.shell,
                                                           h.files, guard.get(), awaited.get()});
        guard->attach(*h.app);
        check.guard = guard.get();
        check.desktops = &h.app->desktops;
    }
    void TearDown() override {
        h.panel.reset();
        h.app.reset();  // its teardown still goes through the guard
    }
    std::set<WindowHandle> named() { return journalled(h.files, guard->journalFile()); }
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

TEST_F(Guarded, CrashShowsEveryHiddenWindowOnceLeavesVisibleOnesAndClosesTheJournal) {
    const auto all = parkOnThreeDesktops();
    // After "show all hidden windows" a window can sit in two lists; it is shown once.
    VirtualDesktop& nine = h.app->desktops[9];
    nine.entries[nine.count++] = h.app->desktops[0].entries[0];
    // "Hide all shown windows" hides desktop 9's window, and the bottom one, into its list.
    h.host.answers = {win::IdYes};
    command(CmdHideAllWindows);
    h.tick(TimerRefresh);
    ASSERT_FALSE(h.windows.at(all[4]).visible);
    // A parked window that its program showed again, and the user maximised, stays so.
    h.windows.programShow(all[2], win::SwShowMaximized);
    ASSERT_TRUE(h.files.read(guard->journalFile()));
    h.windows.shows.clear();
    h.windows.asyncShows.clear();
    h.files.failRemoves = true;  // only the handle opened when it was written deletes it

    const int shown = guard->rescue();
    EXPECT_EQ(shown, 5) << "desktops 0 and 5 and the hide-all list";
    EXPECT_TRUE(h.windows.shows.empty()) << "only asynchronous calls";
    std::set<WindowHandle> once;
    for (auto& [w, command] : h.windows.asyncShows) {
        EXPECT_TRUE(once.insert(w).second);
        if (w == all[2]) EXPECT_EQ(command, win::SwShowNa) << "a visible one keeps its state";
    }
    for (WindowHandle w : all) EXPECT_TRUE(h.windows.at(w).visible) << h.windows.at(w).title;
    EXPECT_TRUE(h.windows.at(all[1]).minimised) << "each in its recorded state";
    EXPECT_TRUE(h.windows.at(all[3]).maximised);
    EXPECT_TRUE(h.windows.at(all[2]).maximised);
    EXPECT_FALSE(h.files.read(guard->journalFile())) << "closed once its shows are issued";
    EXPECT_TRUE(h.files.heldForDelete.empty());
}

TEST_F(Guarded, JournalNamesWhatIsKeptHiddenAfterAnyPrefixOfItsWritesOneWriteAheadOfTheHides) {
    const auto all = parkOnThreeDesktops();
    EXPECT_EQ(named(), (std::set<WindowHandle>{all[0], all[1], all[2], all[3]}))
        << "not the windows of the desktop on screen";
    toDesktop(0);
    toDesktop(5);
    h.windows.destroy(all[4]);  // closed while parked: it leaves the journal at the capture
    toDesktop(9);
    toDesktop(0);
    EXPECT_EQ(check.unnamedHides, 0);
    EXPECT_EQ(named(), (std::set<WindowHandle>{all[2], all[3]}));

    // Every write is a whole journal or a removal; every cut of one yields whole records.
    ASSERT_FALSE(h.files.writes.empty());
    for (const auto& write : h.files.writes) {
        if (!write.bytes) continue;
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
    // However many windows a command hides: one write ahead of its hides, one after its
    // shows; hide-all shows none, and names only the windows it hid.
    const WindowHandle late[] = {h.addWindow("late 1"), h.addWindow("late 2"),
                                 h.addWindow("late 3")};
    h.tick(TimerRefresh);
    for (int d : {5, 0}) {
        const std::size_t before = h.files.writes.size();
        toDesktop(d);
        EXPECT_EQ(h.files.writes.size() - before, 2u) << d;
    }
    const WindowHandle selfHidden = h.addWindow("hidden by its program");
    h.windows.programShow(selfHidden, win::SwHide);
    const std::size_t before = h.files.writes.size();
    h.host.answers = {win::IdYes};
    command(CmdHideAllWindows);
    EXPECT_EQ(h.files.writes.size() - before, 1u);
    EXPECT_EQ(named(), (std::set<WindowHandle>{all[0], all[1], all[2], all[3], late[0], late[1],
                                               late[2], bottom}));
    EXPECT_EQ(check.unnamedHides, 0);
}

TEST_F(Guarded, AJournalGoesToTheFirstUsablePlaceOrTheUserIsToldOnce) {
    const std::string local = "C:\\Users\\u\\AppData\\Local\\Skelvo";
    const std::string temp = "C:\\Users\\u\\AppData\\Local\\Temp\\Skelvo";
    struct Case {
        const char* what;
        std::function<void(FakeProcessSystem&, FakeFileStore&)> set;
        std::string folder;  // empty: none could be written
    } cases[] = {
        {"known folder", [](auto&, auto&) {}, local},
        {"no known folder", [](auto& p, auto&) { p.localData.clear(); }, temp},
        {"folder refused", [&](auto& p, auto&) { p.refused.insert(local); }, temp},
        {"known folder full", [&](auto&, auto& f) { f.fullFolders.insert(local); }, temp},
        {"both full", [&](auto&, auto& f) { f.fullFolders.insert({local, temp}); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        h.panel.reset();
        h.app = std::make_unique<Application>();
        h.windows = FakeWindowSystem();
        h.windows.addAtBottom(captioned("bottom"));
        h.files = FakeFileStore();
        processes = FakeProcessSystem();
        c.set(processes, h.files);
        rebuild();
        const auto all = parkOnThreeDesktops();
        toDesktop(0);
        EXPECT_FALSE(h.windows.at(all[4]).visible) << "hidden anyway";
        std::set<std::string> written;
        for (const auto& w : h.files.writes)
            if (w.bytes) written.insert(w.path.substr(0, w.path.rfind('\\')));
        EXPECT_EQ(written, c.folder.empty() ? std::set<std::string>{} : std::set{c.folder});
        h.host.messageBoxes.clear();
        if (c.folder.empty()) h.host.answers = {win::IdOk};
        h.deliverPosted(JournalWarningMessage);
        ASSERT_EQ(h.host.messageBoxes.size(), c.folder.empty() ? 1u : 0u) << "told once";
        if (c.folder.empty()) {
            EXPECT_EQ(h.host.messageBoxes[0].text, JournalWarningText);
            h.files.fullFolders.clear();  // room again: the next change is journalled
            toDesktop(5);
        }
        EXPECT_EQ(named(), (std::set<WindowHandle>{all[c.folder.empty() ? 0 : 2],
                                                   all[c.folder.empty() ? 1 : 3], all[4]}));
    }
}

// After a quit nothing is kept hidden: a window its program hides since is the program's.
TEST_F(Guarded, AQuitLeavesNoJournalForTheNextStart) {
    const auto all = parkOnThreeDesktops();
    ASSERT_FALSE(named().empty());
    h.host.answers = {win::IdYes};
    h.send(win::WmClose);
    h.panel.reset();
    h.app.reset();
    guard.reset();
    for (WindowHandle w : all) EXPECT_TRUE(h.windows.at(w).visible) << h.windows.at(w).title;
    h.windows.programShow(all[0], win::SwHide);
    processes.current = 101;
    processes.running = {{101, 1}};
    WindowGuard next(h.windows, h.files, processes);
    EXPECT_EQ(next.replayLeftovers(), 0);
    EXPECT_FALSE(h.windows.at(all[0]).visible);
}

TEST_F(Guarded, ARemovalThatFailedIsTriedAgain) {
    const WindowHandle w = h.addWindow("parked");
    h.create();
    toDesktop(5);
    ASSERT_EQ(named(), std::set<WindowHandle>{w});
    h.files.failRemoves = true;
    toDesktop(0);
    ASSERT_TRUE(h.files.read(guard->journalFile()));
    h.files.failRemoves = false;
    h.tick(TimerRefresh);
    EXPECT_FALSE(h.files.read(guard->journalFile()));
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
    const WindowHandle unread = hidden("in a journal that cannot be read");
    const WindowHandle big = hidden("in a journal too big");
    const WindowHandle dragged = h.addWindow("dragged", Rect{3000, 100, 3400, 400});
    Journal ended{55, 9, {}, true};
    for (WindowHandle w : {same, gone, otherProcess, otherClass, visible})
        ended.records.push_back(*describeWindow(h.windows, w, win::SwShowNormal));
    ended.records.push_back(*describeWindow(h.windows, dragged, win::SwShowNa));
    ended.records.back().place = Rect{100, 100, 500, 400};
    h.windows.destroy(gone);
    h.windows.at(otherProcess).processId = 4343;
    h.windows.at(otherClass).className = "Reused";
    Journal running{56, 3, {*describeWindow(h.windows, runningOnes, win::SwShowNa)}, true};
    processes.running[56] = 3;
    processes.running[55] = 8;  // id 55 reused by another program since
    const std::string folder = "C:\\Users\\u\\AppData\\Local\\Skelvo";
    const std::string kept[] = {journalPath(folder, 56), journalPath(folder, 56) + ".new",
                                journalPath(folder, 58)};
    h.files.replace(journalPath(folder, 55), formatJournal(ended));
    h.files.replace(kept[0], formatJournal(running));
    h.files.replace(kept[1], "Skelvo window journal 1\nowner 5");  // cut in its write
    h.files.replace(kept[2], formatJournal({58, 1, {*describeWindow(h.windows, unread, 1)}, true}));
    h.files.unreadable.insert(kept[2]);
    h.files.replace(folder + "\\journal-57.txt", "cut sho");
    std::string huge = formatJournal({59, 1, {*describeWindow(h.windows, big, 1)}, true});
    huge.insert(huge.rfind("end"), std::string(2 * JournalReadLimit, '#'));
    h.files.replace(journalPath(folder, 59), huge);

    EXPECT_EQ(guard->replayLeftovers(), 2);
    for (WindowHandle w : {same, otherProcess, otherClass, runningOnes, unread, big})
        EXPECT_EQ(h.windows.at(w).visible, w == same || w == big) << h.windows.at(w).title;
    EXPECT_EQ(h.windows.rect(dragged), (Rect{100, 100, 500, 400})) << "back at its place";
    EXPECT_LE(h.files.largestRead, JournalReadLimit);
    for (int id : {55, 57, 59})
        EXPECT_FALSE(h.files.read(folder + "\\journal-" + std::to_string(id) + ".txt")) << id;
    h.files.unreadable.clear();
    for (const std::string& path : kept) EXPECT_TRUE(h.files.read(path)) << path;
}

// The crash path's order of work on a fake process: who rescues, who waits, who ends.
struct FakeCrash : CrashSystem {
    std::uint32_t thread = 1;
    std::vector<std::string> calls;
    std::function<void()> onSuspend;
    std::uint32_t currentThread() override { return thread; }
    void suspendUiThread() override {
        if (onSuspend) onSuspend();
        calls.push_back("suspend");
    }
    void endProcess(unsigned code) override { calls.push_back("end " + std::to_string(code)); }
    void awaitEnd(unsigned code) override { calls.push_back("await " + std::to_string(code)); }
};

TEST_F(Guarded, CrashPathRescuesOnceEndsAtOnceOnAFaultInsideAndStopsTheUiThreadFirst) {
    const auto all = parkOnThreeDesktops();
    struct Case {
        std::uint32_t thread;
        std::uint32_t faultThread;  // where a second fault happens inside the rescue
        std::vector<std::string> calls;
    } cases[] = {
        {1, 1, {"end 7", "end 5"}},
        {1, 9, {"await 7", "end 5"}},
        {2, 2, {"suspend", "end 7", "end 5"}},
    };
    for (const Case& c : cases) {
        h.send(win::WmQueryEndSession);  // no other way to hide them all again in between
        h.send(win::WmEndSession, 0);
        FakeCrash system;
        CrashPath path(*guard, system, 1);
        system.thread = c.thread;
        std::size_t readsAtSuspend = 99;
        check.calls.clear();
        system.onSuspend = [&] { readsAtSuspend = check.calls.size(); };
        check.onShowAsync = [&] {
            system.thread = c.faultThread;
            path.run(7);
            system.thread = c.thread;
        };
        path.run(5);
        EXPECT_EQ(system.calls, c.calls);
        if (c.thread != 1) {
            EXPECT_EQ(readsAtSuspend, 0u) << "stopped before any list is read";
        }
        for (WindowHandle w : all) EXPECT_TRUE(h.windows.at(w).visible);
    }
}
TEST_F(Guarded, SessionEndShowsEveryWindowACancelHidesThemAgainAnEndEndsTheProcess) {
    const auto all = parkOnThreeDesktops();
    command(CmdEnterTray);
    const std::set<WindowHandle> journalled = named();

    EXPECT_EQ(h.send(win::WmQueryEndSession), 1);
    for (WindowHandle w : all) EXPECT_TRUE(h.windows.at(w).visible) << h.windows.at(w).title;
    EXPECT_TRUE(h.windows.at(all[1]).minimised && h.windows.at(all[3]).maximised);
    EXPECT_FALSE(h.files.read(guard->journalFile())) << "nothing is kept hidden";
    h.tick(TimerRefresh);
    EXPECT_EQ(h.app->desktops[9].count, 1) << "the desktop on screen takes in no other's";

    h.send(win::WmEndSession, 0);
    for (WindowHandle w : all) EXPECT_EQ(h.windows.at(w).visible, w == all[4]);
    EXPECT_TRUE(h.state().inTray);
    EXPECT_EQ(h.shell.notifications.back().operation, win::NimAdd);
    EXPECT_EQ(named(), journalled) << "the lists and the journal as they were";
    EXPECT_EQ(check.unnamedHides, 0);
    toDesktop(0);
    EXPECT_TRUE(h.windows.at(all[0]).visible && !h.windows.at(all[4]).visible) << "still switches";

    h.send(win::WmQueryEndSession);
    h.files.writes.clear();
    h.send(win::WmEndSession, 1);
    for (WindowHandle w : all) EXPECT_TRUE(h.windows.at(w).visible) << h.windows.at(w).title;
    EXPECT_TRUE(std::any_of(h.files.writes.begin(), h.files.writes.end(), [](const auto& w) {
        return w.path.ends_with(SettingsFileName);
    })) << "the registrations are saved";
    EXPECT_EQ(h.shell.notifications.back().operation, win::NimDelete);
    EXPECT_FALSE(h.files.read(guard->journalFile()));
    EXPECT_EQ(h.host.destroyed, std::vector<WindowHandle>{h.panelWindow}) << "the process ends";
}

// While a session end is pending every window is on screen, those hidden by the hide-all
// command too: no switch, send, drop or window command runs (each would take windows into
// the wrong desktop), and a switch under way when the query came hides nothing more. The
// end itself asks and tells nothing, even when the settings cannot be written.
TEST_F(Guarded, WhileASessionEndIsPendingNothingIsSwitchedMovedOrHidden) {
    const auto all = parkOnThreeDesktops();
    h.host.answers = {win::IdYes};
    command(CmdHideAllWindows);
    ASSERT_FALSE(h.windows.at(all[4]).visible);
    const auto lists = [&] {
        std::vector<std::vector<WindowHandle>> out;
        for (const VirtualDesktop& d : h.app->desktops) {
            out.emplace_back();
            for (int i = 0; i < d.count; ++i) out.back().push_back(d.entries[i].window);
        }
        return out;
    };
    const auto before = lists();
    h.send(win::WmQueryEndSession);
    for (WindowHandle w : all) EXPECT_TRUE(h.windows.at(w).visible) << h.windows.at(w).title;
    EXPECT_TRUE(h.windows.at(bottom).visible) << "hidden by the hide-all command";

    toDesktop(0);
    h.send(win::WmHotKey, HotkeyIdBase + SwitchFirst + 1);
    h.host.answers = {win::IdYes, win::IdYes, win::IdYes};
    for (unsigned id : {CmdMinimiseAllDesktops, CmdCloseAllDesktops, CmdHideAllWindows})
        command(id);
    h.pointAt(20, 20);  // a click on desktop 0's cell
    h.send(win::WmLButtonDown);
    h.send(win::WmLButtonUp);
    h.tick(TimerRefresh);
    EXPECT_EQ(h.state().currentDesktop, 9);
    EXPECT_EQ(lists(), before);
    for (WindowHandle w : all) {
        EXPECT_TRUE(h.windows.at(w).visible && h.windows.isWindow(w)) << h.windows.at(w).title;
        EXPECT_EQ(h.windows.at(w).minimised, w == all[1]) << h.windows.at(w).title;
    }
    h.send(win::WmEndSession, 0);
    for (WindowHandle w : all) EXPECT_FALSE(h.windows.at(w).visible) << h.windows.at(w).title;

    // The query arrives while a switch waits on a slow program.
    for (WindowHandle w : all) h.windows.at(w).answerMs = SlowAnswerMs;
    bool asked = false;
    h.windows.duringWait = [&] {
        if (!std::exchange(asked, true)) h.send(win::WmQueryEndSession);
    };
    toDesktop(0);
    h.windows.duringWait = nullptr;
    ASSERT_TRUE(asked);
    h.windows.settle();
    for (WindowHandle w : all) EXPECT_TRUE(h.windows.at(w).visible) << h.windows.at(w).title;
    h.send(win::WmEndSession, 0);
    h.windows.settle();
    for (WindowHandle w : all) EXPECT_EQ(h.windows.at(w).visible, w == all[0] || w == all[1]);

    h.send(win::WmQueryEndSession);
    h.files.failWrites = true;
    h.host.messageBoxes.clear();
    h.send(win::WmEndSession, 1);
    h.windows.settle();
    for (WindowHandle w : all) EXPECT_TRUE(h.windows.at(w).visible) << h.windows.at(w).title;
    EXPECT_TRUE(h.host.messageBoxes.empty()) << "nothing may hold the logoff";
    EXPECT_FALSE(h.files.refused.empty()) << "the save was tried";
}

TEST_F(Guarded, ADraggedWindowIsJournalledAtItsPlaceAndPutBackByTheCrashPathAndTheReplay) {
    const Rect place{200, 190, 600, 570};
    const WindowHandle w = h.addWindow("dragged", place);
    h.create();
    h.pointAt(20, 20);
    h.send(win::WmLButtonDown);
    h.pointAt(120, 20);  // over desktop 2's cell: the window sits off screen
    h.tick(TimerWindowDrag);
    ASSERT_NE(h.windows.rect(w), place);
    const std::string bytes = h.files.read(guard->journalFile()).value_or("");
    const auto journal = parseJournal(bytes);
    ASSERT_TRUE(journal && journal->records.size() == 1);
    EXPECT_EQ(journal->records[0].place, place);

    check.asyncMoves.clear();  // the drag's own
    guard->rescue();
    EXPECT_EQ(check.asyncMoves, std::vector<WindowHandle>{w});
    EXPECT_EQ(h.windows.rect(w), place);

    // A kill instead: the next start finds the journal.
    h.windows.move(w, 2000, 0, place.width(), place.height(), true);
    h.files.replace(journalPath("C:\\Users\\u\\AppData\\Local\\Skelvo", 100), bytes);
    processes.current = 101;
    processes.running = {{101, 1}};
    WindowGuard next(h.windows, h.files, processes);
    next.replayLeftovers();
    EXPECT_EQ(h.windows.rect(w), place);
}

// A hide still on its way when the process dies is undone behind it, by the crash path
// or by the next start's replay, with calls that never wait on the program: one that has
// hung holds neither, and every window comes back once its program gets on.
TEST_F(Guarded, AHideOnItsWayIsUndoneByTheCrashPathAndTheReplayWithoutWaiting) {
    for (const bool killed : {false, true}) {
        SCOPED_TRACE(killed ? "killed, then started again" : "crashed");
        TearDown();
        h.app = std::make_unique<Application>();
        h.windows = FakeWindowSystem();
        h.files = FakeFileStore();
        processes = FakeProcessSystem();
        rebuild();
        h.windows.addAtBottom(captioned("bottom"));
        const WindowHandle hung = h.addWindow("hung");
        const WindowHandle busy = h.addWindow("busy");
        const WindowHandle quick = h.addWindow("quick");
        h.create();
        h.windows.at(hung).hung = h.windows.at(hung).hungUnnoticed = true;
        h.windows.at(busy).postedHeldUntil = 5000;
        toDesktop(5);
        ASSERT_TRUE(h.windows.at(hung).visible && h.windows.at(busy).visible);
        ASSERT_FALSE(h.windows.at(quick).visible);
        h.windows.shows.clear();
        if (killed) {
            const std::string bytes = h.files.read(guard->journalFile()).value_or("");
            h.files.replace(journalPath("C:\\Users\\u\\AppData\\Local\\Skelvo", 100), bytes);
            processes.current = 101;
            processes.running = {{101, 1}};
            WindowGuard next(h.windows, h.files, processes);
            EXPECT_EQ(next.replayLeftovers(), 1);
        } else {
            EXPECT_EQ(guard->rescue(), 1);
        }
        EXPECT_TRUE(h.windows.shows.empty()) << "only asynchronous calls";
        h.windows.wake(hung);
        h.windows.settle();
        for (WindowHandle w : {hung, busy, quick})
            EXPECT_TRUE(h.windows.at(w).visible) << h.windows.at(w).title;
    }
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
                            panelWindow(),       captioned("their dialog"),
                            captioned("own dialog"), captioned("tip"), captioned("panel-like")};
    kinds[1].minimised = true;
    kinds[2].maximised = true;
    kinds[3].visible = false;
    kinds[4].enabled = false;
    kinds[7].className = kinds[8].className = "#32770";
    kinds[8].processId = fake.ownProcessId;  // only the panel's own dialogs are left out
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
    ASSERT_EQ(d.count, 5) << "normal, min, max, the other program's dialog, the panel-like one";
    EXPECT_EQ(reads("monitors"), 1) << "the screen once";
    EXPECT_EQ(reads("rect"), 5) << "each listed window";
    EXPECT_EQ(reads("isIconic") + reads("isZoomed") + reads("isVisible") + reads("isEnabled"), 0);
    EXPECT_EQ(reads("find"), 2) << "one lookup for each class present";
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
