#!/usr/bin/env python3
"""Writes Kivora's icons (.ico, 16 colours) from the pixel tables below.

Every picture is a list of rows; each character is one pixel:
  '.'       transparent (mask bit set, palette index 0)
  0-9, a-f  an index into the standard 16-colour palette

The tray-state parts (177-184) are composed at run time by OR-ing palette
indexes, so their tables are drawn with that in mind.

usage: icons.py OUTPUT_DIR
"""
import os
import struct
import sys

# The standard Windows 16-colour palette (index: B, G, R).
PALETTE = [
    (0x00, 0x00, 0x00), (0x00, 0x00, 0x80), (0x00, 0x80, 0x00), (0x00, 0x80, 0x80),
    (0x80, 0x00, 0x00), (0x80, 0x00, 0x80), (0x80, 0x80, 0x00), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0x00, 0x00, 0xFF), (0x00, 0xFF, 0x00), (0x00, 0xFF, 0xFF),
    (0xFF, 0x00, 0x00), (0xFF, 0x00, 0xFF), (0xFF, 0xFF, 0x00), (0xFF, 0xFF, 0xFF),
]

# Application icon (107): a padlock over a key cap, drawn at 32 and 16 pixels.
APP_32 = [
    "................................",
    "................................",
    "...........88888888.............",
    "..........8777777778............",
    ".........877888888778...........",
    "........87788....88778..........",
    "........8778......8778..........",
    "........8778......8778..........",
    "........8778......8778..........",
    "........8778......8778..........",
    "........8778......8778..........",
    "......888888888888888888........",
    "......8eeeeeeeeeeeeeeee8........",
    "......8e66666666666666e8........",
    "......8e66666666666666e8........",
    "......8e66666600666666e8........",
    "......8e66666000066666e8........",
    "......8e66666000066666e8........",
    "......8e66666600666666e8........",
    "......8e66666600666666e8........",
    "......8e66666600666666e8........",
    "......8e66666666666666e8........",
    "......8e66666666666666e8........",
    "......866666666666666668........",
    "......888888888888888888........",
    "................................",
    "....88888888888888888888888.....",
    "....8ffffffffffffffffffff78.....",
    "....8f7777777777777777777708....",
    "....87000000000000000000000.....",
    "................................",
    "................................",
]

APP_16 = [
    "................",
    ".....888888.....",
    "....87888878....",
    "....878..878....",
    "....878..878....",
    "...8888888888...",
    "...8eeeeeeee8...",
    "...8e666666e8...",
    "...8e660066e8...",
    "...8e660066e8...",
    "...8e666066e8...",
    "...8e666666e8...",
    "...8666666668...",
    "...8888888888...",
    "................",
    "................",
]

ICONS = {
    107: [APP_32, APP_16],
}


def pixel_index(ch):
    return 0 if ch == "." else int(ch, 16)


def check_table(rows):
    size = len(rows)
    if size not in (16, 32) or any(len(r) != size for r in rows):
        raise ValueError("icon tables must be 16x16 or 32x32")
    for r in rows:
        for ch in r:
            if ch != "." and ch not in "0123456789abcdef":
                raise ValueError("bad pixel %r" % ch)


def image_bytes(rows):
    """One 4-bit icon image: BITMAPINFOHEADER, palette, XOR pixels, AND mask (bottom-up)."""
    check_table(rows)
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (b, g, r) in PALETTE)
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        for x in range(0, size, 2):
            xor.append((pixel_index(row[x]) << 4) | pixel_index(row[x + 1]))
        bits = bytearray(mask_stride)
        for x, ch in enumerate(row):
            if ch == ".":
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + palette + bytes(xor) + bytes(mask)


def ico_bytes(tables):
    images = [image_bytes(t) for t in tables]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for t, img in zip(tables, images):
        size = len(t)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    return bytes(out)


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    for number, tables in sorted(ICONS.items()):
        path = os.path.join(outdir, "icon%d.ico" % number)
        data = ico_bytes(tables)
        old = None
        if os.path.exists(path):
            with open(path, "rb") as f:
                old = f.read()
        if old != data:
            with open(path, "wb") as f:
                f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
