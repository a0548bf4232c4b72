#!/usr/bin/env python3
"""Writes the test pictures for the PNG decoding tests.

usage: sample_pictures.py OUTPUT_DIR
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools", "gen"))
import pngfile  # noqa: E402

RED = (255, 0, 0, 255)
CLEAR = (0, 0, 0, 0)


def main():
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    # 5 x 3, red, with a fully transparent top-left pixel.
    pixels = [[RED] * 5 for _ in range(3)]
    pixels[0][0] = CLEAR
    pngfile.write_if_changed(os.path.join(outdir, "transparent_corner.png"), pngfile.png_bytes(5, 3, pixels))
    return 0


if __name__ == "__main__":
    sys.exit(main())
