// Launcher slots on the fakes: registration by dialog and drop, deletion, launching, the
// settings file at creation, quit and session end, and the icons the slots own.
#include <gtest/gtest.h>

#include <cstring>

#include "app/ids.h"
#include "launcher/registration.h"
#include "settings/settings_file.h"
#include "tests/fakes/panel_harness.h"

namespace skelvo::testing {
namespace {

const std::string File = "C:\\Skelvo\\KQZ.txt";
const std::string Notepad = "C:\\windows\\notepad.exe";
const std::string Plan = "D:\\Docs\\plan.txt";

// A panel created over a settings file registering slots 0 (notepad) and 3 (plan), shown
// in the launcher function.
struct LauncherPanel {
    PanelHarness h;
    LauncherPanel() {
        h.files.files[File] =
            "--- LANCHER ---\r\n0 " + Notepad + "\r\n3 " + Plan + "\r\n--- L_END ---";
        h.create();
        h.send(win::WmCommand, CmdSwitchFunction);
    }
    LauncherSlot& slot(int i) { return h.app->slots[i]; }
    void command(unsigned id, int zone) {
        h.state().pointerZone = zone;
        h.send(win::WmCommand, id);
    }
    void drop(int x, int y, std::vector<std::string> names) {
        h.pointAt(x, y);
        const DropHandle d = h.shell.addDrop(std::move(names));
        EXPECT_EQ(h.send(win::WmDropFiles, d), 0);
        EXPECT_EQ(h.shell.finishedDrops, std::vector<DropHandle>{d}) << "released in every case";
    }
    std::vector<int> registered() {
        std::vector<int> slots;
        for (int i = 0; i < SlotCount; ++i)
            if (slot(i).registered) slots.push_back(i);
        return slots;
    }
    // The message boxes shown, as "caption|text|flags".
    std::vector<std::string> boxes() {
        std::vector<std::string> shown;
        for (const auto& b : h.host.messageBoxes)
            shown.push_back(b.caption + "|" + b.text + "|" + std::to_string(b.flags));
        return shown;
    }
};
struct Launcher : ::testing::Test, LauncherPanel {};

const std::string Overwrite = std::string(OverwriteCaption) + "|" + OverwriteText + "|36";
const std::string Delete = std::string(DeleteCaption) + "|" + DeleteText + "|52";
const std::string DeleteAll = std::string(DeleteCaption) + "|" + DeleteAllText + "|52";

TEST_F(Launcher, LoadedAtCreationWithTitlesAndIcons) {
    EXPECT_EQ(registered(), (std::vector<int>{0, 3}));
    EXPECT_STREQ(slot(0).filePath, Notepad.c_str());
    EXPECT_STREQ(slot(0).fileTitle, "notepad.exe");
    EXPECT_STREQ(slot(3).fileTitle, "plan.txt");
    EXPECT_TRUE(slot(0).hasIcon() && slot(3).hasIcon());
}

TEST_F(Launcher, RegisterByDialog) {
    const std::string longName(200, 't');  // a title longer than 127 bytes is kept whole
    struct Case {
        int slot, answer;                   // answer 0: no question expected
        std::optional<std::string> chosen;  // nullopt: cancelled
        bool opened;
        std::string path;
    };
    for (const Case& c :
         std::vector<Case>{{5, 0, "E:\\x.exe", true, "E:\\x.exe"},
                           {0, win::IdNo, "E:\\y", false, Notepad},
                           {0, win::IdYes, std::nullopt, true, Notepad},
                           {3, win::IdCancel, "E:\\" + longName, true, "E:\\" + longName}}) {
        SCOPED_TRACE(c.path + " " + std::to_string(c.answer));
        LauncherPanel t;
        const IconHandle old = t.slot(c.slot).icon;
        if (c.answer != 0) t.h.host.answers = {c.answer};
        t.h.shell.dialogAnswers = {std::nullopt};
        if (c.chosen)
            t.h.shell.dialogAnswers = {FakeShell::DialogAnswer{*c.chosen, "T" + *c.chosen}};
        t.command(CmdRegister, c.slot + 1);
        EXPECT_EQ(t.boxes(),
                  c.answer ? std::vector<std::string>{Overwrite} : std::vector<std::string>{});
        EXPECT_EQ(t.h.shell.dialogs.size(), c.opened ? 1u : 0u);
        EXPECT_EQ(t.slot(c.slot).registered, 1);
        EXPECT_EQ(t.slot(c.slot).filePath, c.path);
        const bool replaced = c.opened && c.chosen;
        if (replaced) {
            EXPECT_EQ(t.slot(c.slot).fileTitle, "T" + c.path) << "the dialog's title";
        }
        EXPECT_EQ(t.h.shell.liveIcons.count(old), old != 0 && !replaced ? 1u : 0u);
    }
}

TEST_F(Launcher, DialogRequestAndTheLastPathAcrossSlots) {
    h.shell.dialogAnswers = {FakeShell::DialogAnswer{"E:\\a.exe", "a"}, std::nullopt};
    command(CmdRegister, 6);
    command(CmdRegister, 12);
    ASSERT_EQ(h.shell.dialogs.size(), 2u);
    const auto& first = h.shell.dialogs[0];
    EXPECT_EQ(first.owner, h.panelWindow);
    EXPECT_EQ(first.filter, std::string("All files(*.*)\0*.*\0", 20));
    EXPECT_EQ(first.title, "登録ファイル選択");
    EXPECT_EQ(first.flags, 0u);
    EXPECT_EQ(first.initialFile, "");
    EXPECT_EQ(first.fileSize, 260u);
    EXPECT_EQ(first.fileTitleSize, 260u);
    EXPECT_EQ(h.shell.dialogs[1].initialFile, "E:\\a.exe");
    EXPECT_EQ(registered(), (std::vector<int>{0, 3, 5}));
    // A command posted from outside, with no cell under the last release, does nothing.
    command(CmdRegister, 0);
    command(CmdRun, 33);
    command(CmdDeleteRegistration, 49);
    EXPECT_EQ(h.shell.dialogs.size(), 2u);
    EXPECT_TRUE(h.shell.executed.empty() && h.host.messageBoxes.empty());
}

TEST_F(Launcher, DropOnACell) {
    struct Case {
        int function, x, y, answer;  // answer 0: no question expected
        int zone, added;             // added: the slot registered, -1 none
    };
    for (const Case& c : std::vector<Case>{{FunctionLauncher, 127, 62, 0, 7, 6},
                                           {FunctionLauncher, 177, 22, win::IdYes, 4, 3},
                                           {FunctionLauncher, 177, 22, win::IdNo, 4, -1},
                                           {FunctionDesktop, 127, 62, 0, 7, -1},
                                           {FunctionLauncher, 100, 140, 0, 33, -1},
                                           {FunctionLauncher, 220, 140, 0, 49, -1}}) {
        SCOPED_TRACE(c.zone);
        LauncherPanel t;
        t.h.state().functionMode = c.function;
        if (c.answer != 0) t.h.host.answers = {c.answer};
        t.drop(c.x, c.y, {"D:\\Docs", "D:\\b.txt", "D:\\c.txt"});
        EXPECT_EQ(t.h.state().pointerZone, c.zone);
        EXPECT_EQ(t.boxes(),
                  c.answer ? std::vector<std::string>{Overwrite} : std::vector<std::string>{});
        std::vector<int> expected = {0, 3};
        if (c.added == 6) expected.push_back(6);
        EXPECT_EQ(t.registered(), expected);
        if (c.added >= 0) {
            EXPECT_STREQ(t.slot(c.added).filePath, "D:\\Docs") << "the first item only";
            EXPECT_STREQ(t.slot(c.added).fileTitle, "Docs");
        }
    }
    drop(27, 102, {"C:\\" + std::string(300, 'n')});  // longer than a slot holds: not cut
    EXPECT_EQ(slot(8).registered, 0);
    h.host.answers = {win::IdYes};
    h.shell.finishedDrops.clear();
    drop(27, 22, {"D:\\"});  // a root has no title, and keeps none of the old file's
    EXPECT_STREQ(slot(0).filePath, "D:\\");
    EXPECT_STREQ(slot(0).fileTitle, "");
}

TEST_F(Launcher, DeleteOneOrAll) {
    struct Case {
        unsigned id;
        int zone, answer;
        std::string box;
        std::vector<int> left;
    };
    for (const Case& c :
         std::vector<Case>{{CmdDeleteRegistration, 4, win::IdYes, Delete, {0}},
                           {CmdDeleteRegistration, 4, win::IdCancel, Delete, {0, 3}},
                           {CmdDeleteRegistration, 9, win::IdYes, Delete, {0, 3}},
                           {CmdDeleteAllRegistrations, 0, win::IdYes, DeleteAll, {}},
                           {CmdDeleteAllRegistrations, 0, win::IdNo, DeleteAll, {0, 3}}}) {
        SCOPED_TRACE(c.box + " " + std::to_string(c.answer));
        LauncherPanel t;
        const IconHandle icon3 = t.slot(3).icon;
        t.h.host.answers = {c.answer};
        t.command(c.id, c.zone);
        EXPECT_EQ(t.boxes(), std::vector<std::string>{c.box});
        EXPECT_EQ(t.registered(), c.left);
        const bool gone = c.left.size() < 2;
        EXPECT_EQ(t.h.shell.liveIcons.count(icon3), gone ? 0u : 1u)
            << "a cleared icon is destroyed";
        EXPECT_EQ(t.slot(3).filePath[0] == '\0', gone);
        // A deleted slot is neither launched nor saved.
        t.command(CmdRunAll, 0);
        EXPECT_EQ(t.h.shell.executed.size(), c.left.size());
        t.h.host.answers = {win::IdYes};
        t.h.send(win::WmClose);
        EXPECT_EQ(t.h.files.files[File].find(Plan) != std::string::npos, !gone);
    }
}

TEST_F(Launcher, LaunchesWithoutTouchingThePanel) {
    slot(3).icon.reset();    // a slot with no icon still launches
    slot(5).registered = 1;  // registered with an empty path: skipped
    const Rect where = h.windows.rect(h.panelWindow);
    h.log.clear();
    for (Point p : {Point{27, 22}, Point{77, 22}, Point{127, 62}}) {  // slots 0, 1 and 5
        h.pointAt(p.x, p.y);
        h.send(win::WmLButtonDblClk);
    }
    command(CmdLauncherFirst + 3, 11);  // "ランチャー4" whatever the zone
    command(CmdRun, 1);
    command(CmdRunAll, 0);
    const std::vector<std::string> expected = {"shellExecute " + Notepad, "shellExecute " + Plan,
                                               "shellExecute " + Notepad, "shellExecute " + Notepad,
                                               "shellExecute " + Plan};
    EXPECT_EQ(h.log.events, expected) << "nothing but the launches: no repaint, move or tray";
    for (const auto& e : h.shell.executed) {
        EXPECT_EQ(e.owner, NullWindow);
        EXPECT_EQ(e.operation, "open");
        EXPECT_FALSE(e.parameters.has_value() || e.directory.has_value());
        EXPECT_EQ(e.showCommand, win::SwShow);
    }
    EXPECT_EQ(h.state().functionMode, FunctionLauncher);
    EXPECT_EQ(h.windows.rect(h.panelWindow), where);
    // In the desktop function a double-click on a cell does not launch.
    h.state().functionMode = FunctionDesktop;
    h.pointAt(27, 22);
    h.send(win::WmLButtonDblClk);
    EXPECT_EQ(h.shell.executed.size(), 5u);
    // The last numbered command, "ランチャー12", launches slot 11.
    std::strcpy(slot(11).filePath, "E:\\last.exe");
    slot(11).registered = 1;
    command(CmdLauncherLast, 1);
    ASSERT_EQ(h.shell.executed.size(), 6u);
    EXPECT_EQ(h.shell.executed.back().file, "E:\\last.exe");
}

// A launch the system refuses says so once per launch, with the path and the reason, and
// changes nothing else; the launches that work say nothing.
TEST_F(Launcher, AFailedLaunchSaysWhy) {
    h.shell.missing = {Plan};
    h.host.answers = {win::IdOk, win::IdOk};
    const Rect where = h.windows.rect(h.panelWindow);
    command(CmdRunAll, 0);
    command(CmdLauncherFirst, 1);
    EXPECT_EQ(h.shell.executed.size(), 3u);
    const std::string failed = "起動エラー|起動できませんでした。\n" + Plan +
                               "\nThe system cannot find the file specified.|48";
    EXPECT_EQ(boxes(), std::vector<std::string>{failed});
    EXPECT_EQ(h.host.messageBoxes[0].owner, h.panelWindow);
    EXPECT_EQ(registered(), (std::vector<int>{0, 3}));
    EXPECT_EQ(h.windows.rect(h.panelWindow), where);
}

TEST_F(Launcher, SavedAtQuitAndAtSessionEndOnly) {
    const std::string expected =
        "--- LANCHER ---\r\n0 " + Notepad + "\r\n3 " + Plan + "\r\n10 D:\\b.txt\r\n--- L_END ---";
    for (auto [message, wParam, saves] :
         std::vector<std::tuple<unsigned, int, bool>>{{win::WmClose, 0, true},
                                                      {win::WmEndSession, 1, true},
                                                      {win::WmEndSession, 0, false}}) {
        LauncherPanel t;
        const std::string before = t.h.files.files[File];
        t.drop(127, 102, {"D:\\b.txt"});
        t.h.host.answers = {win::IdYes};
        EXPECT_EQ(t.h.send(message, wParam), 0);
        EXPECT_EQ(t.h.files.writes.size(), saves ? 1u : 0u);
        EXPECT_EQ(t.h.files.files[File], saves ? expected : before);
        // Only the quit asks; the session end saves without a question.
        EXPECT_EQ(t.h.host.messageBoxes.size(), message == win::WmClose ? 1u : 0u) << message;
    }
}

// Registrations this run did not load, or could not save, are never overwritten; every
// settings path that loads is saved.
TEST(LauncherSettings, AFileThatCannotBeReadOrWrittenIsKept) {
    const std::string file = "--- LANCHER ---\r\n1 E:\\x\r\n--- L_END ---";
    const std::string longest = "C:\\" + std::string(248, 'd');  // KQZ.txt's path: 259 bytes
    struct Case {
        const char* name;
        std::string directory;
        bool present, failWrites, heldAtStart;
        bool loads, kept, tries;  // tries: a replace with the slots' bytes was refused
    };
    for (const Case& c : std::vector<Case>{
             {"the directory does not fit", "C:\\" + std::string(300, 'd'), 1, 0, 0, 0, 1, 0},
             {"the file's path does not", longest + "d", 1, 0, 0, 0, 1, 0},
             {"the write fails", "C:\\Skelvo", 1, 1, 0, 1, 1, 1},
             {"held without sharing at start", "C:\\Skelvo", 1, 0, 1, 0, 1, 0},
             {"no file: a new one, nothing said", "C:\\Skelvo", 0, 0, 0, 0, 0, 0},
             {"the longest path", longest, 1, 0, 0, 1, 0, 0}}) {
        SCOPED_TRACE(c.name);
        PanelHarness h;
        h.host.directory = c.directory;
        const std::string path = c.directory + "\\KQZ.txt";
        if (c.present) h.files.files[path] = h.files.files["\\KQZ.txt"] = file;
        if (c.heldAtStart) h.files.held[path] = FakeFileStore::ShareNothing;
        h.files.failWrites = c.failWrites;
        h.create();
        EXPECT_EQ(h.app->slots[1].registered, c.loads ? 1 : 0);
        EXPECT_TRUE(h.host.messageBoxes.empty()) << "nothing said at start";
        h.files.held.clear();  // released before the quit
        h.host.answers = {win::IdYes, win::IdOk};
        h.send(win::WmClose);
        EXPECT_EQ(h.host.destroyed.size(), 1u) << "the quit goes on";
        EXPECT_EQ(h.files.writes.size(), c.kept ? 0u : 1u);
        EXPECT_EQ(h.files.files[path], c.present ? file : "--- LANCHER ---\r\n--- L_END ---");
        ASSERT_EQ(h.host.messageBoxes.size(), c.kept ? 2u : 1u);
        if (c.kept) {
            const MessageBoxCall& box = h.host.messageBoxes[1];
            EXPECT_EQ(box.owner, h.windows.desktopWindow());
            EXPECT_EQ(box.text + "|" + box.caption, "ファイルの書き込みに失敗しました|");
            EXPECT_EQ(box.flags, win::MbOk);
        }
        EXPECT_EQ(h.files.refused.size(), c.tries ? 1u : 0u);
        if (c.tries) {
            EXPECT_EQ(h.files.refused[0].path, path);
            EXPECT_EQ(h.files.refused[0].bytes, file);
        }
    }
}

// On a system whose code page is 1252, paths are saved and loaded as the bytes they are.
TEST(LauncherSettings, SingleByteCodePageRoundTrip) {
    const std::string directory = utf8(u8"C:\\Café");
    const std::string cafe = "C:\\caf\xE9.txt";
    PanelHarness first;
    first.files.codePage = 1252;
    first.shell.ansiOf = {{utf8(u8"é"), "\xE9"}};
    first.host.directory = directory;
    first.create();
    first.send(win::WmCommand, CmdSwitchFunction);
    first.pointAt(127, 62);
    first.send(win::WmDropFiles, first.shell.addDrop({utf8(u8"C:\\café.txt")}));
    first.host.answers = {win::IdYes};
    first.send(win::WmClose);
    EXPECT_EQ(first.host.messageBoxes.size(), 1u) << "the quit question only";
    PanelHarness second;
    second.files.codePage = 1252;
    second.files.files = first.files.files;
    second.host.directory = directory;
    second.create();
    EXPECT_STREQ(second.app->slots[6].filePath, cafe.c_str());
    EXPECT_EQ(second.files.files[directory + "\\KQZ.txt"],
              "--- LANCHER ---\r\n6 " + cafe + "\r\n--- L_END ---");
}

// A dropped or chosen name in UTF-8 becomes a path of the code page: as it is when it
// fits, with only the parts that do not shortened to their 8.3 names, or not at all; never
// a look-alike or "?".
TEST(LauncherPaths, NamesOutsideTheCodePage) {
    const std::string korean = utf8(u8"C:\\Docs\\한국😀.zzz");
    const std::string deep = utf8(u8"C:\\Program Files\\café\\long name.txt");
    const std::string koreanShort = utf8(u8"C:\\한~1.ZZZ");
    struct Case {
        std::string dropped, shortName;
        std::optional<std::string> stored;  // nullopt: refused
    } cases[] = {
        {utf8(u8"C:\\表\\メモ.txt"), "", "C:\\\x95\x5C\\\x83\x81\x83\x82.txt"},
        {korean, "C:\\Docs\\HAN~1.ZZZ", "C:\\Docs\\HAN~1.ZZZ"},
        {deep, "C:\\PROGRA~1\\CAF~1\\LONGNA~1.TXT", "C:\\Program Files\\CAF~1\\long name.txt"},
        {utf8(u8"D:\\café.txt"), "", std::nullopt},         // "cafe.txt" is another file
        {utf8(u8"C:\\한.zzz"), koreanShort, std::nullopt},  // a short name that does not fit
    };
    for (const auto& [c, byDialog] : {std::pair{cases[0], false},
                                      {cases[1], false},
                                      {cases[2], false},
                                      {cases[3], false},
                                      {cases[4], false},
                                      {cases[1], true},
                                      {cases[3], true}}) {
        SCOPED_TRACE(c.dropped + (byDialog ? " chosen" : " dropped"));
        LauncherPanel t;
        if (!c.shortName.empty()) t.h.shell.shortNames[c.dropped] = c.shortName;
        t.h.host.answers = {win::IdYes, win::IdOk};
        if (byDialog) {  // slot 3, which holds Plan
            t.h.shell.dialogAnswers = {FakeShell::DialogAnswer{c.dropped, "title"}};
            t.command(CmdRegister, 4);
        } else {
            t.drop(177, 22, {c.dropped});
        }
        if (!c.stored) {
            EXPECT_STREQ(t.slot(3).filePath, Plan.c_str()) << "the slot as it was";
            EXPECT_EQ(t.boxes(),
                      (std::vector<std::string>{Overwrite, std::string(UnstorableCaption) + "|" +
                                                               UnstorableText + "|48"}));
            continue;
        }
        EXPECT_STREQ(t.slot(3).filePath, c.stored->c_str());
        EXPECT_EQ(t.slot(3).longPath, c.shortName.empty() ? "" : c.dropped);
        t.command(CmdRun, 4);
        EXPECT_EQ(t.h.shell.executed.back().file, *c.stored);
        t.h.host.answers = {win::IdYes};
        t.h.send(win::WmClose);
        EXPECT_NE(t.h.files.files[File].find("\r\n3 " + *c.stored + "\r\n"), std::string::npos);
    }
}

// The folder's name reaches the file store whole, whatever the code page holds, and the
// paths inside stay the code page's bytes.
TEST(LauncherSettings, AFolderOfAnyName) {
    const std::string directory = utf8(u8"C:\\café 한국");
    const std::string file = "--- LANCHER ---\r\n4 C:\\\x83\x81\x83\x82.txt\r\n--- L_END ---";
    PanelHarness h;
    h.host.directory = directory;
    h.files.files[directory + "\\KQZ.txt"] = file;
    h.create();
    EXPECT_STREQ(h.app->slots[4].filePath, "C:\\\x83\x81\x83\x82.txt");
    h.host.answers = {win::IdYes};
    h.send(win::WmClose);
    ASSERT_EQ(h.files.writes.size(), 1u);
    EXPECT_EQ(h.files.writes[0].path, directory + "\\KQZ.txt");
    EXPECT_EQ(h.files.writes[0].bytes, file);
}

// A file saved as UTF-8 with its mark: read as UTF-8 whichever section comes first, names
// outside the code page opened through their short names, and written back as it came.
TEST(LauncherSettings, AFileInUtf8IsWrittenBackInUtf8) {
    const std::string keys = "--- HOTKEYS ---\r\nswitch 3 Ctrl+Alt+F3\r\n--- H_END ---\r\n";
    const std::string launcher = utf8(
        u8"--- LANCHER ---\r\n0 C:\\メモ\\a.txt\r\n"
        u8"2 C:\\한국😀.zzz\r\n5 D:\\café\\b.txt\r\n--- L_END ---");
    PanelHarness h;
    h.shell.shortNames = {{utf8(u8"C:\\한국😀.zzz"), "C:\\HAN~1.ZZZ"},
                          {utf8(u8"D:\\café\\b.txt"), "D:\\CAF~1\\b.txt"}};
    h.files.files[File] = "\xEF\xBB\xBF" + keys + launcher;
    h.create();
    EXPECT_STREQ(h.app->slots[0].filePath, "C:\\\x83\x81\x83\x82\\a.txt");
    EXPECT_STREQ(h.app->slots[2].filePath, "C:\\HAN~1.ZZZ");
    EXPECT_STREQ(h.app->slots[5].filePath, "D:\\CAF~1\\b.txt");
    EXPECT_EQ(h.app->hotkeys.section.lines, std::vector<std::string>{"switch 3 Ctrl+Alt+F3"});
    h.state().pointerZone = 3;
    h.send(win::WmCommand, CmdRun);
    ASSERT_EQ(h.shell.executed.size(), 1u);
    EXPECT_EQ(h.shell.executed[0].file, "C:\\HAN~1.ZZZ");
    h.host.answers = {win::IdYes};
    h.send(win::WmClose);
    EXPECT_EQ(h.files.files[File], "\xEF\xBB\xBF" + keys + launcher);
    EXPECT_EQ(h.host.messageBoxes.size(), 1u) << "the quit question only";
}

TEST(LauncherIcons, EveryIconObtainedIsDestroyedOnce) {
    PanelHarness h;
    h.files.files[File] = "--- LANCHER ---\r\n2 a\r\n2 b\r\n4 c\r\n--- L_END ---";  // slot 2 twice
    h.create();
    h.send(win::WmCommand, CmdSwitchFunction);
    h.pointAt(27, 22);
    h.send(win::WmDropFiles, h.shell.addDrop({"d"}));
    EXPECT_EQ(h.shell.iconRequests.size(), 4u);
    EXPECT_EQ(h.shell.liveIcons.size(), 3u);
    h.app.reset();
    EXPECT_TRUE(h.shell.liveIcons.empty());
    EXPECT_EQ(h.shell.destroyedIcons.size(), 4u);
}

}  // namespace
}  // namespace skelvo::testing
