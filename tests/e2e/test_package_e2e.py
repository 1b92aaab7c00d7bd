#!/usr/bin/env python3
"""The Debian package as a player gets it. Usage: test_package_e2e.py MODE BUILD_DIR VERSION
  make     cpack ($MUV_CPACK) makes it into BUILD_DIR/e2e-package;
  files    its name, dependencies (and what apt brings with them on a fresh system), launcher
           answers, desktop files, copyright and changelog, by the desktop's checkers and lintian;
  install  (root only, else exit 77) apt installs it, its menu entry plays to the title, apt
           purges it, and only the player's game folder is left.
"""
import glob
import gzip
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from test_window_e2e import SKIPPED, YELLOW, Runner, text_shape  # noqa: E402
from xwindow import Game  # noqa: E402

APT = ["apt-get", "-y", "-qq", "-o", "DPkg::Lock::Timeout=300"]


def run(*cmd, **kw):
    return subprocess.run(cmd, capture_output=True, text=True, **kw)


def package_files(deb):
    return [line.split(None, 5)[5].split(" -> ")[0][1:].rstrip("/")
            for line in run("dpkg-deb", "-c", deb).stdout.splitlines()]


def check_files(r, deb, version):
    arch = run("dpkg", "--print-architecture").stdout.strip()
    r.check("named muvesecky_VERSION_ARCH.deb",
            os.path.basename(deb) == f"muvesecky_{version}_{arch}.deb", deb)
    depends = [d.strip() for d in run("dpkg-deb", "-f", deb, "Depends").stdout.split(",")]
    r.check("dpkg-shlibdeps found SDL 1.2 and SDL_mixer 1.2, the SDL 1.2 over SDL 2 first",
            depends[0].startswith("libsdl1.2-compat-shim | libsdl1.2debian") and
            any(d.startswith("libsdl-mixer1.2") for d in depends), str(depends))
    check_fresh_install(r, deb)
    files = set(package_files(deb))
    wanted = {"/usr/bin/muvesecky", "/usr/lib/muvesecky/muvesecky", "/usr/share/muvesecky/mm.grh",
              "/usr/share/man/man6/muvesecky.6.gz", "/usr/share/doc/muvesecky/copyright",
              "/usr/share/doc/muvesecky/changelog.gz",
              "/usr/share/icons/hicolor/scalable/apps/muvesecky.svg"} | {
        f"/usr/share/icons/hicolor/{n}x{n}/apps/muvesecky.png" for n in (32, 64, 128, 256)}
    r.check("holds the launcher, the game, its data, icons and manual page", wanted <= files,
            str(wanted - files))

    root = tempfile.mkdtemp(prefix="muv-deb-")
    run("dpkg-deb", "-x", deb, root)
    # No display at all: the answers must come before any window is opened. The launcher asks
    # the game, here the one unpacked beside it with its data.
    launcher, env = root + "/usr/bin/muvesecky", {"PATH": os.environ["PATH"]}
    with open(launcher) as f:
        text = f.read()
    with open(launcher, "w") as f:
        f.write(text.replace('"/usr/', f'"{root}/usr/'))
    version_line = f"muvesecky {version}\n"
    for ask, ok in (("--version", lambda o: (o.returncode, o.stdout) == (0, version_line)),
                    ("--help", lambda o: o.returncode == 0 and "--version" in o.stdout),
                    ("--fly", lambda o: o.returncode == 2 and "--help" in o.stderr)):
        out = run(launcher, ask, env=dict(env, HOME=root + "/home"))
        r.check(f"{ask}: answered without a display", ok(out), str(out))
    # Each checker on its file: no complaint, and on its output what a pass shows ("" = nothing).
    for checker, prefix, shows in (
            ("desktop-file-validate", "/usr/share/applications/", ""),
            ("appstreamcli validate --no-net", "/usr/share/metainfo/", "Validation was successful"),
            ("man --warnings -E UTF-8 -l", "/usr/share/man/man6/", f"Muvesecky {version}")):
        path = [root + f for f in files if f.startswith(prefix)]
        out = run(*checker.split(), *path[:1], env=dict(os.environ, MANWIDTH="80"))
        r.check(f"{checker} passes", len(path) == 1 and out.returncode == 0 and not out.stderr and
                (shows in out.stdout if shows else not out.stdout),
                f"{path} status {out.returncode}: {out.stderr or out.stdout[:400]}")
    doc = root + "/usr/share/doc/muvesecky/"
    copyright = open(doc + "copyright").read() if os.path.exists(doc + "copyright") else ""
    r.check("the copyright file is machine-readable and names the GPL", copyright.startswith(
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n") and
        "License: GPL-2" in copyright, copyright[:200])
    changelog = gzip.open(doc + "changelog.gz", "rt").readline() \
        if os.path.exists(doc + "changelog.gz") else ""
    r.check("the changelog's last entry is this version",
            changelog.startswith(f"muvesecky ({version}) "), changelog)
    shutil.rmtree(root)
    # Debian's own checker, errors and warnings; what must stay is overridden in the package
    # with its reason (dist/lintian-overrides).
    if shutil.which("lintian") is None:
        r.check("lintian passes", False, "no lintian (scripts/install-deps.sh installs it)")
    else:
        out = run("lintian", "--fail-on", "error,warning", deb)
        r.check("lintian passes", out.returncode == 0, out.stdout + out.stderr)
    r.report()


def check_fresh_install(r, deb):
    """What a plain apt install brings on a system with nothing installed: apt's own choice,
    simulated against an empty list of installed packages, so that the libraries already on
    this machine play no part. Every SDL 1.2 the package may bring must be the one over SDL 2."""
    with tempfile.NamedTemporaryFile() as nothing:
        out = run("apt-get", "install", "-s", "-o", f"Dir::State::status={nothing.name}",
                  os.path.abspath(deb))
    brought = [line.split()[1] for line in out.stdout.splitlines() if line.startswith("Inst ")]
    r.check("a plain apt install on a fresh system brings libsdl1.2-compat-shim, not the "
            "classic libsdl1.2debian", out.returncode == 0 and "libsdl1.2-compat-shim" in brought
            and "libsdl-mixer1.2" in brought and "libsdl1.2debian" not in brought,
            f"status {out.returncode}: {[b for b in brought if 'sdl' in b]} {out.stderr[-300:]}")


def traces(names):
    """Every file or folder under /usr, /etc and dpkg's records with one of the names in it."""
    return {os.path.join(d, n) for top in ("/usr", "/etc", "/var/lib/dpkg")
            for d, dirs, files in os.walk(top) for n in dirs + files
            if any(name in n.lower() for name in names)}


def check_install(r, deb, version):
    desktop = next(f for f in package_files(deb) if f.startswith("/usr/share/applications/"))
    names = ("muvesecky", os.path.basename(desktop)[:-len(".desktop")].lower())
    before, home, game = traces(names), tempfile.mkdtemp(prefix="muv-home-"), None
    os.environ["HOME"] = home
    os.environ.pop("XDG_DATA_HOME", None)
    try:
        out = run(*APT, "install", os.path.abspath(deb))
        if r.check("apt-get installs it", out.returncode == 0, out.stderr):
            with open(desktop) as f:
                command = next(x[5:].strip().strip('"') for x in f if x.startswith("Exec="))
            r.check("the menu entry starts /usr/bin/muvesecky", command == "/usr/bin/muvesecky")
            game = Game(command, None)
            r.expect("it shows the sound choice", game, lambda p: p.height == 400, 10)
            game.key("Return")
            r.expect(f"then the title with 'Ver. {version}'", game, lambda p: p.height == 480 and
                     not text_shape(p, 3, 70, f"Ver. {version}", YELLOW, 16), 10)
    except Exception as e:  # noqa: BLE001 - reported as a failed check
        r.check("playing the installed game (stopped)", False, f"{type(e).__name__}: {e}")
    finally:
        if game is not None:
            game.finish()
        out = run(*APT, "purge", "muvesecky")
        r.check("apt-get purge removes it", out.returncode == 0, out.stderr)
    left = sorted(traces(names) - before)
    r.check("nothing of it is left under /usr, /etc or in dpkg's records", not left, str(left))
    kept = [os.path.relpath(os.path.join(d, f), home) for d, _, fs in os.walk(home) for f in fs]
    r.check("the player's game folder stays, and nothing else was written in the home folder",
            ".local/share/muvesecky/LEVEL.MGS" in kept and
            all(k.startswith(".local/share/muvesecky/") for k in kept), str(kept[:5]))
    shutil.rmtree(home, ignore_errors=True)
    r.report()


def main():
    mode, build, version = sys.argv[1:]
    out_dir = os.path.join(os.path.abspath(build), "e2e-package")
    if mode == "make":
        shutil.rmtree(out_dir, ignore_errors=True)
        return subprocess.run([os.environ.get("MUV_CPACK", "cpack"), "--config",
                               os.path.join(build, "CPackConfig.cmake"), "-B", out_dir]).returncode
    debs = glob.glob(os.path.join(out_dir, "*.deb"))
    if len(debs) != 1:
        print(f"FAIL: {out_dir} holds {len(debs)} packages instead of one")
        return 1
    r = Runner(None, None)
    if mode == "files":
        check_files(r, debs[0], version)
    elif os.geteuid() != 0 or run("dpkg-query", "-W", "-f=${Status}", "muvesecky").stdout \
            .startswith("install ok") or not shutil.which("Xvfb"):
        print("SKIPPED: installing needs root, Xvfb and no muvesecky installed already (as in CI)")
        return SKIPPED
    else:
        check_install(r, debs[0], version)
    print(f"{r.passed} passed, {r.failed} failed")
    return 1 if r.failed or not r.passed else 0


if __name__ == "__main__":
    sys.exit(main())
