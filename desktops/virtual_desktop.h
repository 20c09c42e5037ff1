// A virtual desktop: the list of up to 32 captured windows, its capture from the live Z
// order, the window under a map point, and the release of every listed window when the
// record is destroyed at process end.
#pragma once

#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "desktops/owned_windows.h"
#include "desktops/pinned_windows.h"
#include "desktops/window_entry.h"
#include "desktops/window_rules.h"

namespace skelvo {

inline constexpr int DesktopCount = 12;
inline constexpr int EntryCapacity = 32;
inline constexpr int CaptureLimit = 15;

class VirtualDesktop;
using DesktopArray = std::array<VirtualDesktop, DesktopCount>;

class VirtualDesktop {
public:
    VirtualDesktop() = default;
    VirtualDesktop(const VirtualDesktop&) = delete;
    VirtualDesktop& operator=(const VirtualDesktop&) = delete;
    // Shows every listed window again, from the last entry to the first.
    ~VirtualDesktop();

    void reset(WindowSystem& windows, int desktopIndex);
    // The desktop's tile of the virtual screen, which spans every monitor.
    void takeScreen(const ScreenLayout& screen);
    // shared: the screen as the caller has it for this same message. The windows that go
    // with a listed one are kept in owned. With desktops given, a window that goes with a
    // window another desktop lists (a parked program's dialog) is hidden and handed to it.
    void capture(ScreenOnce* shared = nullptr, DesktopArray* desktops = nullptr);
    int captureFrom(WindowHandle start, int relation, int position, int limit);
    // A copy of the first entry holding window; nullopt when the desktop does not list it.
    std::optional<WindowEntry> findEntry(WindowHandle window) const;
    // The first window on window's owner chain, itself included, that the desktop lists
    // (a program's dialog names its listed window); null when none.
    WindowHandle listedOnChain(WindowHandle window) const;
    WindowHandle windowAtMapPoint(int x, int y) const;
    // Shows every listed window with its recorded state, and the windows that go with it,
    // and empties the lists.
    void releaseAll();

    std::array<WindowEntry, EntryCapacity> entries{};
    OwnedList owned;  // the windows that go with the listed ones
    int index = 0;
    int count = 0;
    int originX = 0;
    int originY = 0;
    Rect screenRect{};
    // Shared by every desktop: a pinned window and its dialogs are never captured, and
    // windowAtMapPoint finds it in every cell, above the listed windows.
    PinnedWindows* pins = nullptr;
    // Shared by every desktop too: an ignored window and its dialogs are never captured.
    WindowRules* rules = nullptr;

    WindowSystem* windowSystem() const { return windows_; }

private:
    struct Scene;
    // The classes whose first window the filter excludes by handle, the panel's own
    // dialogs, and the menus that never go with their owner.
    enum class ClassKind : std::uint8_t { Other, ToolTip, Panel, OwnDialog, Menu };
    ClassKind kindOf(WindowHandle window);
    // The filter's tests on one window, whose style is read: its text goes into text.
    bool admits(Scene& scene, WindowHandle window, std::uint32_t style, bool held,
                char (&text)[TitleBytes]);
    void fill(Scene& scene, int position, WindowHandle window, std::uint32_t style,
              const char (&text)[TitleBytes]);
    // One walk step: reads the window and fills position if it is managed.
    bool take(Scene& scene, int position, WindowHandle window);
    // What a capture knows of one window, from the bottom of the Z order up.
    struct Seen {
        WindowHandle window;
        std::uint32_t style;
        bool held = false;                   // an enabled owned window of it is open
        bool candidate = false;              // passes the filter's own tests
        bool leftAlone = false;  // pinned or ignored, or a window that goes with one
        WindowHandle goesWith = NullWindow;  // the highest candidate on its owner chain
        int parkedOn = -1;  // the desktop that lists a window on its chain, when none does here
        char text[TitleBytes] = {};
    };
    int seenIndex(WindowHandle window) const;
    WindowSystem* windows_ = nullptr;
    std::vector<Seen> seen_;
    OwnerCache owners_;
    // The kinds of the windows the last capture asked about, and of this capture's.
    std::vector<std::pair<WindowHandle, ClassKind>> kinds_;
    std::vector<std::pair<WindowHandle, ClassKind>> nextKinds_;
};

// Before a listed window is shown again: one whose title bar would be out of reach of
// every monitor (its monitor has gone) is moved onto the nearest. Minimised and maximised
// windows are left alone: the system places those on a monitor as they are shown.
void keepInReach(WindowSystem& windows, ScreenOnce& screen, WindowEntry& entry);

// Captures desktop index, which is on screen, and takes the windows it lists out of every
// other desktop's list. The rules act on the windows it lists that they have not judged.
void refreshDesktop(DesktopArray& desktops, int index, ScreenOnce* screen = nullptr);

// The windows whose hides the system refused (a program with higher rights) are pinned:
// they stay on screen whatever the desktop, so no list may hold them as parked.
void pinRefusedHides(DesktopArray& desktops);

}  // namespace skelvo
