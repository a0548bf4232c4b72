#!/usr/bin/env python3
"""Writes Kivora's icons (.ico, 16 colours) from the pixel tables of icon_maps.py.

Pixel tables are lists of rows; each character is one pixel:
  '.'       transparent (mask bit set, palette index 0)
  0-9, a-f  an index into the standard 16-colour palette

Most tray icons are drawn from a region map instead (a table whose characters
name parts of the picture) and a colour for each region, so the icons of one
family share their drawing.

Sizes. Every tray icon and lock-state part holds a 16, 20, 24 and 32-pixel
image (100 %, 125 %, 150 % and 200 % scaling), each from its own map, so
Windows picks the one for the taskbar's DPI instead of stretching a small
one. The application icon (107) holds 16, 24, 32 and 48 pixels in 16 colours
and a 256-pixel PNG image drawn from shapes with smooth edges.

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
transparent; key overlays never touch what a state overlay draws. Kivora
composes at whatever size the taskbar asks for, so main() checks all of this
at every size before writing anything.
"""
import argparse
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import icon_maps  # noqa: E402
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


# Every tray icon and lock-state part holds one image of each size; the
# 16-pixel one comes first (pictures.py copies it).
SIZES = (16, 20, 24, 32)
APP_SIZES = (16, 24, 32, 48)  # plus the 256-pixel PNG image
APP_LARGE = 256


def paint(region_map, colours):
    """A pixel table from a region map: '.' stays transparent, unnamed regions become '.'."""
    return ["".join(colours.get(ch, ".") if ch != "." else "." for ch in row) for row in region_map]


def paint_base(region_map, colours):
    # The base is opaque everywhere the map is, also where its index is 0.
    return ["".join(colours.get(ch, "8" if ch == "k" else "0") if ch != "." else "." for ch in row)
            for row in region_map]


def family(maps, colours, painter=paint):
    """One picture at every size: each size's own map painted with the same colours."""
    return [painter(maps[size], colours) for size in SIZES]


def lamp(region):
    return family(icon_maps.LOCK_STATE, {region: KEY_ON})


ICONS = {
    107: [icon_maps.APP[size] for size in APP_SIZES],
    129: family(icon_maps.PADLOCK, FLASH),
    130: family(icon_maps.PADLOCK, WATCHING),
    131: family(icon_maps.OPEN_PADLOCK, PAUSED),
    174: family(icon_maps.DEVICE_PADLOCK, FLASH),
    175: family(icon_maps.DEVICE_PADLOCK, WATCHING),
    176: family(icon_maps.DEVICE_OPEN_PADLOCK, PAUSED),
    177: family(icon_maps.LOCK_STATE, BASE, paint_base),
    178: family(icon_maps.LOCK_STATE, BASE_DEVICE, paint_base),
    179: lamp("N"),
    180: lamp("C"),
    181: lamp("S"),
    182: family(icon_maps.LOCK_STATE, STATE_WATCHING),
    183: family(icon_maps.LOCK_STATE, STATE_PAUSED),
    184: family(icon_maps.LOCK_STATE, STATE_FLASH),
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
    if size not in SIZES + APP_SIZES or any(len(r) != size for r in rows):
        sizes = "/".join(map(str, SIZES + APP_SIZES))
        raise ValueError("icon tables must be square, %s pixels" % sizes)
    for r in rows:
        for ch in r:
            if ch != "." and ch not in "0123456789abcdef":
                raise ValueError("bad pixel %r" % ch)


def check_parts():
    """The composition rules of the module comment, checked on the tables of every size."""
    for number, tables in ICONS.items():
        sizes = tuple(len(t) for t in tables)
        if sizes != (APP_SIZES if number == 107 else SIZES):
            raise ValueError("icon %d has sizes %s" % (number, sizes))
    for n, size in enumerate(SIZES):
        for number, allowed in PART_INDEXES.items():
            used = {pixel_index(ch) for row in ICONS[number][n] for ch in row} - {0}
            if not used <= allowed:
                raise ValueError("part %d at %d pixels uses indexes %s" %
                                 (number, size, sorted(used - allowed)))
        bases = (ICONS[177][n], ICONS[178][n])
        for number in STATE_PARTS + KEY_PARTS:
            for y, row in enumerate(ICONS[number][n]):
                for x, ch in enumerate(row):
                    if pixel_index(ch) and any(base[y][x] == "." for base in bases):
                        raise ValueError("part %d at %d pixels draws outside the base at %d,%d" %
                                         (number, size, x, y))
        for key in KEY_PARTS:
            for state in STATE_PARTS:
                for a, b in zip(ICONS[key][n], ICONS[state][n]):
                    if any(pixel_index(p) and pixel_index(q) for p, q in zip(a, b)):
                        raise ValueError("parts %d and %d overlap at %d pixels" %
                                         (key, state, size))


def compose(index, size=16):
    """The lock-state icon `index` as Kivora composes it: (indexes, transparent) rows."""
    n = SIZES.index(size)
    device, num, caps, scroll, state = index & 1, index & 2, index & 4, index & 8, index >> 4
    base = ICONS[178 if device else 177][n]
    layers = [ICONS[STATE_PARTS[state]][n]]
    layers += [ICONS[k][n] for k, on in zip(KEY_PARTS, (num, caps, scroll)) if on]
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            value = pixel_index(base[y][x])
            for layer in layers:
                value |= pixel_index(layer[y][x])
            row.append(None if base[y][x] == "." else value)
        rows.append(row)
    return rows


def image_bytes(rows):
    """One 4-bit icon image: BITMAPINFOHEADER, palette, XOR pixels, AND mask (bottom-up,
    rows padded to four bytes)."""
    check_table(rows)
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (b, g, r) in PALETTE)
    xor = bytearray()
    mask = bytearray()
    xor_stride = ((size * 4 + 31) // 32) * 4
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        line = bytearray(xor_stride)
        for x in range(0, size, 2):
            line[x // 2] = (pixel_index(row[x]) << 4) | pixel_index(row[x + 1])
        xor += line
        bits = bytearray(mask_stride)
        for x, ch in enumerate(row):
            if ch == ".":
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + palette + bytes(xor) + bytes(mask)


def ico_bytes(tables, png=None):
    """An .ico of 16-colour images, one per table, and optionally a 256-pixel
    PNG image (Windows Vista on read those as they are)."""
    images = [(len(t), 16, 4, image_bytes(t)) for t in tables]
    if png:
        images.append((APP_LARGE, 0, 32, png))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, colours, bits, img in images:
        side = size % 256  # 0 stands for 256
        out += struct.pack("<BBBBHHII", side, side, colours, 0, 1, bits, len(img), offset)
        offset += len(img)
    for _, _, _, img in images:
        out += img
    return bytes(out)


def rgba(index):
    b, g, r = PALETTE[index]
    return (r, g, b, 255)


# --- The 256-pixel application icon, drawn from shapes with smooth edges: the
# 32-pixel drawing's design in 256ths, sampled 4 x 4 times a pixel.

def _in_round_rect(x, y, box, radius):
    x0, y0, x1, y1 = box
    if not (x0 <= x < x1 and y0 <= y < y1):
        return False
    cx = min(max(x, x0 + radius), x1 - radius)
    cy = min(max(y, y0 + radius), y1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def _app_large_colour(x, y):
    """The colour at a point of the 256-pixel drawing; None is transparent."""
    navy, blue, black, green = rgba(4), rgba(12), rgba(0), rgba(10)
    white, grey = rgba(15), rgba(7)
    if not _in_round_rect(x, y, (8, 8, 248, 248), 40):
        return None
    colour = blue if _in_round_rect(x, y, (18, 18, 238, 238), 31) else navy
    for left in (44, 108, 172):
        if _in_round_rect(x, y, (left, 30, left + 40, 70), 6):
            colour = green if _in_round_rect(x, y, (left + 8, 38, left + 32, 62), 3) else black
    if y < 140 and _in_round_rect(x, y, (82, 84, 174, 180), 46) and \
            not _in_round_rect(x, y, (102, 104, 154, 180), 26):
        colour = white
    if _in_round_rect(x, y, (66, 136, 190, 226), 10):
        colour = grey if y >= 216 else white
    keyhole = (x - 128) ** 2 + (y - 166) ** 2 <= 15 * 15 or \
        (158 <= y < 204 and abs(x - 128) <= 7 + (y - 166) * 0.12)
    if keyhole:
        colour = navy
    return colour


def app_large_png(samples=4):
    """The 256-pixel application icon as PNG bytes (8-bit RGBA)."""
    size = APP_LARGE
    offsets = [(i + 0.5) / samples for i in range(samples)]
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            # Only pixels on an edge need the samples.
            corners = {_app_large_colour(px + dx, py + dy)
                       for dx in (0.01, 0.99) for dy in (0.01, 0.99)}
            if len(corners) == 1:
                only = corners.pop()
                row.append(only or (0, 0, 0, 0))
                continue
            r = g = b = covered = 0
            for dy in offsets:
                for dx in offsets:
                    c = _app_large_colour(px + dx, py + dy)
                    if c:
                        r, g, b, covered = r + c[0], g + c[1], b + c[2], covered + 1
            if covered:
                row.append((round(r / covered), round(g / covered), round(b / covered),
                            round(255 * covered / (samples * samples))))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pngfile.png_bytes(size, size, pixels)


def preview(path, scale=4):
    """A sheet for looking at the icons, one block per size (16, 20, 24, 32
    pixels, each pixel `scale` times): the single icons and the application
    icon, then the 48 composed ones (rows: paused, watching, flash), on a
    light and a dark taskbar colour; the 48-pixel application icon last."""
    blocks = []
    for size in SIZES:
        singles = [ICONS[n][SIZES.index(size)] for n in (130, 131, 129, 175, 176, 174)]
        if size in APP_SIZES:
            singles.append(ICONS[107][APP_SIZES.index(size)])
        pictures = [[[None if ch == "." else pixel_index(ch) for ch in row] for row in t]
                    for t in singles]
        compositions = [[compose(i, size) for i in range(16 * state, 16 * state + 16)]
                        for state in range(3)]
        rows = [pictures] + compositions
        blocks.append((size, rows))
    big = [[None if ch == "." else pixel_index(ch) for ch in row] for row in ICONS[107][-1]]
    blocks.append((48, [[big]]))
    cell = lambda size: size * scale + 8  # noqa: E731
    width = 16 * cell(max(SIZES))
    height = sum(cell(size) * len(rows) for size, rows in blocks)
    sheet_w = width * 2
    pixels = [[(0, 0, 0, 255)] * sheet_w for _ in range(height)]
    for half, bg in enumerate(((0xE8, 0xE8, 0xE8, 255), (0x20, 0x20, 0x20, 255))):
        for y in range(height):
            pixels[y][half * width:(half + 1) * width] = [bg] * width
        top = 0
        for size, rows in blocks:
            for row in rows:
                for col, picture in enumerate(row):
                    ox, oy = half * width + col * cell(size) + 4, top + 4
                    for y in range(size):
                        for x in range(size):
                            value = picture[y][x]
                            if value is None:
                                continue
                            for dy in range(scale):
                                line = pixels[oy + y * scale + dy]
                                line[ox + x * scale:ox + (x + 1) * scale] = [rgba(value)] * scale
                top += cell(size)
    pngfile.write_if_changed(path, pngfile.png_bytes(sheet_w, height, pixels))


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("outdir", metavar="OUTPUT_DIR", help="where the .ico files go")
    parser.add_argument("--preview", metavar="SHEET.png",
                        help="also draw every icon at every size and the 48 compositions "
                             "into this PNG")
    return parser.parse_args()


def main():
    args = parse_arguments()
    outdir, preview_path = args.outdir, args.preview
    check_parts()
    os.makedirs(outdir, exist_ok=True)
    for number, tables in sorted(ICONS.items()):
        path = os.path.join(outdir, "icon%d.ico" % number)
        png = app_large_png() if number == 107 else None
        pngfile.write_if_changed(path, ico_bytes(tables, png))
    if preview_path:
        preview(preview_path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
