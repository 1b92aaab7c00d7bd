#!/usr/bin/env python3
"""Makes the desktop icon: the middle of a corridor picture, averaged down to a square."""
import struct
import sys
import zlib


def read_png(path):
    """Decodes an 8-bit RGB, non-interlaced PNG into (width, height, rows of (r, g, b))."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"{path}: not a PNG")
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour != 2 or interlace != 0:
                raise SystemExit(f"{path}: only 8-bit RGB pictures are read")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw, stride, rows, prev = zlib.decompress(idat), width * 3, [], bytearray(width * 3)
    for y in range(height):
        start = y * (stride + 1)
        filt, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b, c = prev[i], prev[i - 3] if i >= 3 else 0
            if filt == 1:
                line[i] = (line[i] + a) & 255
            elif filt == 2:
                line[i] = (line[i] + b) & 255
            elif filt == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif filt == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * 3:x * 3 + 3]) for x in range(width)])
        prev = line
    return width, height, rows


def write_png(path, size, pixels):
    def chunk(kind, body):
        crc = zlib.crc32(kind + body)
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", crc)
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in pixels)
    with open(path, "wb") as f:
        header = struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 4:
        raise SystemExit("usage: make_icon.py CORRIDOR.png ICON.png SIZE")
    width, height, rows = read_png(sys.argv[1])
    size = int(sys.argv[3])
    # The corridor fills the middle 400 columns; its 200 rows are shown twice as tall on screen.
    x0, x1 = (width - 400) // 2, (width + 400) // 2
    icon = []
    for j in range(size):
        ya, yb = j * height // size, max((j + 1) * height // size, j * height // size + 1)
        line = []
        for i in range(size):
            xa, xb = x0 + i * (x1 - x0) // size, x0 + (i + 1) * (x1 - x0) // size
            box = [rows[y][x] for y in range(ya, yb) for x in range(xa, xb)]
            line.append(tuple(sum(p[k] for p in box) // len(box) for k in range(3)))
        icon.append(line)
    write_png(sys.argv[2], size, icon)


main()
