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
    bool showAsync(WindowHandle window, int command) override;
    std::string exeName(WindowHandle window) override;
    bool isHung(WindowHandle window) override;
    bool ping(WindowHandle window, unsigned timeoutMs) override;
    bool ownThread(WindowHandle window) override;
    std::uint32_t threadId(WindowHandle window) override;
    void moveAsync(WindowHandle window, int x, int y, int width, int height, bool repaint) override;
    std::uint64_t clockMs() override;
    void monitors(std::vector<Monitor>& into) override;
    Rect virtualScreen() override;

private:
    void* desktop_ = nullptr;  // the panel thread's desktop (HDESK)
};

}  // namespace skelvo
