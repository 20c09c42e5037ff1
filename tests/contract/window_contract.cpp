// What the virtual desktops rely on from the window system, checked against the simulated
// desktop natively and against Win32 under Wine: the Z-order walk, the state queries and
// the managed-window filter on real windows, every show command the desktops use, and
// MoveWindow with the normal-position rectangle.
//
// Activation is left out of every check: whether Wine hands the foreground to a window
// depends on this process being the foreground one. The show-command cases make another
// window the foreground first, so that only the window under test changes its place.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "desktops/awaited_windows.h"
#include "desktops/window_entry.h"
#include "tests/contract/window_env.h"

namespace skelvo {
// Readable rectangles in failure messages; found by argument-dependent lookup.
[[maybe_unused]] static void PrintTo(const Rect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
}  // namespace skelvo

namespace skelvo::testing {
namespace {

constexpr Rect Screen{0, 0, 1024, 768};
constexpr Rect NormalRect{100, 120, 500, 420};
// A maximised window with a sizing border reaches 4 pixels past every screen edge.
constexpr Rect MaximisedRect{-4, -4, 1028, 772};
// A minimised window is a 160 by 24 title bar on the bottom edge of the screen.
constexpr int IconWidth = 160;
constexpr int IconHeight = 24;

struct WindowContract : ::testing::Test {
    std::unique_ptr<WindowEnv> env = makeWindowEnv();
    WindowSystem& ws = env->windows();

    WindowHandle open(const std::string& title, OpenState state = OpenState::Normal) {
        WindowRequest request;
        request.title = title;
        request.state = state;
        return open(request);
    }
    WindowHandle open(const WindowRequest& request) {
        const WindowHandle w = env->open(request);
        EXPECT_NE(w, NullWindow) << request.title;
        return w;
    }
    void show(WindowHandle w, int command) {
        ws.show(w, command);
        env->settle();
    }
    // The given windows in the order the walk from the top meets them.
    std::vector<WindowHandle> order(std::initializer_list<WindowHandle> of) {
        std::vector<WindowHandle> seen;
        for (WindowHandle w = ws.relative(ws.desktopWindow(), win::GwChild); w != NullWindow;
             w = ws.relative(w, win::GwHwndNext)) {
            for (WindowHandle x : of) {
                if (x == w) seen.push_back(w);
            }
        }
        return seen;
    }
    static bool isIconBar(Rect r) {
        return r.width() == IconWidth && r.height() == IconHeight && r.bottom == Screen.bottom &&
               r.left >= 0;
    }
};

// ---- Z order -----------------------------------------------------------------------

TEST_F(WindowContract, WalkRelationsAgreeOverTheWholeZOrder) {
    const WindowHandle a = open("contract a");
    const WindowHandle b = open("contract b", OpenState::Hidden);
    const WindowHandle c = open("contract c");
    std::vector<WindowHandle> all;
    for (WindowHandle w = ws.relative(ws.desktopWindow(), win::GwChild); w != NullWindow;
         w = ws.relative(w, win::GwHwndNext)) {
        all.push_back(w);
        ASSERT_LT(all.size(), 10000u) << "the walk does not end";
    }
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(ws.relative(all.front(), win::GwHwndPrev), NullWindow);
    EXPECT_EQ(ws.relative(all.back(), win::GwHwndNext), NullWindow);
    for (std::size_t i = 0; i + 1 < all.size(); ++i) {
        ASSERT_EQ(ws.relative(all[i + 1], win::GwHwndPrev), all[i]) << "at " << i;
    }
    for (WindowHandle w : {a, b, c}) {
        EXPECT_EQ(ws.relative(w, win::GwHwndLast), all.back());
        EXPECT_EQ(ws.relative(w, win::GwHwndFirst), all.front());
    }
    // Hidden windows keep their place in the walk.
    EXPECT_EQ(order({a, b, c}), (std::vector<WindowHandle>{c, b, a}));
    std::vector<WindowHandle> listed{a};
    ws.topLevelWindows(listed);
    EXPECT_EQ(listed, all) << "the list read at once is the walk";
}

TEST_F(WindowContract, NewWindowsLandOnTopOfTheirBand) {
    WindowRequest topmost;
    topmost.title = "contract topmost";
    topmost.topmost = true;
    const WindowHandle t = open(topmost);
    const WindowHandle a = open("contract a");
    const WindowHandle hidden = open("contract hidden", OpenState::Hidden);
    const WindowHandle minimised = open("contract minimised", OpenState::Minimised);
    const WindowHandle maximised = open("contract maximised", OpenState::Maximised);
    EXPECT_EQ(order({t, a, hidden, minimised, maximised}),
              (std::vector<WindowHandle>{t, maximised, minimised, hidden, a}));
    env->raise(a);
    EXPECT_EQ(order({t, a, maximised}), (std::vector<WindowHandle>{t, a, maximised}))
        << "a program's raise stops below the topmost band";
}

// ---- State queries and the filter ---------------------------------------------------

TEST_F(WindowContract, StateOfOpenedWindows) {
    struct Case {
        OpenState state;
        bool visible, iconic, zoomed;
        std::uint32_t stateBits;
    };
    const Case cases[] = {
        {OpenState::Normal, true, false, false, win::WsVisible},
        {OpenState::Minimised, true, true, false, win::WsVisible | win::WsMinimize},
        {OpenState::Maximised, true, false, true, win::WsVisible | win::WsMaximize},
        {OpenState::Hidden, false, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.state));
        const WindowHandle w = open("contract state", c.state);
        EXPECT_EQ(ws.isWindow(w), true);
        EXPECT_EQ(ws.isVisible(w), c.visible);
        EXPECT_EQ(ws.isIconic(w), c.iconic);
        EXPECT_EQ(ws.isZoomed(w), c.zoomed);
        EXPECT_TRUE(ws.isEnabled(w));
        const std::uint32_t style = ws.style(w);
        EXPECT_EQ(style & (win::WsVisible | win::WsMinimize | win::WsMaximize), c.stateBits);
        EXPECT_TRUE(hasAllBits(style, win::WsOverlappedWindow));
        EXPECT_EQ(ws.normalRect(w), NormalRect);
        const Rect r = ws.rect(w);
        if (c.iconic) {
            EXPECT_TRUE(isIconBar(r)) << ::testing::PrintToString(r);
        } else if (c.zoomed) {
            EXPECT_EQ(r, MaximisedRect);
        } else {
            EXPECT_EQ(r, NormalRect);
        }
        env->close(w);
        EXPECT_FALSE(ws.isWindow(w));
    }
    WindowRequest disabled;
    disabled.title = "contract disabled";
    disabled.disabled = true;
    const WindowHandle d = open(disabled);
    EXPECT_FALSE(ws.isEnabled(d));
    EXPECT_TRUE(hasAllBits(ws.style(d), win::WsDisabled));
    // A fixed frame (title bar, no sizing border) reaches 3 pixels past the screen.
    WindowRequest fixed;
    fixed.title = "contract fixed frame";
    fixed.style = win::WsCaption | win::WsSysMenu;
    fixed.state = OpenState::Maximised;
    EXPECT_EQ(ws.rect(open(fixed)), (Rect{-3, -3, 1027, 771}));
    EXPECT_EQ(ws.rect(ws.desktopWindow()), Screen);
    EXPECT_TRUE(ws.isWindow(ws.desktopWindow()));
}

TEST_F(WindowContract, MinimisedTitleBarsLineUpAlongTheBottom) {
    const WindowHandle a = open("contract a", OpenState::Minimised);
    const WindowHandle b = open("contract b");
    show(b, win::SwMinimize);
    const Rect ra = ws.rect(a);
    const Rect rb = ws.rect(b);
    EXPECT_TRUE(isIconBar(ra));
    EXPECT_TRUE(isIconBar(rb));
    EXPECT_EQ(rb.left, ra.left + IconWidth) << "the next free place to the right";
}

TEST_F(WindowContract, TextIsCutToTheBufferAndKeepsItsBytes) {
    const std::string longTitle(200, 'x');
    const WindowHandle w = open(longTitle);
    char buffer[TitleBytes];
    EXPECT_EQ(ws.text(w, buffer, TitleBytes), TitleChars - 1);
    EXPECT_EQ(std::string(buffer), std::string(TitleChars - 1, 'x'));
    // Titles come back whole in UTF-8, whatever the code page holds; a buffer too small
    // for the last character gets the whole characters before it.
    const std::u8string wide = u8"テスト窓 😀 한국어 café € –";
    const std::string utf8(wide.begin(), wide.end());
    const WindowHandle j = open(utf8);
    EXPECT_EQ(ws.text(j, buffer, TitleBytes), static_cast<int>(utf8.size()));
    EXPECT_EQ(std::string(buffer), utf8);
    const std::string prefix = utf8.substr(0, utf8.find(' ') + 1);  // "テスト窓 "
    EXPECT_EQ(ws.text(j, buffer, static_cast<int>(prefix.size()) + 3),
              static_cast<int>(prefix.size()));
    EXPECT_EQ(std::string(buffer), prefix) << "not half of the emoji";
    const WindowHandle empty = open("");
    buffer[0] = 'x';
    EXPECT_EQ(ws.text(empty, buffer, TitleBytes), 0);
    EXPECT_EQ(buffer[0], '\0');
}

TEST_F(WindowContract, FindTakesTheHighestMatchHiddenOrNot) {
    WindowRequest lower;
    lower.className = "SkelvoContractFind";
    lower.title = "contract find lower";
    const WindowHandle low = open(lower);
    WindowRequest upper = lower;
    upper.title = "contract find upper";
    upper.state = OpenState::Hidden;
    const WindowHandle up = open(upper);
    EXPECT_EQ(ws.find("SkelvoContractFind", nullptr), up);
    EXPECT_EQ(ws.find("SkelvoContractFind", "contract find lower"), low);
    EXPECT_EQ(ws.find(nullptr, "contract find lower"), low);
    EXPECT_EQ(ws.find("SkelvoContractFind", "contract find nowhere"), NullWindow);
    EXPECT_EQ(ws.find("SkelvoContractNoClass", nullptr), NullWindow);
    EXPECT_EQ(ws.find("skelvocontractFIND", nullptr), up) << "class names match in any case";
}

TEST_F(WindowContract, ManagedWindowFilterOnRealWindows) {
    struct Case {
        const char* what;
        std::string title;
        std::uint32_t style;
        OpenState state;
        bool disabled;
        bool managed;
    };
    const Case cases[] = {
        {"normal", "contract managed", win::WsOverlappedWindow, OpenState::Normal, false, true},
        {"minimised", "contract managed", win::WsOverlappedWindow, OpenState::Minimised, false,
         true},
        {"maximised", "contract managed", win::WsOverlappedWindow, OpenState::Maximised, false,
         true},
        {"title bar only", "contract managed", win::WsPopup | win::WsCaption, OpenState::Normal,
         false, true},
        {"hidden", "contract managed", win::WsOverlappedWindow, OpenState::Hidden, false, false},
        {"disabled", "contract managed", win::WsOverlappedWindow, OpenState::Normal, true, false},
        {"untitled", "", win::WsOverlappedWindow, OpenState::Normal, false, false},
        {"popup", "contract managed", win::WsPopup, OpenState::Normal, false, false},
        {"border, no title bar", "contract managed", win::WsPopup | win::WsBorder,
         OpenState::Normal, false, false},
    };
    for (const Case& c : cases) {
        WindowRequest request;
        request.title = c.title;
        request.style = c.style;
        request.state = c.state;
        request.disabled = c.disabled;
        const WindowHandle w = open(request);
        EXPECT_EQ(isManagedWindow(ws, w), c.managed) << c.what;
        env->close(w);
    }
    EXPECT_FALSE(isManagedWindow(ws, NullWindow));
    EXPECT_FALSE(isManagedWindow(ws, ws.desktopWindow()));
}

// The test process stands for the panel: its dialogs are never managed, wherever they are.
TEST_F(WindowContract, ThePanelsOwnDialogsAreExcluded) {
    WindowRequest dialog;
    dialog.className = "#32770";
    dialog.style = win::WsPopup | win::WsCaption | win::WsSysMenu;
    dialog.title = "contract dialog lower";
    const WindowHandle lower = open(dialog);
    dialog.title = "contract dialog upper";
    const WindowHandle upper = open(dialog);
    EXPECT_EQ(ws.processId(upper), ws.currentProcessId());
    EXPECT_FALSE(isManagedWindow(ws, lower));
    EXPECT_FALSE(isManagedWindow(ws, upper));
}

// An owned window: its owner is named, hiding the owner leaves it on screen (so the
// desktops hide it themselves), it goes with its owner, and an owner disabled while it is
// open stays managed.
TEST_F(WindowContract, OwnedWindowsGoWithTheirOwner) {
    const WindowHandle owner = open("contract owner");
    WindowRequest dialog;
    dialog.style = win::WsPopup | win::WsCaption | win::WsSysMenu;
    dialog.title = "contract owned";
    dialog.owner = owner;
    const WindowHandle owned = open(dialog);
    EXPECT_EQ(ws.relative(owned, win::GwOwner), owner);
    EXPECT_EQ(ws.relative(owner, win::GwOwner), NullWindow);
    EXPECT_TRUE(isManagedWindow(ws, owner));
    EXPECT_FALSE(isManagedWindow(ws, owned)) << "it goes with its owner";
    ws.show(owner, win::SwHide);
    env->settle();
    EXPECT_TRUE(ws.isVisible(owned)) << "hiding the owner leaves it shown";
    ws.show(owner, win::SwShowNormal);
    WindowRequest modal = dialog;
    modal.title = "contract modal";
    const WindowHandle second = open("contract second owner");
    WindowRequest disabled;
    disabled.title = "contract disabled owner";
    disabled.disabled = true;
    const WindowHandle held = open(disabled);
    EXPECT_FALSE(isManagedWindow(ws, held)) << "disabled with no dialog open";
    modal.owner = held;
    const WindowHandle question = open(modal);
    EXPECT_TRUE(isManagedWindow(ws, held)) << "disabled by its open dialog";
    EXPECT_FALSE(isManagedWindow(ws, question));
    EXPECT_TRUE(isManagedWindow(ws, second));
}

TEST_F(WindowContract, FirstManagedWindowIsTheHighestManagedOne) {
    const WindowHandle a = open("contract first a");
    const WindowHandle b = open("contract first b");
    WindowRequest popup;
    popup.title = "contract popup";
    popup.style = win::WsPopup;
    open(popup);
    open("contract first hidden", OpenState::Hidden);
    EXPECT_EQ(firstManagedWindow(ws), b);
    env->raise(a);
    EXPECT_EQ(firstManagedWindow(ws), a);
}

// ---- Show commands ------------------------------------------------------------------

enum class Start { Normal, Minimised, Maximised, HiddenNormal, HiddenMinimised, HiddenMaximised };
enum class Place { Raised, Kept };
enum class Shape { Normal, Icon, Maximised };

struct ShowCase {
    Start start;
    int command;
    bool returned;  // the previous visibility
    bool visible, iconic, zoomed;
    Shape shape;
    Place place;
};

const char* startName(Start s) {
    switch (s) {
    case Start::Normal: return "normal";
    case Start::Minimised: return "minimised";
    case Start::Maximised: return "maximised";
    case Start::HiddenNormal: return "hidden normal";
    case Start::HiddenMinimised: return "hidden minimised";
    case Start::HiddenMaximised: return "hidden maximised";
    }
    return "?";
}

// Hiding a window, and showing one that needs it, puts the window on top of its band;
// SW_SHOWNA does so even for a visible window; SW_MINIMIZE never moves it.
const ShowCase ShowCases[] = {
    {Start::Normal, win::SwHide, true, false, false, false, Shape::Normal, Place::Raised},
    {Start::Minimised, win::SwHide, true, false, true, false, Shape::Icon, Place::Raised},
    {Start::Maximised, win::SwHide, true, false, false, true, Shape::Maximised, Place::Raised},
    {Start::HiddenNormal, win::SwHide, false, false, false, false, Shape::Normal, Place::Kept},

    {Start::HiddenNormal, win::SwShow, false, true, false, false, Shape::Normal, Place::Raised},
    {Start::HiddenMinimised, win::SwShow, false, true, true, false, Shape::Icon, Place::Raised},
    {Start::HiddenMaximised, win::SwShow, false, true, false, true, Shape::Maximised,
     Place::Raised},
    {Start::Normal, win::SwShow, true, true, false, false, Shape::Normal, Place::Kept},

    {Start::HiddenNormal, win::SwShowNa, false, true, false, false, Shape::Normal, Place::Raised},
    {Start::HiddenMinimised, win::SwShowNa, false, true, true, false, Shape::Icon, Place::Raised},
    {Start::HiddenMaximised, win::SwShowNa, false, true, false, true, Shape::Maximised,
     Place::Raised},
    {Start::Normal, win::SwShowNa, true, true, false, false, Shape::Normal, Place::Raised},

    {Start::Minimised, win::SwShowNormal, true, true, false, false, Shape::Normal, Place::Raised},
    {Start::HiddenMinimised, win::SwShowNormal, false, true, false, false, Shape::Normal,
     Place::Raised},
    {Start::Maximised, win::SwShowNormal, true, true, false, false, Shape::Normal, Place::Raised},
    {Start::HiddenMaximised, win::SwShowNormal, false, true, false, false, Shape::Normal,
     Place::Raised},
    {Start::HiddenNormal, win::SwShowNormal, false, true, false, false, Shape::Normal,
     Place::Raised},
    {Start::Normal, win::SwShowNormal, true, true, false, false, Shape::Normal, Place::Kept},

    {Start::HiddenNormal, win::SwShowMaximized, false, true, false, true, Shape::Maximised,
     Place::Raised},
    {Start::HiddenMaximised, win::SwShowMaximized, false, true, false, true, Shape::Maximised,
     Place::Raised},
    {Start::Minimised, win::SwShowMaximized, true, true, false, true, Shape::Maximised,
     Place::Raised},
    {Start::Maximised, win::SwShowMaximized, true, true, false, true, Shape::Maximised,
     Place::Kept},

    {Start::Normal, win::SwMinimize, true, true, true, false, Shape::Icon, Place::Kept},
    {Start::Maximised, win::SwMinimize, true, true, true, false, Shape::Icon, Place::Kept},
    {Start::HiddenNormal, win::SwMinimize, false, true, true, false, Shape::Icon, Place::Kept},
    {Start::HiddenMinimised, win::SwMinimize, false, true, true, false, Shape::Icon, Place::Kept},
    {Start::HiddenMaximised, win::SwMinimize, false, true, true, false, Shape::Icon, Place::Kept},
};

// The run's monitors, the box that spans them, and on each a maximised window that stays
// maximised over it when it is hidden and shown maximised again.
TEST_F(WindowContract, MonitorsTheVirtualScreenAndAMaximisedWindowsMonitor) {
    const std::vector<Monitor> expected = contractMonitors();
    std::vector<Monitor> seen;
    ws.monitors(seen);
    std::sort(seen.begin(), seen.end(),
              [](const Monitor& a, const Monitor& b) { return a.rect.left < b.rect.left; });
    EXPECT_EQ(seen, expected);
    const Rect box{0, 0, expected.back().rect.right, 768};
    EXPECT_EQ(ws.virtualScreen(), box);
    EXPECT_EQ(readScreen(ws).box, box);
    EXPECT_EQ(ws.rect(ws.desktopWindow()), Screen) << "the primary";
    for (const Monitor& m : expected) {
        WindowRequest request;
        request.title = "maximised on " + std::to_string(m.rect.left);
        request.rect = Rect{m.rect.left + 100, 120, m.rect.left + 500, 420};
        request.state = OpenState::Maximised;
        const WindowHandle w = open(request);
        env->settle();
        const ScreenLayout screen = readScreen(ws);
        EXPECT_TRUE(ws.isZoomed(w)) << request.title;
        EXPECT_EQ(screen.nearest(ws.rect(w)), m.rect) << request.title;
        show(w, win::SwHide);
        EXPECT_EQ(screen.nearest(ws.rect(w)), m.rect) << request.title << ", hidden";
        show(w, win::SwShowMaximized);
        EXPECT_TRUE(ws.isZoomed(w)) << request.title << ", shown again";
        EXPECT_EQ(screen.nearest(ws.rect(w)), m.rect) << request.title << ", shown again";
        EXPECT_EQ(ws.normalRect(w), request.rect) << request.title;
        env->close(w);
    }
}

TEST_F(WindowContract, ShowCommands) {
    for (const ShowCase& c : ShowCases) {
        SCOPED_TRACE(std::string(startName(c.start)) + ", command " + std::to_string(c.command));
        const WindowHandle bottom = open("contract bottom");
        OpenState state = OpenState::Normal;
        if (c.start == Start::Minimised || c.start == Start::HiddenMinimised) {
            state = OpenState::Minimised;
        } else if (c.start == Start::Maximised || c.start == Start::HiddenMaximised) {
            state = OpenState::Maximised;
        }
        const WindowHandle t = open("contract target", state);
        const bool hidden = c.start == Start::HiddenNormal || c.start == Start::HiddenMinimised ||
                            c.start == Start::HiddenMaximised;
        if (hidden) show(t, win::SwHide);
        const WindowHandle front = open("contract front");
        env->raise(front);
        env->activate(front);
        ASSERT_EQ(order({front, t, bottom}), (std::vector<WindowHandle>{front, t, bottom}));

        EXPECT_EQ(ws.show(t, c.command), c.returned);
        env->settle();
        EXPECT_EQ(ws.isVisible(t), c.visible);
        EXPECT_EQ(ws.isIconic(t), c.iconic);
        EXPECT_EQ(ws.isZoomed(t), c.zoomed);
        const Rect r = ws.rect(t);
        switch (c.shape) {
        case Shape::Normal: EXPECT_EQ(r, NormalRect); break;
        case Shape::Maximised: EXPECT_EQ(r, MaximisedRect); break;
        case Shape::Icon: EXPECT_TRUE(isIconBar(r)) << ::testing::PrintToString(r); break;
        }
        EXPECT_EQ(ws.normalRect(t), NormalRect);
        const auto expected = c.place == Place::Raised
                                  ? std::vector<WindowHandle>{t, front, bottom}
                                  : std::vector<WindowHandle>{front, t, bottom};
        EXPECT_EQ(order({front, t, bottom}), expected);
        env->close(front);
        env->close(t);
        env->close(bottom);
    }
}

TEST_F(WindowContract, RestoringAWindowMinimisedFromMaximisedMaximisesIt) {
    const WindowHandle w = open("contract restore", OpenState::Maximised);
    show(w, win::SwMinimize);
    EXPECT_FALSE(ws.isZoomed(w));
    show(w, win::SwHide);
    show(w, win::SwShowNormal);
    EXPECT_TRUE(ws.isZoomed(w));
    EXPECT_EQ(ws.rect(w), MaximisedRect);
    show(w, win::SwShowNormal);
    EXPECT_FALSE(ws.isZoomed(w)) << "a second restore leaves the maximised state";
    EXPECT_EQ(ws.rect(w), NormalRect);
}

// ---- MoveWindow ---------------------------------------------------------------------

TEST_F(WindowContract, MovingANormalWindowMovesItsNormalPositionToo) {
    const WindowHandle w = open("contract move");
    ws.move(w, 5, 6, 300, 200, true);
    env->settle();
    EXPECT_EQ(ws.rect(w), (Rect{5, 6, 305, 206}));
    EXPECT_EQ(ws.normalRect(w), (Rect{5, 6, 305, 206}));
    // Whole screens away, as a drop into another desktop's tile puts it; nothing clamps.
    ws.move(w, 1500, -300, 400, 300, true);
    env->settle();
    EXPECT_EQ(ws.rect(w), (Rect{1500, -300, 1900, 0}));
    show(w, win::SwHide);
    ws.move(w, -2048, 778, 400, 300, true);
    env->settle();
    EXPECT_FALSE(ws.isVisible(w));
    EXPECT_EQ(ws.rect(w), (Rect{-2048, 778, -1648, 1078}));
    EXPECT_EQ(ws.normalRect(w), (Rect{-2048, 778, -1648, 1078}));
    show(w, win::SwShow);
    EXPECT_EQ(ws.rect(w), (Rect{-2048, 778, -1648, 1078})) << "showing does not pull it back";
}

TEST_F(WindowContract, MovingAMaximisedWindowKeepsItsStateAndNormalPosition) {
    const WindowHandle w = open("contract move maximised", OpenState::Maximised);
    ws.move(w, 30, 40, 300, 200, true);
    env->settle();
    EXPECT_EQ(ws.rect(w), (Rect{30, 40, 330, 240}));
    EXPECT_TRUE(ws.isZoomed(w));
    EXPECT_EQ(ws.normalRect(w), NormalRect);
    show(w, win::SwShowNormal);
    EXPECT_FALSE(ws.isZoomed(w));
    EXPECT_EQ(ws.rect(w), NormalRect);
}

TEST_F(WindowContract, AMovedMaximisedWindowShownMaximisedAgain) {
    // Moved to the origin with its own size, as a maximised drop does, then hidden.
    const WindowHandle w = open("contract origin", OpenState::Maximised);
    ws.move(w, 0, 0, MaximisedRect.width(), MaximisedRect.height(), true);
    show(w, win::SwHide);
    EXPECT_EQ(ws.rect(w), (Rect{0, 0, 1032, 776}));
    show(w, win::SwShow);
    EXPECT_EQ(ws.rect(w), (Rect{0, 0, 1032, 776})) << "SW_SHOW keeps the moved rectangle";
    show(w, win::SwHide);
    show(w, win::SwShowMaximized);
    EXPECT_EQ(ws.rect(w), MaximisedRect) << "back in the maximised place";
    // Moved elsewhere, that top-left becomes its maximised place.
    ws.move(w, -1024, 0, MaximisedRect.width(), MaximisedRect.height(), true);
    show(w, win::SwHide);
    show(w, win::SwShowMaximized);
    EXPECT_TRUE(ws.isZoomed(w));
    EXPECT_EQ(ws.rect(w), (Rect{-1024, 0, 8, 776}));
    EXPECT_EQ(ws.normalRect(w), NormalRect);
    // A drag leaves it far away, the drop puts it at the origin: the default place again.
    ws.move(w, 3272, 1068, MaximisedRect.width(), MaximisedRect.height(), true);
    ws.move(w, 0, 0, MaximisedRect.width(), MaximisedRect.height(), true);
    show(w, win::SwHide);
    show(w, win::SwShowMaximized);
    EXPECT_EQ(ws.rect(w), MaximisedRect);
    // So does the default maximised top-left, and so does restoring the window.
    ws.move(w, 5, 5, MaximisedRect.width(), MaximisedRect.height(), true);
    ws.move(w, -4, -4, MaximisedRect.width(), MaximisedRect.height(), true);
    show(w, win::SwHide);
    show(w, win::SwShowMaximized);
    EXPECT_EQ(ws.rect(w), MaximisedRect);
    ws.move(w, 7, 0, MaximisedRect.width(), MaximisedRect.height(), true);
    show(w, win::SwShowNormal);
    show(w, win::SwShowMaximized);
    EXPECT_EQ(ws.rect(w), MaximisedRect);
}

TEST_F(WindowContract, MovingAMinimisedWindowMovesOnlyItsTitleBar) {
    const WindowHandle w = open("contract move minimised", OpenState::Minimised);
    ws.move(w, 30, 40, 300, 200, true);
    env->settle();
    EXPECT_TRUE(ws.isIconic(w));
    EXPECT_EQ(ws.rect(w), (Rect{30, 40, 30 + IconWidth, 40 + IconHeight}));
    EXPECT_EQ(ws.normalRect(w), NormalRect);
}

// ---- Identity and asynchronous calls ------------------------------------------------

TEST_F(WindowContract, ProcessAndClassTellAWindowAndAsyncShowsTakeEffect) {
    WindowRequest other;
    other.title = "contract other class";
    other.className = "SkelvoContractOther";
    const WindowHandle a = open("contract a");
    const WindowHandle b = open(other);
    EXPECT_NE(ws.processId(a), 0u);
    EXPECT_EQ(ws.processId(a), ws.processId(b)) << "one program opened both";
    char name[64];
    EXPECT_EQ(ws.className(b, name, sizeof name), static_cast<int>(other.className.size()));
    EXPECT_EQ(std::string(name), other.className);
    ws.className(a, name, 8);
    EXPECT_EQ(std::string(name), WindowRequest{}.className.substr(0, 7)) << "truncated";
    EXPECT_FALSE(ws.isHung(a)) << "a thread that answers";
    // The program's file name alone, as a rule by name gives it.
    const std::string exe = ws.exeName(a);
    EXPECT_TRUE(exe.size() > 4 && exe.find_first_of("\\/:") == std::string::npos &&
                (exe.ends_with(".exe") || exe.ends_with(".EXE")))
        << exe;
    EXPECT_EQ(ws.exeName(b), exe);

    ws.showAsync(a, win::SwHide);
    env->settle();
    EXPECT_FALSE(ws.isVisible(a));
    ws.showAsync(a, win::SwShowNa);
    env->settle();
    EXPECT_TRUE(ws.isVisible(a));

    env->close(b);
    EXPECT_EQ(ws.processId(b), 0u) << "a window that has gone";
    EXPECT_EQ(ws.className(b, name, sizeof name), 0);
    EXPECT_EQ(ws.exeName(b), "");
    EXPECT_EQ(ws.normalRect(b), std::nullopt) << "no placement either";
}

// A thread that stops answering: through the awaited calls every call returns soon, the
// queries report what was asked for until the thread gets to it, and on waking it
// carries the calls out in order. Its ping times out; a thread that answers, answers.
TEST_F(WindowContract, AStalledThreadHoldsNoCallAndCarriesThemOutOnWaking) {
    WindowRequest request;
    request.title = "contract stalled";
    const WindowHandle w = env->openStalled(request);
    ASSERT_NE(w, NullWindow);
    ASSERT_TRUE(ws.isVisible(w));
    EXPECT_FALSE(ws.ownThread(w));
    EXPECT_NE(ws.threadId(w), 0u);
    AwaitedWindows aw(ws);
    const Rect moved{30, 40, 330, 240};
    const unsigned long long start = env->clockMs();
    aw.show(w, win::SwHide);
    aw.move(w, moved.left, moved.top, moved.width(), moved.height(), true);
    aw.update(w);
    aw.show(w, win::SwShowNa);
    aw.show(w, win::SwHide);
    EXPECT_LT(env->clockMs() - start, AwaitedWindows::CallLimitMs + 300u)
        << "five calls on a stalled thread wait for one call's limit at most";
    EXPECT_TRUE(aw.isHung(w));
    EXPECT_FALSE(aw.isVisible(w)) << "the last show asked for is reported";
    EXPECT_EQ(aw.style(w) & win::WsVisible, 0u);
    EXPECT_EQ(aw.rect(w), moved);
    EXPECT_EQ(aw.normalRect(w), moved);
    EXPECT_FALSE(ws.ping(w, 20));

    env->wake(w);
    EXPECT_FALSE(ws.isVisible(w)) << "the calls landed in the order they were made";
    EXPECT_EQ(ws.rect(w), moved);
    EXPECT_TRUE(ws.ping(w, 1000));
    EXPECT_EQ(aw.pendingCount(), 1u);
    EXPECT_FALSE(aw.isVisible(w));
    EXPECT_EQ(aw.pendingCount(), 0u) << "the result has shown, and the record goes";
    show(w, win::SwShowNa);
    EXPECT_TRUE(aw.isVisible(w));
    EXPECT_EQ(aw.normalRect(w), moved);
}

}  // namespace
}  // namespace skelvo::testing
