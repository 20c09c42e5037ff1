"""Bursts of desktop switches, posted to the panel 0 to 40 ms apart as clicks and menus
post them, while windows of five fixture processes stand on desktops 0, 1 and 2: after
each burst, every desktop shows exactly its own windows within 2 s of the switch that
entered it, and none of the others'.

SKELVO_BURST_SEED repeats a run's bursts (each run prints its seed)."""

import json
import os
import random
import subprocess
import time

import harness
from harness import poll

DESKTOP_1 = 40054  # "デスクトップ1" is desktop 0
BURSTS = 10
SWITCHES = 40
MAX_GAP_MS = 40
SETTLE_S = 2
SET_UP_S = 20
LATE_S = 10  # how long a failure waits to tell a late desktop from a wrong one
# Per desktop, the fixture processes standing on it and their windows' count.
PROGRAMS = {0: (3, 3), 1: (2, 2), 2: (2,)}


class Bursts(harness.WineTestCase):
    def ours(self):
        """Handles of the fixture windows on screen."""
        return {w["hwnd"] for w in self.h.windows() if w["hwnd"] in self.desktop_of
                and w["visible"]}

    def post(self, desktops, gaps=None):
        """Posts a switch to each desktop, gaps ms apart, from one fixture process; the
        moment the last was posted."""
        h = self.h
        popen = subprocess.Popen(
            [h.wine_run, h.fixture_exe, "burst", "--class", harness.PANEL_CLASS,
             "--title-hex", harness.cp932(harness.PANEL_TITLE).hex(),
             "--msg", str(harness.WM_COMMAND),
             "--wparams", ",".join(str(DESKTOP_1 + d) for d in desktops),
             "--gaps-ms", ",".join(str(g) for g in gaps or [0])],
            env=h.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        line = popen.stdout.readline()
        posted = time.monotonic()
        popen.wait(timeout=30)
        if popen.returncode != 0 or not line:
            raise AssertionError(f"fixture burst exited {popen.returncode}: "
                                 f"{popen.stderr.read().decode('utf-8', 'replace')}")
        return posted, json.loads(line)["ms"]

    def settle(self, desktop, since, timeout=SETTLE_S, hold=0):
        """Seconds from since until exactly desktop's windows are on screen, read after
        the listing that saw it. With hold, they are still so at since + hold (switches
        of a burst may still be under way when they first are). AssertionError past
        timeout, naming what was seen."""
        expected = {w for w, d in self.desktop_of.items() if d == desktop}
        first = None
        while True:
            shown = self.ours()
            seen = time.monotonic() - since
            first = (seen if first is None else first) if shown == expected else None
            if first is not None and first > timeout:
                raise AssertionError(f"desktop {desktop} right only after {first:.2f} s")
            if first is not None and seen >= hold:
                return first
            if seen >= max(timeout, hold):
                stray = sorted((self.desktop_of[w], self.titles[w]) for w in shown - expected)
                missing = sorted(self.titles[w] for w in expected - shown)
                raise AssertionError(f"desktop {desktop} after {seen:.2f} s: shows "
                                     f"{stray} of other desktops, misses {missing}; "
                                     f"{self.later(expected, since)}")
            time.sleep(0.05)

    def later(self, expected, since):
        """Whether a desktop that was late is right later: a panel still at work, or
        windows left wrong."""
        try:
            poll(lambda: self.ours() == expected, LATE_S, "")
            return f"right after {time.monotonic() - since:.2f} s"
        except AssertionError:
            return f"still so after {LATE_S} s more"

    def open_programs(self, desktop):
        for i, count in enumerate(PROGRAMS[desktop]):
            title = f"連打 {desktop}{'abc'[i]}"
            left = 40 + 220 * i + 30 * desktop
            program = self.h.open_windows(title, "--count", str(count),
                                          "--rect", f"{left},{380 + 40 * desktop},260,180")
            for w in program.windows:
                self.desktop_of[w["hwnd"]] = desktop
                self.titles[w["hwnd"]] = w["title"]

    def test_after_bursts_of_switches_every_desktop_shows_exactly_its_own_windows(self):
        self.desktop_of, self.titles = {}, {}
        self.open_programs(0)
        skelvo = self.h.start_skelvo()
        self.h.wait_panels(1)
        for desktop in (1, 2):
            self.settle(desktop, self.post([desktop])[0], SET_UP_S)  # none of its own yet
            self.open_programs(desktop)
        self.settle(0, self.post([0])[0], SET_UP_S)

        seed = int(os.environ.get("SKELVO_BURST_SEED") or time.time_ns() % 1_000_000)
        print(f"seed {seed}", flush=True)
        rng = random.Random(seed)
        for burst in range(BURSTS):
            switches = [rng.randrange(3) for _ in range(SWITCHES)]
            gaps = [0] + [rng.randint(0, MAX_GAP_MS) for _ in range(SWITCHES - 1)]
            posted, ms = self.post(switches, gaps)
            last = switches[-1]
            times = {last: self.settle(last, posted, hold=SETTLE_S)}
            for desktop in rng.sample([d for d in range(3) if d != last], 2):
                times[desktop] = self.settle(desktop, self.post([desktop])[0])
            print(f"burst {burst}: {SWITCHES} switches posted in {ms:.0f} ms; settled (s) "
                  + ", ".join(f"desktop {d} {t:.2f}" for d, t in times.items()), flush=True)
        self.assertTrue(skelvo.alive())


if __name__ == "__main__":
    harness.main()
