// Tooltip creation, the hover texts and the periodic text update.
#include "ui/tooltip.h"

#include <cstdio>
#include <cstring>

#include "app/pointer.h"

namespace skelvo {

namespace {
constexpr char EmptyText[] = "";

void copyText(char* buffer, const char* text) {
    std::snprintf(buffer, HoverTextBytes, "%s", text);
}
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
                const SlotArray& slots, int functionMode, char* buffer) {
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
                return buffer;
            }
            std::snprintf(buffer, HoverTextBytes, "%s%d%s", HoverCountPrefix, d.count,
                          HoverCountSuffix);
            return buffer;
        }
        const LauncherSlot& s = slots[i];
        copyText(buffer, s.filePath[0] != '\0' && s.registered != 0 ? s.filePath : HoverSlotEmpty);
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

void updateToolTip(Application& app, Services& services, WindowHandle panel) {
    PanelState& st = app.state;
    char buffer[HoverTextBytes];
    hoverText(services, panel, app.desktops, app.slots, st.functionMode, buffer);
    // Sent on every tick, the same text too: on a tip that is shown, the update moves it
    // to the pointer and restarts its auto-pop delay, so it stays up while the pointer rests.
    st.toolInfo.text = buffer;
    services.host.sendToolInfo(st.toolTipWindow, win::TtmUpdateTipTextA, st.toolInfo);
    // The tooltip keeps its own copy; the buffer dies here.
    st.toolInfo.text = EmptyText;
}

}  // namespace skelvo
