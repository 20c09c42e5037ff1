// Pinned windows through the whole panel on the fakes: pinned and unpinned by key, kept on
// screen across switches, drawn and found in every cell, refused by drops and sends.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/hotkeys.h"
#include "app/ids.h"
#include "tests/fakes/panel_harness.h"

namespace skelvo::testing {
namespace {

constexpr unsigned CtrlAlt = ModControl | ModAlt;
// Screen 1024x768, scales 20 and 19: this place maps to (12, 12)-(32, 32) of cell 0.
constexpr Rect Place{200, 190, 600, 570};

struct Pins : ::testing::Test {
    PanelHarness h;
    WindowHandle note = NullWindow;
    WindowHandle dialog = NullWindow;  // the note's, open with it

    void SetUp() override {
        h.windows.addAtBottom(captioned("shell"));
        h.create();
        note = h.addWindow("note", Place);
        FakeWindow d = captioned("note's dialog", Rect{250, 250, 400, 350});
        d.owner = note;
        dialog = h.windows.add(d);
    }
    void key(unsigned modifiers, unsigned vk) {
        const auto id = h.keyboard.press(modifiers, vk);
        ASSERT_TRUE(id);
        h.send(win::WmHotKey, static_cast<std::uintptr_t>(*id));
    }
    // The dialog has the keyboard: the key pins the listed window on its owner chain.
    void pinNote() {
        h.windows.activate(dialog);
        key(CtrlAlt, VkHome);
        ASSERT_TRUE(h.app->pins.holds(note));
    }
    bool listedAnywhere(WindowHandle w) const {
        return std::any_of(h.app->desktops.begin(), h.app->desktops.end(),
                           [&](const VirtualDesktop& d) {
                               return d.findEntry(w) || d.owned.holds(w);
                           });
    }
    static Point inCell(int desktop) { return {50 * (desktop % 4) + 20, 40 * (desktop / 4) + 20}; }
};

TEST_F(Pins, APinnedWindowStaysOnScreenWithItsDialogUntilUnpinned) {
    const WindowHandle other = h.addWindow("other");
    for (int i = 0; i < CaptureLimit - 1; ++i) h.addWindow("filler " + std::to_string(i));
    h.tick(TimerRefresh);
    pinNote();
    EXPECT_FALSE(listedAnywhere(note) || listedAnywhere(dialog));
    EXPECT_EQ(h.app->desktops[0].count, CaptureLimit) << "the pinned window takes no place";
    for (const unsigned f : {1u, 5u, 11u}) {
        key(CtrlAlt, VkF1 + f);
        EXPECT_TRUE(h.windows.isVisible(note) && h.windows.isVisible(dialog)) << f;
        EXPECT_FALSE(h.windows.isVisible(other));
        h.tick(TimerRefresh);
        EXPECT_FALSE(listedAnywhere(note) || listedAnywhere(dialog)) << f;
    }
    h.windows.activate(dialog);
    key(CtrlAlt, VkHome);  // unpinned on desktop 11, whose window it now is
    EXPECT_FALSE(h.app->pins.holds(note));
    EXPECT_TRUE(h.app->desktops[11].findEntry(note));
    EXPECT_TRUE(h.app->desktops[11].owned.holds(dialog));
    key(CtrlAlt, VkF1);
    EXPECT_FALSE(h.windows.isVisible(note) || h.windows.isVisible(dialog));
    EXPECT_TRUE(h.windows.isVisible(other));

    // Neither the panel nor a window no desktop lists can be pinned.
    const WindowHandle untitled = h.addWindow("");
    for (const WindowHandle w : {h.panelWindow, untitled}) {
        h.windows.activate(w);
        key(CtrlAlt, VkHome);
        EXPECT_TRUE(h.app->pins.empty());
    }
}

TEST_F(Pins, EveryCellDrawsAndFindsAPinnedWindowButDropsAndSendsLeaveIt) {
    h.tick(TimerRefresh);
    pinNote();
    const auto rectangles = [&] {
        h.graphics.calls.clear();
        h.tick(TimerRefresh);
        return std::count(h.graphics.calls.begin(), h.graphics.calls.end(), "rectangle");
    };
    EXPECT_EQ(rectangles(), DesktopCount) << "once in each cell, nothing else on the map";
    for (int d = 0; d < DesktopCount; ++d) {
        const Point p = inCell(d);
        EXPECT_EQ(h.app->desktops[d].windowAtMapPoint(p.x, p.y), note) << d;
        EXPECT_EQ(h.app->desktops[d].windowAtMapPoint(p.x + 15, p.y), NullWindow) << d;
    }

    // A drag from cell 0 to cell 2, and a send to desktop 3.
    h.pointAt(20, 20);
    h.send(win::WmLButtonDown);
    h.pointAt(120, 20);
    h.tick(TimerWindowDrag);
    h.send(win::WmLButtonUp);
    h.windows.activate(dialog);
    key(CtrlAlt | ModShift, VkF1 + 3);
    EXPECT_EQ(h.windows.rect(note), Place);
    EXPECT_TRUE(h.windows.isVisible(note) && h.app->pins.holds(note));
    EXPECT_FALSE(listedAnywhere(note));

    // The window menu of another desktop's cell acts on it.
    const Point p = inCell(9);
    h.rightClick(p.x, p.y, CmdMinimiseWindow);
    EXPECT_TRUE(h.windows.isIconic(note));
    EXPECT_EQ(rectangles(), DesktopCount) << "minimised: each cell's marker only";

    // The pin goes with its window.
    h.windows.destroy(note);
    h.tick(TimerRefresh);
    EXPECT_TRUE(h.app->pins.empty());
}

// Held down, a key acts once: the system posts no repeats of a key registered so.
TEST_F(Pins, AHeldKeyActsOnce) {
    for (const int id : h.keyboard.hold(CtrlAlt, VkRight, 5))
        h.send(win::WmHotKey, static_cast<std::uintptr_t>(id));
    EXPECT_EQ(h.state().currentDesktop, 1);
}

}  // namespace
}  // namespace skelvo::testing
