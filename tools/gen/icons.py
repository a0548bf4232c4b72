#!/usr/bin/env python3
"""Writes Kivora's icons (.ico, 16 colours) from the pixel tables below.

Pixel tables are lists of rows; each character is one pixel:
  '.'       transparent (mask bit set, palette index 0)
  0-9, a-f  an index into the standard 16-colour palette

Most tray icons are drawn from a region map instead (a table whose characters
name parts of the picture) and a colour for each region, so the icons of one
family share their drawing.

Lock-state parts (177-184). Kivora composes its 48 lock-state icons at run
time by OR-ing the 4-bit palette indexes of a base with a state overlay and
one overlay per lock key that is on; the base's mask is kept. The palette
below makes OR useful: bit 3 brightens, bits 0-2 add red, green and blue, so
OR-ing index 8 (silver) with 1-7 gives the bright colours 9-15. The parts
therefore use only these indexes:

  177, 178 bases        8 body; 0 rim, lamps, letters and (178) the keyboard mark
  182 watching          4 body, rim and mark (8|4 = 12 blue, 0|4 = 4 navy), 15 letters (white)
  183 paused            0 body (stays 8 silver), 7 rim and letters (grey)
  184 flash             3 body, rim and mark (8|3 = 11 yellow, 0|3 = 3 olive), 0 letters (black)
  179, 180, 181 keys    10 on their own lamp only (0|10 = 10 green)

Overlays use index 0 everywhere else and never draw where a base is
transparent; key overlays never touch what a state overlay draws. main()
checks all of this before writing anything.
"""
import argparse
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pngfile  # noqa: E402

# The 16 colours (index: B, G, R) in the order Windows uses when it hands out
# 4-bit pixels of a bitmap (GetDIBits with a 16-colour header): 7 is grey and
# 8 silver. Writing the icons with the same table makes an index in the
# tables below the very index Kivora ORs at run time.
PALETTE = [
    (0x00, 0x00, 0x00), (0x00, 0x00, 0x80), (0x00, 0x80, 0x00), (0x00, 0x80, 0x80),
    (0x80, 0x00, 0x00), (0x80, 0x00, 0x80), (0x80, 0x80, 0x00), (0x80, 0x80, 0x80),
    (0xC0, 0xC0, 0xC0), (0x00, 0x00, 0xFF), (0x00, 0xFF, 0x00), (0x00, 0xFF, 0xFF),
    (0xFF, 0x00, 0x00), (0xFF, 0x00, 0xFF), (0xFF, 0xFF, 0x00), (0xFF, 0xFF, 0xFF),
]

# Application icon (107): a white padlock under three lit lamps on the blue
# of the watching icons, drawn at 32 and 16 pixels.
APP_32 = [
    "................................",
    "...44444444444444444444444444...",
    "..4cccccccccccccccccccccccccc4..",
    ".4cccccccccccccccccccccccccccc4.",
    ".4cccc0000cccc0000cccc0000cccc4.",
    ".4cccc0aa0cccc0aa0cccc0aa0cccc4.",
    ".4cccc0aa0cccc0aa0cccc0aa0cccc4.",
    ".4cccc0000cccc0000cccc0000cccc4.",
    ".4cccccccccccccccccccccccccccc4.",
    ".4cccccccccccffffffccccccccccc4.",
    ".4cccccccccffccccccffccccccccc4.",
    ".4cccccccccffccccccffccccccccc4.",
    ".4cccccccccffccccccffccccccccc4.",
    ".4cccccccccffccccccffccccccccc4.",
    ".4cccccccccffccccccffccccccccc4.",
    ".4cccccccccffccccccffccccccccc4.",
    ".4cccccccffffffffffffffccccccc4.",
    ".4cccccccffffffffffffffccccccc4.",
    ".4cccccccffffffffffffffccccccc4.",
    ".4cccccccfffff4444fffffccccccc4.",
    ".4cccccccfffff4444fffffccccccc4.",
    ".4cccccccfffff4444fffffccccccc4.",
    ".4cccccccffffff44ffffffccccccc4.",
    ".4cccccccffffff44ffffffccccccc4.",
    ".4cccccccffffff44ffffffccccccc4.",
    ".4cccccccffffffffffffffccccccc4.",
    ".4cccccccffffffffffffffccccccc4.",
    ".4ccccccc77777777777777ccccccc4.",
    ".4cccccccccccccccccccccccccccc4.",
    "..4cccccccccccccccccccccccccc4..",
    "...44444444444444444444444444...",
    "................................",
]

APP_16 = [
    ".44444444444444.",
    "4cccccccccccccc4",
    "4ccaaccaaccaacc4",
    "4ccaaccaaccaacc4",
    "4cccccccccccccc4",
    "4cccccffffccccc4",
    "4ccccfccccfcccc4",
    "4ccccfccccfcccc4",
    "4cccffffffffccc4",
    "4cccffffffffccc4",
    "4cccfff44fffccc4",
    "4cccfff44fffccc4",
    "4cccffffffffccc4",
    "4cccffffffffccc4",
    "4cccccccccccccc4",
    ".44444444444444.",
]

# Lock-state icons: three lamps (NumLock, CapsLock, ScrollLock) over the
# letters N, C, S, and a keyboard at the bottom when a watched keyboard is
# connected. Regions: r rim, b body, N/C/S the lamps, l letters, k keyboard mark.
LOCK_STATE_MAP = [
    ".rrrrrrrrrrrrrr.",
    "rNNNNbCCCCbSSSSr",
    "rNNNNbCCCCbSSSSr",
    "rNNNNbCCCCbSSSSr",
    "rNNNNbCCCCbSSSSr",
    "rbbbbbbbbbbbbbbr",
    "rlbblbblllbblllr",
    "rllblblbbbblbbbr",
    "rlbllblbbbbbllbr",
    "rlbblblbbbbbbblr",
    "rlbblbblllblllbr",
    "rbbbbbbbbbbbbbbr",
    "rbbkkkkkkkkkkbbr",
    "rbbkbbkbbkbbkbbr",
    "rbbkkkkkkkkkkbbr",
    ".rrrrrrrrrrrrrr.",
]

# Single tray icons: a padlock, closed while watching, open while paused;
# smaller, above the keyboard mark, when a watched keyboard is connected.
# Regions: r rim, b body, p padlock, k keyboard mark.
PADLOCK_MAP = [
    ".rrrrrrrrrrrrrr.",
    "rbbbbbbbbbbbbbbr",
    "rbbbbbbbbbbbbbbr",
    "rbbbbbppppbbbbbr",
    "rbbbbpbbbbpbbbbr",
    "rbbbbpbbbbpbbbbr",
    "rbbbbpbbbbpbbbbr",
    "rbbbppppppppbbbr",
    "rbbbppppppppbbbr",
    "rbbbpppbbpppbbbr",
    "rbbbpppbbpppbbbr",
    "rbbbppppppppbbbr",
    "rbbbppppppppbbbr",
    "rbbbbbbbbbbbbbbr",
    "rbbbbbbbbbbbbbbr",
    ".rrrrrrrrrrrrrr.",
]

OPEN_PADLOCK_MAP = [
    ".rrrrrrrrrrrrrr.",
    "rbbbbbbbbbbbbbbr",
    "rbbbbbppppbbbbbr",
    "rbbbbpbbbbpbbbbr",
    "rbbbbpbbbbpbbbbr",
    "rbbbbpbbbbbbbbbr",
    "rbbbbpbbbbbbbbbr",
    "rbbbppppppppbbbr",
    "rbbbppppppppbbbr",
    "rbbbpppbbpppbbbr",
    "rbbbpppbbpppbbbr",
    "rbbbppppppppbbbr",
    "rbbbppppppppbbbr",
    "rbbbbbbbbbbbbbbr",
    "rbbbbbbbbbbbbbbr",
    ".rrrrrrrrrrrrrr.",
]

DEVICE_PADLOCK_MAP = [
    ".rrrrrrrrrrrrrr.",
    "rbbbbbppppbbbbbr",
    "rbbbbpbbbbpbbbbr",
    "rbbbbpbbbbpbbbbr",
    "rbbbppppppppbbbr",
    "rbbbppppppppbbbr",
    "rbbbpppbbpppbbbr",
    "rbbbpppbbpppbbbr",
    "rbbbppppppppbbbr",
    "rbbbppppppppbbbr",
    "rbbbbbbbbbbbbbbr",
    "rbbbbbbbbbbbbbbr",
    "rbbkkkkkkkkkkbbr",
    "rbbkbbkbbkbbkbbr",
    "rbbkkkkkkkkkkbbr",
    ".rrrrrrrrrrrrrr.",
]

DEVICE_OPEN_PADLOCK_MAP = [
    ".rrrrrrrrrrrrrr.",
    "rbbbbbppppbbbbbr",
    "rbbbbpbbbbpbbbbr",
    "rbbbbpbbbbbbbbbr",
    "rbbbppppppppbbbr",
    "rbbbppppppppbbbr",
    "rbbbpppbbpppbbbr",
    "rbbbpppbbpppbbbr",
    "rbbbppppppppbbbr",
    "rbbbppppppppbbbr",
    "rbbbbbbbbbbbbbbr",
    "rbbbbbbbbbbbbbbr",
    "rbbkkkkkkkkkkbbr",
    "rbbkbbkbbkbbkbbr",
    "rbbkkkkkkkkkkbbr",
    ".rrrrrrrrrrrrrr.",
]

# Colours of the single icons' regions: blue while watching, silver while
# paused, yellow for the moment a key is pressed. The keyboard mark is a
# darker shade of the body, as in the composed icons.
WATCHING = {"r": "4", "b": "c", "p": "f", "k": "4"}
PAUSED = {"r": "7", "b": "8", "p": "7", "k": "0"}
FLASH = {"r": "3", "b": "b", "p": "0", "k": "3"}

# The composition parts as region colours; regions not named stay index 0
# (transparent in overlays). See the module comment for the rules.
BASE = {"b": "8", "N": "0", "C": "0", "S": "0", "l": "0"}
BASE_DEVICE = dict(BASE, k="0")
STATE_WATCHING = {"r": "4", "b": "4", "k": "4", "l": "f"}
STATE_PAUSED = {"r": "7", "l": "7"}
STATE_FLASH = {"r": "3", "b": "3", "k": "3"}
KEY_ON = "a"


def paint(region_map, colours):
    """A pixel table from a region map: '.' stays transparent, unnamed regions become '.'."""
    return ["".join(colours.get(ch, ".") if ch != "." else "." for ch in row) for row in region_map]


def paint_base(colours):
    # The base is opaque everywhere the map is, also where its index is 0.
    return ["".join(colours.get(ch, "8" if ch == "k" else "0") if ch != "." else "." for ch in row)
            for row in LOCK_STATE_MAP]


def lamp(region):
    return paint(LOCK_STATE_MAP, {region: KEY_ON})


ICONS = {
    107: [APP_32, APP_16],
    129: [paint(PADLOCK_MAP, FLASH)],
    130: [paint(PADLOCK_MAP, WATCHING)],
    131: [paint(OPEN_PADLOCK_MAP, PAUSED)],
    174: [paint(DEVICE_PADLOCK_MAP, FLASH)],
    175: [paint(DEVICE_PADLOCK_MAP, WATCHING)],
    176: [paint(DEVICE_OPEN_PADLOCK_MAP, PAUSED)],
    177: [paint_base(BASE)],
    178: [paint_base(BASE_DEVICE)],
    179: [lamp("N")],
    180: [lamp("C")],
    181: [lamp("S")],
    182: [paint(LOCK_STATE_MAP, STATE_WATCHING)],
    183: [paint(LOCK_STATE_MAP, STATE_PAUSED)],
    184: [paint(LOCK_STATE_MAP, STATE_FLASH)],
}

# Which indexes each composition part may use (0 is always allowed).
PART_INDEXES = {
    177: {0, 8}, 178: {0, 8},
    179: {10}, 180: {10}, 181: {10},
    182: {4, 15}, 183: {7}, 184: {3},
}
STATE_PARTS = (183, 182, 184)   # by state: paused, watching, flash
KEY_PARTS = (179, 180, 181)     # NumLock, CapsLock, ScrollLock


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


def check_parts():
    """The composition rules of the module comment, checked on the tables."""
    for number, allowed in PART_INDEXES.items():
        table = ICONS[number][0]
        used = {pixel_index(ch) for row in table for ch in row} - {0}
        if not used <= allowed:
            raise ValueError("part %d uses indexes %s" % (number, sorted(used - allowed)))
    bases = (ICONS[177][0], ICONS[178][0])
    for number in STATE_PARTS + KEY_PARTS:
        for y, row in enumerate(ICONS[number][0]):
            for x, ch in enumerate(row):
                if pixel_index(ch) and any(base[y][x] == "." for base in bases):
                    raise ValueError("part %d draws outside the base at %d,%d" % (number, x, y))
    for key in KEY_PARTS:
        for state in STATE_PARTS:
            for a, b in zip(ICONS[key][0], ICONS[state][0]):
                if any(pixel_index(p) and pixel_index(q) for p, q in zip(a, b)):
                    raise ValueError("parts %d and %d overlap" % (key, state))


def compose(index):
    """The lock-state icon `index` as Kivora composes it: (indexes, transparent) rows."""
    device, num, caps, scroll, state = index & 1, index & 2, index & 4, index & 8, index >> 4
    base = ICONS[178 if device else 177][0]
    layers = [ICONS[STATE_PARTS[state]][0]]
    layers += [ICONS[k][0] for k, on in zip(KEY_PARTS, (num, caps, scroll)) if on]
    rows = []
    for y in range(16):
        row = []
        for x in range(16):
            value = pixel_index(base[y][x])
            for layer in layers:
                value |= pixel_index(layer[y][x])
            row.append(None if base[y][x] == "." else value)
        rows.append(row)
    return rows


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


def rgba(index):
    b, g, r = PALETTE[index]
    return (r, g, b, 255)


def preview(path, scale=4):
    """A sheet for looking at the icons: the single icons, then the 48
    composed ones (rows: paused, watching, flash), on a light and a dark
    taskbar colour."""
    singles = [ICONS[n][-1] for n in (130, 131, 129, 175, 176, 174, 107)]
    pictures = [[[None if ch == "." else pixel_index(ch) for ch in row] for row in t] for t in singles]
    pictures += [compose(i) for i in range(48)]
    cell = 16 * scale + 8
    columns = 16
    grid_rows = 1 + 3
    width = columns * cell
    height = grid_rows * cell
    sheet_w = width * 2
    pixels = [[(0, 0, 0, 255)] * sheet_w for _ in range(height)]
    for half, bg in enumerate(((0xE8, 0xE8, 0xE8, 255), (0x20, 0x20, 0x20, 255))):
        for y in range(height):
            for x in range(width):
                pixels[y][half * width + x] = bg
        for n, picture in enumerate(pictures):
            if n < len(singles):
                col, grid_row = n, 0
            else:
                col, grid_row = (n - len(singles)) % 16, 1 + (n - len(singles)) // 16
            ox = half * width + col * cell + 4
            oy = grid_row * cell + 4
            for y in range(16):
                for x in range(16):
                    value = picture[y][x]
                    if value is None:
                        continue
                    for dy in range(scale):
                        for dx in range(scale):
                            pixels[oy + y * scale + dy][ox + x * scale + dx] = rgba(value)
    pngfile.write_if_changed(path, pngfile.png_bytes(sheet_w, height, pixels))


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("outdir", metavar="OUTPUT_DIR", help="where the .ico files go")
    parser.add_argument("--preview", metavar="SHEET.png",
                        help="also draw every icon and the 48 compositions into this PNG")
    return parser.parse_args()


def main():
    args = parse_arguments()
    outdir, preview_path = args.outdir, args.preview
    check_parts()
    os.makedirs(outdir, exist_ok=True)
    for number, tables in sorted(ICONS.items()):
        path = os.path.join(outdir, "icon%d.ico" % number)
        pngfile.write_if_changed(path, ico_bytes(tables))
    if preview_path:
        preview(preview_path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
