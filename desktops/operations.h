// Window and desktop operations of the popup menus: restore, maximise, minimise or close
// one window, every window of a desktop or of all twelve, and showing or hiding every
// captioned window at once. A desktop that is not on screen only records the new show
// state; the next switch to it applies it.
#pragma once

#include <vector>

#include "desktops/virtual_desktop.h"

namespace skelvo {

enum class WindowAction { Restore, Maximise, Minimise, Close };

inline constexpr int OpRestoreAll = 148;
inline constexpr int OpMaximiseAll = 149;
inline constexpr int OpMinimiseAll = 150;
inline constexpr int OpCloseAll = 151;

// The scope rule: the first entry holding window alone when there is one, otherwise
// every listed entry (how a null window reaches them all). Returns 1.
int applyToDesktop(VirtualDesktop& desktop, int currentDesktop, WindowHandle window,
                   WindowAction action);
// The first entry holding window alone, or the pinned window; 0, and nothing done, when
// the desktop does not list it and it is not pinned. A single window never widens to the
// whole desktop.
int applyToWindow(VirtualDesktop& desktop, int currentDesktop, WindowHandle window,
                  WindowAction action);
// Every listed window of desktops 0 to 11; operation is OpRestoreAll..OpCloseAll.
// Returns 0 for any other code.
int applyToAllDesktops(DesktopArray& desktops, int currentDesktop, int operation);

// Windows hidden by hideAllManagedWindows, which then belong to no desktop. They are shown
// again by showAllManagedWindows and, at the latest, when the record is destroyed at exit.
class HiddenWindows {
public:
    HiddenWindows() = default;
    HiddenWindows(const HiddenWindows&) = delete;
    HiddenWindows& operator=(const HiddenWindows&) = delete;
    ~HiddenWindows() { showAll(); }

    void bind(WindowSystem& windows) { windows_ = &windows; }
    void add(WindowHandle window);
    // Shows every remembered window that is still hidden and forgets them all.
    void showAll();
    const std::vector<WindowHandle>& windows() const { return hidden_; }
    WindowSystem* windowSystem() const { return windows_; }

private:
    WindowSystem* windows_ = nullptr;
    std::vector<WindowHandle> hidden_;
};

// The looser test of these two: a title, enabled, a caption, and not the panel.
bool isCaptionedWindow(WindowSystem& windows, WindowHandle window, WindowHandle panel);
int showAllManagedWindows(WindowSystem& windows, HiddenWindows& hidden);
// The windows an ignore rule leaves alone are left alone here too.
int hideAllManagedWindows(WindowSystem& windows, HiddenWindows& hidden,
                          const WindowRules* rules = nullptr);

}  // namespace skelvo
