#!/usr/bin/env python3
"""The launcher's game folder, with a stand-in for the game that prints where it runs.
Usage: test_launcher.py LAUNCHER_TEMPLATE"""
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

INSTALLED = {"gab.grh": b"\xfd picture", "Orol.ogg": b"OggS music", "LEVEL.MGS": b'"\x8c"\r\n',
             "sound.cop": b'" 0"\r\n'}
# As many pictures as the game has, so that two launchers copy side by side for a while.
INSTALLED.update({f"p{i}.grh": bytes([i]) * 40000 for i in range(30)})
# The launcher's record of the copies it found whole, kept in the game folder.
RECORD = ".launcher.record"


def make_launcher(template, top, version="1"):
    data, launcher, game = top / "data", top / "muvesecky", top / "game.sh"
    data.mkdir(exist_ok=True)
    for name, content in INSTALLED.items():
        if not (data / name).exists():
            (data / name).write_bytes(content)
    game.write_bytes(b'#!/bin/sh\npwd\n[ $# -eq 0 ] || echo "$@"\n')
    text = Path(template).read_text()
    for key, value in (("VERSION", version), ("INSTALL_DATA", data), ("INSTALL_BINARY", game)):
        text = text.replace(f"@MUV_{key}@", str(value))
    launcher.write_text(text)
    for path in (game, launcher):
        path.chmod(0o755)
    return launcher


def run(launcher, *args, stderr=subprocess.PIPE, **env):
    env = {k: v for k, v in dict(os.environ, **env).items() if v is not None}
    return subprocess.run([launcher, *args], env=env, stdout=subprocess.PIPE, stderr=stderr,
                          text=True, timeout=20, cwd=launcher.parent)


def later_starts(template, top, check):
    """The record of copies found whole: an untouched game folder is not compared again, and
    any change to a copy or to the installed files brings the comparison and the repair back."""
    top = top / "later"
    top.mkdir()
    launcher, data, game, tools = make_launcher(template, top), top / "data", \
        top / "xdg" / "muvesecky", top / "bin"
    # A cmp that notes every comparison the launcher makes.
    log = top / "compared"
    tools.mkdir()
    (tools / "cmp").write_text(f'#!/bin/sh\necho "$3" >>"{log}"\nexec {shutil.which("cmp")} "$@"\n')
    (tools / "cmp").chmod(0o755)
    env = dict(XDG_DATA_HOME=str(top / "xdg"), PATH=f"{tools}:{os.environ['PATH']}")

    def rewrite_keeping_mtime():
        before = (game / "p3.grh").stat()
        (game / "p3.grh").write_bytes(bytes([99]) * 40000)
        os.utime(game / "p3.grh", ns=(before.st_atime_ns, before.st_mtime_ns))

    def upgrade():
        (data / ".new").write_bytes(b"\xfd upgraded picture")
        (data / ".new").rename(data / "p5.grh")
        make_launcher(template, top, version="2")

    run(launcher, **env)
    # (what happens before the start, whether copies are compared, a copy and what it holds)
    for name, change, compares, copy, content in (
            ("nothing changed", lambda: None, False, "p3.grh", INSTALLED["p3.grh"]),
            ("a copy rewritten with its size and modification time kept", rewrite_keeping_mtime,
             True, "p3.grh", INSTALLED["p3.grh"]),
            ("a copy removed", (game / "p4.grh").unlink, True, "p4.grh", INSTALLED["p4.grh"]),
            ("an upgrade: another version, an installed picture replaced", upgrade, True,
             "p5.grh", b"\xfd upgraded picture"),
            ("nothing changed since the upgrade", lambda: None, False, "p5.grh",
             b"\xfd upgraded picture")):
        change()
        log.unlink(missing_ok=True)
        out = run(launcher, **env)
        check(f"later start, {name}: {'compared and ' if compares else 'nothing compared, '}"
              f"{copy} as installed", out.returncode == 0 and log.exists() == compares and
              (game / copy).read_bytes() == content,
              f"status {out.returncode} {out.stderr!r}, compared: {log.exists()}")


def main():
    top = Path(tempfile.mkdtemp(prefix="muv-launcher-"))
    launcher, failed, passed = make_launcher(sys.argv[1], top), [], 0

    def check(name, ok, detail=""):
        nonlocal passed
        passed += bool(ok)
        print(f"{'PASS' if ok else 'FAIL'} {name}{'' if ok else ': ' + str(detail)}")
        ok or failed.append(name)

    # Twenty pairs of first starts at once: both play, in one whole folder.
    bad = []
    for i in range(20):
        home = top / f"race{i}"
        env = dict(os.environ, HOME=str(home))
        env.pop("XDG_DATA_HOME", None)
        # Each waits for a line on its input, so that both set off together.
        pair = [subprocess.Popen(["sh", "-c", 'read go; exec "$0"', launcher], env=env,
                                 stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE) for _ in range(2)]
        for p in pair:
            p.stdin.write(b"go\n")
            p.stdin.flush()
        outs = [p.communicate(timeout=20) + (p.returncode,) for p in pair]
        game = home / ".local/share/muvesecky"
        if any(o[2] != 0 or o[1] for o in outs) or \
                sorted(os.listdir(game)) != sorted([*INSTALLED, RECORD]) or \
                any((game / n).read_bytes() != c for n, c in INSTALLED.items()):
            bad.append((i, outs, os.listdir(game)))
    check("two first starts at once, 20 times: both start, the folder is whole", not bad, bad[:1])

    # Damaged copies are repaired; the player's files, even a dangling link, are kept;
    # a pipe in a picture's place is replaced without being read.
    game, xdg = top / "xdg" / "muvesecky", str(top / "xdg")
    run(launcher, XDG_DATA_HOME=xdg)
    (game / "Orol.ogg").write_bytes(b"")
    (game / "sound.cop").write_bytes(b'" 1"\r\n')
    (game / "gab.grh").unlink()
    os.mkfifo(game / "gab.grh")
    (game / "LEVEL.MGS").unlink()
    (game / "LEVEL.MGS").symlink_to("nowhere")
    out = run(launcher, XDG_DATA_HOME=xdg)
    check("a later start: exit 0 in the game folder", out.returncode == 0 and
          out.stdout.strip() == os.path.realpath(game), out)
    check("an emptied music file and a pipe for a picture are made as installed",
          (game / "Orol.ogg").read_bytes() == INSTALLED["Orol.ogg"] and
          (game / "gab.grh").read_bytes() == INSTALLED["gab.grh"])
    check("the player's sound.cop and dangling LEVEL.MGS link are kept",
          (game / "sound.cop").read_bytes() == b'" 1"\r\n' and
          os.readlink(game / "LEVEL.MGS") == "nowhere")

    # A folder in a picture's place is told on standard error; with nobody reading it
    # (muvesecky 2>&1 | true) the line is dropped and the game still starts.
    (game / "p7.grh").unlink()
    (game / "p7.grh").mkdir()
    unread, errors = os.pipe()
    os.close(unread)
    out = run(launcher, stderr=errors, XDG_DATA_HOME=xdg)
    os.close(errors)
    check("a folder for a picture, standard error a broken pipe: the game still starts",
          out.returncode == 0 and out.stdout.strip() == os.path.realpath(game), out)

    later_starts(sys.argv[1], top, check)

    # The environment: a relative XDG_DATA_HOME is ignored; without HOME, a clear message.
    home = top / "home"
    out = run(launcher, HOME=str(home), XDG_DATA_HOME="relative")
    check("a relative XDG_DATA_HOME is ignored for ~/.local/share",
          out.returncode == 0 and out.stdout.strip() == f"{home}/.local/share/muvesecky", out)
    out = run(launcher, HOME=None, XDG_DATA_HOME=None)
    check("no HOME: one clear line and exit 1", out.returncode == 1 and
          out.stderr.count("\n") == 1 and "HOME" in out.stderr and not out.stdout, out)

    # Options are the game's to check, passed on word for word; help and the version are
    # asked of the game before any game folder is made.
    out = run(launcher, "--scale", "12", "two words", HOME=str(top / "options"), XDG_DATA_HOME=None)
    check("options reach the game unchecked", out.returncode == 0 and
          out.stdout.splitlines()[1:] == ["--scale 12 two words"], out)
    for ask in ("--help", "-V", "--version", "-h"):
        out = run(launcher, "--aspect", ask, HOME=str(top / "ask"), XDG_DATA_HOME=None)
        check(f"{ask}: asked of the game, no game folder made", out.returncode == 0 and
              out.stdout.splitlines()[1:] == [f"--aspect {ask}"] and not (top / "ask").exists(),
              out)

    shutil.rmtree(top, ignore_errors=True)
    print(f"{passed} passed, {len(failed)} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
