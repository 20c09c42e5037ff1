// Owned windows: their lists, owner chains, and hiding and showing them with their owner.
#include "desktops/owned_windows.h"

#include <algorithm>
#include <cctype>

namespace skelvo {

bool OwnedList::add(const OwnedWindow& owned) {
    for (int i = 0; i < count; ++i) {
        if (items[i].window != owned.window) continue;
        items[i] = owned;
        return true;
    }
    if (count >= OwnedCapacity) return false;
    items[count++] = owned;
    return true;
}

bool OwnedList::holds(WindowHandle window) const {
    for (int i = 0; i < count; ++i) {
        if (items[i].window == window) return true;
    }
    return false;
}

int ownedShowCommand(std::uint32_t style) {
    if ((style & win::WsMinimize) != 0) return win::SwMinimize;
    if ((style & win::WsMaximize) != 0) return win::SwShowMaximized;
    return win::SwShowNa;
}

bool ownerChainReaches(WindowSystem& windows, WindowHandle window, WindowHandle target) {
    WindowHandle w = window;
    for (int i = 0; i < OwnerChainLimit && w != NullWindow; ++i) {
        w = windows.relative(w, win::GwOwner);
        if (w != NullWindow && w == target) return true;
    }
    return false;
}

void hideOwned(WindowSystem& windows, const OwnedList& list, WindowHandle owner) {
    for (int i = 0; i < list.count; ++i) {
        if (list.items[i].owner == owner) windows.show(list.items[i].window, win::SwHide);
    }
}

bool isPassingPopupClass(const char* className) {
    return sameClassName(className, "tooltips_class32") || sameClassName(className, "#32768");
}

bool sameClassName(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b)))
            return false;
    }
    return *a == *b;
}

// A recorded window is shown only while it still goes with its owner: a handle that a
// closed dialog left behind may meanwhile name some other window.
void showOwned(WindowSystem& windows, const OwnedList& list, WindowHandle owner) {
    for (int i = 0; i < list.count; ++i) {
        const OwnedWindow& o = list.items[i];
        if (o.owner != owner || !ownerChainReaches(windows, o.window, owner)) continue;
        windows.show(o.window, o.command == 0 ? win::SwShowNa : o.command);
    }
}

void showWithOwned(WindowSystem& windows, const OwnedList& list, WindowHandle owner, int command) {
    if (command == win::SwMinimize) {
        showOwned(windows, list, owner);
        windows.show(owner, command);
        return;
    }
    windows.show(owner, command);
    showOwned(windows, list, owner);
}

void carryOwned(WindowSystem& windows, OwnedList& from, OwnedList& to, WindowHandle owner,
                bool fromOnScreen, bool toOnScreen) {
    if (&from == &to) return;
    OwnedList moving;
    int kept = 0;
    for (int i = 0; i < from.count; ++i) {
        if (from.items[i].owner == owner) {
            moving.add(from.items[i]);
        } else {
            from.items[kept++] = from.items[i];
        }
    }
    from.count = kept;
    if (fromOnScreen) {
        // As the screen has them now, not as the last refresh saw them.
        std::vector<WindowHandle> order;
        windows.topLevelWindows(order);
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            if (!windows.isVisible(*it) || !ownerChainReaches(windows, *it, owner)) continue;
            char name[64] = {};
            windows.className(*it, name, sizeof name);
            name[sizeof name - 1] = '\0';
            if (isPassingPopupClass(name)) continue;
            moving.add(OwnedWindow{*it, owner, ownedShowCommand(windows.style(*it))});
        }
    }
    // Into the target's list first, so that whoever watches the hides knows them.
    OwnedList taken;
    for (int i = 0; i < moving.count; ++i) {
        if (to.add(moving.items[i])) {
            taken.add(moving.items[i]);
        } else {
            from.add(moving.items[i]);  // no room: it stays with the desktop it was on
        }
    }
    if (toOnScreen) {
        showOwned(windows, taken, owner);
    } else {
        hideOwned(windows, taken, owner);
    }
}

WindowHandle OwnerCache::ownerOf(WindowSystem& windows, WindowHandle window) {
    for (const auto& [w, owner] : next_) {
        if (w == window) return owner;
    }
    WindowHandle owner = NullWindow;
    const auto known = std::find_if(known_.begin(), known_.end(),
                                    [window](const auto& k) { return k.first == window; });
    if (known != known_.end()) {
        owner = known->second;
    } else {
        owner = windows.relative(window, win::GwOwner);
    }
    next_.emplace_back(window, owner);
    return owner;
}

void OwnerCache::endCapture() {
    known_.swap(next_);
    next_.clear();
}

}  // namespace skelvo
