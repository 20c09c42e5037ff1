// SetUnhandledExceptionFilter, std::set_terminate and SIGABRT, all ending in one path.
#include "app/crash_win.h"

#include <windows.h>

#include <csignal>
#include <exception>
#include <new>

#include "app/crash_path.h"

namespace skelvo {

namespace {

constexpr UINT TerminatedExitCode = 3;  // what abort() would report
constexpr DWORD AwaitEndMs = 5000;      // the rescuer never takes this long

class Win32CrashSystem : public CrashSystem {
public:
    explicit Win32CrashSystem(HANDLE uiThread) : uiThread_(uiThread) {}
    std::uint32_t currentThread() override { return GetCurrentThreadId(); }
    void suspendUiThread() override {
        if (uiThread_ != nullptr) SuspendThread(uiThread_);
    }
    [[noreturn]] void endProcess(unsigned code) override {
        TerminateProcess(GetCurrentProcess(), code);
        for (;;) Sleep(INFINITE);
    }
    [[noreturn]] void awaitEnd(unsigned code) override {
        Sleep(AwaitEndMs);
        endProcess(code);
    }

private:
    HANDLE uiThread_;  // lives as long as the process
};

// Built in place at installation: nothing is allocated once a crash has happened.
alignas(Win32CrashSystem) unsigned char g_systemSpace[sizeof(Win32CrashSystem)];
alignas(CrashPath) unsigned char g_pathSpace[sizeof(CrashPath)];
CrashPath* g_path = nullptr;

[[noreturn]] void rescueAndEnd(UINT exitCode) {
    if (g_path != nullptr) g_path->run(exitCode);
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
    const HANDLE uiThread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetCurrentThreadId());
    auto* system = new (g_systemSpace) Win32CrashSystem(uiThread);
    g_path = new (g_pathSpace) CrashPath(guard, *system, GetCurrentThreadId());
    SetUnhandledExceptionFilter(onUnhandledException);
    std::set_terminate(onTerminate);
    std::signal(SIGABRT, onAbort);
}

void reinstallCrashFilter() {
    if (g_path != nullptr) SetUnhandledExceptionFilter(onUnhandledException);
}

}  // namespace skelvo
