#!/usr/bin/env python3
"""Key-to-screen latency of the real window: from a key event sent to a changed picture read back.

Usage: latency.py GAME_BINARY DATA_DIR [MOVES]
Starts the game in its own Xvfb, walks level 1 back and forth (forward, back, left, right) and
prints the median and the 95th percentile over the moves. Keys go in through XTest and the
window is read with XGetImage, both in this process, so no helper program's start-up is counted.

A quarter turn may take an X-ray eye by chance. From then on every frame waits for the aid's
scanning tones before its picture is complete (about 120 ms a move): that is the game's own
pace, not the way from key to picture, so such a game is ended, its slow moves set apart and
counted in the output, and a fresh game takes up the walk.
"""
import ctypes
import ctypes.util
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from test_window_e2e import FRESH, Runner, start_level_1, xray_on  # noqa: E402
from xwindow import Game  # noqa: E402

# The lower part of the play screen: floor, compass and panel bottoms; no seagulls, no clock.
BOX = (0, 112, 640, 88)
# A move slower than this is looked at: has an X-ray eye been taken?
SLOW_MS = 40
ZPIXMAP = 2
KEYSYMS = {"Up": 0xFF52, "Down": 0xFF54, "Left": 0xFF51, "Right": 0xFF53}


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int)]


class Display:
    def __init__(self, name, window):
        self.x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
        self.xtst = ctypes.cdll.LoadLibrary(ctypes.util.find_library("Xtst") or "libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XGetImage.restype = ctypes.POINTER(_XImage)
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                       ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x11.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
        self.x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                ctypes.c_ulong]
        self.dpy = self.x11.XOpenDisplay(name.encode())
        if not self.dpy:
            raise RuntimeError("cannot open display " + name)
        self.window = int(window)

    def grab(self):
        x, y, w, h = BOX
        image = self.x11.XGetImage(self.dpy, self.window, x, y, w, h, 0xFFFFFFFF, ZPIXMAP)
        if not image:
            return None
        data = ctypes.string_at(image.contents.data, image.contents.bytes_per_line * h)
        self.x11.XDestroyImage(image)
        return data

    def key(self, name):
        code = self.x11.XKeysymToKeycode(self.dpy, KEYSYMS[name])
        self.xtst.XTestFakeKeyEvent(self.dpy, code, 1, 0)
        self.xtst.XTestFakeKeyEvent(self.dpy, code, 0, 0)
        self.x11.XFlush(self.dpy)

    def close(self):
        self.x11.XCloseDisplay(self.dpy)


def settle(display, quiet=0.15, limit=5.0):
    """Waits until the picture has not changed for `quiet` seconds; returns it."""
    last, since, end = display.grab(), time.perf_counter(), time.perf_counter() + limit
    while time.perf_counter() < end:
        now = display.grab()
        if now != last:
            last, since = now, time.perf_counter()
        elif time.perf_counter() - since >= quiet:
            break
    return last


def walk(binary, data_dir, moves, times):
    """Plays one game's moves into TIMES until MOVES are counted or an X-ray eye is taken.
    Returns (moves without a change, 1 if the game ended on an eye else 0)."""
    game = Game(binary, data_dir, FRESH)
    try:
        if start_level_1(Runner(binary, data_dir), game, "latency") is None:
            raise RuntimeError("level 1 never showed")
        display = Display(game.display, game.window)
        pattern = ["Up", "Down", "Left", "Right"]
        missed, step = 0, 0
        try:
            while len(times) < moves:
                before = settle(display)
                t0 = time.perf_counter()
                display.key(pattern[step % len(pattern)])  # each game walks the same way
                step += 1
                while time.perf_counter() - t0 < 2.0:
                    if display.grab() != before:
                        ms = (time.perf_counter() - t0) * 1000
                        break
                else:
                    missed += 1
                    continue
                if ms > SLOW_MS:
                    # The panel is drawn after the aid's tones: it is read once they are over.
                    settle(display, quiet=0.6)
                    if xray_on(game.picture()):
                        return missed, 1
                times.append(ms)
        finally:
            display.close()
        return missed, 0
    finally:
        game.finish()


def main():
    if len(sys.argv) not in (3, 4):
        print("usage: latency.py GAME_BINARY DATA_DIR [MOVES]", file=sys.stderr)
        return 2
    moves = int(sys.argv[3]) if len(sys.argv) == 4 else 50
    binary, data_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    times, missed, eyes = [], 0, 0
    try:
        while len(times) < moves and eyes < 5:
            m, e = walk(binary, data_dir, moves, times)
            missed, eyes = missed + m, eyes + e
    except RuntimeError as e:
        print(e)
        return 1
    if not times:
        print("no move changed the picture")
        return 1
    times.sort()
    p95 = times[min(len(times) - 1, int(round(0.95 * len(times))) - 1)]
    print(f"{len(times)} moves, {missed} without a change, {eyes} X-ray eye(s) taken by chance "
          f"(a game each, its eye's move set apart): median {statistics.median(times):.1f} ms, "
          f"p95 {p95:.1f} ms, min {times[0]:.1f} ms, max {times[-1]:.1f} ms")
    return 0


if __name__ == "__main__":
    sys.exit(main())
