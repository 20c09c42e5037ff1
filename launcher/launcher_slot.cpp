// Launcher slot initialisation.
#include "launcher/launcher_slot.h"

namespace skelvo {

void LauncherSlot::initialise(InstanceHandle instance, WindowHandle owner, int index) {
    instanceHandle = instance;
    ownerWindow = owner;
    slotIndex = index;
    icon.reset();
    registered = 0;
    fileTitle[0] = '\0';
    filePath[0] = '\0';
    longPath.clear();
}

}  // namespace skelvo
