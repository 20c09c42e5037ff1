// The panel's hotkeys through the whole panel on the fakes: keys pressed on the fake
// keyboard reach the panel as the WM_HOTKEY the system would post.
#include <gtest/gtest.h>

#include "app/hotkeys.h"
#include "app/ids.h"
#include "desktops/switching.h"
#include "tests/fakes/panel_harness.h"
#include "tests/unit/message_orders.h"

namespace skelvo::testing {
namespace {

constexpr unsigned CtrlAlt = ModControl | ModAlt;
constexpr unsigned CtrlAltShift = CtrlAlt | ModShift;

struct Hotkeys : ::testing::Test {
    PanelHarness h;

    void SetUp() override { h.windows.addAtBottom(captioned("shell")); }
    // Presses a combination; false when no hotkey of the panel has it.
    bool press(unsigned modifiers, unsigned key) {
        const auto id = h.keyboard.press(modifiers, key);
        if (id) h.send(win::WmHotKey, static_cast<std::uintptr_t>(*id));
        return id.has_value();
    }
    void switchTo(int desktop) { h.send(win::WmCommand, CmdDesktopFirst + desktop); }
};

// Switches and sends on slow programs' windows, under both message orders.
struct HotkeySwitches : Hotkeys, ::testing::WithParamInterface<MessageOrder> {
    void SetUp() override {
        h.windows.order = GetParam();
        h.answerMs = SlowAnswerMs;
        Hotkeys::SetUp();
    }
};

TEST_P(HotkeySwitches, KeysSwitchLikeTheMenusAndStepAcrossTheGridButNotPastItsEdges) {
    h.create();
    EXPECT_TRUE(h.keyboard.notices.empty()) << "all registered: nothing to say";
    EXPECT_EQ(h.keyboard.holders.size(), static_cast<std::size_t>(HotkeyCount));
    const struct {
        int from;
        unsigned key;
        int to;
    } cases[] = {
        {0, VkF1 + 1, 1}, {3, VkF1 + 11, 11}, {5, VkF1, 0},    {4, VkRight, 5},   {1, VkDown, 5},
        {5, VkUp, 1},     {5, VkLeft, 4},     {3, VkRight, 3}, {4, VkLeft, 4},    {2, VkUp, 2},
        {9, VkDown, 9},   {11, VkRight, 11},  {8, VkLeft, 8},  {10, VkRight, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "from " << c.from << " key " << c.key);
        switchTo(c.from);
        ASSERT_TRUE(press(CtrlAlt, c.key));
        EXPECT_EQ(h.state().currentDesktop, c.to);
    }
    // As the tray menu's desktop items: the function, the slot and the tray stay.
    h.send(win::WmCommand, CmdSwitchFunction);
    h.send(win::WmCommand, CmdEnterTray);
    press(CtrlAlt, VkF1 + 6);
    EXPECT_EQ(h.state().currentDesktop, 6);
    EXPECT_TRUE(h.state().inTray);
    EXPECT_FALSE(h.windows.isVisible(h.panelWindow));
    EXPECT_EQ(h.state().functionMode, FunctionLauncher);
    EXPECT_EQ(h.state().selectedSlot, 0);
}

TEST_P(HotkeySwitches, TheTopmostShownWindowOfTheNewDesktopTakesTheFocusAfterAKeyOnly) {
    h.create();
    switchTo(2);
    const WindowHandle low = h.addWindow("low");
    const WindowHandle top = h.addWindow("top");
    h.addWindow("minimised", Rect{100, 100, 500, 400}, true);
    h.tick(TimerRefresh);
    switchTo(0);
    h.windows.activate(low);
    h.keyboard.foregroundSets.clear();

    ASSERT_TRUE(press(CtrlAlt, VkF1));  // on screen already: no switch, no focus
    EXPECT_TRUE(h.keyboard.foregroundSets.empty());
    press(CtrlAlt, VkF1 + 2);
    EXPECT_EQ(h.keyboard.foregroundWindow(), top) << "the minimised one above it is skipped";
    press(CtrlAlt, VkRight);  // desktop 3 has no window: the panel keeps the keyboard
    EXPECT_EQ(h.keyboard.foregroundWindow(), h.panelWindow);

    h.keyboard.foregroundSets.clear();
    switchTo(2);  // the menus and the mouse switch as they always did
    h.pointAt(50 * 1 + 25, 20);
    h.send(win::WmLButtonDown);
    h.send(win::WmLButtonUp);
    EXPECT_EQ(h.state().currentDesktop, 1);
    EXPECT_TRUE(h.keyboard.foregroundSets.empty());
}

TEST_P(HotkeySwitches, SendingMovesOnlyAListedWindowAndOnlyWhereADropCould) {
    h.create();
    const WindowHandle untitled = h.addWindow("");  // not managed, so never listed
    const WindowHandle stays = h.addWindow("stays");
    h.tick(TimerRefresh);
    switchTo(7);  // desktop 4 filled by drops of windows parked on desktop 7
    for (int i = 0; i < EntryCapacity; ++i) {
        const WindowHandle w = h.addWindow("fill " + std::to_string(i));
        h.tick(TimerRefresh);
        moveWindowToDesktop(w, 5, 7, 7, h.app->desktops);
    }
    ASSERT_EQ(h.app->desktops[4].count, EntryCapacity);
    switchTo(0);
    // Opened since the last refresh: the send lists it first, as a switch would.
    const WindowHandle sent = h.addWindow("sent", Rect{300, 200, 700, 500});
    const WindowHandle maximised = h.addWindow("maximised", Rect{50, 60, 450, 360}, false, true);
    const WindowHandle owner = h.addWindow("owner", Rect{500, 100, 900, 400});
    FakeWindow find = captioned("find", Rect{520, 120, 720, 220});
    find.owner = owner;
    FakeWindow nested = captioned("its question", Rect{540, 140, 700, 200});
    nested.owner = h.windows.add(find);
    const WindowHandle question = h.windows.add(nested);
    const Rect screenPlace = h.windows.rect(maximised);

    const struct {
        const char* what;
        WindowHandle window;
        int target;
        WindowHandle moves;  // the listed window that goes
    } cases[] = {
        {"the panel", h.panelWindow, 2, NullWindow},
        {"a window no desktop lists", untitled, 2, NullWindow},
        {"to a full desktop", stays, 4, NullWindow},
        {"to the desktop on screen", stays, 0, NullWindow},
        {"a listed window", sent, 2, sent},
        {"a maximised window", maximised, 3, maximised},
        {"a dialog's dialog, focused", question, 5, owner},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        h.windows.activate(c.window);
        ASSERT_TRUE(press(CtrlAltShift, VkF1 + static_cast<unsigned>(c.target)));
        EXPECT_EQ(h.state().currentDesktop, 0) << "the user stays";
        EXPECT_EQ(h.windows.isVisible(c.window), c.moves == NullWindow);
        if (c.window == h.panelWindow || c.window == untitled) continue;
        const WindowHandle listed = c.moves == NullWindow ? c.window : c.moves;
        EXPECT_EQ(h.app->desktops[c.target].findEntry(listed).has_value(),
                  c.moves != NullWindow || c.target == 0);
        const auto entry = h.app->desktops[0].findEntry(listed);
        ASSERT_EQ(entry.has_value(), c.moves == NullWindow);
        if (entry) {
            EXPECT_EQ(entry->windowRect, h.windows.rect(c.window)) << "its map place";
        }
    }
    EXPECT_EQ(h.app->desktops[4].count, EntryCapacity);
    EXPECT_FALSE(h.windows.isVisible(owner) || h.windows.isVisible(nested.owner));
    // Each sent window comes back where it was on the screen, as it was.
    const struct {
        int desktop;
        std::vector<WindowHandle> shown;
        WindowHandle window;
        Rect rect;
    } back[] = {{2, {sent}, sent, Rect{300, 200, 700, 500}},
                {3, {maximised}, maximised, screenPlace},
                {5, {owner, nested.owner, question}, owner, Rect{500, 100, 900, 400}}};
    for (const auto& b : back) {
        switchTo(b.desktop);
        for (WindowHandle w : b.shown) EXPECT_TRUE(h.windows.isVisible(w)) << b.desktop;
        EXPECT_EQ(h.windows.rect(b.window), b.rect) << b.desktop;
    }
    EXPECT_TRUE(h.windows.isZoomed(maximised));
}

INSTANTIATE_TEST_SUITE_P(BothOrders, HotkeySwitches, BothMessageOrders, orderName);

TEST_F(Hotkeys, ACombinationHeldElsewhereIsNamedOnceAndTheOthersStillWork) {
    h.keyboard.heldElsewhere = {{CtrlAlt, VkF1 + 1}, {CtrlAltShift, VkF1 + 11}};
    h.create();
    ASSERT_EQ(h.keyboard.notices.size(), 1u);
    EXPECT_EQ(h.keyboard.notices[0].first,
              std::string(HotkeyNoticeText) + "Ctrl+Alt+F2, Ctrl+Alt+Shift+F12");
    EXPECT_EQ(h.keyboard.notices[0].second, HotkeyNoticeCaption);
    EXPECT_EQ(h.keyboard.holders.size(), static_cast<std::size_t>(HotkeyCount - 2));
    EXPECT_TRUE(press(CtrlAlt, VkF1 + 2));
    EXPECT_EQ(h.state().currentDesktop, 2);

    h.send(win::WmDestroy);
    EXPECT_TRUE(h.keyboard.holders.empty()) << "released with the panel";
}

}  // namespace
}  // namespace skelvo::testing
