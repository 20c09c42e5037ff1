// Host and window-lookup checks that hold for the fakes and for Win32 alike.
#include <gtest/gtest.h>

#include <cstring>

#include "app/panel_state.h"
#include "desktops/window_entry.h"
#include "tests/contract/host_env.h"

namespace skelvo::testing {
namespace {

struct HostContract : ::testing::Test {
    std::unique_ptr<HostEnv> env = makeHostEnv();
};

TEST_F(HostContract, PanelWindowAsCreated) {
    WindowSystem& ws = env->windows();
    const WindowHandle panel = env->createPanel();
    ASSERT_NE(panel, NullWindow);
    EXPECT_EQ(ws.find(PanelClassName, PanelTitle), panel);
    EXPECT_EQ(ws.find(PanelClassName, nullptr), panel);
    EXPECT_EQ(ws.find(nullptr, PanelTitle), panel);
    EXPECT_EQ(ws.rect(panel), (Rect{200, 200, 436, 357}));
    EXPECT_TRUE(ws.isVisible(panel));
    const std::uint32_t style = ws.style(panel);
    EXPECT_TRUE(hasAllBits(style, win::WsPopup));
    EXPECT_FALSE(hasAllBits(style, win::WsCaption));
    EXPECT_FALSE(isManagedWindow(ws, panel)) << "the panel never manages itself";
    // Client and screen coordinates differ by the panel's position: it has no frame.
    EXPECT_EQ(env->host().clientToScreen(panel, Point{3, 4}), (Point{203, 204}));
    EXPECT_EQ(env->host().screenToClient(panel, Point{200, 200}), (Point{0, 0}));
}

TEST_F(HostContract, FindSeesHiddenWindowsAndMatchesBothNames) {
    WindowSystem& ws = env->windows();
    const WindowHandle hidden = env->createCaptioned("contract hidden", false);
    ASSERT_NE(hidden, NullWindow);
    EXPECT_EQ(ws.find(nullptr, "contract hidden"), hidden);
    EXPECT_EQ(ws.find(nullptr, "contract nowhere"), NullWindow);
    EXPECT_EQ(ws.find(PanelClassName, "contract hidden"), NullWindow);
    EXPECT_FALSE(ws.isVisible(hidden));
}

TEST_F(HostContract, ScreenRectangle) {
    WindowSystem& ws = env->windows();
    EXPECT_EQ(ws.rect(ws.desktopWindow()), env->expectedScreen());
}

TEST_F(HostContract, CurrentDirectory) {
    const std::string dir = env->someDirectory();
    ASSERT_TRUE(env->setCurrentDirectory(dir));
    char buffer[MaxPathBytes];
    std::memset(buffer, 'x', sizeof buffer);
    const unsigned n = env->host().currentDirectory(buffer, MaxPathBytes);
    EXPECT_EQ(n, dir.size());
    EXPECT_EQ(std::string(buffer), dir);
    // Too small a buffer: the length needed, with its terminator, and nothing written.
    char small[4];
    std::memset(small, 'x', sizeof small);
    EXPECT_EQ(env->host().currentDirectory(small, sizeof small), dir.size() + 1);
    EXPECT_EQ(small[0], 'x');
}

TEST_F(HostContract, TimersFireUntilKilled) {
    const WindowHandle panel = env->createPanel();
    env->host().setTimer(panel, 1, 50);
    EXPECT_TRUE(env->timerFires(panel, 1, 2000));
    env->host().killTimer(panel, 1);
    EXPECT_FALSE(env->timerFires(panel, 1, 300));
    EXPECT_FALSE(env->timerFires(panel, 4, 300)) << "a timer never set does not fire";
}

TEST_F(HostContract, RegionSetsTheVisibleSquare) {
    const WindowHandle panel = env->createPanel();
    EXPECT_EQ(env->regionBox(panel), std::nullopt) << "a new panel has no region";
    env->host().setWindowRegion(panel, Rect{202, 124, 234, 156});
    EXPECT_EQ(env->regionBox(panel), (std::optional<Rect>{Rect{202, 124, 234, 156}}));
    env->host().setWindowRegion(panel, Rect{0, 0, 236, 157});
    EXPECT_EQ(env->regionBox(panel), (std::optional<Rect>{Rect{0, 0, 236, 157}}));
    EXPECT_EQ(env->windows().rect(panel), (Rect{200, 200, 436, 357}))
        << "the window keeps its size";
}

TEST_F(HostContract, CursorClipKeepsPointerInside) {
    env->host().clipCursor(Rect{202, 202, 400, 320});
    env->setCursor(Point{10, 10});
    EXPECT_EQ(env->host().cursorPos(), (Point{202, 202}));
    env->setCursor(Point{900, 700});
    EXPECT_EQ(env->host().cursorPos(), (Point{399, 319})) << "right and bottom are exclusive";
    env->host().clipCursor(std::nullopt);
    env->setCursor(Point{900, 700});
    EXPECT_EQ(env->host().cursorPos(), (Point{900, 700}));
}

TEST_F(HostContract, MessageBoxAnswers) {
    const WindowHandle panel = env->createPanel();
    env->answerNextMessageBox("contract question", win::IdNo);
    EXPECT_EQ(env->host().messageBox(panel, "text", "contract question",
                                     win::MbYesNo | win::MbIconQuestion),
              win::IdNo);
    env->answerNextMessageBox("contract question", win::IdYes);
    EXPECT_EQ(env->host().messageBox(panel, "text", "contract question",
                                     win::MbYesNo | win::MbIconExclamation),
              win::IdYes);
}

}  // namespace
}  // namespace skelvo::testing
