// Registering the hotkeys and carrying them out.
#include "app/hotkeys.h"

#include <string>

#include "app/application.h"
#include "app/ids.h"
#include "app/keyboard_host.h"
#include "desktops/switching.h"
#include "ui/commands.h"

namespace skelvo {

namespace {

constexpr char NameSeparator[] = ", ";

// The topmost shown window of the desktop on screen takes the keyboard: its list runs
// from the bottom of the Z order up. With none, the panel keeps it, unless it is hidden
// in the tray.
void focusDesktop(Application& app, Services& s, WindowHandle panel) {
    const VirtualDesktop& d = app.desktops[app.state.currentDesktop];
    for (int i = d.count - 1; i >= 0; --i) {
        const WindowHandle w = d.entries[i].window;
        if (s.windows.isVisible(w) && !s.windows.isIconic(w)) {
            s.keyboard->setForegroundWindow(w);
            return;
        }
    }
    if (!app.state.inTray) s.keyboard->setForegroundWindow(panel);
}

void switchByKey(Application& app, Services& s, WindowHandle panel, int desktop) {
    const int before = app.state.currentDesktop;
    dispatchCommand(app, s, panel, CmdDesktopFirst + static_cast<unsigned>(desktop));
    if (app.state.currentDesktop != before && s.keyboard != nullptr) focusDesktop(app, s, panel);
}

}  // namespace

void registerHotkeys(Application& app, Services& s, WindowHandle panel) {
    Hotkeys& keys = app.hotkeys;
    keys.table = applyKeySection(keys.section);
    keys.window = panel;
    if (s.keyboard == nullptr) return;
    std::string refused;
    for (int i = 0; i < HotkeyCount; ++i) {
        const KeyCombo combo = keys.table[i];
        if (combo.empty()) continue;
        keys.registered[i] = s.keyboard->registerHotKey(panel, i + HotkeyIdBase,
                                                        combo.modifiers | ModNoRepeat, combo.key);
        if (keys.registered[i]) continue;
        if (!refused.empty()) refused += NameSeparator;
        refused += comboName(combo);
    }
    if (refused.empty()) return;
    s.keyboard->notify((HotkeyNoticeText + refused).c_str(), HotkeyNoticeCaption);
}

void unregisterHotkeys(Application& app, Services& s) {
    Hotkeys& keys = app.hotkeys;
    for (int i = 0; i < HotkeyCount; ++i) {
        if (!keys.registered[i]) continue;
        keys.registered[i] = false;
        if (s.keyboard != nullptr) s.keyboard->unregisterHotKey(keys.window, i + HotkeyIdBase);
    }
}

void onHotKey(Application& app, Services& s, WindowHandle panel, std::uintptr_t id) {
    if (id < HotkeyIdBase || id >= HotkeyIdBase + HotkeyCount) return;
    if (app.state.sessionEnding) return;  // every key changes what a switch hides
    const int place = static_cast<int>(id) - HotkeyIdBase;
    if (place == PinPlace) {
        if (s.keyboard != nullptr) togglePin(app, s, panel, s.keyboard->foregroundWindow());
    } else if (place >= StepFirst) {
        if (const auto next = neighbourDesktop(app.state.currentDesktop, place - StepFirst))
            switchByKey(app, s, panel, *next);
    } else if (place >= SendFirst) {
        if (s.keyboard != nullptr)
            sendToDesktop(app, s, panel, s.keyboard->foregroundWindow(), place - SendFirst);
    } else {
        switchByKey(app, s, panel, place - SwitchFirst);
    }
}

bool sendToDesktop(Application& app, Services& /*services*/, WindowHandle panel, WindowHandle window,
                   int target) {
    const int source = app.state.currentDesktop;
    if (window == NullWindow || window == panel || target < 0 || target >= DesktopCount ||
        target == source)
        return false;
    VirtualDesktop& from = app.desktops[source];
    if (from.windowSystem() == nullptr) return false;
    // As a switch does: a window opened since the last refresh is listed too.
    refreshDesktop(app.desktops, source);
    if (app.desktops[target].count >= EntryCapacity) return false;
    // A program's dialog has the keyboard: the listed window on its owner chain goes, and
    // the dialog with it.
    window = from.listedOnChain(window);
    if (window == NullWindow || window == panel) return false;
    sendListedWindow(app.desktops, window, source, target);
    return true;
}

void tellRefusedHide(Application& app, Services& s) {
    const WindowHandle window = app.pins.takeRefusalToTell();
    if (window == NullWindow || s.keyboard == nullptr) return;
    const std::optional<std::string> name = s.shell.toAnsi(s.windows.exeName(window));
    const std::string program = name && !name->empty() ? "「" + *name + "」" : UnnamedProgram;
    s.keyboard->notify((program + RefusedHideText).c_str(), RefusedHideCaption);
}

bool togglePin(Application& app, Services& s, WindowHandle panel, WindowHandle window) {
    const int current = app.state.currentDesktop;
    if (window == NullWindow || window == panel) return false;
    if (const WindowHandle pinned = app.pins.onChainOf(s.windows, window); pinned != NullWindow) {
        app.pins.remove(pinned);
        // On screen, it joins the desktop on screen as any window opened there does.
        refreshDesktop(app.desktops, current);
        return true;
    }
    refreshDesktop(app.desktops, current);
    const WindowHandle listed = app.desktops[current].listedOnChain(window);
    if (listed == NullWindow) return false;
    app.pins.add(s.windows, listed);
    // The capture leaves it and its dialogs out of the list from now on.
    refreshDesktop(app.desktops, current);
    return true;
}

}  // namespace skelvo
