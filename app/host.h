// Services of the panel window's host: message boxes, timers, the cursor, the window
// region, messages to the panel and the process's current directory. Win32 in
// host_win.cpp; scripted fakes in the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "app/panel_state.h"
#include "base/platform.h"

namespace skelvo {

// A message waiting in the panel thread's queue.
struct WaitingMessage {
    unsigned message;
    std::uintptr_t wParam;
};

class PanelHost {
public:
    virtual ~PanelHost() = default;

    virtual int messageBox(WindowHandle owner, const char* text, const char* caption,
                           unsigned flags) = 0;

    virtual void setTimer(WindowHandle window, unsigned id, unsigned periodMs) = 0;
    virtual void killTimer(WindowHandle window, unsigned id) = 0;

    // The current directory in UTF-8, so that a folder of any name is named exactly, into
    // buffer of size bytes; returns its length. As GetCurrentDirectory, too small a buffer
    // gets nothing and the size needed, terminator included; 0 on failure.
    virtual unsigned currentDirectory(char* buffer, unsigned size) = 0;

    virtual Point cursorPos() = 0;  // screen coordinates
    virtual Point screenToClient(WindowHandle window, Point p) = 0;
    virtual Point clientToScreen(WindowHandle window, Point p) = 0;
    // ClipCursor; nullopt frees the cursor.
    virtual void clipCursor(std::optional<Rect> rect) = 0;

    // SetWindowRgn with CreateRectRgn(rect), redrawing at once.
    virtual void setWindowRegion(WindowHandle window, Rect rect) = 0;

    virtual void postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
    virtual std::intptr_t sendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                      std::intptr_t lParam) = 0;
    virtual std::intptr_t defaultProcedure(WindowHandle window, unsigned message,
                                           std::uintptr_t wParam, std::intptr_t lParam) = 0;
    virtual void postQuitMessage(int exitCode) = 0;
    // The posted message that the panel's thread takes next, left in the queue, when it
    // is the panel's (PeekMessage, PM_NOREMOVE, posted messages only). Messages sent to
    // the panel may be handled meanwhile, as Wine hands them over at every look.
    virtual std::optional<WaitingMessage> nextPosted(WindowHandle panel) = 0;

    // A popup of the panel's menu template: loads menu resource templateId from instance,
    // takes its sub-menu at position, greys the item at greyPosition (by position; -1
    // greys nothing), makes the panel the foreground window, tracks the popup at the
    // screen point with TrackPopupMenu flags 0 and destroys the menu. A chosen item
    // arrives afterwards as a queued WM_COMMAND.
    virtual void trackPopupMenu(WindowHandle panel, InstanceHandle instance, int templateId,
                                int position, int greyPosition, Point screen) = 0;
    virtual void destroyWindow(WindowHandle window) = 0;

    virtual Rect clientRect(WindowHandle window) = 0;  // GetClientRect
    // RegisterWindowMessageA; 0 when it fails.
    virtual unsigned registerWindowMessage(const char* name) = 0;
    // ChangeWindowMessageFilterEx(MSGFLT_ALLOW): lets message reach window from programs
    // of a lower integrity level, which an elevated panel would otherwise never receive.
    virtual void allowMessage(WindowHandle window, unsigned message) = 0;
    // A "tooltips_class32" window with style TTS_ALWAYSTIP owned by owner; null if the
    // class is not there.
    virtual WindowHandle createToolTipWindow(WindowHandle owner, InstanceHandle instance) = 0;
    // Sends a tooltip message (TtmAddToolA, TtmUpdateTipTextA) as its wide form with the
    // tool as the first TOOLINFOW layout, the text converted from UTF-8 or code page 932.
    virtual void sendToolInfo(WindowHandle tooltip, unsigned message, const ToolInfo& info) = 0;
    // The system wants the window repainted: part of it has been uncovered or invalidated
    // (GetUpdateRect). Hosts that cannot tell always say yes.
    virtual bool needsRepaint(WindowHandle) { return true; }
};

}  // namespace skelvo
