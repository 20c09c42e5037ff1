// The refresh's repaint of an unchanged panel draws nothing; any change, or the system
// asking for a repaint, draws the whole picture again.
#include "app/ids.h"
#include "tests/unit/painting_scene.h"

namespace skelvo::testing {
namespace {

TEST(IdlePaint, OnlyAChangedOrExposedPictureIsDrawn) {
    Scene s;
    const WindowHandle w = s.h.addWindow("idle", Rect{100, 100, 500, 400});
    s.h.create();
    s.paint();
    s.h.host.exposed = false;
    const auto drew = [&] {
        s.h.graphics.calls.clear();
        s.paint();
        return !s.h.graphics.blits.empty();
    };
    const std::size_t logged = s.h.log.events.size();
    EXPECT_FALSE(drew()) << "the same picture";
    EXPECT_TRUE(s.h.graphics.calls.empty()) << "not even the window DC is taken";
    EXPECT_EQ(s.h.log.events.size(), logged) << "nor is a window with nothing invalid validated";
    s.h.addWindow("maximised", Rect{0, 0, 300, 300});
    s.h.windows.programShow(s.h.windows.zOrder().front(), win::SwShowMaximized);
    s.h.addWindow("another", Rect{10, 10, 300, 300});
    s.h.tick(TimerRefresh);
    s.h.windows.watchedHandle = FakeWindowSystem::DesktopHandle;
    s.h.windows.move(w, 300, 200, 400, 300, true);
    EXPECT_TRUE(drew()) << "the window moved";
    EXPECT_EQ(s.h.windows.watchedCalls, 1) << "one read of the screen for three windows";
    s.h.windows.move(w, 320, 200, 400, 300, true);
    s.h.graphics.blits.clear();
    s.h.tick(TimerRefresh);
    EXPECT_FALSE(s.h.graphics.blits.empty());
    EXPECT_EQ(s.h.windows.watchedCalls, 2) << "the refresh's capture and paint share one read";
    EXPECT_EQ(s.h.graphics.calls.front(), "getdc");
    EXPECT_EQ(s.h.graphics.calls.back(), "releasedc");
    EXPECT_EQ(s.h.graphics.windowDcsOut, 0);
    EXPECT_FALSE(drew());
    s.h.host.exposed = true;
    EXPECT_TRUE(drew()) << "the system asked for it";
    EXPECT_EQ(s.h.log.events.back(), "default 15") << "and is validated";
    EXPECT_EQ(s.screen().data, s.canvas().data);

    // The refresh's own paint leaves an invalid window to the system's WM_PAINT.
    const int validated = s.h.log.countOf("default 15");
    s.h.graphics.blits.clear();
    s.h.tick(TimerRefresh);
    EXPECT_TRUE(s.h.graphics.blits.empty());
    EXPECT_EQ(s.h.log.countOf("default 15"), validated) << "nor validates";
    EXPECT_TRUE(drew()) << "the system's paint";
    EXPECT_EQ(s.h.log.countOf("default 15"), validated + 1);
}

}  // namespace
}  // namespace skelvo::testing
