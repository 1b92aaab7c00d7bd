#!/usr/bin/env python3
"""The Debian package as a player gets it.

Usage: test_package_e2e.py make|files|install BUILD_DIR VERSION
  make     builds the package from the build with cpack (the command in $MUV_CPACK, else
           cpack) into BUILD_DIR/e2e-package.
  files    what that package holds, checked without installing it: its name and
           dependencies, the launcher's --help and --version, the menu entry, the
           software-centre entry and the manual page (each by the desktop's own checker).
  install  installs it with apt (root only; exit 77 = skipped otherwise), plays the installed
           menu entry's command under Xvfb to the title, removes the package and checks that
           only the player's own game folder is left.
Prints one line per check and "N passed, M failed"; exits 1 on a failure.
"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from test_window_e2e import SKIPPED, YELLOW, Runner, text_shape  # noqa: E402
from xwindow import Game  # noqa: E402

# Where a package or its game could leave something behind.
SYSTEM = ["/usr", "/etc", "/var/lib/dpkg"]
APT = ["apt-get", "-y", "-qq", "-o", "DPkg::Lock::Timeout=300"]


def run(*cmd, **kw):
    return subprocess.run(cmd, capture_output=True, text=True, **kw)


def package_files(deb):
    """The package's paths, without the leading '.'."""
    lines = run("dpkg-deb", "-c", deb).stdout.splitlines()
    return [line.split(None, 5)[5].split(" -> ")[0][1:].rstrip("/") for line in lines]


def check_files(r, deb, version):
    arch = run("dpkg", "--print-architecture").stdout.strip()
    r.check(f"named muvesecky_{version}_{arch}.deb", os.path.basename(deb) ==
            f"muvesecky_{version}_{arch}.deb", os.path.basename(deb))
    depends = run("dpkg-deb", "-f", deb, "Depends").stdout
    r.check("depends on SDL 1.2 and SDL_mixer 1.2 (found by dpkg-shlibdeps)",
            "libsdl1.2" in depends and "libsdl-mixer1.2" in depends, depends.strip())
    files = set(package_files(deb))
    wanted = ["/usr/bin/muvesecky", "/usr/lib/muvesecky/muvesecky", "/usr/share/muvesecky/mm.grh",
              "/usr/share/muvesecky/sound.cop", "/usr/share/man/man6/muvesecky.6.gz",
              "/usr/share/icons/hicolor/scalable/apps/muvesecky.svg"] + [
        f"/usr/share/icons/hicolor/{n}x{n}/apps/muvesecky.png" for n in (32, 64, 128, 256)]
    r.check("holds the launcher, the game, its data, the icons and the manual page",
            all(f in files for f in wanted), str([f for f in wanted if f not in files]))

    root = tempfile.mkdtemp(prefix="muv-deb-")
    try:
        run("dpkg-deb", "-x", deb, root)
        launcher = os.path.join(root, "usr/bin/muvesecky")
        # No display at all: the answers must come before any window is opened.
        env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        out = run(launcher, "--version", env=env)
        r.check(f"--version prints 'muvesecky {version}'",
                out.returncode == 0 and out.stdout == f"muvesecky {version}\n", out.stdout)
        out = run(launcher, "--help", env=env)
        r.check("--help names the options and the manual page", out.returncode == 0 and
                "--version" in out.stdout and "man muvesecky" in out.stdout, out.stdout)
        out = run(launcher, "--fly", env=env)
        r.check("an unknown option is refused (status 2) with a hint",
                out.returncode == 2 and "--help" in out.stderr, f"{out.returncode} {out.stderr}")

        desktop = [f for f in files if f.startswith("/usr/share/applications/")]
        metainfo = [f for f in files if f.startswith("/usr/share/metainfo/")]
        out = run("desktop-file-validate", root + desktop[0]) if desktop else None
        r.check("the menu entry passes desktop-file-validate",
                out is not None and out.returncode == 0 and not out.stdout.strip(),
                out.stdout if out else "no menu entry")
        out = run("appstreamcli", "validate", "--no-net", root + metainfo[0]) \
            if metainfo else None
        r.check("the software-centre entry passes appstreamcli validate",
                out is not None and out.returncode == 0 and version in open(
                    root + metainfo[0]).read(), out.stdout if out else "no metainfo")
        out = run("man", "--warnings", "-E", "UTF-8", "-l",
                  os.path.join(root, "usr/share/man/man6/muvesecky.6.gz"),
                  env=dict(os.environ, MANWIDTH="80"))
        r.check("the manual page has no warnings and names the version",
                out.returncode == 0 and not out.stderr and f"Muvesecky {version}" in out.stdout,
                out.stderr)
    finally:
        shutil.rmtree(root, ignore_errors=True)
    r.report()


def traces(app_id):
    """Every file or folder of the system whose name has the game's name or id in it."""
    names = ("muvesecky", app_id.lower())
    return {os.path.join(d, n) for top in SYSTEM for d, dirs, files in os.walk(top)
            for n in dirs + files if any(name in n.lower() for name in names)}


def check_install(r, deb, version):
    desktop = next(f for f in package_files(deb) if f.startswith("/usr/share/applications/"))
    app_id = os.path.basename(desktop)[:-len(".desktop")]
    before = traces(app_id)
    home = tempfile.mkdtemp(prefix="muv-home-")
    os.environ["HOME"] = home
    os.environ.pop("XDG_DATA_HOME", None)
    game = None
    try:
        out = run(*APT, "install", os.path.abspath(deb))
        if r.check("apt-get installs the package", out.returncode == 0, out.stderr):
            with open(desktop) as f:
                command = next(line[5:].strip().strip('"') for line in f
                               if line.startswith("Exec="))
            r.check("the menu entry starts /usr/bin/muvesecky",
                    command == "/usr/bin/muvesecky", command)
            game = Game(command, None)
            r.expect("the installed game shows the sound choice", game,
                     lambda p: (p.width, p.height) == (640, 400), 10)
            game.key("Return")
            r.expect(f"then the title with 'Ver. {version}'", game,
                     lambda p: (p.width, p.height) == (640, 480) and
                     not text_shape(p, 3, 70, f"Ver. {version}", YELLOW, 16), 10)
    except Exception as e:  # noqa: BLE001 - reported as a failed check
        r.check("playing the installed game (stopped)", False, f"{type(e).__name__}: {e}")
    finally:
        if game is not None:
            game.finish()
        out = run(*APT, "purge", "muvesecky")
        r.check("apt-get purge removes it", out.returncode == 0, out.stderr)
    left = [f for f in package_files(deb) if os.path.lexists(f) and not os.path.isdir(f)]
    r.check("none of its files is left", not left, str(left))
    new = sorted(traces(app_id) - before)
    r.check("nothing of the game is left under /usr, /etc or in dpkg's records", not new,
            str(new[:5]))
    kept = [os.path.relpath(os.path.join(d, f), home) for d, _, fs in os.walk(home) for f in fs]
    r.check("the player's game folder stays, and nothing else was written in the home folder",
            ".local/share/muvesecky/LEVEL.MGS" in kept and
            all(k.startswith(".local/share/muvesecky/") for k in kept), str(kept[:5]))
    shutil.rmtree(home, ignore_errors=True)
    r.report()


def make(out_dir):
    shutil.rmtree(out_dir, ignore_errors=True)
    build = os.path.dirname(out_dir)
    done = subprocess.run([os.environ.get("MUV_CPACK", "cpack"), "--config",
                           os.path.join(build, "CPackConfig.cmake"), "-B", out_dir])
    return done.returncode


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("make", "files", "install"):
        print(__doc__, file=sys.stderr)
        return 2
    mode, build, version = sys.argv[1:]
    out_dir = os.path.join(os.path.abspath(build), "e2e-package")
    if mode == "make":
        return make(out_dir)
    debs = glob.glob(os.path.join(out_dir, "*.deb"))
    if len(debs) != 1:
        print(f"FAIL: {out_dir} holds {len(debs)} packages instead of one")
        return 1
    deb = debs[0]
    r = Runner(None, None)
    if mode == "files":
        check_files(r, deb, version)
    else:
        if os.geteuid() != 0:
            print("SKIPPED: installing the package needs root (as in CI)")
            return SKIPPED
        if run("dpkg-query", "-W", "-f=${Status}", "muvesecky").stdout.startswith("install ok"):
            print("SKIPPED: muvesecky is installed on this machine already; it is left alone")
            return SKIPPED
        missing = [t for t in ("Xvfb", "xdotool", "xwd", "xdpyinfo") if not shutil.which(t)]
        if missing:
            print(f"SKIPPED: the window check needs {', '.join(missing)}")
            return SKIPPED
        check_install(r, deb, version)
    print(f"{r.passed} passed, {r.failed} failed")
    return 1 if r.failed or not r.passed else 0


if __name__ == "__main__":
    sys.exit(main())
