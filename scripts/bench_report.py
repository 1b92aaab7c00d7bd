"""Runs the benchmarks and the real game under Xvfb, prints the table, writes docs/performance.md.

Usage: bench_report.py BUILD_DIR OUTPUT_MD
"""
import datetime
import json
import os
import platform
import re
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import time



RUNS = 5            # runs of each measurement of the real game
IDLE_SECONDS = 10   # CPU sampling window in the idle loop
KEEP_MARKER = "<!-- Notes below are written by hand and kept when the table is measured again. -->"



def run_bench(build, name, extra=()):
    out = tempfile.NamedTemporaryFile(suffix=".json", delete=False).name
    subprocess.run([os.path.join(build, "bench", name), f"--benchmark_out={out}",
                    "--benchmark_out_format=json", *extra], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(out) as f:
        data = json.load(f)
    os.remove(out)
    return data["benchmarks"]


def to_us(b, field="cpu_time"):
    """A benchmark's time in µs: CPU time by default, which the other work on a shared
    machine disturbs less than the wall clock."""
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[b["time_unit"]]
    return b[field] * scale


def both(b, digits=1):
    return f"{to_us(b):.{digits}f} µs (wall {to_us(b, 'real_time'):.{digits}f})"


def find(benches, name, aggregate=None):
    for b in benches:
        if b["name"].startswith(name) and (aggregate is None or b.get("aggregate_name") == aggregate):
            return b
    raise KeyError(name)


def free_display():
    for n in range(150, 200):
        if not os.path.exists(f"/tmp/.X{n}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{n}"):
            return n
    raise RuntimeError("no free X display number")


class Picture:
    """What the measurements need of a window dump: its size and whether anything is lit."""

    def __init__(self, width, height, lit):
        self.width, self.height, self.lit = width, height, lit


def parse_xwd(data):
    """Reads an XWD dump of a 24/32-bit window."""
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    bits_per_pixel, bytes_per_line, ncolors = fields[11], fields[12], fields[19]
    if bits_per_pixel != 32:
        raise RuntimeError(f"unsupported window format: {bits_per_pixel} bpp")
    offset = header_size + ncolors * 12
    if len(data) < offset + height * bytes_per_line:
        raise RuntimeError("short window dump")
    lit = False
    for y in range(height):
        row = data[offset + y * bytes_per_line: offset + y * bytes_per_line + 4 * width]
        # Any colour byte set (the fourth byte of a pixel is padding).
        if any(row[i] or row[i + 1] or row[i + 2] for i in range(0, len(row), 4)):
            lit = True
            break
    return Picture(width, height, lit)


class X:
    """A private X server for the live measurements."""

    def __init__(self):
        self.display = f":{free_display()}"
        self.proc = subprocess.Popen(["Xvfb", self.display, "-screen", "0", "1024x768x24",
                                      "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.env = dict(os.environ, DISPLAY=self.display, SDL_AUDIODRIVER="dummy")
        self.env.pop("SDL_VIDEODRIVER", None)
        end = time.time() + 10
        while subprocess.run(["xdpyinfo"], env=self.env, capture_output=True).returncode != 0:
            if time.time() > end:
                raise RuntimeError("Xvfb did not start")
            time.sleep(0.05)

    def window(self):
        r = subprocess.run(["xdotool", "search", "--name", "^Untitled$"], env=self.env,
                           capture_output=True, text=True)
        ids = r.stdout.split()
        return ids[0] if ids else None

    def picture(self, window):
        r = subprocess.run(["xwd", "-silent", "-id", window], env=self.env, capture_output=True)
        if r.returncode != 0:
            return None
        try:
            return parse_xwd(r.stdout)
        except RuntimeError:
            return None

    def key(self, window, name):
        subprocess.run(["xdotool", "windowfocus", window], env=self.env, capture_output=True)
        subprocess.run(["xdotool", "key", name], env=self.env, capture_output=True)

    def close(self):
        self.proc.terminate()
        try:
            self.proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.proc.kill()


def game_folder(build):
    folder = tempfile.mkdtemp(prefix="muv-bench-")
    data = os.path.join(build, "gamedata")
    for name in os.listdir(data):
        shutil.copy(os.path.join(data, name), folder)
    with open(os.path.join(folder, "sound.cop"), "wb") as f:
        f.write(b'" 0"\r\n')
    with open(os.path.join(folder, "LEVEL.MGS"), "wb") as f:
        f.write(b'"\x8c"\r\n')  # level 1: no level menu
    return folder


def first_picture(x, proc, timeout=20):
    """Waits for the window to show a non-black picture; returns (window, picture)."""
    end = time.monotonic() + timeout
    while time.monotonic() < end and proc.poll() is None:
        w = x.window()
        if w:
            p = x.picture(w)
            if p is not None and p.lit:
                return w, p
        time.sleep(0.005)
    raise RuntimeError(f"no picture from the game (exit status {proc.poll()})")


def stop(proc):
    if proc.poll() is None:
        proc.send_signal(signal.SIGKILL)
        proc.wait()


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime, stime (fields 14 and 15)


def thread_ticks(pid):
    """CPU ticks of each thread of the process, by thread name."""
    ticks = {}
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/stat") as f:
                text = f.read()
        except OSError:
            continue
        name = text[text.index("(") + 1:text.rindex(")")]
        fields = text.rsplit(")", 1)[1].split()
        # The game runs on the main thread; SDL's unnamed thread is the window thread.
        key = "game (main)" if tid == str(pid) else ("window" if name == "muvesecky" else name)
        key = key if key not in ticks else f"{key} [{tid}]"
        ticks[key] = int(fields[11]) + int(fields[12])
    return ticks


def memory_kb(pid):
    values = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, rest = line.partition(":")
            if key in ("VmRSS", "VmHWM"):
                values[key] = int(rest.split()[0])
    return values


def enter_level_1(x, proc):
    """Into level 1 (Enter at the sound choice, Space at the title); gives the window."""
    w, _ = first_picture(x, proc)
    x.key(w, "Return")
    end = time.monotonic() + 30
    last_space = 0.0
    while True:
        p = x.picture(w)
        if p is not None and p.height == 200:
            return w  # the 640 x 200 play screen
        if time.monotonic() > end:
            raise RuntimeError("the game did not reach play")
        if p is not None and p.height == 480 and time.monotonic() - last_space > 1.5:
            x.key(w, "space")
            last_space = time.monotonic()
        time.sleep(0.1)


def memory_at_play(x, binary, build):
    """Resident memory in level 1, two seconds after the first frame."""
    folder = game_folder(build)
    proc = subprocess.Popen([binary], cwd=folder, env=x.env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        enter_level_1(x, proc)
        time.sleep(2)  # the first frame, the level's opening sounds
        return memory_kb(proc.pid)
    finally:
        stop(proc)
        shutil.rmtree(folder, ignore_errors=True)


def bench_script(name, *args):
    """Runs bench/NAME.py with ARGS and gives its output lines."""
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "bench", name + ".py")
    out = subprocess.run([sys.executable, script, *args], check=True, capture_output=True,
                         text=True).stdout
    return out.splitlines()


def figure(lines, pattern):
    """The first number PATTERN (a regular expression with one group) finds in LINES."""
    for line in lines:
        m = re.search(pattern, line)
        if m:
            return float(m.group(1))
    raise RuntimeError(f"no {pattern!r} in {lines!r}")


def machine():
    model = "unknown"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    return {"cpu": model, "cores": os.cpu_count(), "system": f"{platform.system()} {platform.release()}",
            "date": datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC"),
            "load": " ".join(f"{v:.2f}" for v in os.getloadavg())}


def main():
    build, out_md = sys.argv[1], sys.argv[2]
    binary = os.path.join(build, "muvesecky")
    rows = []  # (measure, value, target, verdict)
    load0 = " ".join(f"{v:.2f}" for v in os.getloadavg())

    def row(measure, value, target="", ok=None):
        rows.append((measure, value, target, "" if ok is None else ("met" if ok else "MISSED")))

    frame = run_bench(build, "bench_frame")
    for arg, label in (("0", "X-ray off"), ("1", "X-ray on")):
        b = find(frame, f"BM_Frame/{arg}", "median")
        row(f"Frame, level 10's slowest position ({label}): clear + scan, median", both(b),
            "< 100 µs", to_us(b) < 100)
    spread = find(run_bench(build, "bench_frame_times"), "BM_FrameSpread")
    row(f"Frame with panel over all {int(spread['frames'])} positions of level 10: median",
        f"{spread['p50_us']:.1f} µs", "< 100 µs", spread["p50_us"] < 100)
    row("Frame with panel over level 10: 99th percentile", f"{spread['p99_us']:.1f} µs")
    row("Frame with panel over level 10: slowest", f"{spread['max_us']:.1f} µs")
    panel = run_bench(build, "bench_panel")
    row("Status panel call", both(find(panel, "BM_StatusPanel")))
    row("Frame and panel, level 1 start", both(find(panel, "BM_FrameAndPanel")))
    refresh = run_bench(build, "bench_refresh")
    for arg, label in (("8", "640 × 200"), ("12", "640 × 480"), ("0", "text 80 × 25")):
        row(f"Window refresh conversion, {label}", both(find(refresh, f"BM_Refresh/{arg}")))
    for b in run_bench(build, "bench_draw"):
        row(f"Drawing: {b['name'].removeprefix('BM_')}", both(b, 2))
    row("Macro synthesis of the longest tune (victory, 30 notes)",
        both(find(run_bench(build, "bench_macro"), "BM_MacroVictory"), 0))
    row("Level start: 13 picture loads + maze of level 10",
        both(find(run_bench(build, "bench_level_start"), "BM_LevelStart"), 0))

    x = X()
    try:
        mem = memory_at_play(x, binary, build)
    finally:
        x.close()
    start = bench_script("start", build, str(RUNS))
    alone = figure(start, r"game alone: median (\d+) ms")
    launched = figure(start, r"through the launcher: median (\d+) ms")
    row(f"Process start to first picture (Xvfb, {RUNS} runs), the game alone: median",
        f"{alone:.0f} ms", "< 1.5 s", alone < 1500)
    row("The same through the installed launcher: median", f"{launched:.0f} ms", "< 150 ms",
        launched < 150)
    for south, label, goal in ((False, "facing north by day (birds in view)", 0.8),
                               (True, "facing south (no birds)", 0.2)):
        lines = bench_script("idle", build, str(RUNS), *(["--south"] if south else []))
        idle = figure(lines, r"median ([\d.]+) %")
        row(f"Idle CPU in level 1 ({IDLE_SECONDS} s, utime + stime), {label}, median of {RUNS}",
            f"{idle:.1f} % of a core ({'; '.join(l.split(' (')[0] for l in lines[:-1])})",
            f"< {goal} %", idle < goal)
    lat = bench_script("latency", binary, os.path.join(build, "gamedata"), "100")
    p95, median = figure(lat, r"p95 ([\d.]+) ms"), figure(lat, r"median ([\d.]+) ms")
    row("Key to changed picture, 100 moves in level 1: p95", f"{p95:.1f} ms (median {median:.1f})",
        "< 15 ms", p95 < 15)
    rss_mb = mem.get("VmRSS", 0) / 1024
    row("Resident memory at play (VmRSS)", f"{rss_mb:.1f} MB", "< 40 MB", rss_mb < 40)
    row("Peak resident memory (VmHWM)", f"{mem.get('VmHWM', 0) / 1024:.1f} MB")

    m = machine()
    width = max(len(r[0]) for r in rows)
    print(f"{'Measure':<{width}}  {'Value':>16}  {'Target':>9}  Verdict")
    for r in rows:
        print(f"{r[0]:<{width}}  {r[1]:>16}  {r[2]:>9}  {r[3]}")
    # The measured table is written anew; the notes after the marker are kept as they stand.
    kept = ""
    if os.path.exists(out_md):
        with open(out_md) as f:
            old = f.read()
        if KEEP_MARKER in old:
            kept = old[old.index(KEEP_MARKER):]
    with open(out_md, "w") as f:
        f.write("# Performance\n\n")
        f.write("Measured by `scripts/bench-report.sh` (benchmarks in `bench/`, the real game "
                "under Xvfb for start, idle CPU, key latency and memory through `bench/start.py`, "
                "`bench/idle.py` and `bench/latency.py`).\n\n")
        f.write(f"Machine: {m['cpu']}, {m['cores']} cores, {m['system']}; load average at the "
                f"start {load0}, at the end {m['load']}; {m['date']}.\n\n")
        f.write("| Measure | Value | Target | Verdict |\n|---|---|---|---|\n")
        for r in rows:
            f.write(f"| {r[0]} | {r[1]} | {r[2]} | {r[3]} |\n")
        f.write("\nBenchmark figures are CPU time per call (wall-clock time in brackets) on a "
                "machine shared with other work; the frame spread over level 10 is wall-clock "
                "per frame, so its 99th percentile and slowest frame include the scheduler's "
                "interruptions.\n")
        f.write(f"\n{kept or KEEP_MARKER + chr(10)}")
    missed = [r for r in rows if r[3] == "MISSED"]
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
