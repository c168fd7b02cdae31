#!/usr/bin/env python3
"""Writes the malformed BMP files of tests/data/bmp-bad/, each named after
what is wrong with it. The files are committed; run this again only to change
them. BmpTest.cpp holds the error each one must raise."""

import pathlib
import struct
import sys


def bmp(width=2, height=2, bits=24, planes=1, compression=0, info_size=40,
        colours_used=0, table_entries=None, offset=None, pixels=None,
        magic=b"BM", cut=None):
    if table_entries is None:
        table_entries = (colours_used or 256) if bits == 8 else 0
    table = bytes(range(4)) * table_entries
    stride = (abs(width) * bits + 31) // 32 * 4 if width >= 0 else 4
    if pixels is None:
        pixels = bytes(stride * min(abs(height), 4))
    if offset is None:
        offset = 14 + info_size + len(table)
    info = struct.pack("<IiiHHIIiiII", info_size, width, height, planes, bits,
                       compression, len(pixels), 0, 0, colours_used, 0)
    info += bytes(info_size - 40)
    body = info + table + pixels
    header = magic + struct.pack("<IHHI", 14 + len(body), 0, 0, offset)
    data = header + body
    return data if cut is None else data[:cut]


CASES = {
    "empty.bmp": b"",
    "not-bm.bmp": bmp(magic=b"BA"),
    "truncated-file-header.bmp": bmp(cut=10),
    "truncated-info-header.bmp": bmp(cut=30),
    "info-header-too-small.bmp": bmp()[:14] + struct.pack("<IHHHH", 12, 2, 2, 1, 24) + bytes(16),
    "info-header-past-end.bmp": bmp(info_size=124, cut=14 + 60),
    "rle-compressed.bmp": bmp(bits=8, compression=1),
    "bitfields-compressed.bmp": bmp(compression=3),
    "4-bit-pixels.bmp": bmp(bits=4, colours_used=16, table_entries=16),
    "32-bit-pixels.bmp": bmp(bits=32),
    "two-planes.bmp": bmp(planes=2),
    "negative-width.bmp": bmp(width=-2),
    "height-int-min.bmp": bmp(height=-2**31, pixels=bytes(8)),
    "too-many-colours.bmp": bmp(bits=8, colours_used=257, table_entries=257),
    "colour-table-past-end.bmp": bmp(bits=8, cut=14 + 40 + 4 * 100),
    "pixels-inside-headers.bmp": bmp(offset=20),
    "pixels-inside-colour-table.bmp": bmp(bits=8, colours_used=16, offset=14 + 40 + 4 * 8),
    "short-pixels.bmp": bmp(width=3, height=4, cut=14 + 40 + 12 * 3 + 5),
    "pixel-offset-past-end.bmp": bmp(offset=4096),
    "huge-dimensions.bmp": bmp(width=100000, height=100000, pixels=bytes(6)),
    "huge-width-one-row.bmp": bmp(width=2**31 - 1, height=1, pixels=bytes(6)),
    "huge-top-down-height.bmp": bmp(width=1, height=-(2**31 - 1), pixels=bytes(8)),
}


def main():
    folder = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else \
        pathlib.Path(__file__).resolve().parent.parent / "data" / "bmp-bad"
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in CASES.items():
        (folder / name).write_bytes(data)


if __name__ == "__main__":
    main()
