// The keyboard host on Win32.
#pragma once

#include "app/keyboard_host.h"

namespace skelvo {

class Win32KeyboardHost : public KeyboardHost {
public:
    bool registerHotKey(WindowHandle window, int id, unsigned modifiers, unsigned key) override;
    void unregisterHotKey(WindowHandle window, int id) override;
    WindowHandle foregroundWindow() override;
    void setForegroundWindow(WindowHandle window) override;
    void notify(const char* text, const char* caption) override;
};

}  // namespace skelvo
