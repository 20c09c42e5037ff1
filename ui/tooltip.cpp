// Tooltip creation, the hover texts and the periodic text update.
#include "ui/tooltip.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/pointer.h"

namespace skelvo {

namespace {
constexpr char EmptyText[] = "";

void copyText(char* buffer, const char* text) {
    std::snprintf(buffer, HoverTextBytes, "%s", text);
}

char* hoverTextOf(Services& services, WindowHandle panel, const DesktopArray& desktops,
                  const SlotArray& slots, int functionMode, char* buffer, bool& utf8);

}  // namespace

void createToolTip(Services& services, PanelState& state, WindowHandle panel,
                   InstanceHandle instance) {
    PanelHost& host = services.host;
    const WindowHandle tooltip = host.createToolTipWindow(panel, instance);
    ToolInfo info{};
    info.flags = win::TtfSubclass;
    info.window = panel;
    info.id = 0;
    info.rect = host.clientRect(panel);
    info.instance = instance;
    info.text = EmptyText;
    host.sendToolInfo(tooltip, win::TtmAddToolA, info);
    state.toolTipWindow = tooltip;
    state.toolInfo = info;
}

char* hoverText(Services& services, WindowHandle panel, const DesktopArray& desktops,
                const SlotArray& slots, int functionMode, char* buffer, bool* utf8) {
    bool isUtf8 = false;
    buffer = hoverTextOf(services, panel, desktops, slots, functionMode, buffer, isUtf8);
    if (utf8 != nullptr) *utf8 = isUtf8;
    return buffer;
}

namespace {

char* hoverTextOf(Services& services, WindowHandle panel, const DesktopArray& desktops,
                  const SlotArray& slots, int functionMode, char* buffer, bool& utf8) {
    const Point p = services.host.screenToClient(panel, services.host.cursorPos());
    const int zone = hitZone(p.x, p.y);
    if (isCellZone(zone)) {
        const int i = zone - 1;
        if (functionMode == FunctionDesktop) {
            const VirtualDesktop& d = desktops[i];
            const WindowHandle w = d.windowAtMapPoint(p.x, p.y);
            if (w != NullWindow) {
                buffer[0] = '\0';
                services.windows.text(w, buffer, HoverTextBytes);
                buffer[HoverTextBytes - 1] = '\0';
                utf8 = true;
                return buffer;
            }
            std::snprintf(buffer, HoverTextBytes, "%s%d%s", HoverCountPrefix, d.count,
                          HoverCountSuffix);
            return buffer;
        }
        const LauncherSlot& s = slots[i];
        if (s.filePath[0] == '\0' || s.registered == 0) {
            copyText(buffer, HoverSlotEmpty);
            return buffer;
        }
        // The name as the user gave it, never the short form the slot opens.
        const std::string name =
            !s.longPath.empty() ? s.longPath : services.shell.toUtf8(s.filePath);
        utf8 = !name.empty();
        copyText(buffer, utf8 ? name.c_str() : s.filePath);
        return buffer;
    }
    switch (zone) {
    case ZoneSwitchUpper:
    case ZoneSwitchLower: copyText(buffer, HoverFunctionButtons); break;
    case ZoneInfoBar: copyText(buffer, HoverInfoBar); break;
    case ZoneSizeButton: copyText(buffer, HoverSizeButton); break;
    default: copyText(buffer, EmptyText); break;
    }
    return buffer;
}

}  // namespace

void updateToolTip(Application& app, Services& services, WindowHandle panel) {
    PanelState& st = app.state;
    char buffer[HoverTextBytes];
    bool utf8 = false;
    hoverText(services, panel, app.desktops, app.slots, st.functionMode, buffer, &utf8);
    // Sent on every tick, the same text too: on a tip that is shown, the update moves it
    // to the pointer and restarts its auto-pop delay, so it stays up while the pointer rests.
    st.toolInfo.text = buffer;
    st.toolInfo.utf8 = utf8;
    services.host.sendToolInfo(st.toolTipWindow, win::TtmUpdateTipTextA, st.toolInfo);
    // The tooltip keeps its own copy; the buffer dies here.
    st.toolInfo.text = EmptyText;
    st.toolInfo.utf8 = false;
}

}  // namespace skelvo
