#!/usr/bin/env python3
"""Reads a Windows shortcut (.lnk, the Shell Link Binary File Format) and prints what Explorer
and the Start menu take from it, one "name=value" a line: Target (the local path the link
points to), Icon (the icon's file) and IconIndex. Exits 1 when the file is not a shortcut.
usage: shortcut.py FILE.lnk"""
import struct
import sys

HEADER_SIZE = 0x4C
LINK_CLSID = bytes.fromhex("0114020000000000c000000000000046")
HAS_ID_LIST, HAS_LINK_INFO, IS_UNICODE = 0x01, 0x02, 0x80
# The optional strings, in the order they follow the link info, each present when its flag is.
STRING_FLAGS = (("Name", 0x04), ("RelativePath", 0x08), ("WorkingDir", 0x10),
                ("Arguments", 0x20), ("Icon", 0x40))
LOCAL_BASE_PATH_OFFSET = 16
ICON_INDEX_OFFSET = 0x38


def c_string(data, start):
    return data[start:data.index(b"\0", start)].decode("latin-1")


def read(data):
    if len(data) < HEADER_SIZE or struct.unpack_from("<I", data)[0] != HEADER_SIZE \
            or data[4:20] != LINK_CLSID:
        sys.exit("not a shortcut")
    flags = struct.unpack_from("<I", data, 20)[0]
    fields = {"IconIndex": struct.unpack_from("<i", data, ICON_INDEX_OFFSET)[0]}
    pos = HEADER_SIZE
    if flags & HAS_ID_LIST:
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
    if flags & HAS_LINK_INFO:
        size = struct.unpack_from("<I", data, pos)[0]
        base = struct.unpack_from("<I", data, pos + LOCAL_BASE_PATH_OFFSET)[0]
        if base:
            fields["Target"] = c_string(data, pos + base)
        pos += size
    for name, flag in STRING_FLAGS:
        if flags & flag:
            count = struct.unpack_from("<H", data, pos)[0]
            pos += 2
            width = 2 if flags & IS_UNICODE else 1
            raw = data[pos:pos + count * width]
            fields[name] = raw.decode("utf-16-le" if width == 2 else "latin-1")
            pos += count * width
    return fields


def main():
    for name, value in sorted(read(open(sys.argv[1], "rb").read()).items()):
        print("%s=%s" % (name, value))


if __name__ == "__main__":
    main()
