// The last resort's order of work, apart from the system calls: one thread rescues the
// windows and ends the process; a fault inside the rescue ends it at once; a crash on
// another thread first stops the UI thread, so that the lists it reads hold still.
#pragma once

#include <atomic>
#include <cstdint>

namespace skelvo {

class WindowGuard;

// What the crash path asks of the process besides the windows. Win32 in crash_win.cpp.
class CrashSystem {
public:
    virtual ~CrashSystem() = default;
    virtual std::uint32_t currentThread() = 0;  // never 0
    virtual void suspendUiThread() = 0;
    // Ends the process with code; returns only in tests.
    virtual void endProcess(unsigned code) = 0;
    // Another thread is rescuing and will end the process; this one waits a bounded time,
    // then ends it itself. Returns only in tests.
    virtual void awaitEnd(unsigned code) = 0;
};

class CrashPath {
public:
    CrashPath(WindowGuard& guard, CrashSystem& system, std::uint32_t uiThread)
        : guard_(guard), system_(system), uiThread_(uiThread) {}

    // Shows the hidden windows again, once, and ends the process with code.
    void run(unsigned code);

private:
    WindowGuard& guard_;
    CrashSystem& system_;
    std::uint32_t uiThread_;
    std::atomic<std::uint32_t> rescuer_{0};
};

}  // namespace skelvo
