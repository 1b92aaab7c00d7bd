#!/usr/bin/env python3
"""Idle CPU of the real game, thread by thread: level 1 under Xvfb, standing still.

Usage: idle.py BUILD [RUNS] [--south]
Starts the built game RUNS times (default 5) in its own Xvfb, goes into level 1 (Enter at the
sound choice, Space at the title) and, two seconds later, counts the CPU time of every thread
over ten seconds. --south first turns the player round twice, away from the seagulls. Prints
one line a run and the median, with the load average: a quiet machine runs its processor
slower, so the same work counts for more there.
"""
import os
import shutil
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))

import bench_report as b  # noqa: E402


def one_run(x, build, south):
    folder = b.game_folder(build)
    proc = subprocess.Popen([os.path.join(build, "muvesecky")], cwd=folder, env=x.env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        w = b.enter_level_1(x, proc)
        for _ in range(2 if south else 0):
            x.key(w, "Right")
            time.sleep(0.5)
        time.sleep(2)
        hz = os.sysconf("SC_CLK_TCK")
        c0, th0, t0 = b.cpu_ticks(proc.pid), b.thread_ticks(proc.pid), time.monotonic()
        time.sleep(b.IDLE_SECONDS)
        c1, th1, t1 = b.cpu_ticks(proc.pid), b.thread_ticks(proc.pid), time.monotonic()
        per = {k: 100.0 * (v - th0.get(k, 0)) / hz / (t1 - t0) for k, v in th1.items()}
        return 100.0 * (c1 - c0) / hz / (t1 - t0), {k: v for k, v in per.items() if v > 0}
    finally:
        b.stop(proc)
        shutil.rmtree(folder, ignore_errors=True)


def main():
    args = [a for a in sys.argv[1:] if a != "--south"]
    if not args:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    build, runs = os.path.abspath(args[0]), int(args[1]) if len(args) > 1 else 5
    x = b.X()
    try:
        totals = []
        for _ in range(runs):
            total, threads = one_run(x, build, "--south" in sys.argv)
            totals.append(total)
            print(f"{total:.1f} % ({', '.join(f'{k} {v:.1f}' for k, v in threads.items())})",
                  flush=True)
    finally:
        x.close()
    print(f"median {statistics.median(totals):.1f} % of a core over {runs} runs; load average "
          f"{' '.join(f'{v:.2f}' for v in os.getloadavg())}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
