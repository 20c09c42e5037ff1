// The command table and the handlers of the panel's own commands.
#include "ui/commands.h"

#include "app/ids.h"
#include "app/modes.h"
#include "app/pointer.h"
#include "desktops/operations.h"
#include "desktops/switching.h"

namespace skelvo {

namespace {

struct Command {
    Application& app;
    Services& s;
    WindowHandle panel;
    unsigned id;
    PanelState& state() { return app.state; }
    // MB_YESNO | MB_ICONEXCLAMATION, owned by the panel; only Yes goes on.
    bool confirm(const char* text, const char* caption) {
        return s.host.messageBox(panel, text, caption, win::MbYesNo | win::MbIconExclamation) ==
               win::IdYes;
    }
};

using Handler = void (*)(Command&);

// A single-window command acts on the target window only while the pointed cell's
// desktop still lists it: with no such entry the scope rule would reach every window.
VirtualDesktop* targetDesktop(Command& c) {
    PanelState& st = c.state();
    if (!isCellZone(st.pointerZone) || st.menuTargetWindow == NullWindow) return nullptr;
    VirtualDesktop& d = c.app.desktops[st.pointerZone - 1];
    return d.findEntry(st.menuTargetWindow) ? &d : nullptr;
}

template <WindowAction Action>
void onTargetWindow(Command& c) {
    VirtualDesktop* d = targetDesktop(c);
    if (d == nullptr) return;
    if (Action == WindowAction::Close && !c.confirm(CloseWindowText, CloseCaption)) return;
    applyToDesktop(*d, c.state().currentDesktop, c.state().menuTargetWindow, Action);
}

template <WindowAction Action>
void onPointedDesktop(Command& c) {
    if (Action == WindowAction::Close && !c.confirm(CloseAllWindowsText, CloseCaption)) return;
    PanelState& st = c.state();
    applyToDesktop(c.app.desktops[pointedDesktop(st)], st.currentDesktop, NullWindow, Action);
}

template <int Operation>
void onAllDesktops(Command& c) {
    if (Operation == OpCloseAll && !c.confirm(CloseAllDesktopsText, CloseCaption)) return;
    applyToAllDesktops(c.app.desktops, c.state().currentDesktop, Operation);
}

void onShowAll(Command& c) {
    if (c.confirm(ShowAllWindowsText, CautionCaption))
        showAllManagedWindows(c.s.windows, c.app.hidden);
}

void onHideAll(Command& c) {
    if (c.confirm(HideAllWindowsText, CautionCaption))
        hideAllManagedWindows(c.s.windows, c.app.hidden);
}

void onSwitchDesktop(Command& c) {
    // As a cell click in the desktop function, whatever the function shown.
    PanelState& st = c.state();
    selectCell(static_cast<int>(c.id - CmdDesktopFirst) + 1, FunctionDesktop, st.currentDesktop,
               st.selectedSlot, c.app.desktops);
}

void onSwitchFunction(Command& c) {
    switchFunction(c.state().functionMode);
}

void onSwitchSize(Command& c) {
    switchSize(c.s, c.panel, c.state().sizeState, c.app.skin);
}

void onQuit(Command& c) {
    c.s.host.postMessage(c.panel, win::WmClose, 0, 0);
}

struct Row {
    unsigned first;
    unsigned last;
    Handler handler;
};

constexpr Row Table[] = {
    {CmdRestoreWindow, CmdRestoreWindow, onTargetWindow<WindowAction::Restore>},
    {CmdMaximiseWindow, CmdMaximiseWindow, onTargetWindow<WindowAction::Maximise>},
    {CmdMinimiseWindow, CmdMinimiseWindow, onTargetWindow<WindowAction::Minimise>},
    {CmdCloseWindow, CmdCloseWindow, onTargetWindow<WindowAction::Close>},
    {CmdRestoreAll, CmdRestoreAll, onPointedDesktop<WindowAction::Restore>},
    {CmdMaximiseAll, CmdMaximiseAll, onPointedDesktop<WindowAction::Maximise>},
    {CmdMinimiseAll, CmdMinimiseAll, onPointedDesktop<WindowAction::Minimise>},
    {CmdCloseAll, CmdCloseAll, onPointedDesktop<WindowAction::Close>},
    {CmdSwitchSize, CmdSwitchSize, onSwitchSize},
    {CmdQuit, CmdQuit, onQuit},
    {CmdRestoreAllDesktops, CmdRestoreAllDesktops, onAllDesktops<OpRestoreAll>},
    {CmdMaximiseAllDesktops, CmdMaximiseAllDesktops, onAllDesktops<OpMaximiseAll>},
    {CmdMinimiseAllDesktops, CmdMinimiseAllDesktops, onAllDesktops<OpMinimiseAll>},
    {CmdCloseAllDesktops, CmdCloseAllDesktops, onAllDesktops<OpCloseAll>},
    {CmdDesktopFirst, CmdDesktopLast, onSwitchDesktop},
    {CmdSwitchFunction, CmdSwitchFunction, onSwitchFunction},
    {CmdShowAllWindows, CmdShowAllWindows, onShowAll},
    {CmdHideAllWindows, CmdHideAllWindows, onHideAll},
};

}  // namespace

int pointedDesktop(const PanelState& state) {
    return isCellZone(state.pointerZone) ? state.pointerZone - 1 : state.currentDesktop;
}

int dispatchCommand(Application& app, Services& services, WindowHandle panel, std::uintptr_t id) {
    for (const Row& row : Table) {
        if (id < row.first || id > row.last) continue;
        Command c{app, services, panel, static_cast<unsigned>(id)};
        row.handler(c);
        break;
    }
    app.state.menuTargetWindow = NullWindow;
    return 0;
}

}  // namespace skelvo
