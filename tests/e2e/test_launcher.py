#!/usr/bin/env python3
"""The launcher's game folder, with a stand-in for the game that prints where it runs.
Usage: test_launcher.py LAUNCHER_TEMPLATE"""
import os
import shutil
import subprocess
import sys
import tempfile

INSTALLED = {"gab.grh": b"\xfd picture", "Orol.ogg": b"OggS music", "LEVEL.MGS": b'"\x8c"\r\n',
             "sound.cop": b'" 0"\r\n'}
# As many pictures as the game has, so that two launchers copy side by side for a while.
INSTALLED.update({f"p{i}.grh": bytes([i]) * 40000 for i in range(30)})
# The launcher's record of the copies it found whole, kept in the game folder.
RECORD = ".launcher.record"


def make_launcher(template, top, version="1"):
    data, launcher = os.path.join(top, "data"), os.path.join(top, "muvesecky")
    os.makedirs(data, exist_ok=True)
    for name, content in INSTALLED.items():
        if not os.path.exists(os.path.join(data, name)):
            write(os.path.join(data, name), content)
    game = os.path.join(top, "game.sh")
    write(game, b'#!/bin/sh\npwd\n[ $# -eq 0 ] || echo "$@"\n')
    with open(template) as f:
        text = f.read()
    for key, value in (("VERSION", version), ("INSTALL_DATA", data), ("INSTALL_BINARY", game)):
        text = text.replace(f"@MUV_{key}@", value)
    with open(launcher, "w") as f:
        f.write(text)
    for path in (game, launcher):
        os.chmod(path, 0o755)
    return launcher


def run(launcher, *args, **env):
    env = {k: v for k, v in dict(os.environ, **env).items() if v is not None}
    return subprocess.run([launcher, *args], env=env, capture_output=True, text=True,
                          timeout=20, cwd=os.path.dirname(launcher))


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, content):
    with open(path, "wb") as f:
        f.write(content)


def later_starts(template, top, check):
    """The record of copies found whole: an untouched game folder is not compared again, and
    any change to a copy or to the installed files brings the comparison and the repair back."""
    top = os.path.join(top, "later")
    os.mkdir(top)
    launcher, data, game = make_launcher(template, top), os.path.join(top, "data"), \
        os.path.join(top, "xdg", "muvesecky")
    # A cmp that notes every comparison the launcher makes.
    log, tools = os.path.join(top, "compared"), os.path.join(top, "bin")
    os.mkdir(tools)
    write(os.path.join(tools, "cmp"),
          f'#!/bin/sh\necho "$3" >>"{log}"\nexec {shutil.which("cmp")} "$@"\n'.encode())
    os.chmod(os.path.join(tools, "cmp"), 0o755)
    env = dict(XDG_DATA_HOME=os.path.join(top, "xdg"), PATH=tools + ":" + os.environ["PATH"])

    def rewrite_keeping_mtime():
        path, before = os.path.join(game, "p3.grh"), os.stat(os.path.join(game, "p3.grh"))
        write(path, bytes([99]) * 40000)
        os.utime(path, ns=(before.st_atime_ns, before.st_mtime_ns))

    def upgrade():
        write(os.path.join(data, ".new"), b"\xfd upgraded picture")
        os.rename(os.path.join(data, ".new"), os.path.join(data, "p5.grh"))
        make_launcher(template, top, version="2")

    run(launcher, **env)
    # (what happens before the start, whether copies are compared, a copy and what it holds)
    for name, change, compares, copy, content in (
            ("nothing changed", lambda: None, False, "p3.grh", INSTALLED["p3.grh"]),
            ("a copy rewritten with its size and modification time kept", rewrite_keeping_mtime,
             True, "p3.grh", INSTALLED["p3.grh"]),
            ("a copy removed", lambda: os.remove(os.path.join(game, "p4.grh")), True, "p4.grh",
             INSTALLED["p4.grh"]),
            ("an upgrade: another version, an installed picture replaced", upgrade, True,
             "p5.grh", b"\xfd upgraded picture"),
            ("nothing changed since the upgrade", lambda: None, False, "p5.grh",
             b"\xfd upgraded picture")):
        change()
        if os.path.exists(log):
            os.remove(log)
        out = run(launcher, **env)
        check(f"later start, {name}: {'compared and ' if compares else 'nothing compared, '}"
              f"{copy} as installed", out.returncode == 0 and os.path.exists(log) == compares and
              read(os.path.join(game, copy)) == content,
              f"status {out.returncode} {out.stderr!r}, compared: {os.path.exists(log)}")


def main():
    top = tempfile.mkdtemp(prefix="muv-launcher-")
    launcher, failed, passed = make_launcher(sys.argv[1], top), [], 0

    def check(name, ok, detail=""):
        nonlocal passed
        passed += bool(ok)
        print(f"{'PASS' if ok else 'FAIL'} {name}{'' if ok else ': ' + str(detail)}")
        ok or failed.append(name)

    # Twenty pairs of first starts at once: both play, in one whole folder.
    bad = []
    for i in range(20):
        home = os.path.join(top, f"race{i}")
        env = dict(os.environ, HOME=home)
        env.pop("XDG_DATA_HOME", None)
        # Each waits for a line on its input, so that both set off together.
        pair = [subprocess.Popen(["sh", "-c", 'read go; exec "$0"', launcher], env=env,
                                 stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE) for _ in range(2)]
        for p in pair:
            p.stdin.write(b"go\n")
            p.stdin.flush()
        outs = [p.communicate(timeout=20) + (p.returncode,) for p in pair]
        game = os.path.join(home, ".local/share/muvesecky")
        if any(o[2] != 0 or o[1] for o in outs) or \
                sorted(os.listdir(game)) != sorted([*INSTALLED, RECORD]) or \
                any(read(os.path.join(game, n)) != c for n, c in INSTALLED.items()):
            bad.append((i, outs, os.listdir(game)))
    check("two first starts at once, 20 times: both start, the folder is whole", not bad, bad[:1])

    # Damaged copies are repaired; the player's files, even a dangling link, are kept;
    # a pipe in a picture's place is replaced without being read.
    game = os.path.join(top, "xdg", "muvesecky")
    run(launcher, XDG_DATA_HOME=os.path.join(top, "xdg"))
    write(os.path.join(game, "Orol.ogg"), b"")
    write(os.path.join(game, "sound.cop"), b'" 1"\r\n')
    os.remove(os.path.join(game, "gab.grh"))
    os.mkfifo(os.path.join(game, "gab.grh"))
    os.remove(os.path.join(game, "LEVEL.MGS"))
    os.symlink("nowhere", os.path.join(game, "LEVEL.MGS"))
    out = run(launcher, XDG_DATA_HOME=os.path.join(top, "xdg"))
    check("a later start: exit 0 in the game folder", out.returncode == 0 and
          out.stdout.strip() == os.path.realpath(game), out)
    check("an emptied music file and a pipe for a picture are made as installed",
          read(os.path.join(game, "Orol.ogg")) == INSTALLED["Orol.ogg"] and
          read(os.path.join(game, "gab.grh")) == INSTALLED["gab.grh"])
    check("the player's sound.cop and dangling LEVEL.MGS link are kept",
          read(os.path.join(game, "sound.cop")) == b'" 1"\r\n' and
          os.readlink(os.path.join(game, "LEVEL.MGS")) == "nowhere")

    # A folder in a picture's place is told on standard error; with nobody reading it
    # (muvesecky 2>&1 | true) the line is dropped and the game still starts.
    os.remove(os.path.join(game, "p7.grh"))
    os.mkdir(os.path.join(game, "p7.grh"))
    unread, errors = os.pipe()
    os.close(unread)
    out = subprocess.run([launcher], env=dict(os.environ, XDG_DATA_HOME=os.path.join(top, "xdg")),
                         stdout=subprocess.PIPE, stderr=errors, timeout=20)
    os.close(errors)
    check("a folder for a picture, standard error a broken pipe: the game still starts",
          out.returncode == 0 and out.stdout.decode().strip() == os.path.realpath(game), out)

    later_starts(sys.argv[1], top, check)

    # The environment: a relative XDG_DATA_HOME is ignored; without HOME, a clear message.
    home = os.path.join(top, "home")
    out = run(launcher, HOME=home, XDG_DATA_HOME="relative")
    check("a relative XDG_DATA_HOME is ignored for ~/.local/share",
          out.returncode == 0 and out.stdout.strip() == home + "/.local/share/muvesecky", out)
    out = run(launcher, HOME=None, XDG_DATA_HOME=None)
    check("no HOME: one clear line and exit 1", out.returncode == 1 and
          out.stderr.count("\n") == 1 and "HOME" in out.stderr and not out.stdout, out)

    # Options are the game's to check, passed on word for word; help and the version are
    # asked of the game before any game folder is made.
    home = os.path.join(top, "options")
    out = run(launcher, "--scale", "12", "two words", HOME=home, XDG_DATA_HOME=None)
    check("options reach the game unchecked", out.returncode == 0 and
          out.stdout.splitlines()[1:] == ["--scale 12 two words"], out)
    for ask in ("--help", "-V", "--version", "-h"):
        out = run(launcher, "--aspect", ask, HOME=os.path.join(top, "ask"), XDG_DATA_HOME=None)
        check(f"{ask}: asked of the game, no game folder made", out.returncode == 0 and
              out.stdout.splitlines()[1:] == [f"--aspect {ask}"] and
              not os.path.exists(os.path.join(top, "ask")), out)

    shutil.rmtree(top, ignore_errors=True)
    print(f"{passed} passed, {len(failed)} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
