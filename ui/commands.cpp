// The command table and the handlers of the panel's own commands.
#include "ui/commands.h"

#include "app/ids.h"
#include "app/modes.h"
#include "app/pointer.h"
#include "desktops/operations.h"
#include "desktops/switching.h"
#include "launcher/launching.h"
#include "launcher/registration.h"
#include "ui/tray.h"

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

// A single-window command acts on the target window while the pointed cell's desktop
// lists it or it is pinned, and on nothing otherwise: never on the desktop's other windows.
VirtualDesktop* targetDesktop(Command& c) {
    PanelState& st = c.state();
    if (!isCellZone(st.pointerZone) || st.menuTargetWindow == NullWindow) return nullptr;
    VirtualDesktop& d = c.app.desktops[st.pointerZone - 1];
    const bool pinned = d.pins != nullptr && d.pins->holds(st.menuTargetWindow);
    return pinned || d.findEntry(st.menuTargetWindow) ? &d : nullptr;
}

template <WindowAction Action>
void onTargetWindow(Command& c) {
    VirtualDesktop* d = targetDesktop(c);
    if (d == nullptr) return;
    const WindowHandle target = c.state().menuTargetWindow;
    // The refresh runs on while the question is open and may drop the target meanwhile;
    // applyToWindow then finds no entry and does nothing.
    if (Action == WindowAction::Close && !c.confirm(CloseWindowText, CloseCaption)) return;
    applyToWindow(*d, c.state().currentDesktop, target, Action);
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
        hideAllManagedWindows(c.s.windows, c.app.hidden, &c.app.rules);
}

void onSwitchDesktop(Command& c) {
    // A switch that the next command waiting replaces by another is left out: it would
    // hide again at once what it shows, and a burst of them, each waiting on the programs
    // it hides and shows, would keep the panel busy long after the last. The windows end
    // as the whole burst leaves them.
    const std::optional<WaitingMessage> next = [&] {
        AwaitedWindows::OwnCall looking(c.s.awaited);  // a command sent meanwhile waits
        return c.s.host.nextPosted(c.panel);
    }();
    if (next && next->message == win::WmCommand && next->wParam >= CmdDesktopFirst &&
        next->wParam <= CmdDesktopLast)
        return;
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

void onEnterTray(Command& c) {
    c.state().pointerZone = 1;
    enterTray(c.s, c.state(), c.state().instanceHandle, c.panel);
}

void onLeaveTray(Command& c) {
    leaveTray(c.s, c.state(), c.panel);
}

void onQuit(Command& c) {
    c.s.host.postMessage(c.panel, win::WmClose, 0, 0);
}

void onRegister(Command& c) {
    registerCommand(c.app, c.s, c.panel);
}

void onDeleteRegistration(Command& c) {
    deleteRegistrationCommand(c.app, c.s, c.panel);
}

void onDeleteAllRegistrations(Command& c) {
    deleteAllRegistrationsCommand(c.app, c.s, c.panel);
}

void onRun(Command& c) {
    runCommand(c.app, c.s, c.panel);
}

void onRunNumbered(Command& c) {
    runNumberedCommand(c.app, c.s, c.id);
}

void onRunAll(Command& c) {
    runAllCommand(c.app, c.s, c.panel);
}

struct Row {
    unsigned first;
    unsigned last;
    Handler handler;
    bool onWindows = false;  // switches desktops or acts on other programs' windows
};

constexpr Row Table[] = {
    {CmdRegister, CmdRegister, onRegister},
    {CmdRun, CmdRun, onRun},
    {CmdRestoreWindow, CmdRestoreWindow, onTargetWindow<WindowAction::Restore>, true},
    {CmdMaximiseWindow, CmdMaximiseWindow, onTargetWindow<WindowAction::Maximise>, true},
    {CmdMinimiseWindow, CmdMinimiseWindow, onTargetWindow<WindowAction::Minimise>, true},
    {CmdCloseWindow, CmdCloseWindow, onTargetWindow<WindowAction::Close>, true},
    {CmdRestoreAll, CmdRestoreAll, onPointedDesktop<WindowAction::Restore>, true},
    {CmdMaximiseAll, CmdMaximiseAll, onPointedDesktop<WindowAction::Maximise>, true},
    {CmdMinimiseAll, CmdMinimiseAll, onPointedDesktop<WindowAction::Minimise>, true},
    {CmdCloseAll, CmdCloseAll, onPointedDesktop<WindowAction::Close>, true},
    {CmdEnterTray, CmdEnterTray, onEnterTray},
    {CmdLeaveTray, CmdLeaveTray, onLeaveTray},
    {CmdSwitchSize, CmdSwitchSize, onSwitchSize},
    {CmdQuit, CmdQuit, onQuit},
    {CmdDeleteRegistration, CmdDeleteRegistration, onDeleteRegistration},
    {CmdRestoreAllDesktops, CmdRestoreAllDesktops, onAllDesktops<OpRestoreAll>, true},
    {CmdMaximiseAllDesktops, CmdMaximiseAllDesktops, onAllDesktops<OpMaximiseAll>, true},
    {CmdMinimiseAllDesktops, CmdMinimiseAllDesktops, onAllDesktops<OpMinimiseAll>, true},
    {CmdCloseAllDesktops, CmdCloseAllDesktops, onAllDesktops<OpCloseAll>, true},
    {CmdDeleteAllRegistrations, CmdDeleteAllRegistrations, onDeleteAllRegistrations},
    {CmdLauncherFirst, CmdLauncherLast, onRunNumbered},
    {CmdDesktopFirst, CmdDesktopLast, onSwitchDesktop, true},
    {CmdSwitchFunction, CmdSwitchFunction, onSwitchFunction},
    {CmdRunAll, CmdRunAll, onRunAll},
    {CmdShowAllWindows, CmdShowAllWindows, onShowAll, true},
    {CmdHideAllWindows, CmdHideAllWindows, onHideAll, true},
};

}  // namespace

int pointedDesktop(const PanelState& state) {
    return isCellZone(state.pointerZone) ? state.pointerZone - 1 : state.currentDesktop;
}

int dispatchCommand(Application& app, Services& services, WindowHandle panel, std::uintptr_t id) {
    for (const Row& row : Table) {
        if (id < row.first || id > row.last) continue;
        // While a session end is pending every window is on screen: a switch would take
        // them all into the desktop it leaves.
        if (row.onWindows && app.state.sessionEnding) break;
        Command c{app, services, panel, static_cast<unsigned>(id)};
        row.handler(c);
        break;
    }
    app.state.menuTargetWindow = NullWindow;
    return 0;
}

}  // namespace skelvo
