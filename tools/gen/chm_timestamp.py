#!/usr/bin/env python3
"""Sets the compile time a CHM file records to a fixed date.

    chm_timestamp.py FILE.chm EPOCH_FILE

chmcmd stamps the time of day it ran, in milliseconds, twice: in the ITSF
header (big-endian) and in the #SYSTEM file's entry 10 (little-endian). Both
become the time of day of SOURCE_DATE_EPOCH (read from EPOCH_FILE, in UTC),
so two builds of one commit give the same help file. #SYSTEM lies in the
uncompressed section 0, and nothing in the file sums these bytes.
"""
import pathlib
import struct
import sys

from chm_names import directory_entries

SYSTEM_TIMESTAMP_CODE = 10


def system_timestamp_position(data):
    content = struct.unpack_from("<Q", data, 0x58)[0]
    for name, section, offset, size in directory_entries(data):
        if name != "/#SYSTEM":
            continue
        if section != 0:
            raise ValueError("#SYSTEM is not in the uncompressed section")
        pos, end = content + offset + 4, content + offset + size  # after the version
        while pos + 4 <= end:
            code, length = struct.unpack_from("<HH", data, pos)
            if code == SYSTEM_TIMESTAMP_CODE and length == 4:
                return pos + 4
            pos += 4 + length
        raise ValueError("#SYSTEM holds no time stamp")
    raise ValueError("no #SYSTEM file")


def main():
    path = pathlib.Path(sys.argv[1])
    epoch = int(pathlib.Path(sys.argv[2]).read_text().strip())
    stamp = (epoch % 86400) * 1000
    data = bytearray(path.read_bytes())
    if data[:4] != b"ITSF" or struct.unpack_from("<I", data, 4)[0] != 3:
        sys.exit(f"chm_timestamp: {path} is not a version 3 CHM file")
    struct.pack_into(">I", data, 0x10, stamp)
    struct.pack_into("<I", data, system_timestamp_position(data), stamp)
    path.write_bytes(bytes(data))


if __name__ == "__main__":
    main()
