"""Harness of the end-to-end tests: runs Skelvo.exe and fixture.exe under Wine on the test
display, reads windows and message boxes through the fixture, waits by polling with a
deadline, drives X with xdotool and reads screen pixels.

CTest passes the paths in the environment (see tests/wine/WineTests.cmake):
SKELVO_EXE, SKELVO_FIXTURE, SKELVO_WINE_RUN, SKELVO_WINE_STATE (holds the prefix and a
file naming the Xvfb display) and SKELVO_ARTIFACTS (logs of the processes started).
"""

import json
import os
import shutil
import signal
import subprocess
import sys
import threading
import time
import unittest

import x11

PANEL_CLASS = "WindowControl"
PANEL_TITLE = "WindowControl"

WM_CLOSE = 0x0010
WM_COMMAND = 0x0111

# A test method that runs longer than this fails, whatever it is waiting on.
TEST_DEADLINE_S = 90


def cp932(text):
    """The bytes the panel's ANSI calls carry for text."""
    return text.encode("cp932")


def _required_env(name):
    value = os.environ.get(name)
    if not value:
        raise RuntimeError(f"{name} is not set: run the e2e tests through ctest")
    return value


def poll(predicate, timeout, what, interval=0.1, describe=None):
    """Calls predicate until it returns something true, and returns that; raises
    AssertionError once timeout seconds have passed. describe() adds the state seen."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            detail = f"\n{describe()}" if describe else ""
            raise AssertionError(f"timed out after {timeout} s waiting for {what}{detail}")
        time.sleep(interval)


class Process:
    """A Windows program started under Wine. The Unix pid is the Windows process's own
    (wine-run and the loader exec), so killing it ends the program and its windows."""

    def __init__(self, name, popen, log_path):
        self.name = name
        self.popen = popen
        self.log_path = log_path

    @property
    def pid(self):
        return self.popen.pid

    def alive(self):
        return self.popen.poll() is None

    def wait(self, timeout):
        """The exit code; AssertionError if still running after timeout seconds."""
        try:
            return self.popen.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"{self.name} still running after {timeout} s") from None

    def stop(self):
        if self.alive():
            self.popen.kill()
        try:
            self.popen.wait(timeout=10)
        except subprocess.TimeoutExpired:
            pass

    def log(self):
        try:
            with open(self.log_path, "rb") as f:
                return f.read().decode("utf-8", "replace")
        except OSError:
            return ""


class FixtureWindows(Process):
    """fixture.exe open: its windows stay until quit() or the harness closes. A thread
    collects what it prints (ready, mouse and destroyed events)."""

    def __init__(self, name, popen, log_path):
        super().__init__(name, popen, log_path)
        self._events = []
        self._lock = threading.Lock()
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()

    def _read(self):
        for line in self.popen.stdout:
            event = json.loads(line)
            with self._lock:
                self._events.append(event)

    def events(self, kind=None):
        with self._lock:
            return [e for e in self._events if kind is None or e.get("event") == kind]

    @property
    def windows(self):
        return self.events("ready")

    def wait_events(self, kind, count, timeout=20):
        """The first count events of a kind, once there are that many."""
        def enough():
            found = self.events(kind)
            if len(found) >= count:
                return found[:count]
            if not self.alive() and not self._reader.is_alive():
                raise AssertionError(f"{self.name} ended: {self.log()}")
            return None
        return poll(enough, timeout, f"{count} '{kind}' event(s) from {self.name}",
                    interval=0.05)

    def quit(self, timeout=10):
        if self.alive():
            try:
                self.popen.stdin.write(b"quit\n")
                self.popen.stdin.flush()
            except (BrokenPipeError, OSError):
                pass
        return self.wait(timeout)

    def stop(self):
        if self.alive():
            try:
                self.popen.stdin.close()
            except OSError:
                pass
        super().stop()


class Image:
    """RGB pixels of a screen rectangle."""

    def __init__(self, width, height, data):
        self.width = width
        self.height = height
        self.data = data

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError(f"pixel ({x}, {y}) outside {self.width}x{self.height}")
        i = 3 * (y * self.width + x)
        return tuple(self.data[i:i + 3])

    def colours(self):
        return {tuple(self.data[i:i + 3]) for i in range(0, len(self.data), 3)}

    def save(self, path):
        with open(path, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (self.width, self.height))
            f.write(self.data)


def parse_ppm(blob):
    """Width, height and RGB bytes of a binary PPM (P6, maxval 255)."""
    fields = []
    pos = 0
    while len(fields) < 4:
        while blob[pos:pos + 1].isspace():
            pos += 1
        if blob[pos:pos + 1] == b"#":
            pos = blob.index(b"\n", pos)
            continue
        start = pos
        while not blob[pos:pos + 1].isspace():
            pos += 1
        fields.append(blob[start:pos])
    pos += 1  # the single whitespace before the pixels
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise ValueError(f"not an 8-bit P6 image: {fields}")
    width, height = int(fields[1]), int(fields[2])
    data = blob[pos:pos + 3 * width * height]
    if len(data) != 3 * width * height:
        raise ValueError("truncated image")
    return Image(width, height, data)


class Harness:
    def __init__(self):
        self.exe = os.environ.get("SKELVO_EXE")
        self.fixture_exe = _required_env("SKELVO_FIXTURE")
        self.wine_run = _required_env("SKELVO_WINE_RUN")
        self.state = _required_env("SKELVO_WINE_STATE")
        self.artifacts = os.environ.get("SKELVO_ARTIFACTS") or os.path.join(self.state, "artifacts")
        os.makedirs(self.artifacts, exist_ok=True)
        with open(os.path.join(self.state, "display")) as f:
            self.display = f.read().strip()
        self.env = dict(os.environ, DISPLAY=self.display, SKELVO_WINE_STATE=self.state)
        self._processes = []
        self._count = 0

    def close(self):
        for process in reversed(self._processes):
            process.stop()
        self._processes.clear()

    # ---- processes ----------------------------------------------------------------

    def start(self, exe, *args, name=None, stdin=subprocess.DEVNULL, cwd=None):
        self._count += 1
        name = name or os.path.basename(exe)
        log_path = os.path.join(self.artifacts, f"{os.getpid()}-{self._count}-{name}.log")
        with open(log_path, "wb") as log:
            popen = subprocess.Popen([self.wine_run, exe, *args], env=self.env, stdin=stdin,
                                     stdout=log, stderr=subprocess.STDOUT, cwd=cwd)
        process = Process(name, popen, log_path)
        self._processes.append(process)
        return process

    def start_skelvo(self, cwd=None):
        """Skelvo.exe, started in cwd (a Unix directory; the program sees it on Wine's Z:
        drive) or in the test's own directory."""
        return self.start(self.exe or _required_env("SKELVO_EXE"), name="Skelvo", cwd=cwd)

    def fixture(self, *args, timeout=30, ok_codes=(0,)):
        """Runs a fixture command to its end; its stdout as JSON objects, one a line."""
        done = subprocess.run([self.wine_run, self.fixture_exe, *args], env=self.env,
                              stdin=subprocess.DEVNULL, capture_output=True, timeout=timeout)
        if done.returncode not in ok_codes:
            raise AssertionError(
                f"fixture {' '.join(args)} exited {done.returncode}: "
                f"{done.stderr.decode('utf-8', 'replace').strip()} "
                f"{done.stdout.decode('utf-8', 'replace').strip()}")
        self.last_fixture_code = done.returncode
        return [json.loads(line) for line in done.stdout.decode("utf-8").splitlines() if line]

    def open_windows(self, title, *options, timeout=30, unmanaged=False):
        """fixture.exe open with title (str or CP932 bytes) and options; returns once every
        window reported ready. .windows holds their ready events. Unmanaged: windows that
        Wine keeps from the window manager."""
        raw = title if isinstance(title, bytes) else cp932(title)
        count = 1
        if "--count" in options:
            count = int(options[options.index("--count") + 1])
        self._count += 1
        log_path = os.path.join(self.artifacts, f"{os.getpid()}-{self._count}-open.log")
        with open(log_path, "wb") as log:
            exe = (os.path.join(os.path.dirname(self.fixture_exe), "fixture_unmanaged.exe")
                   if unmanaged else self.fixture_exe)
            popen = subprocess.Popen([self.wine_run, exe, "open", "--title-hex",
                                      raw.hex(), *options], env=self.env,
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=log)
        process = FixtureWindows("fixture open", popen, log_path)
        self._processes.append(process)
        process.wait_events("ready", count, timeout)
        # Shown, all ready, and placed by the window manager.
        if "--state" not in options and "--owned" not in options and not unmanaged:
            hwnds = {e["hwnd"] for e in process.windows}

            def shown():
                code, out = self.xdotool("search", "--onlyvisible", "--pid", str(process.pid))
                return out.split() if code == 0 else []
            self._where_seen(lambda windows: [w for w in windows if w["hwnd"] in hwnds],
                             shown, len(hwnds), process.name, timeout)
        return process

    # ---- windows ------------------------------------------------------------------

    def windows(self):
        """Every top-level window, top of the Z order first. A loaded machine was seen to
        end a fixture now and then with code 1 and no output before it ran; the list only
        reads, so it is asked again."""
        for attempt in range(3):
            try:
                return self.fixture("list")
            except AssertionError:
                if attempt == 2:
                    raise

    def window(self, hwnd):
        (found,) = [w for w in self.windows() if w["hwnd"] == hwnd]
        return found

    def panels(self, windows=None):
        return [w for w in (self.windows() if windows is None else windows)
                if w["class"] == PANEL_CLASS and w["title"] == PANEL_TITLE]

    def describe_windows(self):
        lines = []
        for w in self.windows():
            if w["visible"]:
                lines.append(f"  z={w['z']} {w['hwnd']} class={w['class']!r} "
                             f"title={w['title']!r} rect={w['rect']} pid={w['pid']}")
        return "visible windows:\n" + "\n".join(lines)

    def wait_for(self, predicate, what, timeout=30):
        return poll(predicate, timeout, what, describe=self.describe_windows)

    def wait_panels(self, count, timeout=30, shown=True):
        """Waits until exactly count panel windows exist (and, with shown, all of them
        visible: a panel exists from its creation on but is shown only after it) and
        returns them."""
        def check():
            found = self.panels()
            if len(found) != count or (shown and not all(w["visible"] for w in found)):
                return None
            return found
        if count == 0:
            poll(lambda: not self.panels(), timeout, "no panel window",
                 describe=self.describe_windows)
            return []
        found = self.wait_for(check, f"{count} panel window(s)", timeout)
        if not shown:
            return found
        return self._where_seen(self.panels, lambda: self.x_windows(PANEL_TITLE), count,
                                "the panels", timeout)

    def _where_seen(self, select, shown, count, what, timeout):
        """Once the count windows are on the screen (shown() lists their X windows), as a
        person waits for them, select(windows()) as Wine places them there. A window
        manager may place a window without telling it (see x11.confirm_position); it is
        told here, as the manager would have, and the windows are returned once Wine has
        followed. The X window of a managed window is its Win32 client area."""
        def on_screen():
            xids = shown()
            return xids if len(xids) == count else None
        xids = self.wait_for(on_screen, f"{what} on the screen", timeout)
        believed = sorted(w["client"] for w in select(self.windows()))
        seen = sorted(list(x11.confirm_position(self.display, int(xid))) for xid in xids)
        if believed != seen:
            print(f"harness: Wine had {what} at {believed}, the screen shows {seen}",
                  file=sys.stderr)

        def followed():
            found = select(self.windows())
            return found if sorted(w["client"] for w in found) == seen else None
        return self.wait_for(followed, f"{what} where the screen shows them, {seen}", timeout)

    def message_box(self, caption=None, press="none", owner_class=None, timeout=20):
        """Waits for a message box (by CP932 caption), reads it and presses a button
        (yes/no/ok/cancel/none); returns what the fixture read, with the box gone."""
        args = ["msgbox", "--press", press, "--timeout", str(int(timeout * 1000))]
        if caption is not None:
            args += ["--caption-hex", cp932(caption).hex()]
        if owner_class is not None:
            args += ["--owner-class", owner_class]
        try:
            (box,) = self.fixture(*args, timeout=2 * timeout + 10)
        except AssertionError as failed:
            raise AssertionError(f"{failed}\n{self.describe_windows()}") from None
        box["caption_bytes"] = bytes.fromhex(box["caption_hex"])
        box["text_bytes"] = bytes.fromhex(box["text_hex"])
        return box

    def post(self, message, wparam=0, lparam=0, cls=PANEL_CLASS, title=PANEL_TITLE,
             hwnd=None, timeout=10):
        args = ["send", "--msg", str(message), "--wparam", str(wparam), "--lparam", str(lparam),
                "--timeout", str(int(timeout * 1000))]
        if hwnd is not None:
            args += ["--hwnd", hwnd]
        else:
            args += ["--class", cls, "--title-hex", cp932(title).hex()]
        return self.fixture(*args, timeout=timeout + 20)[0]

    # ---- X ------------------------------------------------------------------------

    def xdotool(self, *args, timeout=10):
        done = subprocess.run(["xdotool", *args], env=self.env, capture_output=True,
                              timeout=timeout)
        return done.returncode, done.stdout.decode("utf-8", "replace")

    def x_windows(self, name):
        """Ids of the visible X windows whose whole name is name."""
        code, out = self.xdotool("search", "--onlyvisible", "--name", f"^{name}$")
        return out.split() if code == 0 else []

    def x_geometry(self, window_id):
        """(x, y, width, height) of an X window, x and y on the screen. Not xdotool's
        getwindowgeometry: in a window manager's frame it adds the offset in the frame
        twice."""
        done = subprocess.run(["xwininfo", "-id", window_id], env=self.env,
                              capture_output=True, timeout=10)
        if done.returncode != 0:
            raise AssertionError(f"xwininfo -id {window_id} failed")
        values = dict(line.strip().split(": ", 1) for line in done.stdout.decode().splitlines()
                      if ": " in line)
        return tuple(int(values[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y",
                                              "Width", "Height"))

    def click(self, x, y, button=1, repeat=1):
        """Clicks (repeat times, as a double click for 2) at a screen point."""
        code, _ = self.xdotool(*self._arrive(x, y), "click", "--repeat", str(repeat),
                               "--delay", "60", str(button))
        if code != 0:
            raise AssertionError(f"xdotool click at ({x}, {y}) failed")

    def drag(self, start, end, button=1, steps=8):
        """Presses at start, moves in steps to end and releases there."""
        (x0, y0), (x1, y1) = start, end
        args = [*self._arrive(x0, y0), "mousedown", str(button)]
        last = (x0, y0)
        for i in range(1, steps + 1):
            step = (x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps)
            if step == last:
                continue  # --sync onto the pointer's own place would wait forever
            args += ["mousemove", "--sync", str(step[0]), str(step[1]), "sleep", "0.02"]
            last = step
        args += ["mouseup", str(button)]
        code, _ = self.xdotool(*args, timeout=20)
        if code != 0:
            raise AssertionError(f"xdotool drag {start} -> {end} failed")

    @staticmethod
    def _arrive(x, y):
        """Moves onto a point from beside it. Wine takes a press only where it saw the
        pointer arrive, and --sync waits for a motion that a move onto the pointer's own
        place never makes; the first, unsynchronised step guarantees one."""
        return ["mousemove", str(x - 3), str(y - 3), "mousemove", "--sync", str(x), str(y)]

    def screenshot(self, x, y, width, height, timeout=20):
        """The pixels of a rectangle of the screen."""
        importer = shutil.which("import") or "/usr/bin/import"
        done = subprocess.run([importer, "-window", "root", "-crop",
                               f"{width}x{height}+{x}+{y}", "+repage", "-depth", "8", "ppm:-"],
                              env=self.env, capture_output=True, timeout=timeout)
        if done.returncode != 0:
            raise AssertionError(f"import failed: {done.stderr.decode('utf-8', 'replace')}")
        return parse_ppm(done.stdout)

    def settled(self, rect, timeout=30):
        """A picture of a rectangle of the screen that stayed the same over one refresh of
        the panel (600 ms)."""
        seen = [self.screenshot(*rect)]

        def same():
            seen.append(self.screenshot(*rect))
            return seen[-1].data == seen[-2].data
        poll(same, timeout, f"a settled picture of {rect}", interval=0.7)
        return seen[-1]

    def artifact(self, name):
        return os.path.join(self.artifacts, name)


class WineTestCase(unittest.TestCase):
    """A harness per test method, closed (every process it started killed) afterwards,
    and a deadline on the method as a whole."""

    def setUp(self):
        def overdue(signum, frame):
            raise AssertionError(f"test ran over its {TEST_DEADLINE_S} s deadline")
        signal.signal(signal.SIGALRM, overdue)
        signal.alarm(TEST_DEADLINE_S)
        self.addCleanup(signal.alarm, 0)
        self.h = Harness()
        self.addCleanup(self.h.close)
        # Off every panel: a pointer left there by an earlier test brings up a tooltip over
        # the next panel, and its pictures.
        self.h.xdotool("mousemove", "1010", "750")
        # A panel or message box left over by an earlier test would skew this one.
        poll(lambda: not [w for w in self.h.windows() if w["visible"] and (
                 w["class"] == "#32770" or w["class"] == PANEL_CLASS)],
             10, "no panel or message box before the test", describe=self.h.describe_windows)


class LauncherTestCase(WineTestCase):
    """Tests that start Skelvo in a folder of their own, quit it, and open Notepad through
    its slots."""

    def start_in(self, folder):
        skelvo = self.h.start_skelvo(cwd=folder)
        (panel,) = self.h.wait_panels(1)
        return skelvo, panel

    def quit(self, skelvo):
        self.h.post(WM_CLOSE)
        self.h.message_box(caption="終了確認", press="yes")
        self.assertEqual(skelvo.wait(20), 0)

    def notepads(self):
        return [w for w in self.h.windows() if w["class"] == "Notepad" and w["visible"]]

    def close_notepads(self):
        for w in self.notepads():
            self.h.post(WM_CLOSE, hwnd=w["hwnd"])
        self.h.wait_for(lambda: not self.notepads(), "no Notepad window")


def main():
    unittest.main(verbosity=2, testRunner=unittest.TextTestRunner(stream=sys.stdout, verbosity=2))
