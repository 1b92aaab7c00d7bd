#!/usr/bin/env python3
"""Process start to first picture: the game alone, and through its installed launcher.

Usage: start.py BUILD [RUNS] [LAUNCHER_TEMPLATE]
Installs the build into a folder of its own (cmake --install), starts the launcher once to
make the player's game folder, then RUNS times (default 5) each in turn: the game alone in a
fresh copy of the data folder (as scripts/bench-report.sh measures it), and the installed
launcher in that player's home. Each time runs from the start of the process until the window
shows a picture that is not all black, in one Xvfb that one client stays connected to.
LAUNCHER_TEMPLATE (default
dist/muvesecky.in) puts another launcher in its place, to compare two of them.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))

import bench_report as b  # noqa: E402


def install(build, template):
    """The build installed under a new prefix; gives the prefix."""
    prefix = tempfile.mkdtemp(prefix="muv-start-")
    subprocess.run(["cmake", "--install", build, "--prefix", prefix], check=True,
                   stdout=subprocess.DEVNULL)
    if template is not None:
        with open(template) as f:
            text = f.read()
        for key, value in (("VERSION", "start"), ("INSTALL_DATA", f"{prefix}/share/muvesecky"),
                           ("INSTALL_BINARY", f"{prefix}/lib/muvesecky/muvesecky")):
            text = text.replace(f"@MUV_{key}@", value)
        with open(f"{prefix}/bin/muvesecky", "w") as f:
            f.write(text)
    return prefix


def first_picture_after(x, command, **kw):
    t0 = time.monotonic()
    proc = subprocess.Popen(command, env=x.env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, **kw)
    try:
        b.first_picture(x, proc)
        return time.monotonic() - t0
    finally:
        b.stop(proc)
        time.sleep(0.3)


def main():
    if len(sys.argv) < 2:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    build = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    prefix = install(build, sys.argv[3] if len(sys.argv) > 3 else None)
    x = b.X()
    # A client that stays, as on a desktop: the X server resets whenever its last client
    # leaves and then refuses a new one for a moment, which the game waits out for a quarter
    # of a second; the measurement's own polls would otherwise bring that about at random.
    stays = subprocess.Popen(["xev", "-root"], env=x.env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    home = os.path.join(prefix, "home")
    x.env = dict(x.env, HOME=home)
    x.env.pop("XDG_DATA_HOME", None)
    launcher = [os.path.join(prefix, "bin", "muvesecky")]
    times = {"game alone": [], "through the launcher": []}
    try:
        first_picture_after(x, launcher)  # the first run makes the game folder
        for _ in range(runs):
            folder = b.game_folder(build)
            times["game alone"].append(first_picture_after(x, [os.path.join(build, "muvesecky")],
                                                           cwd=folder))
            shutil.rmtree(folder, ignore_errors=True)
            times["through the launcher"].append(first_picture_after(x, launcher))
    finally:
        stays.kill()
        x.close()
        shutil.rmtree(prefix, ignore_errors=True)
    for name, values in times.items():
        print(f"{name}: median {statistics.median(values) * 1000:.0f} ms "
              f"({', '.join(f'{v * 1000:.0f}' for v in values)})")
    print(f"load average {' '.join(f'{v:.2f}' for v in os.getloadavg())}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
