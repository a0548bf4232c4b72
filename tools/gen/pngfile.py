"""Writes PNG files (8-bit RGBA, no interlace) with the standard library only.

The output depends only on the pixels, so generated pictures are byte for byte
reproducible. It is a module for icons.py and pictures.py; run on its own it
only answers --help.
"""
import argparse
import struct
import zlib


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png_bytes(width, height, pixels):
    """pixels: a list of `height` rows, each a list of `width` (r, g, b, a) tuples."""
    if len(pixels) != height or any(len(row) != width for row in pixels):
        raise ValueError("pixel rows do not match %dx%d" % (width, height))
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # filter: none
        for (r, g, b, a) in row:
            raw += bytes((r, g, b, a))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header) +
            _chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + _chunk(b"IEND", b""))


def write_if_changed(path, data):
    """Writes only when the content differs, so builds that depend on it stay up to date."""
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except FileNotFoundError:
        pass
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    argparse.ArgumentParser(description=__doc__).parse_args()
