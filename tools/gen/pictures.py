#!/usr/bin/env python3
"""Draws the two pictures that show where Kivora's tray icon hides:

  picture165.png  Windows 7, 8 and 8.1: the triangle button of the
                  notification area opens a light panel of hidden icons
  picture166.png  Windows 10 and 11: the chevron opens a dark flyout

Both are language-neutral (no words, only a clock). Shapes are drawn four
times larger and averaged down, so edges are smooth; icons are copied pixel
for pixel from the icon tables.
"""
import argparse
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import icons  # noqa: E402
import pngfile  # noqa: E402

WIDTH, HEIGHT = 240, 160
TASKBAR_TOP = 128
SS = 4  # supersampling factor

RED = (224, 32, 32, 255)


class Canvas:
    """An RGBA canvas in picture coordinates, drawn at SS times the size."""

    def __init__(self, width, height):
        self.w, self.h = width * SS, height * SS
        self.px = [[(0, 0, 0, 0)] * self.w for _ in range(self.h)]

    def _span(self, a, b, limit):
        return max(0, int(math.floor(a * SS))), min(limit, int(math.ceil(b * SS)))

    def _fill(self, x0, y0, x1, y1, inside, colour):
        """Sets every sample in the box whose centre `inside(x, y)` accepts (picture coordinates)."""
        sx0, sx1 = self._span(x0, x1, self.w)
        sy0, sy1 = self._span(y0, y1, self.h)
        for sy in range(sy0, sy1):
            y = (sy + 0.5) / SS
            row = self.px[sy]
            for sx in range(sx0, sx1):
                if inside((sx + 0.5) / SS, y):
                    row[sx] = colour

    def rect(self, x0, y0, x1, y1, colour):
        self._fill(x0, y0, x1, y1, lambda x, y: True, colour)

    def vertical_gradient(self, x0, y0, x1, y1, top, bottom):
        for sy in range(*self._span(y0, y1, self.h)):
            t = (sy / SS - y0) / max(1e-9, y1 - y0)
            c = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
            sx0, sx1 = self._span(x0, x1, self.w)
            self.px[sy][sx0:sx1] = [c] * (sx1 - sx0)

    def round_rect(self, x0, y0, x1, y1, r, colour):
        def inside(x, y):
            cx = min(max(x, x0 + r), x1 - r)
            cy = min(max(y, y0 + r), y1 - r)
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
        self._fill(x0, y0, x1, y1, inside, colour)

    def ring(self, cx, cy, rx, ry, thickness, colour):
        def inside(x, y):
            d = math.hypot((x - cx) / rx, (y - cy) / ry)
            return abs(d - 1) * min(rx, ry) <= thickness / 2
        self._fill(cx - rx - thickness, cy - ry - thickness, cx + rx + thickness, cy + ry + thickness,
                   inside, colour)

    def disc(self, cx, cy, r, colour):
        self._fill(cx - r, cy - r, cx + r, cy + r, lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour)

    def line(self, x0, y0, x1, y1, width, colour):
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy or 1e-9

        def inside(x, y):
            t = min(1, max(0, ((x - x0) * dx + (y - y0) * dy) / length2))
            return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2
        pad = width
        self._fill(min(x0, x1) - pad, min(y0, y1) - pad, max(x0, x1) + pad, max(y0, y1) + pad, inside, colour)

    def polygon(self, points, colour):
        def inside(x, y):
            hit = False
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                    hit = not hit
            return hit
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self._fill(min(xs), min(ys), max(xs), max(ys), inside, colour)

    def arrow(self, x0, y0, x1, y1, colour, width=3.0, head=9.0):
        """A straight arrow from (x0, y0) pointing at (x1, y1)."""
        angle = math.atan2(y1 - y0, x1 - x0)
        back = (x1 - head * math.cos(angle), y1 - head * math.sin(angle))
        self.line(x0, y0, back[0], back[1], width, colour)
        side = head * 0.6
        left = (back[0] + side * math.sin(angle), back[1] - side * math.cos(angle))
        right = (back[0] - side * math.sin(angle), back[1] + side * math.cos(angle))
        self.polygon([(x1, y1), left, right], colour)

    def icon(self, table, x, y):
        """An icon pixel table with its top-left corner at (x, y), one pixel per table cell."""
        for row_index, row in enumerate(table):
            for col, ch in enumerate(row):
                if ch != ".":
                    self.rect(x + col, y + row_index, x + col + 1, y + row_index + 1,
                              icons.rgba(icons.pixel_index(ch)))

    def text(self, s, x, y, colour, scale=1):
        """Digits and ':' in a 3x5 pixel font."""
        for ch in s:
            glyph = DIGITS[ch]
            for gy, row in enumerate(glyph):
                for gx, bit in enumerate(row):
                    if bit == "#":
                        self.rect(x + gx * scale, y + gy * scale, x + (gx + 1) * scale, y + (gy + 1) * scale,
                                  colour)
            x += (len(glyph[0]) + 1) * scale

    def pixels(self):
        """Averages each SS x SS block (colours weighted by their alpha)."""
        out = []
        n = SS * SS
        for y in range(0, self.h, SS):
            row = []
            block_rows = self.px[y:y + SS]
            for x in range(0, self.w, SS):
                r = g = b = a = 0
                for br in block_rows:
                    for (pr, pg, pb, pa) in br[x:x + SS]:
                        r += pr * pa
                        g += pg * pa
                        b += pb * pa
                        a += pa
                if a == 0:
                    row.append((0, 0, 0, 0))
                else:
                    row.append((round(r / a), round(g / a), round(b / a), round(a / n)))
            out.append(row)
        return out


DIGITS = {
    "0": ["###", "#.#", "#.#", "#.#", "###"],
    "1": [".#.", "##.", ".#.", ".#.", "###"],
    "2": ["###", "..#", "###", "#..", "###"],
    "3": ["###", "..#", ".##", "..#", "###"],
    "4": ["#.#", "#.#", "###", "..#", "..#"],
    ":": [".", "#", ".", "#", "."],
}

# Small stand-ins for other programs' tray icons (index tables like the icons).
OTHER_ICONS = [
    [  # a green status dot
        "................", "................", ".....222222.....", "....2aaaaaa2....",
        "...2aaaaaaaa2...", "..2aaffaaaaaa2..", "..2aaffaaaaaa2..", "..2aaaaaaaaaa2..",
        "..2aaaaaaaaaa2..", "..2aaaaaaaaaa2..", "..2aaaaaaaaaa2..", "...2aaaaaaaa2...",
        "....2aaaaaa2....", ".....222222.....", "................", "................",
    ],
    [  # a shield
        "................", "...4444444444...", "...4cccccccc4...", "...4cccffccc4...",
        "...4cccffccc4...", "...4cffffffc4...", "...4cffffffc4...", "...4cccffccc4...",
        "...4cccffccc4...", "....4ccffcc4....", "....4cccccc4....", ".....4cccc4.....",
        "......4cc4......", ".......44.......", "................", "................",
    ],
    [  # a cloud
        "................", "................", "................", "......7777......",
        ".....7ffff7.....", "...777ffff77....", "..7ffffffffff7..", ".7ffffffffffff7.",
        ".7ffffffffffff7.", ".7ffffffffffff7.", "..777777777777..", "................",
        "................", "................", "................", "................",
    ],
    [  # a printer-like box
        "................", "................", "....88888888....", "....8ffffff8....",
        "....8ffffff8....", "..888888888888..", "..877777777778..", "..877777777a78..",
        "..877777777778..", "..888888888888..", "....8ffffff8....", "....8f8888f8....",
        "....8ffffff8....", "....88888888....", "................", "................",
    ],
    [  # an orange-ish square (red and yellow)
        "................", "................", "..999999999999..", "..9bbbbbbbbbb9..",
        "..9bb999999bb9..", "..9b9bbbbbb9b9..", "..9b9bbbbbb9b9..", "..9b9bbbbbb9b9..",
        "..9b9bbbbbb9b9..", "..9b9bbbbbb9b9..", "..9b9bbbbbb9b9..", "..9bb999999bb9..",
        "..9bbbbbbbbbb9..", "..999999999999..", "................", "................",
    ],
]

# The sound and network symbols of the notification area, white on the taskbar.
SPEAKER = [
    "................", "................", "......f.........", ".....ff...f.....",
    "....fff....f....", "ffffffff.f..f...", "ffffffff..f.f...", "ffffffff..f.f...",
    "ffffffff..f.f...", "ffffffff.f..f...", "....fff....f....", ".....ff...f.....",
    "......f.........", "................", "................", "................",
]
NETWORK = [
    "................", "................", "................", "............ff..",
    "............ff..", "............ff..", "........ff..ff..", "........ff..ff..",
    "........ff..ff..", "....ff..ff..ff..", "....ff..ff..ff..", "....ff..ff..ff..",
    "ff..ff..ff..ff..", "ff..ff..ff..ff..", "................", "................",
]

KIVORA = icons.ICONS[130][0]


def taskbar_tray(c, x, y, icon_colour_tables):
    for i, table in enumerate(icon_colour_tables):
        c.icon(table, x + i * 22, y)


def highlight(c, x, y):
    """A red ring around a 16 x 16 icon whose top-left corner is (x, y)."""
    c.ring(x + 8, y + 8, 14, 14, 3, RED)


def picture_windows7():
    c = Canvas(WIDTH, HEIGHT)
    c.vertical_gradient(0, 0, WIDTH, TASKBAR_TOP, (58, 110, 165, 255), (28, 74, 128, 255))
    # Glassy taskbar with a start orb.
    c.vertical_gradient(0, TASKBAR_TOP, WIDTH, HEIGHT, (44, 62, 84, 255), (20, 32, 46, 255))
    c.rect(0, TASKBAR_TOP, WIDTH, TASKBAR_TOP + 1, (120, 150, 180, 255))
    c.disc(16, 144, 11, (36, 96, 58, 255))
    c.disc(16, 144, 9, (64, 150, 92, 255))
    c.disc(13, 140, 3.5, (170, 220, 180, 255))
    # Notification area: the triangle button, sound, network, clock.
    button_x = 132
    c.round_rect(button_x - 2, 134, button_x + 14, 154, 2, (70, 96, 124, 255))
    c.polygon([(button_x + 2, 148), (button_x + 10, 148), (button_x + 6, 140)], (240, 240, 240, 255))
    taskbar_tray(c, 154, 136, [SPEAKER, NETWORK])
    c.text("12:34", 200, 141, (240, 240, 240, 255))
    # The panel of hidden icons above the button.
    px0, py0, px1, py1 = 92, 34, 190, 100
    c.round_rect(px0 - 1, py0 - 1, px1 + 1, py1 + 1, 4, (120, 140, 170, 255))
    c.round_rect(px0, py0, px1, py1, 3, (244, 246, 250, 255))
    cells = OTHER_ICONS[:2] + [KIVORA, OTHER_ICONS[4], OTHER_ICONS[3]]
    kivora_at = None
    for i, table in enumerate(cells):
        x = px0 + 12 + (i % 3) * 30
        y = py0 + 10 + (i // 3) * 30
        c.icon(table, x, y)
        if table is KIVORA:
            kivora_at = (x, y)
    highlight(c, *kivora_at)
    c.arrow(button_x + 6, 132, button_x + 6, py1 + 5, RED)
    return c


def picture_windows10():
    c = Canvas(WIDTH, HEIGHT)
    c.vertical_gradient(0, 0, WIDTH, TASKBAR_TOP, (40, 60, 120, 255), (92, 52, 140, 255))
    # Dark taskbar with a few program buttons.
    c.rect(0, TASKBAR_TOP, WIDTH, HEIGHT, (32, 32, 32, 255))
    for i, colour in enumerate(((0, 120, 215, 255), (240, 180, 40, 255), (90, 190, 90, 255))):
        c.round_rect(10 + i * 26, 136, 28 + i * 26, 154, 3, colour)
    # Notification area: the chevron, sound, network, clock.
    chevron_x = 134
    c.round_rect(chevron_x - 3, 134, chevron_x + 15, 154, 3, (60, 60, 60, 255))
    c.line(chevron_x + 2, 147, chevron_x + 6, 141, 1.6, (240, 240, 240, 255))
    c.line(chevron_x + 6, 141, chevron_x + 10, 147, 1.6, (240, 240, 240, 255))
    taskbar_tray(c, 156, 136, [SPEAKER, NETWORK])
    c.text("12:34", 202, 141, (240, 240, 240, 255))
    # The flyout of hidden icons above the chevron.
    fx0, fy0, fx1, fy1 = 96, 40, 180, 100
    c.round_rect(fx0 - 1, fy0 - 1, fx1 + 1, fy1 + 1, 6, (80, 80, 80, 255))
    c.round_rect(fx0, fy0, fx1, fy1, 5, (43, 43, 43, 255))
    cells = [OTHER_ICONS[1], OTHER_ICONS[4], OTHER_ICONS[0], OTHER_ICONS[2], KIVORA, OTHER_ICONS[3]]
    kivora_at = None
    for i, table in enumerate(cells):
        x = fx0 + 10 + (i % 3) * 24
        y = fy0 + 8 + (i // 3) * 26
        c.icon(table, x, y)
        if table is KIVORA:
            kivora_at = (x, y)
    highlight(c, *kivora_at)
    c.arrow(chevron_x + 6, 132, chevron_x + 6, fy1 + 5, RED)
    return c


PICTURES = {165: picture_windows7, 166: picture_windows10}


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("outdir", metavar="OUTPUT_DIR", help="where the two PNG files go")
    outdir = parser.parse_args().outdir
    os.makedirs(outdir, exist_ok=True)
    for number, draw in sorted(PICTURES.items()):
        canvas = draw()
        pixels = canvas.pixels()
        # Opaque pictures: the dialogs show them on their own background.
        pixels = [[(r, g, b, 255) for (r, g, b, _) in row] for row in pixels]
        data = pngfile.png_bytes(WIDTH, HEIGHT, pixels)
        pngfile.write_if_changed(os.path.join(outdir, "picture%d.png" % number), data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
