// The Win32 program: the process-wide objects, the entry point, the window class and
// the window procedure, which only turns messages into calls on the core.
#include <windows.h>

#include "app/application.h"
#include "app/host_win.h"
#include "app/panel.h"
#include "app/startup.h"
#include "desktops/window_entry.h"
#include "ui/skin_set.h"
#include "desktops/window_system_win.h"
#include "ui/graphics_win.h"
#include "ui/shell_win.h"

namespace {

// Declared before the application so they outlive its teardown, which still shows windows.
skelvo::Win32WindowSystem g_windows;
skelvo::Win32Host g_host;
skelvo::Win32Graphics g_graphics;
skelvo::Win32Shell g_shell;
skelvo::Application g_app;
skelvo::Panel g_panel(g_app, skelvo::Services{g_windows, g_host, g_graphics, g_shell});

constexpr int PanelX = 200;
constexpr int PanelY = 200;

LRESULT CALLBACK panelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto result = g_panel.handle(reinterpret_cast<skelvo::WindowHandle>(window), message,
                                       static_cast<std::uintptr_t>(wParam),
                                       static_cast<std::intptr_t>(lParam));
    if (result) return static_cast<LRESULT>(*result);
    return DefWindowProcA(window, message, wParam, lParam);
}

class Win32Steps : public skelvo::ProgramSteps {
public:
    bool registerPanelClass(skelvo::InstanceHandle instance) override {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(WNDCLASSEXA);
        wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = panelProcedure;
        wc.hInstance = reinterpret_cast<HINSTANCE>(instance);
        wc.hIcon = static_cast<HICON>(
            LoadImageA(nullptr, IDI_APPLICATION, IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
        wc.hCursor = static_cast<HCURSOR>(
            LoadImageA(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = skelvo::PanelClassName;
        wc.hIconSm = static_cast<HICON>(
            LoadImageA(nullptr, IDI_APPLICATION, IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
        return RegisterClassExA(&wc) != 0;
    }

    bool createPanel(skelvo::InstanceHandle instance, int showCommand) override {
        HWND panel = CreateWindowExA(WS_EX_TOPMOST | WS_EX_ACCEPTFILES | WS_EX_TOOLWINDOW,
                                     skelvo::PanelClassName, skelvo::PanelTitle, WS_POPUP, PanelX,
                                     PanelY, skelvo::PanelWidth, skelvo::PanelHeight, nullptr,
                                     nullptr, reinterpret_cast<HINSTANCE>(instance), nullptr);
        if (panel == nullptr) return false;
        ShowWindow(panel, showCommand);
        UpdateWindow(panel);
        return true;
    }

    int runMessageLoop() override {
        MSG msg{};
        BOOL got;
        while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0 && got != -1) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return static_cast<int>(msg.wParam);
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    Win32Steps steps;
    skelvo::Services services{g_windows, g_host, g_graphics, g_shell};
    return skelvo::runProgram(g_app, services, steps, reinterpret_cast<skelvo::InstanceHandle>(instance),
                              showCommand);
}
