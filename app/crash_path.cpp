// One rescue per process, whatever thread faults and however often.
#include "app/crash_path.h"

#include "app/window_guard.h"

namespace skelvo {

void CrashPath::run(unsigned code) {
    if (code == 0) code = 1;
    const std::uint32_t self = system_.currentThread();
    std::uint32_t rescuer = 0;
    if (!rescuer_.compare_exchange_strong(rescuer, self)) {
        // The same thread again: the rescue itself faulted, and trying more could only
        // fault again. Another thread: the rescuer ends the process.
        if (rescuer == self) {
            system_.endProcess(code);
        } else {
            system_.awaitEnd(code);
        }
        return;
    }
    if (self != uiThread_) system_.suspendUiThread();
    guard_.rescue();
    system_.endProcess(code);
}

}  // namespace skelvo
