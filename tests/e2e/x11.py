"""X driven by hand through libX11 with ctypes: a file manager's drop, and the position a
window manager owes a window it placed.

drop() drops files on the X window under the pointer the way a file manager does: an XDND
source (protocol version 5) offering text/uri-list. Wine turns such a drop on a window
with WS_EX_ACCEPTFILES into WM_DROPFILES, with the drop handle made in the receiving
process as the shell makes it. Under a window manager
the root's child under the pointer is the manager's frame; the target is the window
below it that declares XdndAware, as a file manager looks for it."""

import ctypes
import ctypes.util
import time
import urllib.parse

_x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
_P, _L, _I = ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int


def _declare(name, restype, *argtypes):
    function = getattr(_x, name)
    function.restype, function.argtypes = restype, list(argtypes)


_declare("XOpenDisplay", _P, ctypes.c_char_p)
_declare("XDefaultRootWindow", _L, _P)
_declare("XInternAtom", _L, _P, ctypes.c_char_p, _I)
_declare("XCreateSimpleWindow", _L, _P, _L, _I, _I, _I, _I, _I, _L, _L)
_declare("XSetSelectionOwner", _I, _P, _L, _L, _L)
_declare("XSendEvent", _I, _P, _L, _I, ctypes.c_long, _P)
_declare("XChangeProperty", _I, _P, _L, _L, _L, _I, _I, ctypes.c_char_p, _I)
_declare("XQueryPointer", _I, _P, _L, *[ctypes.POINTER(_L)] * 2, *[ctypes.POINTER(_I)] * 4, _P)
_declare("XNextEvent", _I, _P, _P)
_declare("XGetWindowProperty", _I, _P, _L, _L, ctypes.c_long, ctypes.c_long, _I, _L,
         ctypes.POINTER(_L), ctypes.POINTER(_I), ctypes.POINTER(_L), ctypes.POINTER(_L),
         ctypes.POINTER(ctypes.c_void_p))
_declare("XFree", _I, _P)
_declare("XDestroyWindow", _I, _P, _L)
_declare("XTranslateCoordinates", _I, _P, _L, _L, _I, _I, ctypes.POINTER(_I),
         ctypes.POINTER(_I), ctypes.POINTER(_L))
_declare("XGetGeometry", _I, _P, _L, ctypes.POINTER(_L), *[ctypes.POINTER(_I)] * 2,
         *[ctypes.POINTER(ctypes.c_uint)] * 4)
for name in ("XPending", "XFlush", "XCloseDisplay"):
    _declare(name, _I, _P)

CONFIGURE_NOTIFY, SELECTION_REQUEST, SELECTION_NOTIFY, CLIENT_MESSAGE = 22, 30, 31, 33
STRUCTURE_NOTIFY_MASK = 1 << 17
XDND_VERSION = 5


# The events' common head, then their own fields (Xlib.h).
_HEAD = [("type", _I), ("serial", _L), ("send_event", _I), ("display", _P)]


class _ClientMessage(ctypes.Structure):
    _fields_ = _HEAD + [("window", _L), ("message_type", _L), ("format", _I),
                        ("l", ctypes.c_long * 5)]


class _SelectionRequest(ctypes.Structure):
    _fields_ = _HEAD + [(n, _L) for n in ("owner", "requestor", "selection", "target",
                                          "property", "time")]


class _SelectionNotify(ctypes.Structure):
    _fields_ = _HEAD + [(n, _L) for n in ("requestor", "selection", "target", "property",
                                          "time")]


class _Configure(ctypes.Structure):
    _fields_ = _HEAD + [("event", _L), ("window", _L), ("x", _I), ("y", _I), ("width", _I),
                        ("height", _I), ("border_width", _I), ("above", _L),
                        ("override_redirect", _I)]


class _Event(ctypes.Union):
    _fields_ = [("type", _I), ("client", _ClientMessage), ("configure", _Configure),
                ("request", _SelectionRequest), ("notify", _SelectionNotify),
                ("pad", ctypes.c_long * 24)]


def _aware_window_under_pointer(d, root, aware):
    """The window on the pointer's path down from the root that declares XdndAware (0
    if none), and the pointer's root coordinates."""
    window, target = root, 0
    while window and not target:
        r, child, rx, ry, wx, wy, mask = _L(), _L(), _I(), _I(), _I(), _I(), ctypes.c_uint()
        _x.XQueryPointer(d, window, *map(ctypes.byref, (r, child, rx, ry, wx, wy)),
                         ctypes.byref(mask))
        window = child.value
        if window:
            kind, fmt, count, rest, value = _L(), _I(), _L(), _L(), ctypes.c_void_p()
            _x.XGetWindowProperty(d, window, aware, 0, 1, 0, 0, ctypes.byref(kind),
                                  ctypes.byref(fmt), ctypes.byref(count), ctypes.byref(rest),
                                  ctypes.byref(value))
            if value:
                _x.XFree(value)
            target = window if kind.value else 0
    return target, rx.value, ry.value


def drop(display_name, paths, timeout=10):
    """Drops the Unix paths, in order, at the pointer. Returns whether the target
    accepted the drop and confirmed it finished."""
    d = _x.XOpenDisplay(display_name.encode())
    if not d:
        raise AssertionError(f"cannot open X display {display_name}")
    atom = lambda name: _x.XInternAtom(d, name.encode(), 0)
    root = _x.XDefaultRootWindow(d)
    source = _x.XCreateSimpleWindow(d, root, 0, 0, 1, 1, 0, 0, 0)
    uri_list = atom("text/uri-list")
    selection = atom("XdndSelection")
    data = "".join("file://" + urllib.parse.quote(p) + "\r\n" for p in paths).encode()
    try:
        target, rx, ry = _aware_window_under_pointer(d, root, atom("XdndAware"))
        if not target:
            raise AssertionError("no XdndAware window under the pointer")
        _x.XSetSelectionOwner(d, selection, source, 0)

        def send(name, *values):
            event = _Event()
            event.client.type = CLIENT_MESSAGE
            event.client.window = target
            event.client.message_type = atom(name)
            event.client.format = 32
            for i, v in enumerate(values):
                event.client.l[i] = v
            _x.XSendEvent(d, target, 0, 0, ctypes.byref(event))
            _x.XFlush(d)

        send("XdndEnter", source, XDND_VERSION << 24, uri_list, 0, 0)
        send("XdndPosition", source, 0, (rx << 16) | ry, 0, atom("XdndActionCopy"))
        accepted = finished = dropped = False
        deadline = time.monotonic() + timeout
        while not finished and time.monotonic() < deadline:
            if not _x.XPending(d):
                time.sleep(0.01)
                continue
            event = _Event()
            _x.XNextEvent(d, ctypes.byref(event))
            if event.type == SELECTION_REQUEST:
                req = event.request
                reply = _Event()
                reply.notify.type = SELECTION_NOTIFY
                reply.notify.requestor = req.requestor
                reply.notify.selection = req.selection
                reply.notify.target = req.target
                reply.notify.time = req.time
                reply.notify.property = 0
                if req.target == uri_list:
                    _x.XChangeProperty(d, req.requestor, req.property, uri_list, 8, 0, data,
                                       len(data))
                    reply.notify.property = req.property
                _x.XSendEvent(d, req.requestor, 0, 0, ctypes.byref(reply))
                _x.XFlush(d)
            elif event.type == CLIENT_MESSAGE:
                kind = event.client.message_type
                if kind == atom("XdndStatus") and not dropped:
                    accepted = bool(event.client.l[1] & 1)
                    dropped = True
                    if accepted:
                        send("XdndDrop", source, 0, 0)
                    else:
                        send("XdndLeave", source, 0)
                        break
                elif kind == atom("XdndFinished"):
                    finished = True
        return accepted and finished
    finally:
        _x.XDestroyWindow(d, source)
        _x.XCloseDisplay(d)


def confirm_position(display_name, window):
    """Sends the window the synthetic ConfigureNotify with its place on the root that a
    window manager sends when it moves a window (ICCCM 4.1.5). Openbox sends none to a
    window it places exactly where the window asked to be; Wine 8 may meanwhile have read
    its own configure event of before the mapping against the frame's passing place, and
    believe the window elsewhere. Returns the root place (x, y)."""
    d = _x.XOpenDisplay(display_name.encode())
    if not d:
        raise AssertionError(f"cannot open X display {display_name}")
    try:
        root = _x.XDefaultRootWindow(d)
        x, y, child = _I(), _I(), _L()
        _x.XTranslateCoordinates(d, window, root, 0, 0, ctypes.byref(x), ctypes.byref(y),
                                 ctypes.byref(child))
        r, gx, gy = _L(), _I(), _I()
        width, height, border, depth = (ctypes.c_uint() for _ in range(4))
        _x.XGetGeometry(d, window, ctypes.byref(r), ctypes.byref(gx), ctypes.byref(gy),
                        *map(ctypes.byref, (width, height, border, depth)))
        event = _Event()
        c = event.configure
        c.type, c.send_event, c.event, c.window = CONFIGURE_NOTIFY, 1, window, window
        c.x, c.y, c.width, c.height = x.value, y.value, width.value, height.value
        _x.XSendEvent(d, window, 0, STRUCTURE_NOTIFY_MASK, ctypes.byref(event))
        _x.XFlush(d)
        return x.value, y.value
    finally:
        _x.XCloseDisplay(d)
