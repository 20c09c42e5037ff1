// SetUnhandledExceptionFilter, std::set_terminate and SIGABRT, all ending in one path.
#include "app/crash_win.h"

#include <windows.h>

#include <csignal>
#include <exception>

namespace skelvo {

namespace {

WindowGuard* g_guard = nullptr;
volatile LONG g_rescuing = 0;

constexpr UINT TerminatedExitCode = 3;  // what abort() would report

[[noreturn]] void rescueAndEnd(UINT exitCode) {
    if (InterlockedExchange(&g_rescuing, 1) != 0) {
        // Another thread is rescuing and will end the process.
        for (;;) Sleep(INFINITE);
    }
    if (g_guard != nullptr) g_guard->rescue();
    TerminateProcess(GetCurrentProcess(), exitCode == 0 ? 1 : exitCode);
    for (;;) Sleep(INFINITE);
}

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* info) {
    const UINT code = info != nullptr && info->ExceptionRecord != nullptr
                          ? static_cast<UINT>(info->ExceptionRecord->ExceptionCode)
                          : 1;
    rescueAndEnd(code);
}

void onTerminate() {
    rescueAndEnd(TerminatedExitCode);
}

void onAbort(int) {
    rescueAndEnd(TerminatedExitCode);
}

}  // namespace

void installCrashHandlers(WindowGuard& guard) {
    g_guard = &guard;
    SetUnhandledExceptionFilter(onUnhandledException);
    std::set_terminate(onTerminate);
    std::signal(SIGABRT, onAbort);
}

}  // namespace skelvo
