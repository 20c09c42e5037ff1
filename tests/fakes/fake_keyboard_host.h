// The keyboard as the system keeps it: one holder per key combination, combinations that
// other programs hold already, the simulated desktop's active window as the foreground
// window, and the notices shown.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/keyboard_host.h"
#include "tests/fakes/fake_window_system.h"

namespace skelvo::testing {

class FakeKeyboardHost : public KeyboardHost {
public:
    using Combo = std::pair<unsigned, unsigned>;  // modifiers, key
    using Holder = std::pair<WindowHandle, int>;  // window, id

    explicit FakeKeyboardHost(FakeWindowSystem& windows) : windows_(windows) {}

    bool registerHotKey(WindowHandle window, int id, unsigned modifiers, unsigned key) override {
        // MOD_NOREPEAT is no part of the combination: it only silences the key's repeat.
        const bool once = (modifiers & ModNoRepeat) != 0;
        modifiers &= ~ModNoRepeat;
        // Held by anyone, or the id taken already: the system refuses both.
        if (heldElsewhere.count({modifiers, key}) || holders.count({modifiers, key}) ||
            idHeld({window, id}))
            return false;
        holders[{modifiers, key}] = {window, id};
        if (!once) repeating.insert({modifiers, key});
        return true;
    }
    void unregisterHotKey(WindowHandle window, int id) override {
        std::erase_if(holders, [&](const auto& h) { return h.second == Holder{window, id}; });
    }
    WindowHandle foregroundWindow() override { return windows_.activeWindow(); }
    void setForegroundWindow(WindowHandle window) override {
        foregroundSets.push_back(window);
        windows_.activate(window);
    }
    void notify(const char* text, const char* caption) override {
        notices.emplace_back(text, caption);
    }

    // The id that a press of the combination posts to the panel in WM_HOTKEY, if ours.
    std::optional<int> press(unsigned modifiers, unsigned key) const {
        const auto it = holders.find({modifiers, key});
        return it == holders.end() ? std::nullopt : std::optional<int>(it->second.second);
    }

    std::map<Combo, Holder> holders;  // what the panel registered
    std::set<Combo> repeating;        // held down, these post WM_HOTKEY again and again
    std::set<Combo> heldElsewhere;
    std::vector<WindowHandle> foregroundSets;
    std::vector<std::pair<std::string, std::string>> notices;  // text, caption

private:
    bool idHeld(Holder holder) const {
        for (const auto& [combo, h] : holders)
            if (h == holder) return true;
        return false;
    }
    FakeWindowSystem& windows_;
};

}  // namespace skelvo::testing
