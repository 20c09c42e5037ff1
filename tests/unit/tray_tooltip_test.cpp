// The tray icon and the tooltip on the fakes: the ways into the tray and back, the icon's
// handles with a refusing or restarted shell, and the hover text of every zone.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "app/ids.h"
#include "app/modes.h"
#include "tests/fakes/panel_harness.h"
#include "ui/tooltip.h"
#include "ui/tray.h"

namespace skelvo::testing {
namespace {

struct TrayPanel : PanelHarness {
    TrayPanel() { create(); }
    bool shown() { return windows.at(panelWindow).visible; }
    void icon(std::intptr_t mouse) { send(TrayCallbackMessage, 0, mouse); }
    void command(unsigned id) { send(win::WmCommand, id); }
    void doubleClickAt(int x, int y) {
        pointAt(x, y);
        for (unsigned m :
             {win::WmLButtonDown, win::WmLButtonUp, win::WmLButtonDblClk, win::WmLButtonUp})
            send(m);
    }
    void expectOnScreen(bool onScreen) {
        EXPECT_EQ(shown(), onScreen);
        EXPECT_EQ(state().inTray, !onScreen);
        EXPECT_EQ(shell.shown, !onScreen);
        EXPECT_EQ(shell.liveIcons.size(), onScreen ? 0u : 1u) << "one icon handle at most";
        EXPECT_TRUE(shell.badDestroys.empty());
    }
};

// From the full panel: how it went in, how it came out, the size after.
TEST(Tray, WaysInAndOut) {
    using Step = void (*)(TrayPanel&);
    const Step command = [](TrayPanel& h) { h.command(CmdEnterTray); };
    const Step iconDoubleClick = [](TrayPanel& h) { h.icon(win::WmLButtonDblClk); };
    const Step takeOut = [](TrayPanel& h) { h.command(CmdLeaveTray); };
    const struct {
        const char* name;
        Step in, out;
        int sizeAfter;
    } cases[] = {
        {"command, icon", command, iconDoubleClick, SizeSmall},
        {"command, take-out", command, takeOut, SizeFull},
        // The first click of the double-click already made the panel small.
        {"size button, icon", [](TrayPanel& h) { h.doubleClickAt(218, 140); }, iconDoubleClick,
         SizeFull},
        {"cell, icon", [](TrayPanel& h) { h.doubleClickAt(77, 62); }, iconDoubleClick, SizeSmall},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TrayPanel h;
        c.in(h);
        h.expectOnScreen(false);
        c.out(h);
        h.expectOnScreen(true);
        EXPECT_EQ(h.state().sizeState, c.sizeAfter);
        EXPECT_EQ(h.host.regions.empty() ? FullRegion : h.host.regions.back(),
                  c.sizeAfter == SizeFull ? FullRegion : SmallRegion);
    }
    TrayPanel h;  // launcher cells, the buttons and zone 0 do not go
    h.command(CmdSwitchFunction);
    for (auto [x, y] : {std::pair{77, 62}, {220, 30}, {201, 121}}) h.doubleClickAt(x, y);
    EXPECT_TRUE(h.shell.notifications.empty());
}

TEST(Tray, CommandAndIconMessages) {
    TrayPanel h;
    h.state().pointerZone = 7;
    h.command(CmdEnterTray);
    EXPECT_EQ(h.state().pointerZone, 1);
    const auto& [op, d] = h.shell.notifications.at(0);
    EXPECT_EQ(std::tuple(op, d.window, d.id, d.flags, d.callbackMessage, std::string(d.tip)),
              std::tuple(win::NimAdd, h.panelWindow, 0u, 7u, 32769u, std::string("Skelvo")));
    EXPECT_EQ(h.shell.loadedIcons, std::vector<int>{124});
    EXPECT_TRUE(h.shell.liveIcons.count(d.icon));
    h.log.clear();
    for (std::intptr_t m : {0x200, 0x201, 0x202, 0x205}) h.icon(m);
    EXPECT_EQ(h.log.countOf("default 32769"), 4) << "moves, clicks, releases";
    // A right press: the tray popup at the pointer; "デスクトップ3" there keeps it hidden.
    h.host.cursor = Point{900, 740};
    h.host.menuChoices = {CmdDesktopFirst + 2};
    h.icon(win::WmRButtonDown);
    const auto& popup = h.host.popups.at(0);
    EXPECT_EQ(std::tuple(popup.templateId, popup.position, popup.greyPosition, popup.screen),
              std::tuple(123, 0, -1, Point{900, 740}));
    h.command(static_cast<unsigned>(h.host.posted.back().wParam));
    EXPECT_EQ(h.state().currentDesktop, 2);
    h.expectOnScreen(false);
}

TEST(Tray, IconHandlesAndAFailingShell) {
    TrayPanel h;
    for (int i = 0; i < 1000; ++i) {
        h.command(CmdEnterTray);
        h.command(CmdLeaveTray);
    }
    EXPECT_EQ(h.shell.loadedIcons.size(), 1000u);
    h.expectOnScreen(true);   // every handle given back
    h.command(CmdEnterTray);  // twice in a row: only a posted command can do it
    h.command(CmdEnterTray);
    h.expectOnScreen(false);

    // "TaskbarCreated", let through the message filter, while the shell still shows the
    // icon: modified, one icon. A new taskbar knows none: the same icon added again.
    const unsigned taskbarCreated = h.host.registeredMessages.at("TaskbarCreated");
    EXPECT_EQ(h.host.allowed, (std::vector{std::pair{h.panelWindow, taskbarCreated}}));
    auto operationsSince = [&](std::size_t first) {
        std::vector<unsigned> ops;
        for (std::size_t i = first; i < h.shell.notifications.size(); ++i)
            ops.push_back(h.shell.notifications[i].operation);
        return ops;
    };
    const std::size_t sent = h.shell.notifications.size();
    EXPECT_EQ(h.send(taskbarCreated), 0);
    h.expectOnScreen(false);
    h.shell.shown = false;
    h.send(taskbarCreated);
    h.expectOnScreen(false);
    EXPECT_EQ(operationsSince(sent),
              (std::vector<unsigned>{win::NimModify, win::NimModify, win::NimAdd}));
    EXPECT_EQ(h.shell.notifications.back().data.icon, h.shell.notifications[sent - 1].data.icon);
    // Refused by a new taskbar: the panel comes back, and no icon is left.
    h.shell.shown = false;
    h.shell.refuseAdd = true;
    h.send(taskbarCreated);
    h.expectOnScreen(true);
    const std::size_t onScreen = h.shell.notifications.size();
    h.send(taskbarCreated);  // on screen: no icon to make sure of
    EXPECT_EQ(h.shell.notifications.size(), onScreen);

    h.command(CmdEnterTray);  // a shell that refuses the icon leaves the panel shown
    h.expectOnScreen(true);
    h.shell.refuseAdd = false;
    h.shell.busy = true;  // nor may one that reports a failure but shows the icon
    h.command(CmdEnterTray);
    h.expectOnScreen(true);
    // An icon the shell still shows for a panel on screen does not drive the panel.
    h.shell.shown = true;
    h.icon(win::WmLButtonDblClk);
    h.icon(win::WmRButtonDown);
    EXPECT_EQ(h.state().sizeState, SizeFull);
    EXPECT_TRUE(h.host.popups.empty());
    h.expectOnScreen(true);
    h.shell.busy = false;
    h.command(CmdEnterTray);
    h.host.answers = {win::IdYes};
    h.send(win::WmClose);  // the quit gives back the last handle
    EXPECT_TRUE(h.shell.liveIcons.empty());
}

TEST(ToolTip, OneSubclassingToolOverTheClientAreaUpdatedOnEveryTick) {
    PanelHarness h;
    h.state().instanceHandle = 0x400000;
    h.create();
    EXPECT_EQ(h.host.toolTipOwner, h.panelWindow);
    EXPECT_LT(h.log.indexOf("currentDirectory"), h.log.indexOf("createToolTip"));
    EXPECT_LT(h.log.indexOf("createToolTip"), h.log.indexOf("setTimer 1"));
    const auto& add = h.host.toolMessages.at(0);
    EXPECT_EQ(std::tuple(add.tooltip, add.message, add.info.flags, add.info.window, add.info.rect,
                         add.info.instance, add.text),
              std::tuple(FakeHost::ToolTipWindow, win::TtmAddToolA, 0x10u, h.panelWindow,
                         Rect{0, 0, 236, 157}, InstanceHandle{0x400000}, std::string()));
    h.host.advance(1200);  // off the panel: the empty text
    h.pointAt(220, 140);
    h.host.advance(3 * 1200);  // resting: the same text every tick keeps the tip up
    h.pointAt(220, 30);
    h.host.advance(1200);
    const std::vector<std::string> texts = {"", HoverSizeButton, HoverSizeButton, HoverSizeButton,
                                            HoverFunctionButtons};
    ASSERT_EQ(h.host.toolMessages.size(), 1 + texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const auto& m = h.host.toolMessages[1 + i];
        SCOPED_TRACE(i);
        // The update names the tool that was added, or the control changes nothing.
        EXPECT_EQ(std::tuple(m.tooltip, m.message, m.info.window, m.info.id, m.info.flags, m.text),
                  std::tuple(FakeHost::ToolTipWindow, 1036u, h.panelWindow, std::uintptr_t{0},
                             0x10u, texts[i]));
    }
}

TEST(ToolTip, HoverTextOfEveryZone) {
    PanelHarness h;
    h.windows.addAtBottom(FakeWindow{.title = "bottom, never captured"});
    // Desktop 0: a window at map (7, 7)-(27, 23), another minimised.
    WindowHandle shown = h.addWindow("shown", Rect{100, 100, 500, 400});
    h.addWindow("minimised", Rect{600, 300, 900, 500}, true);
    h.create();
    h.windows.at(shown).title = "renamed since the capture";
    h.app->desktops[5].count = 4;
    std::snprintf(h.app->slots[1].filePath, SlotPathBytes, "C:\\Windows\\notepad.exe");
    h.app->slots[1].registered = 1;
    std::snprintf(h.app->slots[2].filePath, SlotPathBytes, "C:\\unflagged.txt");
    const VirtualDesktop& d0 = h.app->desktops[0];
    ASSERT_EQ(d0.count, 2);
    const Rect minimised = d0.entries[d0.entries[0].window == shown ? 1 : 0].mapRect;
    auto count = [](const char* n) { return std::string(HoverCountPrefix) + n + HoverCountSuffix; };
    EXPECT_EQ(count("2"), "このデスクトップには、“ 2 ”個のウィンドウが存在します");

    const struct {
        int function;
        Point at;
        std::string text;
        bool small = false;
    } cases[] = {
        {FunctionDesktop, {12, 12}, "renamed since the capture"},
        {FunctionDesktop, {40, 35}, count("2")},
        {FunctionDesktop, {minimised.left, minimised.top}, count("2")},  // never hit
        {FunctionDesktop, {77, 62}, count("4")},
        {FunctionDesktop, {177, 102}, count("0")},
        {FunctionLauncher, {12, 12}, HoverSlotEmpty},
        {FunctionLauncher, {77, 12}, "C:\\Windows\\notepad.exe"},
        {FunctionLauncher, {127, 12}, HoverSlotEmpty},  // a path without the flag
        {FunctionDesktop, {210, 10}, HoverFunctionButtons},
        {FunctionLauncher, {230, 100}, HoverFunctionButtons},
        {FunctionDesktop, {100, 140}, HoverInfoBar},
        {FunctionLauncher, {5, 150}, HoverInfoBar},
        {FunctionLauncher, {233, 155}, HoverSizeButton},
        {FunctionDesktop, {201, 60}, ""},   // the strip between map and buttons
        {FunctionDesktop, {300, 300}, ""},  // off the panel
        {FunctionDesktop, {203, 125}, HoverSizeButton, true},
        {FunctionDesktop, {202, 140}, "", true},  // the small panel's edges
        {FunctionDesktop, {220, 124}, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.function << " at " << c.at.x << "," << c.at.y);
        if (c.small && h.state().sizeState == SizeFull) h.send(win::WmCommand, CmdSwitchSize);
        h.pointAt(c.at.x, c.at.y);
        char buffer[HoverTextBytes + 1];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(hoverText(h.panel->services(), h.panelWindow, h.app->desktops, h.app->slots,
                            c.function, buffer),
                  buffer);
        EXPECT_EQ(std::string(buffer), c.text);
    }
}

}  // namespace
}  // namespace skelvo::testing
