// The Win32 program: the process-wide objects, the entry point and the window procedure,
// which only turns messages into calls on the core.
#include <windows.h>

#include "app/application.h"
#include "app/crash_win.h"
#include "app/host_win.h"
#include "app/keyboard_host_win.h"
#include "app/panel.h"
#include "app/startup_win.h"
#include "base/file_store_win.h"
#include "base/process_win.h"
#include "base/utf8_file_store_win.h"
#include "desktops/window_system_win.h"
#include "ui/graphics_win.h"
#include "ui/shell_win.h"

namespace {

// Declared before the application so they outlive its teardown, which still shows windows.
skelvo::Win32WindowSystem g_systemWindows;
skelvo::Win32Host g_host;
skelvo::Win32KeyboardHost g_keyboard;
skelvo::Win32Graphics g_graphics;
skelvo::Win32Shell g_shell;
skelvo::Win32FileStore g_files;
skelvo::Win32Utf8FileStore g_journalFiles;  // its folder's name may hold any character
skelvo::Win32ProcessSystem g_processes;
// Outlives the application, whose teardown shows the windows before the journal goes.
skelvo::WindowGuard g_guard(g_systemWindows, g_journalFiles, g_processes);
skelvo::GuardedWindowSystem g_guardedWindows(g_systemWindows, g_guard);
skelvo::AwaitedWindows g_windows(g_guardedWindows);
skelvo::Application g_app;
skelvo::Panel g_panel(g_app, skelvo::Services{g_windows, g_host, g_graphics, g_shell, g_files,
                                              &g_guard, &g_windows, &g_keyboard});

std::intptr_t __stdcall panelProcedure(void* window, unsigned message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
    const auto result =
        g_panel.handle(reinterpret_cast<skelvo::WindowHandle>(window), message, wParam, lParam);
    if (result) return *result;
    return DefWindowProcA(static_cast<HWND>(window), message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    g_guard.attach(g_app);
    skelvo::installCrashHandlers(g_guard);
    g_shell.afterDialog = skelvo::reinstallCrashFilter;
    skelvo::Win32Steps steps(panelProcedure);
    skelvo::Services services{g_windows, g_host,   g_graphics, g_shell,
                              g_files,   &g_guard, &g_windows, &g_keyboard};
    return skelvo::runProgram(g_app, services, steps,
                              reinterpret_cast<skelvo::InstanceHandle>(instance), showCommand);
}
