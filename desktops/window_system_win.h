// The window system on Win32: thin wrappers over USER32.
#pragma once

#include <vector>

#include "desktops/window_system.h"

namespace skelvo {

class Win32WindowSystem : public WindowSystem {
public:
    WindowHandle desktopWindow() override;
    WindowHandle relative(WindowHandle window, int relation) override;
    void topLevelWindows(std::vector<WindowHandle>& into) override;
    WindowHandle find(const char* className, const char* title) override;
    bool isWindow(WindowHandle window) override;
    std::uint32_t style(WindowHandle window) override;
    int text(WindowHandle window, char* buffer, int size) override;
    bool isVisible(WindowHandle window) override;
    bool isEnabled(WindowHandle window) override;
    bool isIconic(WindowHandle window) override;
    bool isZoomed(WindowHandle window) override;
    Rect rect(WindowHandle window) override;
    std::optional<Rect> normalRect(WindowHandle window) override;
    bool show(WindowHandle window, int command) override;
    void update(WindowHandle window) override;
    void move(WindowHandle window, int x, int y, int width, int height, bool repaint) override;
    void minimise(WindowHandle window) override;
    void postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
    std::uint32_t processId(WindowHandle window) override;
    std::uint32_t currentProcessId() override;
    int className(WindowHandle window, char* buffer, int size) override;
    void showAsync(WindowHandle window, int command) override;
    void moveAsync(WindowHandle window, Rect to) override;
    bool isHung(WindowHandle window) override;

    // How long a call waits for a window's thread before treating it as not answering,
    // and how long that verdict stands before the thread is given another chance.
    static constexpr unsigned AnswerTimeoutMs = 25;
    static constexpr unsigned StallMemoryMs = 2000;

private:
    // Windows of another thread: whether calls must not wait on it.
    bool mustNotWait(WindowHandle window, unsigned long* thread);
    // After an asynchronous call: waits (bounded) until the thread has carried it out;
    // false when it did not answer in time.
    bool awaitThread(WindowHandle window, unsigned long thread);
    struct Stall {
        unsigned long thread;
        unsigned long long since;
    };
    Stall stalls_[16]{};

    // Asynchronous calls that a thread which does not answer has not carried out yet. The
    // queries report the state they ask for, so that a capture meanwhile does not take a
    // window whose hide is on its way; the window's thread clears the record when it gets
    // to it (a WM_NULL sent with a callback after the call).
    struct Pending {
        WindowHandle window;
        int command;  // -1: no show pending
        bool moved;
        Rect rect;  // where a pending move puts the window
        unsigned long long sequence;
    };
    // Notes a show command (or, with moved, a move) that the window's thread still has to
    // carry out.
    void expect(WindowHandle window, int command, const Rect* moved = nullptr);
    const Pending* pendingFor(WindowHandle window) const;
    std::uint32_t adjusted(WindowHandle window, std::uint32_t style) const;
    static void __stdcall answered(void* window, unsigned message, std::uintptr_t data,
                                   std::intptr_t result);
    std::vector<Pending> pending_;
    unsigned long long sequence_ = 0;
    void* desktop_ = nullptr;  // the panel thread's desktop (HDESK)
};

}  // namespace skelvo
