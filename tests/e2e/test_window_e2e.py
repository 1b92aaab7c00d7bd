#!/usr/bin/env python3
"""Plays the real game in a real X window and checks what the window shows.

Usage: test_window_e2e.py [--sdl-from LIBRARY_FOLDER] GAME_BINARY DATA_DIR
Prints one line per check and "N passed, M failed"; exits 1 on a failure, 77 (skipped) when
the X tools are missing. With --sdl-from, only the short round (smoke), on the
libSDL-1.2.so.0 in that folder.
"""
import os
import shutil
import subprocess
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from xwindow import Game, game_folder, poll, start_x  # noqa: E402

SKIPPED = 77

# The sixteen colours as the window shows them.
GREY, MAGENTA, YELLOW = 0xAAAAAA, 0xAA00AA, 0xFFFF55
LIGHT_GREEN, LIGHT_CYAN, LIGHT_RED = 0x55FF55, 0x55FFFF, 0xFF5555
DIALOG_FACE, DIALOG_TITLE = 0xC0C0C0, 0x000080

# The files every run starts from: PC speaker, no level saved.
FRESH = {"sound.cop": b'" 0"\r\n', "LEVEL.MGS": b'"\x8c"\r\n'}

# During play: the left panel and the lower half of the corridor. The seagulls fly above
# row 100 and the clock ticks on the right, so those are left out.
PLAY_STILL = [(0, 0, 119, 199), (120, 100, 519, 199)]

# Level 1 from its start (9, 9) facing north to its exit (6, 1): (keys, what the last one does).
LEVEL_1_ROUTE = [
    (["Up"] * 7 + ["Left"] + ["Up"] * 5 + ["Left"] + ["Up"] * 2 + ["Right"] + ["Up"] * 2 +
     ["Right"] + ["Up"] * 2, "key"),
    (["Right", "Right"] + ["Up"] * 2 + ["Left"] + ["Up"] * 3 + ["Right", "Up"], "door"),
    (["Up"] * 3 + ["Right"] + ["Up"] * 2 + ["Right"] + ["Up"] * 2 + ["Left"] + ["Up"] * 2, "exit"),
]


def cell_has(picture, row, col, colour, cell_h=8):
    """True if the text cell (1-based row and column, 8 pixels wide) shows the colour."""
    x0, y0 = (col - 1) * 8, (row - 1) * cell_h
    if x0 + 7 >= picture.width or y0 + cell_h > picture.height:
        return False
    return picture.count(colour, (x0, y0, x0 + 7, y0 + cell_h - 1)) > 0


def text_shape(picture, row, col, text, colour, cell_h=8):
    """Mismatches between a printed text and the cells: a letter's cell must show the colour,
    a space's cell must not. Empty when the window shows the text's layout in that colour."""
    bad = []
    for i, ch in enumerate(text):
        if cell_has(picture, row, col + i, colour, cell_h) != (ch != " "):
            bad.append(f"{col + i}:{ch!r}")
    return bad


def shows_text(row, col, text, colour, cell_h=8, size=None):
    def cond(p):
        return (size is None or (p.width, p.height) == size) and \
            not text_shape(p, row, col, text, colour, cell_h)
    return cond


# The status panel's boxes by the colour of their top borders (row, column, colour).
PANEL_BOXES = {"exit": (2, 5, LIGHT_RED), "x-ray": (7, 5, YELLOW), "compass": (14, 5, MAGENTA),
               "key": (19, 5, MAGENTA), "door": (2, 70, LIGHT_RED), "level": (7, 70, LIGHT_GREEN),
               "time": (10, 70, YELLOW), "menu": (15, 70, LIGHT_GREEN),
               "save": (18, 70, LIGHT_RED)}


def wrong_boxes(picture):
    return [n for n, (row, col, c) in PANEL_BOXES.items() if not cell_has(picture, row, col, c)]


def level_1_shown(p):
    """Level 1 at 640x200: its line under the corridor and every box of the panel."""
    return shows_text(20, 27, "Muvesecky Nano: 1600 mq", LIGHT_CYAN, size=(640, 200))(p) and \
        not wrong_boxes(p)


def size(w, h):
    return lambda p: (p.width, p.height) == (w, h)


def seen(p):
    return f"{p.width}x{p.height}"


def play_view(picture):
    return tuple(picture.region(box) for box in PLAY_STILL)


class Runner:
    def __init__(self, binary, data_dir):
        self.binary, self.data_dir = binary, data_dir
        self.passed = self.failed = 0
        self.results, self.current = [], None

    def check(self, name, ok, detail=""):
        self.results.append((name, bool(ok), detail))
        if not ok and self.current is not None and os.environ.get("MUV_E2E_SHOTS"):
            # The window as the failed check saw it, for a look afterwards.
            path = os.path.join(os.environ["MUV_E2E_SHOTS"], f"fail-{len(self.results)}.png")
            try:
                self.current.picture().save_png(path)
                detail += f" (window saved as {path})"
                self.results[-1] = (name, False, detail)
            except Exception:  # noqa: BLE001 - the window may be gone
                pass
        return ok

    def report(self):
        for name, ok, detail in self.results:
            self.passed, self.failed = self.passed + ok, self.failed + (not ok)
            print(f"{'PASS' if ok else 'FAIL'} {name}{': ' + detail if detail and not ok else ''}",
                  flush=True)
        self.results = []

    def expect(self, name, game, cond, seconds, detail=None):
        """Waits for the window to show what cond() looks for; a check either way.
        Returns the picture, or None when it never came (detail(picture) says what was seen)."""
        picture = game.wait_picture(cond, seconds, None)
        seen = ""
        if picture is None and detail is not None:
            try:
                seen = detail(game.picture())
            except Exception as e:  # noqa: BLE001 - the window may be gone
                seen = str(e)
        self.check(name, picture is not None, seen or "not seen")
        return picture

    def scenario(self, name, body, files=None, attempts=1, **how):
        """Runs one game (started with the Game arguments in `how`); an exception fails the
        scenario's remaining checks as one. A game that an X-ray eye picked up by chance has
        spoilt is played again (up to `attempts`)."""
        for attempt in range(1, attempts + 1):
            game = None
            try:
                game = self.current = Game(self.binary, self.data_dir,
                                           dict(FRESH, **(files or {})), **how)
                body(game)
            except ChanceEye as e:
                if attempt < attempts:
                    print(f"NOTE {name}: {e}; playing it again", flush=True)
                    self.results = []
                    continue
                self.check(f"{name} (stopped)", False, str(e))
            except Exception as e:  # noqa: BLE001 - reported as a failed check
                self.check(f"{name} (stopped)", False, f"{type(e).__name__}: {e}")
                traceback.print_exc(limit=3)
                if game is not None:
                    print(f"game exit status {game.proc.poll()}, X server exit status "
                          f"{game.xvfb.poll()}; its output:\n{game.output()[-2000:]}",
                          file=sys.stderr)
            finally:
                self.current = None
                if game is not None:
                    game.finish()
            break
        self.report()


class ChanceEye(Exception):
    """The player turned to face an X-ray eye (1 turn in 100) and took it: keys are then
    neither shown nor taken, so a walk through the level cannot go on as planned."""


def wait_settled(game, before, seconds=8):
    """Waits until the still parts of the play screen differ from `before` and stay unchanged
    over three reads; returns that picture, or None on a timeout."""
    last = []

    def settled():
        p = game.picture()
        last[:] = last[-2:] + [play_view(p)]
        return len(last) == 3 and last[0] == last[1] == last[2] != before and p
    return poll(settled, seconds)


def start_level_1(r, g, name):
    """Sound choice -> title -> level 1, each checked as the window shows it and at its size;
    returns level 1's first picture, or None when it never came."""
    row8, row10 = (264, 112, 399, 127), (264, 144, 399, 159)
    r.expect(f"{name}: sound choice, 640x400, PC speaker highlighted", g,
             lambda p: size(640, 400)(p) and p.count(GREY, row8) > 500 and
             p.count(GREY, row10) == 0, 5, seen)
    g.key("Return")
    r.expect(f"{name}: title, 640x480 after Enter", g, size(640, 480), 5, seen)
    g.key("space")
    return r.expect(f"{name}: level 1, 640x200, its line and the panel", g, level_1_shown, 10,
                    lambda p: f"{seen(p)}, wrong boxes {wrong_boxes(p)}")


def xray_on(picture):
    """The panel's X-ray answer reads "SI": an eye has been taken."""
    return picture.height == 200 and not text_shape(picture, 10, 7, "SI", LIGHT_RED)


def check_chance_eye(game, goal):
    """An eye taken by chance (the picture may have settled while its tones still played, and
    the next keys went unseen) spoils the walk: the game is played again."""
    time.sleep(1.0)
    if xray_on(game.picture()):
        raise ChanceEye(f"an X-ray eye was taken on the way to the {goal}")


def journey(r, g):
    """One game from the sound choice through level 1, saving level 2, and back. What each
    screen shows is pinned by the golden runs; here the real window must show it, at its size,
    and answer real key presses."""
    first = start_level_1(r, g, "journey")
    if first is None:
        return

    # Level 1 on foot: every key must change the picture.
    view = play_view(first)
    for keys, goal in LEVEL_1_ROUTE:
        for n, key in enumerate(keys):
            g.key(key)
            p = wait_settled(g, view, 10)
            if p is None or xray_on(p):
                check_chance_eye(g, goal)
                r.check(f"level 1: walking to the {goal}", False,
                        f"key {n + 1} ({key}) changed nothing")
                return
            view = play_view(p)
    level2 = shows_text(20, 27, "Muvesecky Di Archimede: 3600 mq", LIGHT_CYAN, size=(640, 200))
    if not r.expect("level 1: exit reached, level 2 'Di Archimede:' begins", g, level2, 10):
        check_chance_eye(g, "exit")
        return
    g.wait_picture(lambda p: not wrong_boxes(p), 5, "no panel on level 2")

    g.key("ctrl+s")
    r.expect("level 2: Ctrl+S shows '-Salvato-'", g,
             lambda p: not text_shape(p, 22, 68, " -Salvato- ", YELLOW), 3)
    saved = g.file("LEVEL.MGS")
    r.check("level 2: Ctrl+S writes LEVEL.MGS = 22 8D 22 0D 0A", saved == b'"\x8d"\r\n',
            saved.hex(" "))
    g.key("X")
    if not r.expect("X: back to the title", g, lambda p: p.height == 480, 8):
        return
    g.key("space")
    g.key("l")
    r.expect("level menu: 'l' resumes level 2", g, level2, 8)  # the close button: smoke


def pipe_picture(r, g, how):
    """A pipe in place of alber.grh: refused like a damaged picture (error 54's dialog) instead
    of hanging the game, and the window's close button ends the program over the dialog. With
    standard error closed, or a pipe nobody reads (muvesecky 2>&1 | true), the line the error
    writes there must not end the game before its dialog."""
    g.wait_picture(lambda p: p.height == 400, message="no sound-choice screen")
    os.mkfifo(os.path.join(g.folder, "alber.grh"))
    g.key("Return")
    r.expect(f"standard error {how}: a pipe for alber.grh shows the error dialog", g,
             lambda p: p.count(DIALOG_FACE) > 2000 and p.count(DIALOG_TITLE) > 500, 8,
             lambda p: f"exit status {g.proc.poll()}")
    if g.proc.poll() is None:  # a window that is gone cannot be closed
        g.close_window()
    r.check(f"standard error {how}: the close button ends the program, status 0",
            g.wait_exit(5) == 0, f"exit status {g.proc.poll()}")
    if how == "open":
        r.check("standard error open: one line names alber.grh",
                "muvesecky: alber.grh: not a regular file" in g.output(), g.output()[-300:])


def no_display(r, binary, data_dir):
    """No X server to show the window on, or one whose 256 colours no window of the game can
    use: one line on standard error and exit status 1, instead of playing on unseen."""
    folder = game_folder(data_dir)
    for name, screen, display in (("DISPLAY unset", None, None),
                                  ("DISPLAY naming no X server", None, ":97"),
                                  ("a display of 8 bits per pixel", "1280x1024x8", None)):
        xvfb = None
        if screen is not None:
            xvfb, display = start_x(screen)
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "SDL_VIDEODRIVER")}
        env.update({"SDL_AUDIODRIVER": "dummy"}, **({"DISPLAY": display} if display else {}))
        try:
            out = subprocess.run([binary], cwd=folder, env=env, capture_output=True, text=True,
                                 timeout=15)
            ok = out.returncode == 1 and "muvesecky: cannot open a window" in out.stderr
            detail = f"exit status {out.returncode}: {out.stderr[-300:]}"
        except subprocess.TimeoutExpired:
            ok, detail = False, "still running after 15 s"
        finally:
            if xvfb is not None:
                xvfb.kill()
                xvfb.wait()
        r.check(f"no window ({name}): a message and exit status 1", ok, detail)
    shutil.rmtree(folder, ignore_errors=True)
    r.report()


def window_settings(g):
    """The window's scale, 4:3 and full screen as impostazioni.cfg remembers them."""
    values = {}
    path = os.path.join(g.folder, "impostazioni.cfg")
    for line in (g.file("impostazioni.cfg") if os.path.exists(path) else b"").decode().splitlines():
        key, eq, value = line.partition("=")
        if eq and not line.startswith("#"):
            values[key.strip()] = value.strip()
    return tuple(values.get(k) for k in ("scala", "formato_4_3", "schermo_intero"))


def window_choice(r, g, name, want, remembered):
    """The window's scale and 4:3 shape from the options or an earlier version's finestra.cfg,
    and what impostazioni.cfg then remembers (F9 and F10: the smoke round; the shapes that fit
    the desktop and F12's picture: the SDL back end's sdl_window_files)."""
    r.expect(f"{name}: the sound choice's 640x400 text screen shown {want[0]}x{want[1]}", g,
             size(*want), 5, seen)
    r.check(f"{name}: remembered in impostazioni.cfg", window_settings(g) == remembered,
            repr(window_settings(g)))


def window_size(game):
    """The game window's own width and height, wherever it lies."""
    out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", game.window], env=game.env,
                         capture_output=True, text=True).stdout
    values = dict(line.split("=", 1) for line in out.split())
    return int(values.get("WIDTH", 0)), int(values.get("HEIGHT", 0))


def screen_shows(game, *colours):
    """True if the whole X screen shows every one of the colours somewhere."""
    rgb = subprocess.run("xwd -silent -root | convert xwd:- rgb:-", shell=True, env=game.env,
                         capture_output=True).stdout

    def shows(colour):
        at = rgb.find(colour.to_bytes(3, "big"))
        while at != -1 and at % 3:
            at = rgb.find(colour.to_bytes(3, "big"), at + 1)
        return at != -1
    return all(shows(c) for c in colours)


# Room for the window's growth from where it first opens, centred.
SMOKE_SCREEN = (2600, 2000)


def smoke(r, g, sdl_dir=None):
    """The short round the game must pass on every SDL 1.2 a player's system may give it
    (with sdl_dir, the libSDL-1.2.so.0 found there): sound choice, title, level 1, the Pause
    key (the next key only resumes: the golden runs), F9 and F10, Alt+Enter to full screen and
    back, the close button."""
    name = "smoke" if sdl_dir is None else f"smoke on {sdl_dir}"
    if sdl_dir is not None:
        library = os.path.realpath(os.path.join(sdl_dir, "libSDL-1.2.so.0"))
        with open(f"/proc/{g.proc.pid}/maps") as f:
            r.check(f"{name}: the game runs on {library}", library in f.read())
    first = start_level_1(r, g, name)
    g.key("Pause")
    time.sleep(0.3)
    frozen = g.picture()
    time.sleep(0.7)
    r.check(f"{name}: Pause stills the picture, the seagulls too",
            g.picture().pixels == frozen.pixels)
    g.key("Up")
    time.sleep(1.0)
    r.check(f"{name}: the key after Pause only resumes (the corridor stays)",
            first is not None and play_view(g.picture()) == play_view(first))
    g.key("F9")
    r.expect(f"{name}: F9, level 1 at 4:3, 640x480", g, size(640, 480), 3, seen)
    g.key("F10")
    r.expect(f"{name}: F10, scale 2, 1280x960", g, size(1280, 960), 3, seen)
    r.check(f"{name}: F9 and F10 remembered in impostazioni.cfg",
            window_settings(g) == ("2", "si", "no"), repr(window_settings(g)))
    g.key("alt+Return")
    # Full screen may be another window on top of the game's, and without a window manager
    # it may stay where the window was: the screen itself is read for the panel's first box
    # (light red and light green), at the picture's top left.
    r.check(f"{name}: Alt+Enter, full screen, level 1 on it", poll(
        lambda: window_size(g) == SMOKE_SCREEN and screen_shows(g, LIGHT_RED, LIGHT_GREEN), 5),
        f"window {window_size(g)}")
    g.key("alt+Return")
    r.expect(f"{name}: Alt+Enter again, back to the window, 1280x960", g, size(1280, 960), 5,
             seen)
    g.close_window()
    r.check(f"{name}: the close button ends the program, status 0", g.wait_exit(5) == 0,
            f"exit status {g.proc.poll()}")


def main():
    args = sys.argv[1:]
    sdl_dir = None
    if len(args) == 4 and args[0] == "--sdl-from":
        sdl_dir, args = os.path.abspath(args[1]), args[2:]
    if len(args) != 2:
        print("usage: test_window_e2e.py [--sdl-from LIBRARY_FOLDER] GAME_BINARY DATA_DIR",
              file=sys.stderr)
        return 2
    missing = [t for t in ("Xvfb", "xdotool", "xwd", "convert") if shutil.which(t) is None]
    if missing:
        print(f"SKIPPED: the real-window tests need {', '.join(missing)} "
              "(scripts/install-deps.sh installs them)")
        return SKIPPED
    r = Runner(os.path.abspath(args[0]), os.path.abspath(args[1]))
    if sdl_dir is not None:
        # Only the short round, on the SDL 1.2 unpacked there.
        if not os.path.exists(os.path.join(sdl_dir, "libSDL-1.2.so.0")):
            print(f"SKIPPED: no libSDL-1.2.so.0 in {sdl_dir} (scripts/install-deps.sh unpacks "
                  "the classic SDL 1.2 there)")
            return SKIPPED
        r.scenario("smoke", lambda g: smoke(r, g, sdl_dir), screen="%dx%dx24" % SMOKE_SCREEN,
                   env={"LD_LIBRARY_PATH": sdl_dir})
    else:
        r.scenario("journey", lambda g: journey(r, g), attempts=3)
        for how in ("open", "closed", "broken"):
            r.scenario(f"standard error {how}", lambda g, how=how: pipe_picture(r, g, how),
                       {"alber.grh": None}, stderr=None if how == "open" else how)
        no_display(r, r.binary, r.data_dir)
        # A damaged finestra.cfg is ignored: Settings.TheOldWindowChoice...
        for files, args, want, kept, name in (
                ({}, ["--scale", "2", "--aspect"], (1280, 960), ("2", "si", "no"), "--scale 2"),
                ({"finestra.cfg": b"1 1 0\n"}, [], (640, 480), ("1", "si", "no"), "'1 1 0'")):
            r.scenario(name, lambda g, n=name, w=want, k=kept: window_choice(r, g, n, w, k),
                       files, args=args, screen="%dx%dx24" % SMOKE_SCREEN)
        r.scenario("smoke", lambda g: smoke(r, g), screen="%dx%dx24" % SMOKE_SCREEN)
    print(f"{r.passed} passed, {r.failed} failed")
    return 1 if r.failed or not r.passed else 0


if __name__ == "__main__":
    sys.exit(main())
