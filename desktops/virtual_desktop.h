// A virtual desktop: the list of up to 32 captured windows, its capture from the live Z
// order, the window under a map point, and the release of every listed window when the
// record is destroyed at process end.
#pragma once

#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "desktops/window_entry.h"

namespace skelvo {

inline constexpr int DesktopCount = 12;
inline constexpr int EntryCapacity = 32;
inline constexpr int CaptureLimit = 15;

class VirtualDesktop {
public:
    VirtualDesktop() = default;
    VirtualDesktop(const VirtualDesktop&) = delete;
    VirtualDesktop& operator=(const VirtualDesktop&) = delete;
    // Shows every listed window again, from the last entry to the first.
    ~VirtualDesktop();

    void reset(WindowSystem& windows, int desktopIndex);
    // shared: the screen as the caller has it for this same message.
    void capture(ScreenOnce* shared = nullptr);
    int captureFrom(WindowHandle start, int relation, int position, int limit);
    // A copy of the first entry holding window; nullopt when the desktop does not list it.
    std::optional<WindowEntry> findEntry(WindowHandle window) const;
    WindowHandle windowAtMapPoint(int x, int y) const;
    // Shows every listed window with its recorded state and empties the list.
    void releaseAll();

    std::array<WindowEntry, EntryCapacity> entries{};
    int index = 0;
    int count = 0;
    int originX = 0;
    int originY = 0;
    Rect screenRect{};

    WindowSystem* windowSystem() const { return windows_; }

private:
    struct Scene;
    // The classes whose first window the filter excludes by handle.
    enum class ClassKind : std::uint8_t { Other, ToolTip, Dialog, Panel };
    ClassKind kindOf(WindowHandle window);
    // One walk step: reads the window and fills position if it is managed.
    bool take(Scene& scene, int position, WindowHandle window);
    WindowSystem* windows_ = nullptr;
    // The kinds of the windows the last capture asked about, and of this capture's.
    std::vector<std::pair<WindowHandle, ClassKind>> kinds_;
    std::vector<std::pair<WindowHandle, ClassKind>> nextKinds_;
};

using DesktopArray = std::array<VirtualDesktop, DesktopCount>;

// Captures desktop index, which is on screen, and takes the windows it lists out of every
// other desktop's list.
void refreshDesktop(DesktopArray& desktops, int index, ScreenOnce* screen = nullptr);

}  // namespace skelvo
