// The keyboard as the system keeps it: one holder per key combination, hotkeys that
// other programs already hold, the active window of the simulated desktop as the
// foreground window, and the notices shown.
#pragma once

#include <map>
#include <set>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/keyboard_host.h"
#include "tests/fakes/fake_window_system.h"

namespace skelvo::testing {

class FakeKeyboardHost : public KeyboardHost {
public:
    using Combo = std::pair<unsigned, unsigned>;  // modifiers, key

    explicit FakeKeyboardHost(FakeWindowSystem& windows) : windows_(windows) {}

    bool registerHotKey(WindowHandle window, int id, unsigned modifiers, unsigned key) override {
        const Combo combo{modifiers, key};
        if (heldElsewhere.count(combo) != 0 || holders.count(combo) != 0) return false;
        for (const auto& [held, holder] : holders)
            if (holder == std::make_pair(window, id)) return false;  // the id is taken
        holders[combo] = {window, id};
        return true;
    }
    void unregisterHotKey(WindowHandle window, int id) override {
        std::erase_if(holders, [&](const auto& h) { return h.second == std::make_pair(window, id); });
    }
    WindowHandle foregroundWindow() override { return windows_.activeWindow(); }
    void setForegroundWindow(WindowHandle window) override {
        foregroundSets.push_back(window);
        windows_.activate(window);
    }
    void notify(const char* text, const char* caption) override {
        notices.emplace_back(text, caption);
    }

    // The id a press of the combination delivers in WM_HOTKEY to the panel, if ours.
    std::optional<int> press(unsigned modifiers, unsigned key) const {
        const auto it = holders.find({modifiers, key});
        if (it == holders.end()) return std::nullopt;
        return it->second.second;
    }

    std::map<Combo, std::pair<WindowHandle, int>> holders;  // registered by the panel
    std::set<Combo> heldElsewhere;                          // by other programs
    std::vector<WindowHandle> foregroundSets;
    std::vector<std::pair<std::string, std::string>> notices;  // text, caption

private:
    FakeWindowSystem& windows_;
};

}  // namespace skelvo::testing
