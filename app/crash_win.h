// The last resort: an unhandled exception, std::terminate or abort shows every held
// window again, once, with calls that never wait on another program, and ends the
// process with a nonzero exit code.
#pragma once

#include "app/window_guard.h"

namespace skelvo {

void installCrashHandlers(WindowGuard& guard);

}  // namespace skelvo
