"""Drives the real game in its own Xvfb: real key events (xdotool), window read back (xwd)."""
import array
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time


class Picture:
    """A window picture as rows of 0xRRGGBB values."""

    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels

    def count(self, colour, box=None):
        x0, y0, x1, y1 = box or (0, 0, self.width - 1, self.height - 1)
        return sum(1 for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)
                   if self.pixels[y * self.width + x] == colour)

    def save_png(self, path):
        """Writes the picture as a PNG (for looking at a failed check)."""
        rgb = b"".join(v.to_bytes(3, "big") for v in self.pixels)
        subprocess.run(["convert", "-size", f"{self.width}x{self.height}", "-depth", "8", "rgb:-",
                        path], input=rgb, check=True, capture_output=True)

    def region(self, box):
        """The pixels of a box (inclusive corners) as one comparable value."""
        x0, y0, x1, y1 = box
        if x1 >= self.width or y1 >= self.height:
            return (self.width, self.height)
        return b"".join(self.pixels[y * self.width + x0:y * self.width + x1 + 1].tobytes()
                        for y in range(y0, y1 + 1))


def parse_xwd(data):
    """Decodes an XWD dump of a 24/32-bit TrueColor window."""
    (header_size, _version, _format, depth, width, height, _xoff, byte_order, _unit, _bit_order,
     _pad, bits_per_pixel, bytes_per_line, _visual_class, red_mask, green_mask, blue_mask,
     _bits_rgb, _cmap_entries, ncolors, _ww, _wh, _wx, _wy, _bw) = struct.unpack(">25I", data[:100])
    if bits_per_pixel != 32 or depth not in (24, 32):
        raise RuntimeError(f"unsupported window format: {bits_per_pixel} bpp, depth {depth}")
    offset = header_size + ncolors * 12
    if len(data) < offset + height * bytes_per_line:
        raise RuntimeError("short window dump")
    pixels = array.array("I")
    for y in range(height):
        pixels.frombytes(data[offset + y * bytes_per_line: offset + y * bytes_per_line + 4 * width])
    if (byte_order == 0) != (sys.byteorder == "little"):
        pixels.byteswap()
    if (red_mask, green_mask, blue_mask) != (0xFF0000, 0xFF00, 0xFF) or any(
            v > 0xFFFFFF for v in pixels):
        rs, gs, bs = _shift(red_mask), _shift(green_mask), _shift(blue_mask)
        pixels = array.array("I", (((v & red_mask) >> rs) << 16 | ((v & green_mask) >> gs) << 8 |
                                   ((v & blue_mask) >> bs) for v in pixels))
    return Picture(width, height, pixels)


def _shift(mask):
    """The place of the mask's lowest bit."""
    return (mask & -mask).bit_length() - 1 if mask else 0


def start_x(screen):
    """A private X server of the given screen ("WxHxDEPTH"): (its process, its display)."""
    # The X server picks a free display itself and tells its number once it takes clients,
    # so that runs side by side never share one.
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen,
                             "-nolisten", "tcp"], pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        number = numbers.readline().strip()
    if not number.isdigit():
        xvfb.kill()
        raise RuntimeError("the X server did not start")
    return xvfb, f":{number}"


def poll(cond, seconds, message=None):
    """Polls until cond() gives something true (a window being read may fail for a while);
    returns it. On a timeout, an AssertionError with the message, or None without one."""
    end = time.time() + seconds
    while time.time() < end:
        try:
            got = cond()
            if got:
                return got
        except (subprocess.CalledProcessError, RuntimeError):
            pass
        time.sleep(0.05)
    if message:
        raise AssertionError(message)
    return None


def game_folder(data_dir, files=None):
    """A new folder holding a copy of data_dir's files (if any) changed by files: a name
    mapped to bytes is written, a name mapped to None removed."""
    folder = tempfile.mkdtemp(prefix="muv-e2e-")
    for name in os.listdir(data_dir) if data_dir else []:
        if os.path.isfile(os.path.join(data_dir, name)):
            shutil.copy(os.path.join(data_dir, name), folder)
    for name, content in (files or {}).items():
        if content is None:
            os.remove(os.path.join(folder, name))
        else:
            with open(os.path.join(folder, name), "wb") as f:
                f.write(content)
    return folder


class Game:
    """One run of the real binary in a fresh game folder under a private X server."""

    def __init__(self, binary, data_dir, files=None, env=None, args=(), screen="1024x768x24",
                 stderr=None):
        """Runs binary (with args) in game_folder(data_dir, files). Its standard error goes with
        its output to output(), or is "closed", or is a "broken" pipe that nobody reads."""
        self.folder = game_folder(data_dir, files)
        self.proc = None
        self.log = tempfile.TemporaryFile()
        self.xvfb, self.display = start_x(screen)
        self.env = dict(os.environ, DISPLAY=self.display, SDL_AUDIODRIVER="dummy", **(env or {}))
        self.env.pop("SDL_VIDEODRIVER", None)
        self.window = None
        try:
            errors, unread = subprocess.STDOUT, None
            if stderr == "broken":
                unread, errors = os.pipe()
                os.close(unread)
            self.proc = subprocess.Popen(
                [binary, *args], cwd=self.folder, env=self.env, stdout=self.log, stderr=errors,
                preexec_fn=(lambda: os.close(2)) if stderr == "closed" else None)
            if unread is not None:
                os.close(errors)
            if not poll(self._find_window, 10):
                raise AssertionError(f"game window did not appear (exit status {self.proc.poll()}"
                                     f", output: {self.output()[-500:]!r})")
        except BaseException:
            self.finish()
            raise

    def _find_window(self):
        r = subprocess.run(["xdotool", "search", "--name", "^Untitled$"], env=self.env,
                           capture_output=True, text=True)
        ids = r.stdout.split()
        if ids:
            self.window = ids[0]
            subprocess.run(["xdotool", "windowfocus", "--sync", self.window], env=self.env,
                           capture_output=True)
            return True
        return False

    def picture(self):
        data = subprocess.run(["xwd", "-silent", "-id", self.window], env=self.env,
                              capture_output=True, check=True).stdout
        return parse_xwd(data)

    def wait_picture(self, cond, seconds=5, message="picture did not appear"):
        """Polls the window until cond(picture) holds; returns that picture (poll's timeout)."""
        return poll(lambda: (lambda p: cond(p) and p)(self.picture()), seconds, message)

    def key(self, *names, delay_ms=60):
        subprocess.run(["xdotool", "windowfocus", self.window], env=self.env, capture_output=True)
        subprocess.run(["xdotool", "key", "--delay", str(delay_ms), *names], env=self.env,
                       check=True, capture_output=True)

    def close_window(self):
        from xclose import close_window
        close_window(self.display, self.window)

    def wait_exit(self, seconds=5):
        try:
            return self.proc.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            return None

    def file(self, name):
        with open(os.path.join(self.folder, name), "rb") as f:
            return f.read()

    def output(self):
        """What the game printed so far."""
        self.log.seek(0)
        return self.log.read().decode(errors="replace")

    def finish(self):
        if self.proc is not None and self.proc.poll() is None:
            self.proc.send_signal(signal.SIGKILL)
            self.proc.wait()
        self.xvfb.terminate()
        try:
            self.xvfb.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.xvfb.kill()
        self.log.close()
        shutil.rmtree(self.folder, ignore_errors=True)
