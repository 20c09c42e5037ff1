// Windows pinned to every desktop: no desktop lists them, no switch hides them, and the
// map draws them in every cell. A pin lives in memory only, as long as its window.
#pragma once

#include <utility>
#include <vector>

#include "desktops/window_entry.h"

namespace skelvo {

class PinnedWindows {
public:
    bool empty() const { return entries_.empty(); }
    bool holds(WindowHandle window) const;
    // The pinned window on window's owner chain, window itself included; NullWindow when
    // there is none. A pinned window's dialogs go with it.
    WindowHandle onChainOf(WindowSystem& windows, WindowHandle window) const;
    void add(WindowSystem& windows, WindowHandle window);
    void remove(WindowHandle window);
    // Forgets the windows that are gone and reads the others' state, title and place.
    void refresh(WindowSystem& windows);
    // The pinned windows as the map shows them, bottom first: shown ones only, each placed
    // in desktop's cell.
    std::vector<WindowEntry> inCell(int desktop, const ScreenLayout& screen) const;
    const std::vector<WindowEntry>& entries() const { return entries_; }
    // Keeps entry as it is, read by the caller.
    void keep(const WindowEntry& entry) { entries_.push_back(entry); }
    // A window pinned because the system refused to hide it. Only the first of a start is
    // told to the user.
    void noteRefused(WindowHandle window) {
        if (refusalNoted_) return;
        refusalNoted_ = true;
        toTell_ = window;
    }
    // The refused window to tell the user of, once; NullWindow otherwise.
    WindowHandle takeRefusalToTell() { return std::exchange(toTell_, NullWindow); }

private:
    std::vector<WindowEntry> entries_;
    bool refusalNoted_ = false;
    WindowHandle toTell_ = NullWindow;
};

}  // namespace skelvo
