"""Drops files on the X window under the pointer the way a file manager does: an XDND
source (protocol version 5) offering text/uri-list, written against libX11 with ctypes.
Wine turns such a drop on a window with WS_EX_ACCEPTFILES into WM_DROPFILES, with the
drop handle made in the receiving process as the shell makes it."""

import ctypes
import ctypes.util
import time
import urllib.parse

_x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
_x.XOpenDisplay.restype = ctypes.c_void_p
_x.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x.XDefaultRootWindow.restype = ctypes.c_ulong
_x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_x.XInternAtom.restype = ctypes.c_ulong
_x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
_x.XCreateSimpleWindow.restype = ctypes.c_ulong
_x.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 + \
    [ctypes.c_uint] * 3 + [ctypes.c_ulong] * 2
_x.XSetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]
_x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                          ctypes.c_void_p]
_x.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong,
                               ctypes.c_int, ctypes.c_int, ctypes.c_char_p, ctypes.c_int]
_x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
_x.XPending.argtypes = [ctypes.c_void_p]
_x.XFlush.argtypes = [ctypes.c_void_p]
_x.XDestroyWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_x.XCloseDisplay.argtypes = [ctypes.c_void_p]
_x.XQueryPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + \
    [ctypes.POINTER(ctypes.c_ulong)] * 2 + [ctypes.POINTER(ctypes.c_int)] * 4 + \
    [ctypes.POINTER(ctypes.c_uint)]

SELECTION_REQUEST, SELECTION_NOTIFY, CLIENT_MESSAGE = 30, 31, 33
XDND_VERSION = 5


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("l", ctypes.c_long * 5)]


class _SelectionRequest(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("owner", ctypes.c_ulong),
                ("requestor", ctypes.c_ulong), ("selection", ctypes.c_ulong),
                ("target", ctypes.c_ulong), ("property", ctypes.c_ulong), ("time", ctypes.c_ulong)]


class _SelectionNotify(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("requestor", ctypes.c_ulong),
                ("selection", ctypes.c_ulong), ("target", ctypes.c_ulong),
                ("property", ctypes.c_ulong), ("time", ctypes.c_ulong)]


class _Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("client", _ClientMessage),
                ("request", _SelectionRequest), ("notify", _SelectionNotify),
                ("pad", ctypes.c_long * 24)]


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
        r, child = ctypes.c_ulong(), ctypes.c_ulong()
        rx, ry, wx, wy, mask = ctypes.c_int(), ctypes.c_int(), ctypes.c_int(), ctypes.c_int(), \
            ctypes.c_uint()
        _x.XQueryPointer(d, root, ctypes.byref(r), ctypes.byref(child), ctypes.byref(rx),
                         ctypes.byref(ry), ctypes.byref(wx), ctypes.byref(wy), ctypes.byref(mask))
        target = child.value
        if not target:
            raise AssertionError("no X window under the pointer")
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
        send("XdndPosition", source, 0, (rx.value << 16) | ry.value, 0, atom("XdndActionCopy"))
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
