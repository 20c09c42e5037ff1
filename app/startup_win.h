// The start-up steps that need the SDK: the panel's window class, the panel window and
// the message loop.
#pragma once

#include <cstdint>

#include "app/startup.h"

namespace skelvo {

// The window procedure, as an opaque pointer so this header stays free of <windows.h>.
using PanelProcedure = std::intptr_t(__stdcall*)(void*, unsigned, std::uintptr_t, std::intptr_t);

class Win32Steps : public ProgramSteps {
public:
    explicit Win32Steps(PanelProcedure procedure) : procedure_(procedure) {}
    bool registerPanelClass(InstanceHandle instance) override;
    bool createPanel(InstanceHandle instance, int showCommand) override;
    int runMessageLoop() override;
    WindowHandle panel() const { return panel_; }

private:
    PanelProcedure procedure_;
    WindowHandle panel_ = NullWindow;
};

}  // namespace skelvo
