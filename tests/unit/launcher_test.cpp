// Launcher slots on the fakes: registration by dialog and drop, deletion, launching, the
// settings file at creation, quit and session end, and the icons the slots own.
#include <gtest/gtest.h>

#include "app/ids.h"
#include "launcher/registration.h"
#include "settings/settings_file.h"
#include "tests/fakes/panel_harness.h"

namespace skelvo::testing {
namespace {

const std::string File = "C:\\Skelvo\\KQZ.txt";
const std::string Notepad = "C:\\windows\\notepad.exe";
const std::string Plan = "D:\\Docs\\plan.txt";
const std::string Folder = "D:\\Docs";

// A panel created over a settings file registering slots 0 (notepad) and 3 (plan), shown
// in the launcher function.
struct LauncherPanel {
    PanelHarness h;
    LauncherPanel() {
        h.files.files[File] =
            "--- LANCHER ---\r\n0 " + Notepad + "\r\n3 " + Plan + "\r\n--- L_END ---";
        h.create();
        h.send(win::WmCommand, CmdSwitchFunction);
        h.log.clear();
    }
    LauncherSlot& slot(int i) { return h.app->slots[i]; }
    Point cell(int i) { return Point{50 * (i % 4) + 27, 40 * (i / 4) + 22}; }
    void command(unsigned id, int zone) {
        h.state().pointerZone = zone;
        h.send(win::WmCommand, id);
    }
    void drop(Point at, std::vector<std::string> names) {
        h.pointAt(at.x, at.y);
        const DropHandle d = h.shell.addDrop(std::move(names));
        EXPECT_EQ(h.send(win::WmDropFiles, d), 0);
        EXPECT_EQ(h.shell.finishedDrops, std::vector<DropHandle>{d}) << "released in every case";
    }
    std::vector<std::string> launched() {
        std::vector<std::string> files;
        for (const auto& e : h.shell.executed) files.push_back(e.file);
        return files;
    }
};
struct Launcher : ::testing::Test, LauncherPanel {};

TEST_F(Launcher, LoadedAtCreationWithTitlesAndIcons) {
    EXPECT_EQ(slot(0).registered, 1);
    EXPECT_STREQ(slot(0).filePath, Notepad.c_str());
    EXPECT_STREQ(slot(0).fileTitle, "notepad.exe");
    EXPECT_TRUE(slot(0).hasIcon());
    EXPECT_STREQ(slot(3).fileTitle, "plan.txt");
    for (int i : {1, 2, 4, 11}) EXPECT_EQ(slot(i).registered, 0);
}

TEST_F(Launcher, RegisterByDialog) {
    using Answer = FakeShell::DialogAnswer;
    const std::string longTitle(200, 't');  // kept whole in the slot's title
    struct Case {
        const char* name;
        int slot;
        std::deque<int> answers;
        std::optional<Answer> dialog;
        bool asked, opened;
        std::string path, title;
    };
    const std::vector<Case> cases = {
        {"empty slot: no question", 5, {}, Answer{"E:\\x.exe", "x"}, false, true, "E:\\x.exe", "x"},
        {"registered, No keeps it",
         0,
         {win::IdNo},
         Answer{"E:\\y", "y"},
         true,
         false,
         Notepad,
         "notepad.exe"},
        {"registered, cancelled keeps it",
         0,
         {win::IdYes},
         std::nullopt,
         true,
         true,
         Notepad,
         "notepad.exe"},
        {"registered, a closed box overwrites",
         3,
         {win::IdCancel},
         Answer{"E:\\" + longTitle, longTitle},
         true,
         true,
         "E:\\" + longTitle,
         longTitle},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherPanel t;
        LauncherSlot& s = t.slot(c.slot);
        const IconHandle oldIcon = s.icon;
        t.h.host.answers = c.answers;
        t.h.shell.dialogAnswers = {c.dialog};
        t.command(CmdRegister, c.slot + 1);
        ASSERT_EQ(t.h.host.messageBoxes.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(t.h.host.messageBoxes[0].text, OverwriteText);
            EXPECT_EQ(t.h.host.messageBoxes[0].caption, OverwriteCaption);
            EXPECT_EQ(t.h.host.messageBoxes[0].flags, win::MbYesNo | win::MbIconQuestion);
        }
        ASSERT_EQ(t.h.shell.dialogs.size(), c.opened ? 1u : 0u);
        EXPECT_EQ(s.registered, 1);
        EXPECT_EQ(s.filePath, c.path);
        EXPECT_EQ(s.fileTitle, c.title);
        const bool replaced = c.dialog && c.opened;
        EXPECT_EQ(s.icon != oldIcon, replaced);
        EXPECT_EQ(t.h.shell.liveIcons.count(oldIcon), replaced ? 0u : oldIcon != 0 ? 1u : 0u);
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
    EXPECT_EQ(slot(11).registered, 0);
    // A command posted from outside, with no cell under the last release, does nothing.
    command(CmdRegister, 0);
    command(CmdRun, 33);
    command(CmdDeleteRegistration, 49);
    EXPECT_EQ(h.shell.dialogs.size(), 2u);
    EXPECT_TRUE(h.shell.executed.empty());
    EXPECT_TRUE(h.host.messageBoxes.empty());
}

TEST_F(Launcher, DropOnACell) {
    struct Case {
        const char* name;
        int function;
        Point at;
        std::deque<int> answers;
        int zone, changed;  // changed: the slot registered, -1 none
        size_t questions;
    };
    const std::vector<Case> cases = {
        {"empty cell: first item only", FunctionLauncher, cell(6), {}, 7, 6, 0},
        {"registered cell, Yes", FunctionLauncher, cell(3), {win::IdYes}, 4, 3, 1},
        {"registered cell, No", FunctionLauncher, cell(3), {win::IdNo}, 4, -1, 1},
        {"desktop function", FunctionDesktop, cell(6), {}, 7, -1, 0},
        {"information bar", FunctionLauncher, Point{100, 140}, {}, 33, -1, 0},
        {"size button", FunctionLauncher, Point{220, 140}, {}, 49, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherPanel t;
        t.h.state().functionMode = c.function;
        t.h.host.answers = c.answers;
        t.drop(c.at, {Folder, "D:\\b.txt", "D:\\c.txt"});
        EXPECT_EQ(t.h.state().pointerZone, c.zone);
        EXPECT_EQ(t.h.host.messageBoxes.size(), c.questions);
        for (int i = 0; i < SlotCount; ++i) {
            const bool before = i == 0 || i == 3;
            EXPECT_EQ(t.slot(i).registered, before || i == c.changed ? 1 : 0) << i;
            if (i == c.changed) {
                EXPECT_EQ(t.slot(i).filePath, Folder);
                EXPECT_STREQ(t.slot(i).fileTitle, "Docs");
                EXPECT_TRUE(t.slot(i).hasIcon());
            }
        }
    }
    // A name longer than a slot holds is not registered cut.
    drop(cell(8), {"C:\\" + std::string(300, 'n')});
    EXPECT_EQ(slot(8).registered, 0);
}

TEST_F(Launcher, DeleteOneOrAll) {
    struct Case {
        unsigned id;
        int zone, answer;
        std::string text;
        std::vector<int> left;
    };
    const std::vector<Case> cases = {
        {CmdDeleteRegistration, 4, win::IdYes, DeleteText, {0}},
        {CmdDeleteRegistration, 4, win::IdCancel, DeleteText, {0, 3}},  // only Yes goes on
        {CmdDeleteRegistration, 9, win::IdYes, DeleteText, {0, 3}},     // an empty slot asks too
        {CmdDeleteAllRegistrations, 0, win::IdYes, DeleteAllText, {}},
        {CmdDeleteAllRegistrations, 0, win::IdNo, DeleteAllText, {0, 3}},
    };
    for (const Case& c : cases) {
        LauncherPanel t;
        const IconHandle icon3 = t.slot(3).icon;
        t.h.host.answers = {c.answer};
        t.command(c.id, c.zone);
        ASSERT_EQ(t.h.host.messageBoxes.size(), 1u);
        EXPECT_EQ(t.h.host.messageBoxes[0].text, c.text);
        EXPECT_EQ(t.h.host.messageBoxes[0].caption, DeleteCaption);
        EXPECT_EQ(t.h.host.messageBoxes[0].flags, win::MbYesNo | win::MbIconExclamation);
        std::vector<int> left;
        for (int i = 0; i < SlotCount; ++i)
            if (t.slot(i).registered) left.push_back(i);
        EXPECT_EQ(left, c.left) << c.id << " " << c.answer;
        const bool gone = std::find(left.begin(), left.end(), 3) == left.end();
        EXPECT_EQ(t.h.shell.liveIcons.count(icon3), gone ? 0u : 1u)
            << "a cleared icon is destroyed";
        if (gone) {
            EXPECT_STREQ(t.slot(3).filePath, "");
        }
        // A deleted slot is neither launched nor saved.
        t.command(CmdRunAll, 0);
        EXPECT_EQ(t.launched().size(), left.size());
        t.h.send(win::WmClose);
        EXPECT_EQ(t.h.files.files[File].find(Plan) != std::string::npos, !gone);
    }
}

TEST_F(Launcher, LaunchesWithoutTouchingThePanel) {
    slot(3).icon.reset();  // a slot with no icon still launches
    const Rect where = h.windows.rect(h.panelWindow);
    h.pointAt(cell(0).x, cell(0).y);
    h.send(win::WmLButtonDblClk);
    h.pointAt(cell(1).x, cell(1).y);
    h.send(win::WmLButtonDblClk);       // empty cell
    command(CmdLauncherFirst + 3, 11);  // "ランチャー4" whatever the zone
    command(CmdRun, 1);
    command(CmdRunAll, 0);
    EXPECT_EQ(launched(), (std::vector<std::string>{Notepad, Plan, Notepad, Notepad, Plan}));
    for (const auto& e : h.shell.executed) {
        EXPECT_EQ(e.owner, NullWindow);
        EXPECT_EQ(e.operation, "open");
        EXPECT_FALSE(e.parameters.has_value() || e.directory.has_value());
        EXPECT_EQ(e.showCommand, win::SwShow);
    }
    EXPECT_EQ(h.state().functionMode, FunctionLauncher);
    EXPECT_EQ(h.state().sizeState, SizeFull);
    EXPECT_EQ(h.windows.rect(h.panelWindow), where);
    EXPECT_TRUE(h.windows.isVisible(h.panelWindow));
    EXPECT_TRUE(h.shell.notifications.empty());
    // A registered slot with an empty path, and the desktop function's double-click.
    slot(5).registered = 1;
    h.state().functionMode = FunctionDesktop;
    h.pointAt(cell(0).x, cell(0).y);
    h.send(win::WmLButtonDblClk);
    command(CmdLauncherFirst + 5, 0);
    EXPECT_EQ(h.shell.executed.size(), 5u);
}

TEST_F(Launcher, SavedAtQuitAndAtSessionEnd) {
    struct Case {
        const char* name;
        unsigned message;
        std::uintptr_t wParam;
        bool saves;
    };
    const std::string expected =
        "--- LANCHER ---\r\n0 " + Notepad + "\r\n3 " + Plan + "\r\n10 D:\\b.txt\r\n--- L_END ---";
    for (const Case& c : std::vector<Case>{{"quit", win::WmClose, 0, true},
                                           {"session ends", win::WmEndSession, 1, true},
                                           {"session goes on", win::WmEndSession, 0, false}}) {
        SCOPED_TRACE(c.name);
        LauncherPanel t;
        t.drop(t.cell(10), {"D:\\b.txt"});
        EXPECT_EQ(t.h.send(c.message, c.wParam), 0);
        EXPECT_EQ(t.h.files.writes.size(), c.saves ? 1u : 0u);
        if (c.saves) {
            EXPECT_EQ(t.h.files.files[File], expected);
        }
        // Only the quit asks; the session end saves without a question.
        EXPECT_EQ(t.h.host.messageBoxes.size(), c.message == win::WmClose ? 1u : 0u);
    }
}

TEST(LauncherSettings, UnreachableOrUnwritableFile) {
    struct Case {
        const char* name;
        std::string directory;
        bool failWrites;
    };
    const std::vector<Case> cases = {
        {"directory too long to take", "C:\\" + std::string(300, 'd'), false},
        {"file path too long", "C:\\" + std::string(252, 'd'), false},
        {"write fails", "C:\\Skelvo", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelHarness h;
        h.host.directory = c.directory;
        h.files.files[c.directory + "\\KQZ.txt"] = "--- LANCHER ---\r\n1 E:\\x\r\n--- L_END ---";
        h.files.files["\\KQZ.txt"] = h.files.files[c.directory + "\\KQZ.txt"];
        h.files.failWrites = c.failWrites;
        h.create();
        EXPECT_EQ(h.app->slots[1].registered, c.failWrites ? 1 : 0) << "loads nothing";
        h.host.answers = {win::IdYes};
        h.send(win::WmClose);
        ASSERT_EQ(h.host.messageBoxes.size(), 2u);
        const MessageBoxCall& box = h.host.messageBoxes[1];
        EXPECT_EQ(box.owner, h.windows.desktopWindow());
        EXPECT_EQ(box.text, "ファイルの書き込みに失敗しました");
        EXPECT_EQ(box.caption, "");
        EXPECT_EQ(box.flags, win::MbOk);
        EXPECT_TRUE(h.files.writes.empty()) << "the old file stays";
        EXPECT_EQ(h.host.destroyed.size(), 1u) << "the quit goes on";
    }
}

TEST(LauncherIcons, EveryIconObtainedIsDestroyedOnce) {
    PanelHarness h;
    h.files.files[File] = "--- LANCHER ---\r\n2 a\r\n2 b\r\n4 c\r\n--- L_END ---";  // slot 2 twice
    h.create();
    h.send(win::WmCommand, CmdSwitchFunction);
    h.pointAt(27, 22);
    h.send(win::WmDropFiles, h.shell.addDrop({"d"}));
    const std::size_t obtained = h.shell.iconRequests.size();
    EXPECT_EQ(obtained, 4u);
    EXPECT_EQ(h.shell.liveIcons.size(), 3u);
    h.app.reset();
    EXPECT_TRUE(h.shell.liveIcons.empty());
    EXPECT_EQ(h.shell.destroyedIcons.size(), obtained);
}

}  // namespace
}  // namespace skelvo::testing
