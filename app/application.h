// The process-wide objects and the services through which the core reaches the system.
// Members are destroyed in reverse order: the skin, the slots, the windows hidden by the
// hide-all command, then the desktops from 11 down to 0, each showing again the windows
// it still lists.
#pragma once

#include "app/host.h"
#include "app/hotkeys.h"
#include "app/keyboard_host.h"
#include "app/panel_state.h"
#include "base/file_store.h"
#include "desktops/awaited_windows.h"
#include "desktops/operations.h"
#include "desktops/virtual_desktop.h"
#include "desktops/window_system.h"
#include "launcher/launcher_slot.h"
#include "settings/kept_section.h"
#include "settings/settings_format.h"
#include "ui/graphics.h"
#include "ui/shell.h"
#include "ui/skin_set.h"

namespace skelvo {

class WindowGuard;

struct Services {
    WindowSystem& windows;
    PanelHost& host;
    Graphics& graphics;
    Shell& shell;
    FileStore& files;
    WindowGuard* guard = nullptr;  // keeps hidden windows recoverable; none in most tests
    // windows itself when the core's calls are awaited, which tells when a message arrives
    // during one of them.
    AwaitedWindows* awaited = nullptr;
    KeyboardHost* keyboard = nullptr;  // the hotkeys; none in most tests
};

struct Application {
    PinnedWindows pins;  // every desktop's, outliving them
    WindowRules rules;   // every desktop's, from the rules section
    KeptSection ruleSection;  // as the settings file had it, written back at quit
    DesktopArray desktops;
    HiddenWindows hidden;  // hidden by the hide-all command; shown again before the desktops
    SlotArray slots{};
    FileChoice chosenFile;
    bool keepSettingsFile = false;  // KQZ.txt could not be read at start: never replaced
    SettingsEncoding settingsEncoding = SettingsEncoding::Ansi;
    SkinSet skin;
    PanelState state;
    Hotkeys hotkeys;
};

}  // namespace skelvo
