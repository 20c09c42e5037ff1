// The system's keyboard services for the panel's hotkeys: registering key combinations,
// the foreground window, and a notice that blocks nobody. Win32 in keyboard_host_win.cpp;
// a fake in the tests.
#pragma once

#include "base/platform.h"

namespace skelvo {

class KeyboardHost {
public:
    virtual ~KeyboardHost() = default;

    // RegisterHotKey: WM_HOTKEY with id reaches window when the combination is pressed.
    // false when the combination is held already, by another program or by this one.
    virtual bool registerHotKey(WindowHandle window, int id, unsigned modifiers, unsigned key) = 0;
    virtual void unregisterHotKey(WindowHandle window, int id) = 0;

    virtual WindowHandle foregroundWindow() = 0;                // GetForegroundWindow
    virtual void setForegroundWindow(WindowHandle window) = 0;  // SetForegroundWindow

    // A message box of its own, owned by no window and shown from a thread of its own,
    // so that the panel goes on meanwhile; returns at once.
    virtual void notify(const char* text, const char* caption) = 0;
};

}  // namespace skelvo
