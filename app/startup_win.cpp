// RegisterClassExA, CreateWindowExA and the message loop of the panel.
#include "app/startup_win.h"

#include <windows.h>

// After <windows.h>, whose types it uses.
#include <commctrl.h>

#include "desktops/window_entry.h"
#include "ui/skin_set.h"

namespace skelvo {

namespace {
constexpr int PanelX = 200;
constexpr int PanelY = 200;

HICON applicationIcon() {
    return static_cast<HICON>(
        LoadImageA(nullptr, IDI_APPLICATION, IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
}
}  // namespace

bool Win32Steps::registerPanelClass(InstanceHandle instance) {
    // The panel's tooltip class must exist before the panel creates its tooltip; without
    // it the tooltip is simply absent.
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(WNDCLASSEXA);
    // Double-clicks are part of the panel's gestures.
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = reinterpret_cast<WNDPROC>(procedure_);
    wc.hInstance = reinterpret_cast<HINSTANCE>(instance);
    wc.hIcon = applicationIcon();
    wc.hCursor = static_cast<HCURSOR>(
        LoadImageA(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = PanelClassName;
    wc.hIconSm = applicationIcon();
    return RegisterClassExA(&wc) != 0;
}

bool Win32Steps::createPanel(InstanceHandle instance, int showCommand) {
    HWND panel =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_ACCEPTFILES | WS_EX_TOOLWINDOW, PanelClassName,
                        PanelTitle, WS_POPUP, PanelX, PanelY, PanelWidth, PanelHeight, nullptr,
                        nullptr, reinterpret_cast<HINSTANCE>(instance), nullptr);
    if (panel == nullptr) return false;
    panel_ = reinterpret_cast<WindowHandle>(panel);
    ShowWindow(panel, showCommand);
    UpdateWindow(panel);
    return true;
}

int Win32Steps::runMessageLoop() {
    MSG msg{};
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0 && got != -1) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace skelvo
