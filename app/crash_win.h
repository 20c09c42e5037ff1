// The last resort: an unhandled exception, std::terminate or abort shows every held
// window again, once, with calls that never wait on another program, and ends the
// process with a nonzero exit code.
#pragma once

#include "app/window_guard.h"

namespace skelvo {

// Called on the UI thread.
void installCrashHandlers(WindowGuard& guard);
// Puts the exception filter back: code loaded since (the open-file dialog's shell
// extensions) may have replaced it.
void reinstallCrashFilter();

}  // namespace skelvo
