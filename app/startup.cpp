// Process start-up in the order the panel needs it.
#include "app/startup.h"

#include "app/window_guard.h"
#include "desktops/window_entry.h"

namespace skelvo {

int runProgram(Application& app, Services& services, ProgramSteps& steps, InstanceHandle instance,
               int showCommand) {
    WindowSystem& windows = services.windows;
    // Windows a killed instance left hidden come back before anything else is asked.
    if (services.guard != nullptr) services.guard->replayLeftovers();
    if (windows.find(PanelClassName, PanelTitle) != NullWindow) {
        const int answer =
            services.host.messageBox(windows.desktopWindow(), DuplicateText, DuplicateCaption,
                                     win::MbYesNo | win::MbIconQuestion);
        if (answer == win::IdNo) return 0;
    }
    app.state.instanceHandle = instance;
    if (!steps.registerPanelClass(instance)) return 0;
    if (!steps.createPanel(instance, showCommand)) return 0;
    return steps.runMessageLoop();
}

}  // namespace skelvo
