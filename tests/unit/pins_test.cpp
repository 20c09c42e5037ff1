// Pinned windows through the whole panel on the fakes: pinned and unpinned by key, kept on
// screen across switches, drawn and found in every cell, left alone by drops and sends.
#include <gtest/gtest.h>

#include "app/hotkeys.h"
#include "app/ids.h"
#include "tests/fakes/panel_harness.h"

namespace skelvo::testing {
namespace {

constexpr unsigned CtrlAlt = ModControl | ModAlt;
constexpr Rect Place{200, 190, 600, 570};  // (12, 12)-(32, 32) in cell 0: scales 20 and 19

struct Pins : ::testing::Test {
    PanelHarness h;
    WindowHandle note = NullWindow, dialog = NullWindow;  // pinned through its dialog
    void SetUp() override {
        h.windows.addAtBottom(captioned("shell"));
        h.create();
        note = h.addWindow("note", Place);
        FakeWindow d = captioned("note's dialog", Rect{250, 250, 400, 350});
        d.owner = note;
        dialog = h.windows.add(d);
    }
    void key(unsigned modifiers, unsigned vk, WindowHandle focus = NullWindow) {
        if (focus != NullWindow) h.windows.activate(focus);
        h.send(win::WmHotKey, static_cast<std::uintptr_t>(h.keyboard.press(modifiers, vk).value()));
    }
    bool listed(WindowHandle w) const {
        for (const VirtualDesktop& d : h.app->desktops)
            if (d.findEntry(w) || d.owned.holds(w)) return true;
        return false;
    }
};

TEST_F(Pins, APinnedWindowStaysOnScreenWithItsDialogUntilUnpinned) {
    const WindowHandle other = h.addWindow("other");
    for (int i = 1; i < CaptureLimit; ++i) h.addWindow("filler " + std::to_string(i));
    for (const WindowHandle w : {h.panelWindow, h.addWindow(""), dialog}) key(CtrlAlt, VkHome, w);
    ASSERT_TRUE(h.app->pins.holds(note) && h.app->pins.entries().size() == 1);
    EXPECT_EQ(h.app->desktops[0].count, CaptureLimit) << "the pinned window takes no place";
    for (const unsigned f : {1u, 5u, 11u}) {
        key(CtrlAlt, VkF1 + f);
        h.tick(TimerRefresh);
        EXPECT_TRUE(h.windows.isVisible(note) && h.windows.isVisible(dialog)) << f;
        EXPECT_FALSE(h.windows.isVisible(other) || listed(note) || listed(dialog)) << f;
    }
    key(CtrlAlt, VkHome, dialog);  // unpinned: desktop 11's now
    EXPECT_TRUE(h.app->desktops[11].findEntry(note) && h.app->desktops[11].owned.holds(dialog));
    key(CtrlAlt, VkF1);
    EXPECT_FALSE(h.windows.isVisible(note) || h.windows.isVisible(dialog));
    EXPECT_TRUE(h.windows.isVisible(other));
}

TEST_F(Pins, EveryCellDrawsAndFindsAPinnedWindowButDropsAndSendsLeaveIt) {
    key(CtrlAlt, VkHome, dialog);
    const auto rectangles = [&] {
        h.graphics.calls.clear();
        h.tick(TimerRefresh);
        return std::count(h.graphics.calls.begin(), h.graphics.calls.end(), "rectangle");
    };
    EXPECT_EQ(rectangles(), DesktopCount) << "once in each cell, nothing else on the map";
    for (int d = 0; d < DesktopCount; ++d) {
        const int x = 50 * (d % 4) + 20, y = 40 * (d / 4) + 20;
        EXPECT_EQ(h.app->desktops[d].windowAtMapPoint(x, y), note) << d;
        EXPECT_EQ(h.app->desktops[d].windowAtMapPoint(x + 15, y), NullWindow) << d;
    }
    h.pointAt(20, 20);  // dragged from cell 0 to cell 2
    h.send(win::WmLButtonDown);
    h.pointAt(120, 20);
    h.tick(TimerWindowDrag);
    h.send(win::WmLButtonUp);
    key(CtrlAlt | ModShift, VkF1 + 3, dialog);
    EXPECT_EQ(h.windows.rect(note), Place);
    EXPECT_TRUE(h.windows.isVisible(note) && h.app->pins.holds(note) && !listed(note));

    h.rightClick(50 + 20, 80 + 20, CmdMinimiseWindow);  // in desktop 9's cell
    EXPECT_TRUE(h.windows.isIconic(note));
    h.windows.destroy(note);
    h.tick(TimerRefresh);
    EXPECT_TRUE(h.app->pins.empty()) << "the pin goes with its window";
}

// A program with higher rights refuses the hides of its windows: they are pinned and the
// first one is told of. A slow program's hide is on its way, and its window stays parked.
TEST_F(Pins, AWindowWhoseHideIsRefusedIsPinnedAndToldOfOnceButASlowOneStaysParked) {
    const WindowHandle slow = h.addWindow("slow"), admin = h.addWindow("admin", {600, 500, 900, 700});
    const WindowHandle sent = h.addWindow("admin too", Place);
    for (const WindowHandle w : {admin, sent}) {
        h.windows.at(w).elevated = true;
        h.windows.at(w).exe = "regedit.exe";
    }
    h.windows.at(slow).answerMs = 5000;
    h.tick(TimerRefresh);
    h.pointAt(20, 20);  // dragged into desktop 2's tile, then its hide refused
    h.send(win::WmLButtonDown);
    h.pointAt(120, 20);
    h.tick(TimerWindowDrag);
    h.send(win::WmLButtonUp);
    EXPECT_TRUE(h.app->pins.holds(sent) && !listed(sent) && h.awaited.isVisible(sent));
    EXPECT_LE(h.windows.rect(sent).right, 1024) << "a drop puts it back before the hide";
    key(CtrlAlt, VkF1 + 1);
    EXPECT_TRUE(h.app->pins.holds(admin) && !listed(admin) && h.awaited.isVisible(admin));
    EXPECT_TRUE(h.app->desktops[0].findEntry(slow) && !h.app->pins.holds(slow));
    h.tick(TimerRefresh);
    ASSERT_EQ(h.keyboard.notices.size(), 1u);
    EXPECT_NE(h.keyboard.notices[0].first.find("regedit.exe"), std::string::npos);
    EXPECT_EQ(h.keyboard.notices[0].second, RefusedHideCaption);
    // A parked window whose dialog cannot be hidden comes onto the screen with it.
    FakeWindow question = captioned("question");
    question.owner = h.app->desktops[0].entries[0].window;
    question.elevated = true;
    h.windows.add(question);
    h.tick(TimerRefresh);
    h.tick(TimerRefresh);
    EXPECT_TRUE(h.app->pins.holds(question.owner) && h.awaited.isVisible(question.owner));
    h.windows.elapse(5000);
    key(CtrlAlt, VkHome, admin);  // unpinned, and refused again by the next switch
    key(CtrlAlt, VkF1);
    h.tick(TimerRefresh);
    EXPECT_TRUE(h.app->pins.holds(admin));
    EXPECT_EQ(h.keyboard.notices.size(), 1u) << "once per start";
    EXPECT_TRUE(h.windows.isVisible(admin) && h.windows.isVisible(sent));
    EXPECT_FALSE(h.windows.isVisible(slow));
}

// Held down, a key acts once: the system repeats only keys registered without MOD_NOREPEAT.
TEST_F(Pins, AHeldKeyActsOnce) {
    const int repeats = h.keyboard.repeating.count({CtrlAlt, VkRight}) ? 3 : 0;
    for (int i = 0; i <= repeats; ++i) key(CtrlAlt, VkRight);
    EXPECT_EQ(h.state().currentDesktop, 1);
}

}  // namespace
}  // namespace skelvo::testing
