// Registration by dialog and by drop, and deletion.
#include "launcher/registration.h"

#include <cstring>

#include "app/pointer.h"
#include "launcher/slot_path.h"

namespace skelvo {

namespace {

// Copies a terminated string into a destination of size bytes, cutting nothing that fits.
void copyText(char* destination, const char* source, std::size_t size) {
    const std::size_t n = strnlen(source, size - 1);
    std::memcpy(destination, source, n);
    destination[n] = '\0';
}

bool overwriteRefused(Services& services, const LauncherSlot& slot) {
    if (slot.registered != 1) return false;
    return services.host.messageBox(slot.ownerWindow, OverwriteText, OverwriteCaption,
                                    win::MbYesNo | win::MbIconQuestion) == win::IdNo;
}

bool deletionConfirmed(Services& services, WindowHandle panel, const char* text) {
    return services.host.messageBox(panel, text, DeleteCaption,
                                    win::MbYesNo | win::MbIconExclamation) == win::IdYes;
}

void refuseUnstorable(Services& services, WindowHandle owner) {
    services.host.messageBox(owner, UnstorableText, UnstorableCaption,
                             win::MbOk | win::MbIconExclamation);
}

void empty(LauncherSlot& slot) {
    slot.registered = 0;
    slot.fileTitle[0] = '\0';
    slot.filePath[0] = '\0';
    slot.longPath.clear();
    // Nothing reads the icon of an empty slot again.
    slot.icon.reset();
}

void setIcon(Services& services, LauncherSlot& slot) {
    slot.icon = OwnedIcon(services.shell,
                          services.shell.associatedIcon(slot.instanceHandle, slot.filePath));
}

// The slot a cell command names; none when the menu was not opened on a cell (a
// command posted from outside can arrive with any pointerZone).
LauncherSlot* commandSlot(Application& app) {
    const int zone = app.state.pointerZone;
    return isCellZone(zone) ? &app.slots[zone - 1] : nullptr;
}

}  // namespace

int chooseFile(Services& services, FileChoice& chosen, WindowHandle owner) {
    OpenFileRequest request;
    request.owner = owner;
    request.filter = ChooseFileFilter;
    request.title = ChooseFileTitle;
    request.flags = 0;
    request.file = chosen.path;
    request.fileSize = SlotPathBytes;
    request.fileTitle = chosen.title;
    request.fileTitleSize = SlotTitleBytes;
    return services.shell.openFileDialog(request) ? 0 : -1;
}

void fillSlot(Services& services, LauncherSlot& slot, const char* path) {
    copyText(slot.filePath, path, SlotPathBytes);
    // A path with no title (a drive's root) must not keep the previous file's.
    char title[SlotTitleBytes] = {};
    if (services.shell.fileTitle(slot.filePath, title, SlotTitleBytes) != 0) title[0] = '\0';
    const std::string shown = services.shell.toUtf8(title);
    copyText(slot.fileTitle, shown.c_str(), sizeof slot.fileTitle);
    setIcon(services, slot);
    slot.registered = 1;
}

bool fillSlotUtf8(Services& services, LauncherSlot& slot, const std::string& path,
                  bool* unstorable) {
    const std::optional<std::string> ansi = ansiPathFor(services.shell, path);
    if (unstorable != nullptr) *unstorable = !ansi;
    // A name that does not fit a slot is left alone rather than registered cut.
    if (!ansi || ansi->empty() || ansi->size() >= SlotPathBytes) return false;
    fillSlot(services, slot, ansi->c_str());
    slot.longPath = services.shell.toUtf8(*ansi) != path ? path : std::string();
    // Shown by its long name, not the short one that it opens.
    const std::size_t name = slot.longPath.rfind('\\');
    if (!slot.longPath.empty() && name != std::string::npos && name + 1 < slot.longPath.size())
        copyText(slot.fileTitle, slot.longPath.c_str() + name + 1, sizeof slot.fileTitle);
    return true;
}

int registerFromDialog(Services& services, FileChoice& chosen, LauncherSlot& slot) {
    if (overwriteRefused(services, slot)) return 0;
    if (chooseFile(services, chosen, slot.ownerWindow) != 0) return -1;
    bool unstorable = false;
    if (!fillSlotUtf8(services, slot, chosen.path, &unstorable)) {
        if (unstorable) refuseUnstorable(services, slot.ownerWindow);
        return -1;
    }
    // The dialog's own title, as it shows it.
    if (chosen.title[0] != '\0') copyText(slot.fileTitle, chosen.title, sizeof slot.fileTitle);
    return 1;
}

int registerFromDrop(Application& app, Services& services, WindowHandle panel, DropHandle drop) {
    PanelState& st = app.state;
    const Point p = services.host.screenToClient(panel, services.host.cursorPos());
    st.pointerZone = hitZone(p.x, p.y);
    int result = 0;
    if (st.functionMode == FunctionLauncher && isCellZone(st.pointerZone)) {
        LauncherSlot& slot = app.slots[st.pointerZone - 1];
        if (!overwriteRefused(services, slot)) {
            bool unstorable = false;
            if (fillSlotUtf8(services, slot, services.shell.droppedPath(drop, 0), &unstorable)) {
                result = 1;
            } else if (unstorable) {
                refuseUnstorable(services, panel);
            }
        }
    }
    services.shell.dragFinish(drop);
    return result;
}

int clearSlot(Services& services, WindowHandle panel, LauncherSlot& slot) {
    if (!deletionConfirmed(services, panel, DeleteText)) return 0;
    empty(slot);
    return 1;
}

int clearAllSlots(Services& services, WindowHandle panel, SlotArray& slots) {
    if (!deletionConfirmed(services, panel, DeleteAllText)) return 0;
    for (LauncherSlot& slot : slots) empty(slot);
    return 1;
}

int registerCommand(Application& app, Services& services, WindowHandle) {
    LauncherSlot* slot = commandSlot(app);
    return slot != nullptr ? registerFromDialog(services, app.chosenFile, *slot) : 0;
}

int deleteRegistrationCommand(Application& app, Services& services, WindowHandle panel) {
    LauncherSlot* slot = commandSlot(app);
    return slot != nullptr ? clearSlot(services, panel, *slot) : 0;
}

int deleteAllRegistrationsCommand(Application& app, Services& services, WindowHandle panel) {
    return clearAllSlots(services, panel, app.slots);
}

}  // namespace skelvo
