// The Win32 program: the process-wide objects, the entry point and the window procedure,
// which only turns messages into calls on the core.
#include <windows.h>

#include "app/application.h"
#include "app/host_win.h"
#include "app/panel.h"
#include "app/startup_win.h"
#include "base/file_store_win.h"
#include "desktops/window_system_win.h"
#include "ui/graphics_win.h"
#include "ui/shell_win.h"

namespace {

// Declared before the application so they outlive its teardown, which still shows windows.
skelvo::Win32WindowSystem g_windows;
skelvo::Win32Host g_host;
skelvo::Win32Graphics g_graphics;
skelvo::Win32Shell g_shell;
skelvo::Win32FileStore g_files;
skelvo::Application g_app;
skelvo::Panel g_panel(g_app, skelvo::Services{g_windows, g_host, g_graphics, g_shell, g_files});

std::intptr_t __stdcall panelProcedure(void* window, unsigned message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
    const auto result =
        g_panel.handle(reinterpret_cast<skelvo::WindowHandle>(window), message, wParam, lParam);
    if (result) return *result;
    return DefWindowProcA(static_cast<HWND>(window), message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    skelvo::Win32Steps steps(panelProcedure);
    skelvo::Services services{g_windows, g_host, g_graphics, g_shell, g_files};
    return skelvo::runProgram(g_app, services, steps,
                              reinterpret_cast<skelvo::InstanceHandle>(instance), showCommand);
}
