// Windows that go with a listed window: its dialogs, palettes and questions, found through
// their owner chains. They are never listed on their own; each desktop keeps them beside
// its list, hides them with their owner and shows them again above it.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "desktops/window_system.h"

namespace skelvo {

inline constexpr int OwnedCapacity = 32;
// Owner chains are short; a walk gives up after this many steps, whatever it finds.
inline constexpr int OwnerChainLimit = 8;

struct OwnedWindow {
    WindowHandle window = NullWindow;
    WindowHandle owner = NullWindow;  // the listed window it goes with
    int command = win::SwShowNa;      // the ShowWindow command that shows it again
};

// The owned windows of one desktop's listed windows, lowest in the Z order first.
struct OwnedList {
    std::array<OwnedWindow, OwnedCapacity> items{};
    int count = 0;

    // False when the list is full; a window it holds already is updated in place.
    bool add(const OwnedWindow& owned);
    bool holds(WindowHandle window) const;
    void clear() { count = 0; }
};

// The command that shows an owned window as it was: minimised or maximised when it was so,
// otherwise SW_SHOWNA, which keeps its size and place and leaves the activation to its owner.
int ownedShowCommand(std::uint32_t style);
// Whether target is on window's owner chain (window itself excluded).
bool ownerChainReaches(WindowSystem& windows, WindowHandle window, WindowHandle target);

// Class names are atoms, matched whatever their case.
bool sameClassName(const char* a, const char* b);
// Tooltips and menus: popups that their program or the system shows for a moment and hides
// again by itself. They never go with their owner, as shown again later they would stay.
bool isPassingPopupClass(const char* className);

// Hides the windows of list that go with owner.
void hideOwned(WindowSystem& windows, const OwnedList& list, WindowHandle owner);
// Shows the windows of list that go with owner, lowest first, each on top.
void showOwned(WindowSystem& windows, const OwnedList& list, WindowHandle owner);
// Shows owner with command and the windows of list that go with it above it, lowest first.
// A minimised owner is minimised after them, so that the system hides them with it and
// shows them again when the owner is restored.
void showWithOwned(WindowSystem& windows, const OwnedList& list, WindowHandle owner, int command);
// A drop of owner from one desktop into another: the windows that go with it move from
// one list to the other (from the screen when its desktop is on screen, as they are now)
// and are hidden or shown as the target desktop is. A drop into its own desktop keeps them.
void carryOwned(WindowSystem& windows, OwnedList& from, OwnedList& to, WindowHandle owner,
                bool fromOnScreen, bool toOnScreen);

// The owners a capture reads, remembered from one capture to the next while the window
// stays among those it reads: a window gets its owner when it is created, and programs
// that change it later are rare.
class OwnerCache {
public:
    WindowHandle ownerOf(WindowSystem& windows, WindowHandle window);
    // The windows not asked about since the last call are forgotten.
    void endCapture();

private:
    std::vector<std::pair<WindowHandle, WindowHandle>> known_;
    std::vector<std::pair<WindowHandle, WindowHandle>> next_;
};

}  // namespace skelvo
