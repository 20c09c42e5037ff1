// RegisterHotKey, the foreground window and the notice's thread.
#include "app/keyboard_host_win.h"

#include <windows.h>

#include <memory>
#include <string>

namespace skelvo {

namespace {

HWND hwnd(WindowHandle w) {
    return reinterpret_cast<HWND>(w);
}

struct Notice {
    std::string text;
    std::string caption;
};

DWORD WINAPI showNotice(void* parameter) {
    const std::unique_ptr<Notice> notice(static_cast<Notice*>(parameter));
    // Topmost, or the always-on-top panel could cover it.
    MessageBoxA(nullptr, notice->text.c_str(), notice->caption.c_str(),
                MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
    return 0;
}

}  // namespace

bool Win32KeyboardHost::registerHotKey(WindowHandle window, int id, unsigned modifiers,
                                       unsigned key) {
    return RegisterHotKey(hwnd(window), id, modifiers, key) != FALSE;
}

void Win32KeyboardHost::unregisterHotKey(WindowHandle window, int id) {
    UnregisterHotKey(hwnd(window), id);
}

WindowHandle Win32KeyboardHost::foregroundWindow() {
    return reinterpret_cast<WindowHandle>(GetForegroundWindow());
}

void Win32KeyboardHost::setForegroundWindow(WindowHandle window) {
    SetForegroundWindow(hwnd(window));
}

void Win32KeyboardHost::notify(const char* text, const char* caption) {
    // A box on the UI thread would run its own message loop inside the panel's handlers;
    // on a thread of its own it waits for the user while the panel goes on. The thread
    // ends with the box, or with the process.
    auto notice = std::make_unique<Notice>(Notice{text, caption});
    HANDLE thread = CreateThread(nullptr, 0, showNotice, notice.get(), 0, nullptr);
    if (thread == nullptr) return;
    notice.release();  // the thread owns it now
    CloseHandle(thread);
}

}  // namespace skelvo
