// Panel creation, quit and focus handling; commands go to their dispatch table.
#include "app/panel.h"

#include "app/hotkeys.h"
#include "app/ids.h"
#include "app/pointer.h"
#include "launcher/registration.h"
#include "settings/settings_file.h"
#include "settings/rule_section.h"
#include "app/window_guard.h"
#include "ui/commands.h"
#include "ui/painter.h"
#include "ui/tooltip.h"
#include "ui/tray.h"

namespace skelvo {

namespace {
// The map's scales: the virtual screen's width div 50 and height div 40.
void takeScales(PanelState& st, const ScreenLayout& screen) {
    st.mapScaleX = mapScale(screen.box.width(), 50);
    st.mapScaleY = mapScale(screen.box.height(), 40);
}
}  // namespace

bool Panel::startsWork(unsigned message) {
    switch (message) {
    case win::WmCommand:
    case win::WmClose:
    case win::WmTimer:
    case win::WmLButtonDown:
    case win::WmLButtonUp:
    case win::WmLButtonDblClk:
    case win::WmRButtonDown:
    case win::WmRButtonUp:
    case win::WmDropFiles:
    case win::WmHotKey:
    case TrayCallbackMessage: return true;
    default: return false;
    }
}

std::optional<std::intptr_t> Panel::handle(WindowHandle panel, unsigned message,
                                           std::uintptr_t wParam, std::intptr_t lParam) {
    AwaitedWindows* calls = s_.awaited;
    if (calls == nullptr) return dispatch(panel, message, wParam, lParam);
    if (startsWork(message)) {
        // Never inside another command: after it.
        if (calls->inCall()) {
            deferred_.push_back(Deferred{message, wParam, lParam});
            return 0;
        }
        calls->beginCommand();
    }
    const std::optional<std::intptr_t> result = dispatch(panel, message, wParam, lParam);
    while (!calls->inCall() && !deferred_.empty()) {
        const Deferred next = deferred_.front();
        deferred_.pop_front();
        handle(panel, next.message, next.wParam, next.lParam);
    }
    return result;
}

std::optional<std::intptr_t> Panel::dispatch(WindowHandle panel, unsigned message,
                                             std::uintptr_t wParam, std::intptr_t lParam) {
    // Whatever the message changed, the journal follows once it is handled. A failure to
    // write it is told from a message of its own, outside whatever this one is doing.
    struct SyncAfter {
        Services& s;
        WindowHandle panel;
        ~SyncAfter() {
            if (s.guard == nullptr) return;
            s.guard->sync();
            if (s.guard->takeWarning()) s.host.postMessage(panel, JournalWarningMessage, 0, 0);
        }
    } syncAfter{s_, panel};
    switch (message) {
    case win::WmCreate: onCreate(panel); return 0;
    case win::WmDestroy: onDestroy(); return 0;
    case win::WmSetFocus: return 0;
    case win::WmKillFocus: onKillFocus(panel, static_cast<WindowHandle>(wParam)); return 0;
    case win::WmPaint: return onPaint(panel, wParam, lParam);
    case win::WmClose: onClose(panel); return 0;
    case win::WmQueryEndSession: onQueryEndSession(); return 1;
    case win::WmEndSession: onEndSession(panel, wParam != 0); return 0;
    case JournalWarningMessage:
        s_.host.messageBox(panel, JournalWarningText, JournalWarningCaption,
                           win::MbOk | win::MbIconExclamation);
        return 0;
    case win::WmDisplayChange: onDisplayChange(panel); return 0;
    case win::WmCommand: onCommand(panel, wParam); return 0;
    case win::WmTimer: onTimer(panel, static_cast<unsigned>(wParam & 0xFFFF)); return 0;
    case win::WmLButtonDown: onLeftPress(panel); return 0;
    case win::WmLButtonUp: onLeftRelease(panel); return 0;
    case win::WmLButtonDblClk: onDoubleClick(panel); return 0;
    case win::WmRButtonDown: onRightPress(panel); return 0;
    case win::WmRButtonUp: onRightRelease(panel); return 0;
    case win::WmHotKey: onHotKey(app_, s_, panel, wParam); return 0;
    case win::WmDropFiles:
        registerFromDrop(app_, s_, panel, static_cast<DropHandle>(wParam));
        return 0;
    case TrayCallbackMessage: return onTrayNotify(app_, s_, panel, wParam, lParam);
    default: break;
    }
    // A registered message has no fixed value; 0 means the registration failed.
    if (message != 0 && message == app_.state.taskbarCreatedMessage) {
        onTaskbarCreated(s_, app_.state, panel);
        return 0;
    }
    return std::nullopt;
}

void Panel::onCreate(WindowHandle panel) {
    PanelState& st = app_.state;
    WindowSystem& ws = s_.windows;
    for (int k = 0; k < DesktopCount; ++k) {
        app_.desktops[k].reset(ws, k);
        app_.desktops[k].pins = &app_.pins;
        app_.desktops[k].rules = &app_.rules;
        app_.slots[k].initialise(st.instanceHandle, panel, k);
    }
    app_.hidden.bind(ws);
    app_.skin.load(s_.graphics, st.instanceHandle, panel);

    st.pointerState = PointerIdle;
    st.pointerZone = 0;
    st.dragDeltaX = 0;
    st.dragDeltaY = 0;
    st.pointerPoint = {};
    st.pressPoint = {};
    st.menuTargetWindow = NullWindow;
    st.dragWindow = NullWindow;
    st.dragSourceDesktop = 0;
    st.selectedSlot = 0;
    st.currentDesktop = 0;
    st.functionMode = FunctionDesktop;

    st.panelRect = ws.rect(panel);
    takeScales(st, readScreen(ws));
    st.sizeState = SizeFull;
    st.heldTicks = 0;
    // A directory that does not fit names no settings file.
    const unsigned length = s_.host.currentDirectory(st.workingDirectory, MaxDirectoryBytes);
    if (length == 0 || length >= MaxDirectoryBytes) st.workingDirectory[0] = '\0';
    st.workingDirectory[MaxDirectoryBytes - 1] = '\0';
    app_.keepSettingsFile =
        !loadSettings(s_, st.workingDirectory, app_.slots, &app_.hotkeys.section,
                      &app_.settingsEncoding, &app_.ruleSection);
    app_.rules.assign(rulesForWindows(parseRules(app_.ruleSection),
                                      app_.settingsEncoding == SettingsEncoding::Utf8, s_.shell));
    // The windows on screen at start are the first the rules see.
    refreshDesktop(app_.desktops, st.currentDesktop);
    registerHotkeys(app_, s_, panel);
    createToolTip(s_, st, panel, st.instanceHandle);
    st.taskbarCreatedMessage = s_.host.registerWindowMessage(TaskbarCreatedName);
    if (st.taskbarCreatedMessage != 0) s_.host.allowMessage(panel, st.taskbarCreatedMessage);
    s_.host.setTimer(panel, TimerRefresh, RefreshPeriodMs);
    s_.host.setTimer(panel, TimerToolTip, ToolTipPeriodMs);
}

void Panel::onClose(WindowHandle panel) {
    const int answer =
        s_.host.messageBox(panel, QuitText, QuitCaption, win::MbYesNo | win::MbIconQuestion);
    if (answer == win::IdNo) return;
    s_.host.killTimer(panel, TimerRefresh);
    s_.host.killTimer(panel, TimerWindowDrag);
    s_.host.killTimer(panel, TimerPanelDrag);
    saveSettings(s_, app_.state.workingDirectory, app_.slots, app_.keepSettingsFile,
                 &app_.hotkeys.section, app_.settingsEncoding, true, &app_.ruleSection);
    deleteTrayIcon(s_, app_.state);
    s_.host.destroyWindow(panel);
}

void Panel::onDestroy() {
    unregisterHotkeys(app_, s_);
    s_.host.postQuitMessage(0);
}

void Panel::onKillFocus(WindowHandle panel, WindowHandle gaining) {
    // A window manager under X may hand the focus to the tooltip as it shows, in the middle
    // of a drag; the focus has not left the panel's own windows, so the drag goes on.
    if (gaining != NullWindow && gaining == app_.state.toolTipWindow) return;
    // The drag stops following the pointer; the next release over the panel ends it.
    s_.host.killTimer(panel, TimerWindowDrag);
    s_.host.killTimer(panel, TimerPanelDrag);
}

void Panel::onDisplayChange(WindowHandle panel) {
    WindowSystem& ws = s_.windows;
    const ScreenLayout screen = readScreen(ws);
    takeScales(app_.state, screen);
    for (VirtualDesktop& d : app_.desktops) d.takeScreen(screen);
    // A panel left on a monitor that went away comes onto the nearest one.
    const Rect r = ws.rect(panel);
    if (const std::optional<Rect> to = placeInReach(screen, r))
        ws.move(panel, to->left, to->top, to->width(), to->height(), true);
    app_.state.panelRect = ws.rect(panel);
}

void Panel::onCommand(WindowHandle panel, std::uintptr_t id) {
    dispatchCommand(app_, s_, panel, id);
}

std::intptr_t Panel::onPaint(WindowHandle panel, std::uintptr_t wParam, std::intptr_t lParam) {
    return paint(panel, wParam, lParam, nullptr);
}

std::intptr_t Panel::paint(WindowHandle panel, std::uintptr_t wParam, std::intptr_t lParam,
                           ScreenOnce* refresh) {
    // The refresh repaints every 600 ms; a picture equal to the one shown is not drawn
    // again unless the system asks for it, and a window with nothing invalid needs no
    // validating. The refresh's own paint does not ask: were part of the window invalid,
    // the system's WM_PAINT follows and draws the whole picture.
    const bool exposed = refresh == nullptr && s_.host.needsRepaint(panel);
    FrameRecorder frame(s_.graphics, frame_, exposed);
    Services recording{s_.windows, s_.host, frame, s_.shell, s_.files, s_.guard, s_.awaited};
    return paintPanel(app_, recording, panel, wParam, lParam, exposed, refresh);
}

}  // namespace skelvo
