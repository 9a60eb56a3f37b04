#!/usr/bin/env python3
"""Writes the hostile archives the archive tests extract, on every face.

Usage: hostile_archives.py FOLDER   (or import and call write_all(folder))

slip.zip      names leading out: "../", "..\\", "/", "C:/", "a/../../"; and "ok.txt"
symlink.zip   a link to "../outside" and a file under it; a link to "sub" inside
bomb.zip      10 GB of zeros declared (ZIP64), about 1011:1
overlap.zip   two directory entries sharing one local header
past_end.zip  a central directory that starts past the end of the file
damaged.zip   "good.txt", then "bad.txt" whose data fails its CRC
truncated.zip a valid archive cut in the middle of its data
many.zip      1025 small entries (one more than a name list may hold, plus one)
"""
import os
import struct
import sys
import zlib

UNIX_LINK = 0o120777 << 16
UNIX_FILE = 0o100644 << 16


def _local(name, data, method, crc, size, extra=b"", version=20, packed=None):
    return struct.pack("<IHHHHHIIIHH", 0x04034B50, version, 0, method, 0, 0x5821, crc,
                       len(data) if packed is None else packed, size, len(name),
                       len(extra)) + name + extra + data


def _central(name, packed, size, method, crc, offset, attributes, extra=b"", version=20):
    return struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 0x031E, version, 0, method, 0, 0x5821,
                       crc, packed, size, len(name), len(extra), 0, 0, 0, attributes,
                       offset) + name + extra


def _end(count, directory_size, directory_offset):
    return struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, count, count, directory_size,
                       directory_offset, 0)


def archive(entries):
    """Bytes of an archive of (name, content, unix attributes) entries, stored."""
    body, directory = b"", b""
    for name, content, attributes in entries:
        name = name.encode()
        crc = zlib.crc32(content)
        directory += _central(name, len(content), len(content), 0, crc, len(body), attributes)
        body += _local(name, content, 0, crc, len(content))
    return body + directory + _end(len(entries), len(directory), len(body))


def bomb():
    """One entry declaring 10 GB (ZIP64 sizes), deflated zeros."""
    squeezer = zlib.compressobj(9, zlib.DEFLATED, -15)
    block = squeezer.compress(bytes(1 << 20)) + squeezer.flush(zlib.Z_FULL_FLUSH)
    data = block * (10 * 1024) + zlib.compressobj(9, zlib.DEFLATED, -15).flush()
    zip64 = struct.pack("<HHQQ", 1, 16, 10 * 1024 ** 3, len(data))
    body = _local(b"bomb.bin", data, 8, 0, 0xFFFFFFFF, zip64, 45, 0xFFFFFFFF)
    directory = _central(b"bomb.bin", 0xFFFFFFFF, 0xFFFFFFFF, 8, 0, 0, UNIX_FILE, zip64, 45)
    return body + directory + _end(1, len(directory), len(body))


def overlap():
    one = archive([("a.txt", b"A" * 100, UNIX_FILE)])
    directory_start = struct.unpack("<I", one[-6:-2])[0]
    entry = one[directory_start:-22]
    second = entry.replace(b"a.txt", b"b.txt")
    return one[:directory_start] + entry + second + _end(2, 2 * len(entry), directory_start)


def past_end():
    good = archive([("a.txt", b"hello", UNIX_FILE)])
    return good[:-22] + _end(1, 51, len(good) + 1000)


def damaged():
    good = archive([("good.txt", b"fine\n", UNIX_FILE), ("bad.txt", b"broken data\n", UNIX_FILE)])
    at = good.index(b"broken data")
    return good[:at] + b"BROKEN" + good[at + 6:]


ARCHIVES = {
    "slip.zip": lambda: archive([("../evil.txt", b"1", UNIX_FILE), ("..\\evil2.txt", b"2", UNIX_FILE),
                                 ("/abs.txt", b"3", UNIX_FILE), ("C:/drive.txt", b"4", UNIX_FILE),
                                 ("a/../../evil3.txt", b"5", UNIX_FILE), ("ok.txt", b"ok", UNIX_FILE)]),
    "symlink.zip": lambda: archive([("link", b"../outside", UNIX_LINK),
                                    ("link/escape.txt", b"x", UNIX_FILE),
                                    ("sub/x.txt", b"inside", UNIX_FILE),
                                    ("inner", b"sub", UNIX_LINK)]),
    "bomb.zip": bomb,
    "overlap.zip": overlap,
    "past_end.zip": past_end,
    "damaged.zip": damaged,
    "truncated.zip": lambda: archive([("t.txt", b"t" * 5000, UNIX_FILE)])[:3000],
    "many.zip": lambda: archive([(f"f{i:04}.txt", b"%d" % i, UNIX_FILE) for i in range(1025)]),
}


def write_all(folder):
    os.makedirs(folder, exist_ok=True)
    for name, make in ARCHIVES.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(make())


if __name__ == "__main__":
    write_all(sys.argv[1])
