#!/usr/bin/env python3
"""Converts Linux console PSF fonts into the game's code page 437 glyph tables (data/font8x*.cpp).

The 8 x 16 table comes from a font that carries a Unicode table; every code page 437 code is
looked up there by its character. The 8 x 8 table comes from a font without a Unicode table
whose glyph order is another IBM code page (--order8x8); the codes where that page differs
from 437 are drawn by hand below, in the style of the IBM 8 x 8 set.
"""

import argparse
import gzip
import struct
import sys
import unicodedata
from pathlib import Path

CONSOLE_FONTS = Path("/usr/share/consolefonts")

# Codes 0-31 and 127 show pictures on the IBM PC, not control characters.
_LOW_PICTURES = (
    "\u0000\u263a\u263b\u2665\u2666\u2663\u2660\u2022\u25d8\u25cb\u25d9\u2642\u2640\u266a\u266b\u263c"
    "\u25ba\u25c4\u2195\u203c\u00b6\u00a7\u25ac\u21a8\u2191\u2193\u2192\u2190\u221f\u2194\u25b2\u25bc"
)


def code_page_chars(page):
    """The character shown for each byte 0..255 on an IBM code page such as 'cp437'."""
    chars = []
    for code in range(256):
        if code < 32:
            chars.append(_LOW_PICTURES[code])
        elif code == 127:
            chars.append("\u2302")
        else:
            chars.append(bytes([code]).decode(page))
    return chars


CP437 = code_page_chars("cp437")

# Hand-drawn 8 x 8 glyphs for code page 437 characters missing from the 8 x 8 source font.
# '#' is a lit pixel; the rightmost column stays empty like the rest of the IBM set.
HAND_DRAWN_8X8 = {
    "\u00a2": (  # cent sign, 0x9B
        "...##...",
        "...##...",
        ".######.",
        "##......",
        "##......",
        ".######.",
        "...##...",
        "...##...",
    ),
    "\u00a5": (  # yen sign, 0x9D
        "##..##..",
        "##..##..",
        ".####...",
        "######..",
        "..##....",
        "######..",
        "..##....",
        "..##....",
    ),
    "\u00bb": (  # right-pointing double angle quotation mark, 0xAF
        "........",
        "##..##..",
        ".##..##.",
        "..##..##",
        ".##..##.",
        "##..##..",
        "........",
        "........",
    ),
}


class PsfFont:
    """Glyph bitmaps of a PSF1 or PSF2 font (8 pixels wide) and its Unicode table, if any."""

    def __init__(self, path):
        raw = Path(path).read_bytes()
        if raw[:2] == b"\x1f\x8b":
            raw = gzip.decompress(raw)
        self.path = Path(path)
        self.unicode = None
        if raw[:2] == b"\x36\x04":
            self._read_psf1(raw)
        elif raw[:4] == b"\x72\xb5\x4a\x86":
            self._read_psf2(raw)
        else:
            sys.exit(f"{path}: not a PSF font")

    def _read_psf1(self, raw):
        mode, self.height = raw[2], raw[3]
        count = 512 if mode & 0x01 else 256
        end = 4 + count * self.height
        self.glyphs = [raw[4 + i * self.height : 4 + (i + 1) * self.height] for i in range(count)]
        if mode & 0x06:
            table = raw[end:]
            values = struct.unpack(f"<{len(table) // 2}H", table[: len(table) // 2 * 2])
            self.unicode = [[]]
            in_sequence = False
            for value in values:
                if value == 0xFFFF:
                    self.unicode.append([])
                    in_sequence = False
                elif value == 0xFFFE:
                    in_sequence = True  # combining sequences name no single character
                elif not in_sequence:
                    self.unicode[-1].append(chr(value))
            self.unicode = self.unicode[:count]

    def _read_psf2(self, raw):
        _, _, header_size, flags, count, size, self.height, width = struct.unpack(
            "<8I", raw[:32]
        )
        if width != 8 or size != self.height:
            sys.exit(f"{self.path}: glyphs must be 8 pixels wide")
        end = header_size + count * size
        self.glyphs = [raw[header_size + i * size : header_size + (i + 1) * size] for i in range(count)]
        if flags & 0x01:
            self.unicode = []
            for entry in raw[end:].split(b"\xff")[:count]:
                single = entry.split(b"\xfe")[0]
                self.unicode.append(list(single.decode("utf-8")))


def table_from_unicode_font(font):
    """Glyphs in code page 437 order, each code found by its character in the font's table."""
    if font.unicode is None:
        sys.exit(f"{font.path}: no Unicode table, give its code page order instead")
    where = {}
    for index, chars in enumerate(font.unicode):
        for char in chars:
            where.setdefault(char, index)
    glyphs, moved = [], []
    for code in range(256):
        if code == 0:
            glyphs.append(bytes(font.height))  # code 0 is blank on the IBM PC
            continue
        index = where.get(CP437[code])
        if index is None:
            sys.exit(f"{font.path}: no glyph for code 0x{code:02X} ({CP437[code]!r})")
        if index != code:
            moved.append(code)
        glyphs.append(font.glyphs[index])
    if moved:
        print(f"{font.path}: {len(moved)} codes not in code page 437 order", file=sys.stderr)
    return glyphs


def table_from_ordered_font(font, page, hand_drawn):
    """Glyphs of a font laid out in code page `page`, with the codes where it differs from
    code page 437 replaced by hand-drawn ones."""
    if len(font.glyphs) < 256:
        sys.exit(f"{font.path}: fewer than 256 glyphs")
    own = code_page_chars(page)
    glyphs = []
    for code in range(256):
        if own[code] == CP437[code]:
            glyphs.append(font.glyphs[code])
            continue
        picture = hand_drawn.get(CP437[code])
        if picture is None or len(picture) != font.height:
            sys.exit(f"no hand-drawn glyph for code 0x{code:02X} ({CP437[code]!r})")
        glyphs.append(bytes(int(row.replace("#", "1").replace(".", "0"), 2) for row in picture))
        print(f"code 0x{code:02X}: {own[code]!r} of {page} redrawn as {CP437[code]!r}", file=sys.stderr)
    return glyphs


def describe(code):
    char = CP437[code]
    if 0x21 <= code <= 0x7E and char not in "'\\":
        return f"0x{code:02X} '{char}'"
    name = "null" if code == 0 else unicodedata.name(char, "unnamed").lower()
    return f"0x{code:02X} {name}"


def write_table(path, name, glyphs, height, source):
    lines = [
        f"// Code page 437 glyphs, 8 x {height} pixels: one byte per row, leftmost pixel in the MSB.",
        f"// Generated by tools/fonts/psf_to_cpp.py from {source}; do not edit by hand.",
        '#include "data/fonts.h"',
        "",
        "namespace data {",
        "",
        "// clang-format off",
        f"const std::uint8_t {name}[256][{height}] = {{",
    ]
    for code, glyph in enumerate(glyphs):
        rows = [f"0x{b:02X}" for b in glyph]
        if height <= 8:
            lines.append(f"    {{{', '.join(rows)}}}, // {describe(code)}")
        else:
            lines.append(f"    // {describe(code)}")
            lines.append(f"    {{{', '.join(rows[:8])},")
            lines.append(f"     {', '.join(rows[8:])}}},")
    lines += ["};", "// clang-format on", "", "} // namespace data", ""]
    Path(path).write_text("\n".join(lines))


def main():
    here = Path(__file__).resolve().parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--font8x16", default=CONSOLE_FONTS / "default8x16.psf.gz")
    parser.add_argument("--font8x8", default=CONSOLE_FONTS / "cp865-8x8.psf.gz")
    parser.add_argument("--order8x8", default="cp865", help="code page of the 8 x 8 font's order")
    parser.add_argument("--out", default=here.parent.parent / "data", help="the data/ folder")
    args = parser.parse_args()

    tall = PsfFont(args.font8x16)
    if tall.height != 16:
        sys.exit(f"{tall.path}: not 16 pixels tall")
    small = PsfFont(args.font8x8)
    if small.height != 8:
        sys.exit(f"{small.path}: not 8 pixels tall")

    out = Path(args.out)
    write_table(out / "font8x16.cpp", "kFont8x16", table_from_unicode_font(tall), 16, tall.path.name)
    glyphs8 = table_from_ordered_font(small, args.order8x8, HAND_DRAWN_8X8)
    write_table(out / "font8x8.cpp", "kFont8x8", glyphs8, 8, small.path.name)


if __name__ == "__main__":
    main()
