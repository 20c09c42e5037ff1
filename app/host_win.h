// The panel host on Win32.
#pragma once

#include "app/host.h"

namespace skelvo {

class Win32Host : public PanelHost {
public:
    int messageBox(WindowHandle owner, const char* text, const char* caption,
                   unsigned flags) override;
    void setTimer(WindowHandle window, unsigned id, unsigned periodMs) override;
    void killTimer(WindowHandle window, unsigned id) override;
    unsigned currentDirectory(char* buffer, unsigned size) override;
    Point cursorPos() override;
    Point screenToClient(WindowHandle window, Point p) override;
    Point clientToScreen(WindowHandle window, Point p) override;
    void clipCursor(std::optional<Rect> rect) override;
    void setWindowRegion(WindowHandle window, Rect rect) override;
    void postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
    std::intptr_t sendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                              std::intptr_t lParam) override;
    std::intptr_t defaultProcedure(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                   std::intptr_t lParam) override;
    void postQuitMessage(int exitCode) override;
    std::optional<WaitingMessage> nextPosted(WindowHandle panel) override;
    void destroyWindow(WindowHandle window) override;
    bool needsRepaint(WindowHandle window) override;
    void trackPopupMenu(WindowHandle panel, InstanceHandle instance, int templateId, int position,
                        int greyPosition, Point screen) override;
    Rect clientRect(WindowHandle window) override;
    unsigned registerWindowMessage(const char* name) override;
    void allowMessage(WindowHandle window, unsigned message) override;
    WindowHandle createToolTipWindow(WindowHandle owner, InstanceHandle instance) override;
    void sendToolInfo(WindowHandle tooltip, unsigned message, const ToolInfo& info) override;
};

}  // namespace skelvo
