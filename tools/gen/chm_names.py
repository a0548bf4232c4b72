#!/usr/bin/env python3
"""Lists the names stored in a compiled HTML Help file (.chm), one a line.

    chm_names.py FILE.chm

Reads the ITSF header, the ITSP directory header and its PMGL listing
chunks; the content itself (LZX-compressed) is not needed for the names.
"""
import argparse
import struct
import sys


def encint(data, pos):
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def directory_entries(data):
    """(name, section, offset, length) of every entry of the PMGL listing."""
    if data[:4] != b"ITSF":
        raise ValueError("not a CHM file (no ITSF header)")
    directory = struct.unpack_from("<Q", data, 0x48)[0]
    if data[directory:directory + 4] != b"ITSP":
        raise ValueError("no ITSP directory header")
    header_length, = struct.unpack_from("<I", data, directory + 0x08)
    chunk_size, = struct.unpack_from("<I", data, directory + 0x10)
    chunks, = struct.unpack_from("<I", data, directory + 0x2C)
    for n in range(chunks):
        chunk = directory + header_length + n * chunk_size
        if data[chunk:chunk + 4] != b"PMGL":
            continue
        free, = struct.unpack_from("<I", data, chunk + 4)
        pos, end = chunk + 0x14, chunk + chunk_size - free
        while pos < end:
            length, pos = encint(data, pos)
            name = data[pos:pos + length].decode("utf-8")
            pos += length
            section, pos = encint(data, pos)
            offset, pos = encint(data, pos)
            size, pos = encint(data, pos)
            yield name, section, offset, size


def names(data):
    return [name for name, _, _, _ in directory_entries(data)]


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("chm", metavar="FILE.chm", help="the compiled help file to list")
    with open(parser.parse_args().chm, "rb") as f:
        print("\n".join(names(f.read())))


if __name__ == "__main__":
    main()
