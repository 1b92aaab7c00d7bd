#!/usr/bin/env python3
"""macro_to_wav writes a WAV that another reader takes as the tone queue's own sound: 16-bit
stereo at 22 050 Hz, a half-note rest of exactly one second, then the note. Argument: the tool."""
import array
import os
import subprocess
import sys
import tempfile
import wave


def main():
    tool = sys.argv[1]
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "tune.wav")
        done = subprocess.run([tool, path, "P2", "L8c"], capture_output=True)
        if done.returncode != 0:
            sys.exit(f"macro_to_wav failed: {done.stderr!r}")
        with wave.open(path) as w:
            form = (w.getnchannels(), w.getsampwidth(), w.getframerate())
            samples = array.array("h", w.readframes(w.getnframes()))
        if form != (2, 2, 22050):
            sys.exit(f"channels, bytes per sample, rate: {form}")
        frames = len(samples) // 2
        # The rest is one second; an eighth note at tempo 120 lasts at most a quarter second.
        if not 22050 < frames <= 22050 + 5513:
            sys.exit(f"{frames} frames")
        if any(samples[:2 * 22050]) or not any(samples[2 * 22050:]):
            sys.exit("the rest is not silent or the note is")
        if samples[0::2] != samples[1::2]:
            sys.exit("the two channels differ")
        bad = subprocess.run([tool, os.path.join(tmp, "bad.wav"), "L99c"], capture_output=True)
        if bad.returncode != 1 or os.path.exists(os.path.join(tmp, "bad.wav")):
            sys.exit("a bad macro string still wrote a file or did not fail")
    print("macro_to_wav: 16-bit stereo 22050 Hz, rest and note in place")


if __name__ == "__main__":
    main()
