// Owned windows on the simulated desktop: they go with the listed window their owner chain
// reaches through captures, switches, drops, the exit and the crash path.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/ids.h"
#include "desktops/rescue.h"
#include "desktops/switching.h"
#include "tests/fakes/panel_harness.h"

namespace skelvo::testing {
namespace {

struct Owned : ::testing::Test {
    FakeWindowSystem ws;
    std::unique_ptr<DesktopArray> desktops = std::make_unique<DesktopArray>();
    int current = 0;
    int slot = 0;

    void SetUp() override {
        ws.add(captioned("bottom"));
        for (int k = 0; k < DesktopCount; ++k) (*desktops)[k].reset(ws, k);
    }
    VirtualDesktop& desktop(int k) { return (*desktops)[k]; }
    void select(int d) { selectCell(d + 1, 17, current, slot, *desktops); }
    void refresh() { refreshDesktop(*desktops, current); }
    WindowHandle dialog(const std::string& title, WindowHandle owner, bool visible = true) {
        FakeWindow w = captioned(title);
        w.className = "#32770";
        w.style = win::WsPopup | win::WsCaption | win::WsSysMenu;
        w.owner = owner;
        w.visible = visible;
        return ws.add(w);
    }
    std::vector<WindowHandle> listed(int k) {
        const VirtualDesktop& d = desktop(k);
        std::vector<WindowHandle> out;
        for (int i = 0; i < d.count; ++i) out.push_back(d.entries[i].window);
        return out;
    }
    std::vector<WindowHandle> owned(int k) {
        const OwnedList& o = desktop(k).owned;
        std::vector<WindowHandle> out;
        for (int i = 0; i < o.count; ++i) out.push_back(o.items[i].window);
        return out;
    }
    // Every window of upper is visible and above every window of lower.
    void expectShownAbove(std::vector<WindowHandle> upper, WindowHandle lower) {
        const auto& z = ws.zOrder();
        const auto at = [&](WindowHandle w) {
            return std::find(z.begin(), z.end(), w) - z.begin();
        };
        EXPECT_TRUE(ws.isVisible(lower));
        for (WindowHandle w : upper) {
            EXPECT_TRUE(ws.isVisible(w)) << ws.at(w).title;
            EXPECT_LT(at(w), at(lower)) << ws.at(w).title << " above " << ws.at(lower).title;
        }
    }
};

// A dialog, its own dialog, and a dialog of a hidden window, which is a window of its own.
TEST_F(Owned, OwnerChainsLeadToTheListedWindow) {
    const WindowHandle a = ws.add(captioned("a"));
    const WindowHandle d1 = dialog("find", a);
    const WindowHandle d2 = dialog("find's help", d1);
    FakeWindow tip = captioned("tip");
    tip.className = "tooltips_class32";
    tip.owner = a;
    const WindowHandle t = ws.add(tip);
    FakeWindow hiddenOwner = captioned("tray program");
    hiddenOwner.visible = false;
    const WindowHandle x = dialog("settings", ws.add(hiddenOwner));
    refresh();
    EXPECT_EQ(listed(0), (std::vector<WindowHandle>{a, x}));
    EXPECT_EQ(owned(0), (std::vector<WindowHandle>{d1, d2})) << "the tooltip comes and goes";
    EXPECT_EQ(desktop(0).owned.items[1].owner, a) << "the owner's owner is the one listed";
    EXPECT_FALSE(isManagedWindow(ws, d2));

    select(1);
    for (WindowHandle w : {a, d1, d2, x}) EXPECT_FALSE(ws.isVisible(w)) << ws.at(w).title;
    ws.programShow(t, win::SwHide);
    ws.raise(a);  // whatever the order while parked
    select(0);
    expectShownAbove({d1, d2}, a);
    EXPECT_FALSE(ws.isVisible(t)) << "never shown again";
    const auto& z = ws.zOrder();
    EXPECT_LT(std::find(z.begin(), z.end(), d2), std::find(z.begin(), z.end(), d1))
        << "in their own order";
}

TEST_F(Owned, ADialogOpenedWhileItsProgramIsParkedIsParkedWithIt) {
    const WindowHandle a = ws.add(captioned("a"));
    select(2);
    const WindowHandle other = ws.add(captioned("on two"));
    const WindowHandle d = dialog("find", a);
    const WindowHandle gone = dialog("save?", a);
    refresh();
    EXPECT_EQ(listed(2), (std::vector<WindowHandle>{other}));
    EXPECT_FALSE(ws.isVisible(d) || ws.isVisible(gone));
    EXPECT_EQ(owned(0), (std::vector<WindowHandle>{d, gone}));
    ws.destroy(gone);  // closed while parked
    ws.shows.clear();
    select(0);
    expectShownAbove({d}, a);
    for (const auto& s : ws.shows) EXPECT_NE(s.first, gone) << "a closed dialog is not shown";
    EXPECT_FALSE(ws.isVisible(other));
}

// A tray program's settings window is listed on its own while the program's main window is
// hidden. Shown again with its main window on another desktop, its dialog goes with that
// window, and the desktop the settings window is parked on no longer holds it.
TEST_F(Owned, ADialogShownAgainWithItsProgramIsHeldByTheDesktopOnScreenAlone) {
    FakeWindow hiddenOwner = captioned("tray program");
    hiddenOwner.visible = false;
    const WindowHandle main = ws.add(hiddenOwner);
    const WindowHandle settings = dialog("settings", main);
    const WindowHandle d = dialog("find", settings);
    refresh();
    ASSERT_EQ(listed(0), (std::vector<WindowHandle>{settings}));
    select(2);
    ws.programShow(main, win::SwShow);
    ws.programShow(d, win::SwShowNa);
    refresh();
    EXPECT_EQ(listed(2), (std::vector<WindowHandle>{main}));
    EXPECT_EQ(owned(2), (std::vector<WindowHandle>{d}));
    EXPECT_TRUE(owned(0).empty()) << "held in one list only";
}

// Owned windows beyond the list's room stay on screen, in no list.
TEST_F(Owned, DialogsBeyondTheListsRoomStayOnScreen) {
    const WindowHandle a = ws.add(captioned("a"));
    std::vector<WindowHandle> dialogs;
    for (int i = 0; i <= OwnedCapacity; ++i) dialogs.push_back(dialog("d" + std::to_string(i), a));
    refresh();
    EXPECT_EQ(owned(0), std::vector<WindowHandle>(dialogs.begin(), dialogs.end() - 1));
    select(1);
    EXPECT_TRUE(ws.isVisible(dialogs.back()));
    EXPECT_FALSE(ws.isVisible(dialogs.front()));
}

// A parked program that shows its window again itself (a second start, its tray icon)
// brings the window onto the desktop on screen; its dialogs, still hidden, come along above
// it and are listed there, and the exit shows them, whichever desktop is on screen then.
TEST_F(Owned, ADialogOfAParkedWindowItsProgramShowsAgainComesWithIt) {
    const WindowHandle a = ws.add(captioned("a"));
    const WindowHandle d = dialog("find", a);
    const WindowHandle help = dialog("find's help", d);
    refresh();
    select(1);
    ASSERT_FALSE(ws.isVisible(d) || ws.isVisible(help));
    ws.programShow(a, win::SwShowNormal);
    refresh();
    EXPECT_EQ(listed(1), std::vector<WindowHandle>{a});
    EXPECT_TRUE(listed(0).empty() && owned(0).empty());
    EXPECT_EQ(owned(1), (std::vector<WindowHandle>{d, help}));
    expectShownAbove({d, help}, a);
    refresh();
    EXPECT_EQ(owned(1), (std::vector<WindowHandle>{d, help})) << "and stay listed";
    select(0);
    EXPECT_FALSE(ws.isVisible(a) || ws.isVisible(d) || ws.isVisible(help));
    desktops.reset();  // the exit
    for (WindowHandle w : {a, d, help}) EXPECT_TRUE(ws.isVisible(w)) << ws.at(w).title;
}

// The same for a program waiting on its modal dialog: disabled, it is held by that dialog
// though the dialog is hidden, and the dialog comes back above it, or the program could
// not be used.
TEST_F(Owned, AParkedProgramWaitingOnItsModalDialogShownAgainComesWithIt) {
    const WindowHandle a = ws.add(captioned("a"));
    const WindowHandle m = dialog("open", a);
    ws.at(a).enabled = false;
    refresh();
    ASSERT_EQ(listed(0), std::vector<WindowHandle>{a});
    select(1);
    ws.programShow(a, win::SwShowNormal);
    refresh();
    EXPECT_EQ(listed(1), std::vector<WindowHandle>{a});
    EXPECT_TRUE(listed(0).empty() && owned(0).empty());
    expectShownAbove({m}, a);
}

TEST_F(Owned, AProgramWithAModalDialogIsManagedAndParkedWithIt) {
    FakeWindow disabled = captioned("busy");
    disabled.enabled = false;
    const WindowHandle a = ws.add(disabled);
    refresh();
    EXPECT_TRUE(listed(0).empty()) << "disabled, and no dialog of it is open";
    // A dialog that is itself disabled (waiting on a window of its own) holds nothing.
    const WindowHandle x = dialog("properties", a);
    ws.at(x).enabled = false;
    refresh();
    EXPECT_TRUE(listed(0).empty()) << "only an enabled dialog holds its owner";
    const WindowHandle m = dialog("open", a);
    refresh();
    EXPECT_EQ(listed(0), (std::vector<WindowHandle>{a}));
    select(4);
    EXPECT_FALSE(ws.isVisible(a) || ws.isVisible(m) || ws.isVisible(x));
    select(0);
    expectShownAbove({x, m}, a);
}

TEST_F(Owned, DroppingAnOwnerTakesItsDialogsAlong) {
    const WindowHandle a = ws.add(captioned("a"));
    refresh();
    const WindowHandle d = dialog("find", a);  // opened since the last refresh
    // Its tooltip and an open menu stay where their program has them.
    std::vector<WindowHandle> passing;
    for (const char* cls : {"tooltips_class32", "#32768"}) {
        FakeWindow popup = captioned(cls);
        popup.className = cls;
        popup.owner = a;
        passing.push_back(ws.add(popup));
    }
    moveWindowToDesktop(a, 4, 0, current, *desktops);
    EXPECT_FALSE(ws.isVisible(a) || ws.isVisible(d));
    EXPECT_EQ(owned(3), (std::vector<WindowHandle>{d}));
    for (WindowHandle p : passing) EXPECT_TRUE(ws.isVisible(p)) << ws.at(p).title;
    // And back from the parked desktop onto the one on screen.
    moveWindowToDesktop(a, 1, 3, current, *desktops);
    expectShownAbove({d}, a);
    EXPECT_EQ(owned(0).size() + owned(3).size(), 1u);
}

// The exit shows each desktop's windows, and the crash path every held one, dialogs too.
TEST_F(Owned, TheExitAndTheCrashPathShowOwnedWindows) {
    const WindowHandle a = ws.add(captioned("a"));
    const WindowHandle d = dialog("find", a);
    select(6);
    HeldWindow held[HeldCapacity];
    const int n = collectHeld(*desktops, -1, nullptr, 0, held, HeldCapacity);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(held[1].window, d) << "after its owner";
    EXPECT_EQ(showHeldAsync(ws, held, n), 2);
    EXPECT_TRUE(ws.isVisible(d));

    ws.programShow(a, win::SwHide);
    ws.programShow(d, win::SwHide);
    desktops.reset();
    expectShownAbove({d}, a);
}

// The panel's own message box is never captured, while another program's dialog is.
TEST(OwnedPanel, ThePanelsOwnQuestionIsNeverCaptured) {
    PanelHarness h;
    h.windows.addAtBottom(captioned("bottom"));
    h.create();
    FakeWindow box = captioned("終了確認");
    box.className = "#32770";
    box.processId = h.windows.ownProcessId;
    box.owner = h.panelWindow;
    h.windows.add(box);
    FakeWindow theirs = box;
    theirs.processId = 77;
    theirs.owner = NullWindow;
    const WindowHandle other = h.windows.add(theirs);
    h.windows.add(box);  // a second box above
    h.tick(TimerRefresh);
    const VirtualDesktop& d = h.app->desktops[0];
    ASSERT_EQ(d.count, 1);
    EXPECT_EQ(d.entries[0].window, other);
    EXPECT_EQ(d.owned.count, 0);
}

}  // namespace
}  // namespace skelvo::testing
