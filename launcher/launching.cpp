// Launching and the double-click dispatch.
#include "launcher/launching.h"

#include <string>

#include "app/ids.h"
#include "app/modes.h"
#include "app/pointer.h"
#include "ui/tray.h"

namespace skelvo {

void launchSlot(Services& services, const LauncherSlot& slot) {
    if (slot.filePath[0] == '\0' || slot.registered != 1) return;
    const unsigned error = services.shell.shellExecute(NullWindow, OpenVerb, slot.filePath, nullptr,
                                                       nullptr, win::SwShow);
    if (error == 0) return;
    std::string text = std::string(LaunchFailedText) + "\n" + slot.filePath;
    const std::string reason = services.shell.errorText(error);
    if (!reason.empty()) text += "\n" + reason;
    services.host.messageBox(slot.ownerWindow, text.c_str(), LaunchFailedCaption,
                             win::MbOk | win::MbIconExclamation);
}

void launchAllSlots(Services& services, const SlotArray& slots) {
    for (const LauncherSlot& slot : slots) launchSlot(services, slot);
}

int dispatchDoubleClick(Application& app, Services& services, WindowHandle panel, int zone,
                        int functionMode) {
    if (isCellZone(zone) && functionMode == FunctionLauncher) {
        launchSlot(services, app.slots[zone - 1]);
        return 1;
    }
    if (zone == ZoneInfoBar) return dockPanelToTopWindow(services, panel);
    if (zone == ZoneSizeButton || (isCellZone(zone) && functionMode == FunctionDesktop))
        return enterTray(services, app.state, app.state.instanceHandle, panel);
    return 0;
}

int runCommand(Application& app, Services& services, WindowHandle) {
    // A command posted from outside can arrive with a zone that names no cell.
    if (!isCellZone(app.state.pointerZone)) return 0;
    launchSlot(services, app.slots[app.state.pointerZone - 1]);
    return 1;
}

int runNumberedCommand(Application& app, Services& services, unsigned id) {
    if (id < CmdLauncherFirst || id > CmdLauncherLast) return 0;
    launchSlot(services, app.slots[id - CmdLauncherFirst]);
    return 1;
}

int runAllCommand(Application& app, Services& services, WindowHandle) {
    launchAllSlots(services, app.slots);
    return 1;
}

}  // namespace skelvo
