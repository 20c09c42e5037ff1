// Hit zones, gesture classification and the panel's pointer and timer handlers.
#include "app/pointer.h"

#include "app/ids.h"
#include "app/modes.h"
#include "app/panel.h"
#include "desktops/switching.h"
#include "launcher/launching.h"
#include "ui/menus.h"
#include "ui/tooltip.h"

namespace skelvo {

int hitZone(int x, int y) {
    if (x < 0 || x > 236 || y < 0 || y > 157) return ZoneNone;
    if (x <= 199 && y <= 119) return 1 + (x - 2) / 50 + 4 * ((y - 2) / 40);
    if (x >= 203 && y <= 123) return y <= 61 ? ZoneSwitchUpper : ZoneSwitchLower;
    if (x <= 201 && y >= 125) return ZoneInfoBar;
    if (x >= 203 && y >= 125) return ZoneSizeButton;
    return ZoneNone;
}

int classifyGesture(int zone, int kind, int functionMode, int moveX, int moveY, WindowHandle window,
                    int heldTicks) {
    const bool left = kind == GestureLeft;
    const bool right = kind == GestureRight;
    if (!left && !right) return ActionNone;
    if (isCellZone(zone)) {
        if (left) {
            if (moveX * moveX <= 16 && moveY * moveY <= 16 && heldTicks < 3) return ActionCellClick;
            if (window != NullWindow && functionMode == FunctionDesktop) return ActionWindowDrop;
            return ActionNone;
        }
        if (functionMode == FunctionLauncher) return ActionLauncherMenu;
        return window != NullWindow ? ActionWindowMenu : ActionDesktopMenu;
    }
    switch (zone) {
    case ZoneSwitchUpper:
    case ZoneSwitchLower:
        if (right) return ActionPanelMenu;
        return heldTicks < 3 ? ActionFunctionSwitch : ActionNone;
    case ZoneInfoBar: return right ? ActionPanelMenu : ActionNone;
    case ZoneSizeButton:
        if (right) return ActionPanelMenu;
        return heldTicks < 3 ? ActionSizeSwitch : ActionNone;
    default: return ActionNone;
    }
}

int performAction(Application& app, Services& services, WindowHandle panel, int zone, int,
                  int action, int x, int y, WindowHandle window) {
    PanelState& st = app.state;
    switch (action) {
    case ActionCellClick:
        if (st.sessionEnding && st.functionMode == FunctionDesktop) return 0;
        return selectCell(zone, st.functionMode, st.currentDesktop, st.selectedSlot, app.desktops);
    case ActionWindowDrop:
        // While a session end is pending the window only goes back where the drag found it.
        if (st.sessionEnding) {
            cancelWindowDrop(window, st.dragSourceDesktop, app.desktops, st.dragStartRect);
            return 1;
        }
        return moveWindowToDesktop(window, zone, st.dragSourceDesktop, st.currentDesktop,
                                   app.desktops, st.dragStartRect);
    case ActionFunctionSwitch: return switchFunction(st.functionMode);
    case ActionSizeSwitch: return switchSize(services, panel, st.sizeState, app.skin);
    case ActionWindowMenu:
    case ActionDesktopMenu:
    case ActionLauncherMenu:
    case ActionPanelMenu: return showPanelMenu(services, st.instanceHandle, panel, action, x, y);
    default: return 0;
    }
}

Point toVirtualPoint(const PanelState& state, Point p) {
    return Point{static_cast<int>((p.x - 2) * state.mapScaleX),
                 static_cast<int>((p.y - 2) * state.mapScaleY)};
}

Point highlightCell(int functionMode, int currentDesktop, int selectedSlot) {
    const int index = functionMode == FunctionDesktop ? currentDesktop : selectedSlot;
    return Point{index % 4, index / 4};
}

int pointInRect(int left, int top, int right, int bottom, int x, int y) {
    return left <= x && x <= right && top <= y && y <= bottom ? 1 : 0;
}

void clipCursorToMap(Services& services, WindowHandle panel, int width, int height) {
    const Rect r = services.windows.rect(panel);
    services.host.clipCursor(Rect{r.left + 2, r.top + 2, r.left + width, r.top + height - 2});
}

void releaseCursorClip(Services& services) {
    // Freed entirely: clipping to the primary screen would confine the pointer there.
    services.host.clipCursor(std::nullopt);
}

namespace {

// Moves the dragged window to follow the pointer, if the press's desktop still lists it.
void followPointer(Application& app, Services& s) {
    PanelState& st = app.state;
    if (!isCellZone(st.pointerZone)) return;
    VirtualDesktop& desktop = app.desktops[st.pointerZone - 1];
    for (int i = 0; i < desktop.count; ++i) {
        WindowEntry& e = desktop.entries[i];
        if (e.window != st.dragWindow) continue;
        s.windows.move(st.dragWindow, st.pointerPoint.x - st.dragDeltaX,
                       st.pointerPoint.y - st.dragDeltaY, e.windowRect.width(),
                       e.windowRect.height(), true);
        e.windowRect = s.windows.rect(st.dragWindow);
        e.updateMapRect(s.windows);
        return;
    }
}

Point cursorInClient(Services& s, WindowHandle panel) {
    return s.host.screenToClient(panel, s.host.cursorPos());
}

}  // namespace

void Panel::onLeftPress(WindowHandle panel) {
    PanelState& st = app_.state;
    if (st.pointerState != PointerIdle) return;
    st.pointerState = PointerLeftDown;
    st.pressPoint = cursorInClient(s_, panel);
    st.pointerZone = hitZone(st.pressPoint.x, st.pressPoint.y);
    st.dragWindow = isCellZone(st.pointerZone) ? app_.desktops[st.pointerZone - 1].windowAtMapPoint(
                                                     st.pressPoint.x, st.pressPoint.y)
                                               : NullWindow;
    if (st.dragWindow != NullWindow && st.functionMode == FunctionDesktop) {
        clipCursorToMap(s_, panel, MapClipWidth, MapClipHeight);
        st.dragSourceDesktop = st.pointerZone - 1;
        st.pressPoint = toVirtualPoint(st, st.pressPoint);
        const Rect r = s_.windows.rect(st.dragWindow);
        st.dragStartRect = r;
        st.dragDeltaX = st.pressPoint.x - r.left;
        st.dragDeltaY = st.pressPoint.y - r.top;
        st.pressPoint = s_.host.cursorPos();
        s_.host.setTimer(panel, TimerWindowDrag, DragPeriodMs);
    } else {
        st.dragWindow = NullWindow;
        st.pressPoint = s_.host.clientToScreen(panel, st.pressPoint);
        st.panelRect = s_.windows.rect(panel);
        s_.host.setTimer(panel, TimerPanelDrag, DragPeriodMs);
    }
}

void Panel::onLeftRelease(WindowHandle panel) {
    PanelState& st = app_.state;
    if (st.pointerState != PointerLeftDown) return;
    st.panelRect = s_.windows.rect(panel);
    if (st.dragWindow == NullWindow) {
        s_.host.killTimer(panel, TimerPanelDrag);
    } else {
        releaseCursorClip(s_);
        st.pointerPoint = toVirtualPoint(st, cursorInClient(s_, panel));
        followPointer(app_, s_);
        s_.host.killTimer(panel, TimerWindowDrag);
    }
    // The movement in screen terms: the panel's own travel cancels out.
    st.pointerPoint = cursorInClient(s_, panel);
    st.pressPoint = s_.host.screenToClient(panel, st.pressPoint);
    st.dragDeltaX = st.pointerPoint.x - st.pressPoint.x;
    st.dragDeltaY = st.pointerPoint.y - st.pressPoint.y;

    const int zone = hitZone(st.pointerPoint.x, st.pointerPoint.y);
    const int action = classifyGesture(zone, GestureLeft, st.functionMode, st.dragDeltaX,
                                       st.dragDeltaY, st.dragWindow, st.heldTicks);
    st.pointerZone = zone;
    performAction(app_, s_, panel, zone, GestureLeft, action, st.pointerPoint.x, st.pointerPoint.y,
                  st.dragWindow);
    st.dragWindow = NullWindow;
    st.pointerState = PointerIdle;
    st.heldTicks = 0;
    s_.host.postMessage(panel, win::WmPaint, 0, 0);
}

void Panel::onDoubleClick(WindowHandle panel) {
    PanelState& st = app_.state;
    if (st.pointerState != PointerIdle) return;
    st.pointerState = PointerDoubleClick;
    const Point p = cursorInClient(s_, panel);
    st.pointerZone = hitZone(p.x, p.y);
    dispatchDoubleClick(app_, s_, panel, st.pointerZone, st.functionMode);
    st.pointerState = PointerIdle;
}

void Panel::onRightPress(WindowHandle panel) {
    PanelState& st = app_.state;
    if (st.pointerState != PointerIdle) return;
    st.pointerState = PointerRightDown;
    st.pressPoint = cursorInClient(s_, panel);
}

void Panel::onRightRelease(WindowHandle panel) {
    PanelState& st = app_.state;
    if (st.pointerState != PointerRightDown) return;
    st.pointerPoint = cursorInClient(s_, panel);
    const int zone = hitZone(st.pointerPoint.x, st.pointerPoint.y);
    st.pointerZone = zone;
    const WindowHandle window = isCellZone(zone) ? app_.desktops[zone - 1].windowAtMapPoint(
                                                       st.pointerPoint.x, st.pointerPoint.y)
                                                 : NullWindow;
    st.dragWindow = window;
    const int action =
        classifyGesture(zone, GestureRight, st.functionMode, 0, 0, window, st.heldTicks);
    // The popup menus this dispatches to return when they close.
    performAction(app_, s_, panel, zone, GestureRight, action, st.pointerPoint.x, st.pointerPoint.y,
                  window);
    st.menuTargetWindow = window;
    st.dragWindow = NullWindow;
    st.pointerState = PointerIdle;
    s_.host.postMessage(panel, win::WmPaint, 0, 0);
}

void Panel::onTimer(WindowHandle panel, unsigned id) {
    PanelState& st = app_.state;
    switch (id) {
    case TimerRefresh: {
        // The capture and the paint of one tick share one read of the screen.
        ScreenOnce screen(s_.windows);
        // While a session end is pending every desktop's windows are on screen: none of
        // them joins the desktop on screen.
        if (st.functionMode == FunctionDesktop && !st.sessionEnding)
            refreshDesktop(app_.desktops, st.currentDesktop, &screen);
        // Painted at once, as a WM_PAINT sent to the panel would be: on the panel's own
        // thread such a send is a call of the window procedure, made here directly so that
        // the tooltip's subclass, which has no use for it, costs nothing every 600 ms.
        paint(panel, 0, 0, &screen);
        tellRefusedHide(app_, s_);
        break;
    }
    case TimerWindowDrag:
        if (st.dragWindow != NullWindow && st.functionMode == FunctionDesktop) {
            ++st.heldTicks;
            st.pointerPoint = toVirtualPoint(st, cursorInClient(s_, panel));
            followPointer(app_, s_);
        }
        s_.windows.show(panel, win::SwShow);
        s_.host.sendMessage(panel, win::WmPaint, 0, 0);
        break;
    case TimerPanelDrag: {
        ++st.heldTicks;
        const ScreenLayout screen = readScreen(s_.windows);
        const Point cursor = s_.host.cursorPos();
        bool onScreen = false;
        for (const Monitor& m : screen.monitors) {
            const Rect r = m.rect;
            onScreen = onScreen || pointInRect(r.left, r.top, r.right, r.bottom, cursor.x, cursor.y);
        }
        if (onScreen) {
            const int dx = cursor.x - st.pressPoint.x;
            const int dy = cursor.y - st.pressPoint.y;
            s_.windows.move(panel, st.panelRect.left + dx, st.panelRect.top + dy,
                            st.panelRect.width(), st.panelRect.height(), true);
        } else {
            s_.host.killTimer(panel, TimerPanelDrag);
        }
        break;
    }
    case TimerToolTip: updateToolTip(app_, s_, panel); break;
    default: break;
    }
}

}  // namespace skelvo
