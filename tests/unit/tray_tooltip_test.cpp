// The tray icon and the tooltip on the fakes: the ways into the tray and back, the icon's
// handles and a refusing or restarted shell, and the hover text of every zone.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <tuple>

#include "app/ids.h"
#include "app/modes.h"
#include "tests/fakes/panel_harness.h"
#include "ui/tooltip.h"
#include "ui/tray.h"

namespace skelvo::testing {
namespace {

constexpr std::intptr_t MouseMove = 0x200;

struct TrayPanel : PanelHarness {
    TrayPanel() { create(); }
    bool panelShown() { return windows.at(panelWindow).visible; }
    void icon(std::intptr_t mouse) { send(TrayCallbackMessage, 0, mouse); }
    void command(unsigned id) { send(win::WmCommand, id); }
    // Delivers the commands the popups posted, as the message loop would.
    void deliverPosted() {
        auto queued = std::move(host.posted);
        host.posted.clear();
        for (const auto& m : queued)
            if (m.message == win::WmCommand) command(static_cast<unsigned>(m.wParam));
    }
    void doubleClickAt(int x, int y) {
        pointAt(x, y);
        send(win::WmLButtonDown);
        send(win::WmLButtonUp);
        send(win::WmLButtonDblClk);
        send(win::WmLButtonUp);
    }
};

TEST(Tray, EnteringAddsTheIconAndHides) {
    TrayPanel h;
    h.state().pointerZone = 7;
    h.command(CmdEnterTray);
    EXPECT_EQ(h.state().pointerZone, 1);
    ASSERT_EQ(h.shell.notifications.size(), 1u);
    const auto& [op, data] = h.shell.notifications[0];
    EXPECT_EQ(op, win::NimAdd);
    EXPECT_EQ(data.window, h.panelWindow);
    EXPECT_EQ(data.id, 0u);
    EXPECT_EQ(data.flags, 7u);
    EXPECT_EQ(data.callbackMessage, 32769u);
    EXPECT_STREQ(data.tip, "Skelvo");
    EXPECT_EQ(h.shell.loadedIcons, std::vector<int>{124});
    EXPECT_TRUE(h.shell.liveIcons.count(data.icon));
    EXPECT_FALSE(h.panelShown());
    EXPECT_TRUE(h.state().inTray);
}

// Each way back, from the full panel: (how it went in, how it came out, size after).
TEST(Tray, WaysInAndOut) {
    struct Case {
        const char* name;
        void (*in)(TrayPanel&);
        void (*out)(TrayPanel&);
        int sizeAfter;
    };
    const Case cases[] = {
        {"command, icon double-click", [](TrayPanel& h) { h.command(CmdEnterTray); },
         [](TrayPanel& h) { h.icon(win::WmLButtonDblClk); }, SizeSmall},
        {"command, take-out command", [](TrayPanel& h) { h.command(CmdEnterTray); },
         [](TrayPanel& h) { h.command(CmdLeaveTray); }, SizeFull},
        // The first click of the double-click already made the panel small.
        {"size-button double-click, icon double-click",
         [](TrayPanel& h) { h.doubleClickAt(218, 140); },
         [](TrayPanel& h) { h.icon(win::WmLButtonDblClk); }, SizeFull},
        {"cell double-click, icon double-click", [](TrayPanel& h) { h.doubleClickAt(77, 62); },
         [](TrayPanel& h) { h.icon(win::WmLButtonDblClk); }, SizeSmall},
        {"launcher size-button double-click, take-out command",
         [](TrayPanel& h) {
             h.command(CmdSwitchFunction);
             h.doubleClickAt(218, 140);
         },
         [](TrayPanel& h) { h.command(CmdLeaveTray); }, SizeSmall},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TrayPanel h;
        c.in(h);
        ASSERT_TRUE(h.state().inTray);
        ASSERT_FALSE(h.panelShown());
        c.out(h);
        EXPECT_FALSE(h.state().inTray);
        EXPECT_TRUE(h.panelShown());
        EXPECT_EQ(h.state().sizeState, c.sizeAfter);
        EXPECT_EQ(h.host.regions.empty() ? FullRegion : h.host.regions.back(),
                  c.sizeAfter == SizeFull ? FullRegion : SmallRegion);
        EXPECT_EQ(h.shell.notifications.back().operation, win::NimDelete);
        EXPECT_FALSE(h.shell.shown);
        EXPECT_TRUE(h.shell.liveIcons.empty()) << "the icon handle is given back";
    }
}

TEST(Tray, LauncherCellDoubleClickAndOtherZonesStayOnScreen) {
    TrayPanel h;
    h.command(CmdSwitchFunction);
    h.doubleClickAt(77, 62);
    h.doubleClickAt(220, 30);   // function buttons
    h.doubleClickAt(201, 121);  // zone 0
    EXPECT_FALSE(h.state().inTray);
    EXPECT_TRUE(h.shell.notifications.empty());
}

TEST(Tray, IconRightPressOpensTheTrayPopupWhoseDesktopCommandKeepsThePanelHidden) {
    TrayPanel h;
    h.command(CmdEnterTray);
    h.host.cursor = Point{900, 740};
    h.host.menuChoices = {CmdDesktopFirst + 2};  // "デスクトップ3"
    h.icon(win::WmRButtonDown);
    ASSERT_EQ(h.host.popups.size(), 1u);
    const auto& popup = h.host.popups[0];
    EXPECT_EQ(popup.templateId, 123);
    EXPECT_EQ(popup.position, 0);
    EXPECT_EQ(popup.greyPosition, -1);
    EXPECT_EQ(popup.screen, (Point{900, 740}));
    h.deliverPosted();
    EXPECT_EQ(h.state().currentDesktop, 2);
    EXPECT_FALSE(h.panelShown());
    EXPECT_TRUE(h.state().inTray);
}

TEST(Tray, OtherIconMessagesGoToTheDefaultProcedure) {
    TrayPanel h;
    h.command(CmdEnterTray);
    h.log.clear();
    for (std::intptr_t m : {MouseMove, std::intptr_t{win::WmLButtonDown},
                            std::intptr_t{win::WmLButtonUp}, std::intptr_t{win::WmRButtonUp}})
        h.icon(m);
    EXPECT_EQ(h.log.countOf("default 32769"), 4);
    EXPECT_TRUE(h.state().inTray);
    EXPECT_TRUE(h.host.popups.empty());
}

TEST(Tray, AThousandTripsHoldNoIconAndQuitGivesBackTheLast) {
    TrayPanel h;
    for (int i = 0; i < 1000; ++i) {
        h.command(CmdEnterTray);
        h.command(CmdLeaveTray);
    }
    EXPECT_EQ(h.shell.loadedIcons.size(), 1000u);
    EXPECT_TRUE(h.shell.liveIcons.empty());
    EXPECT_TRUE(h.shell.badDestroys.empty());
    // Entering twice (only a posted command can) keeps one icon, not two.
    h.command(CmdEnterTray);
    h.command(CmdEnterTray);
    EXPECT_EQ(h.shell.liveIcons.size(), 1u);
    h.send(win::WmClose);
    EXPECT_EQ(h.shell.notifications.back().operation, win::NimDelete);
    EXPECT_TRUE(h.shell.liveIcons.empty());
    EXPECT_TRUE(h.shell.badDestroys.empty());
}

TEST(Tray, RefusedIconLeavesThePanelOnScreen) {
    TrayPanel h;
    h.shell.refuseAdd = true;
    h.command(CmdEnterTray);
    EXPECT_TRUE(h.panelShown());
    EXPECT_FALSE(h.state().inTray);
    EXPECT_TRUE(h.shell.liveIcons.empty());
    // Once the shell takes icons, the next try goes in.
    h.shell.refuseAdd = false;
    h.command(CmdEnterTray);
    EXPECT_FALSE(h.panelShown());
}

TEST(Tray, RecreatedTaskbarGetsTheIconAgain) {
    TrayPanel h;
    const unsigned taskbarCreated = h.host.registeredMessages.at("TaskbarCreated");
    EXPECT_EQ(h.send(taskbarCreated), 0) << "on screen: nothing to add";
    EXPECT_TRUE(h.shell.notifications.empty());

    h.command(CmdEnterTray);
    const IconHandle icon = h.shell.notifications[0].data.icon;
    h.shell.shown = false;  // the old taskbar took its icons along
    h.send(taskbarCreated);
    ASSERT_EQ(h.shell.notifications.size(), 2u);
    EXPECT_EQ(h.shell.notifications[1].operation, win::NimAdd);
    EXPECT_EQ(h.shell.notifications[1].data.icon, icon);
    EXPECT_FALSE(h.panelShown());

    // A new taskbar that refuses the icon gives the panel back.
    h.shell.shown = false;
    h.shell.refuseAdd = true;
    h.send(taskbarCreated);
    EXPECT_TRUE(h.panelShown());
    EXPECT_FALSE(h.state().inTray);
    EXPECT_TRUE(h.shell.liveIcons.empty());
}

TEST(ToolTip, CreatedWithOneSubclassingToolOverTheClientArea) {
    PanelHarness h;
    h.state().instanceHandle = 0x400000;
    h.create();
    EXPECT_EQ(h.host.toolTipOwner, h.panelWindow);
    EXPECT_LT(h.log.indexOf("currentDirectory"), h.log.indexOf("createToolTip"));
    EXPECT_LT(h.log.indexOf("createToolTip"), h.log.indexOf("setTimer 1"));
    ASSERT_EQ(h.host.toolMessages.size(), 1u);
    const auto& add = h.host.toolMessages[0];
    EXPECT_EQ(add.tooltip, FakeHost::ToolTipWindow);
    EXPECT_EQ(add.message, win::TtmAddToolA);
    EXPECT_EQ(add.info.flags, 0x10u);
    EXPECT_EQ(add.info.window, h.panelWindow);
    EXPECT_EQ(add.info.rect, (Rect{0, 0, 236, 157}));
    EXPECT_EQ(add.info.instance, 0x400000u);
    EXPECT_EQ(add.text, "");
    EXPECT_EQ(h.state().toolTipWindow, FakeHost::ToolTipWindow);

    // Every tick of timer 4 sends the text for where the pointer is now.
    h.pointAt(220, 140);
    h.host.advance(1200);
    h.pointAt(220, 30);
    h.host.advance(1200);
    ASSERT_EQ(h.host.toolMessages.size(), 3u);
    EXPECT_EQ(h.host.toolMessages[1].message, 1036u);
    EXPECT_EQ(h.host.toolMessages[1].text, HoverSizeButton);
    EXPECT_EQ(h.host.toolMessages[2].text, HoverFunctionButtons);
}

TEST(ToolTip, HoverTextOfEveryZone) {
    PanelHarness h;
    h.windows.addAtBottom(FakeWindow{.title = "bottom, never captured"});
    // Desktop 0: a window at 100,100 (map 7,7 .. 27,23), another minimised.
    WindowHandle shown = h.addWindow("shown", Rect{100, 100, 500, 400});
    h.addWindow("minimised", Rect{600, 300, 900, 500}, true);
    h.create();
    h.windows.at(shown).title = "renamed since the capture";
    for (int i = 0; i < 4; ++i) h.app->desktops[5].entries[i].window = 0x99;
    h.app->desktops[5].count = 4;
    LauncherSlot& slot = h.app->slots[1];
    std::snprintf(slot.filePath, sizeof slot.filePath, "C:\\Windows\\notepad.exe");
    slot.registered = 1;
    std::snprintf(h.app->slots[2].filePath, sizeof slot.filePath, "C:\\unflagged.txt");

    const std::string count = std::string(HoverCountPrefix) + "2" + HoverCountSuffix;
    const VirtualDesktop& d0 = h.app->desktops[0];
    ASSERT_EQ(d0.count, 2);
    const Rect minimisedMap =
        d0.entries[0].window == shown ? d0.entries[1].mapRect : d0.entries[0].mapRect;
    struct Case {
        int function;
        Point at;
        std::string text;
    };
    const Case cases[] = {
        {FunctionDesktop, {12, 12}, "renamed since the capture"},
        {FunctionDesktop, {40, 35}, count},  // desktop 0, beside the window
        {FunctionDesktop, {minimisedMap.left, minimisedMap.top}, count},  // minimised: no hit
        {FunctionDesktop, {77, 62}, std::string(HoverCountPrefix) + "4" + HoverCountSuffix},
        {FunctionDesktop, {177, 102}, std::string(HoverCountPrefix) + "0" + HoverCountSuffix},
        {FunctionLauncher, {12, 12}, HoverSlotEmpty},
        {FunctionLauncher, {77, 12}, "C:\\Windows\\notepad.exe"},
        {FunctionLauncher, {127, 12}, HoverSlotEmpty},  // a path without the flag
        {FunctionDesktop, {210, 10}, HoverFunctionButtons},
        {FunctionLauncher, {230, 100}, HoverFunctionButtons},
        {FunctionDesktop, {100, 140}, HoverInfoBar},
        {FunctionLauncher, {5, 150}, HoverInfoBar},
        {FunctionDesktop, {218, 140}, HoverSizeButton},
        {FunctionLauncher, {233, 155}, HoverSizeButton},
        {FunctionDesktop, {201, 60}, ""},  // the strip between map and buttons
        {FunctionDesktop, {100, 121}, ""},
        {FunctionDesktop, {300, 300}, ""},  // off the panel
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.function) + " at " + std::to_string(c.at.x) + "," +
                     std::to_string(c.at.y));
        h.pointAt(c.at.x, c.at.y);
        char buffer[HoverTextBytes];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(hoverText(h.panel->services(), h.panelWindow, h.app->desktops, h.app->slots,
                            c.function, buffer),
                  buffer);
        EXPECT_EQ(std::string(buffer), c.text);
    }
    EXPECT_EQ(count, "このデスクトップには、“ 2 ”個のウィンドウが存在します");
}

TEST(ToolTip, SmallPanelReadsTheSizeButtonAndItsEdgesNothing) {
    PanelHarness h;
    h.create();
    h.send(win::WmCommand, CmdSwitchSize);
    char buffer[HoverTextBytes];
    for (auto [x, y, text] : {std::tuple{203, 125, HoverSizeButton},
                              {233, 155, HoverSizeButton},
                              {202, 140, ""},
                              {220, 124, ""}}) {
        h.pointAt(x, y);
        EXPECT_STREQ(hoverText(h.panel->services(), h.panelWindow, h.app->desktops, h.app->slots,
                               FunctionDesktop, buffer),
                     text)
            << x << "," << y;
    }
}

TEST(ToolTip, LongTitleIsCutToTheBuffer) {
    PanelHarness h;
    h.windows.addAtBottom(FakeWindow{.title = "bottom"});
    h.addWindow(std::string(400, 'a'));
    h.create();
    h.pointAt(12, 12);
    char buffer[HoverTextBytes + 8];
    std::memset(buffer, 'z', sizeof buffer);
    hoverText(h.panel->services(), h.panelWindow, h.app->desktops, h.app->slots, FunctionDesktop,
              buffer);
    EXPECT_EQ(std::strlen(buffer), 259u);
    EXPECT_EQ(buffer[HoverTextBytes], 'z') << "nothing written past the buffer";
}

TEST(ToolTip, MissingClassLeavesUpdatesHarmless) {
    PanelHarness h;
    h.host.toolTipClassMissing = true;
    h.create();
    h.host.advance(2400);
    EXPECT_EQ(h.state().toolTipWindow, NullWindow);
    ASSERT_EQ(h.host.toolMessages.size(), 3u);
    EXPECT_EQ(h.host.toolMessages.back().tooltip, NullWindow);
}

}  // namespace
}  // namespace skelvo::testing
