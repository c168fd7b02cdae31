#!/usr/bin/env python3
"""Reference for the area-averaging scaler, kept deliberately plain: its own
BMP reader and writer, and each target pixel computed on its own as the
average of the source area it covers, in exact fractions.

Both pictures span the unit square. Source pixel (i, j) is the cell
[i/w, (i+1)/w) x [j/h, (j+1)/h), target pixel (X, Y) the cell
[X/W, (X+1)/W) x [Y/H, (Y+1)/H). A target channel is the mean of the source
over its cell, rounded to the nearest integer with halves going up.

usage: reference_scale.py IN OUT WIDTH HEIGHT
"""

from fractions import Fraction
import math
import struct
import sys


class BadBitmap(Exception):
    pass


def read_bmp(data):
    """Returns (width, height, rows): rows top to bottom, each a list of
    (red, green, blue)."""
    if len(data) < 54 or data[0:2] != b"BM":
        raise BadBitmap("not a bitmap")
    (offset,) = struct.unpack_from("<I", data, 10)
    (info_size, width, height, planes, bits, compression) = struct.unpack_from("<IiiHHI", data, 14)
    (colours_used,) = struct.unpack_from("<I", data, 46)
    if info_size < 40 or planes != 1 or compression != 0 or bits not in (8, 24) or width < 0:
        raise BadBitmap("unsupported bitmap")
    top_down = height < 0
    height = abs(height)
    table = []
    if bits == 8:
        count = colours_used if colours_used else 256
        start = 14 + info_size
        for k in range(count):
            blue, green, red, _ = data[start + 4 * k:start + 4 * k + 4]
            table.append((red, green, blue))
    stride = (width * bits + 31) // 32 * 4
    stored = []
    for r in range(height):
        row_start = offset + r * stride
        row = []
        for x in range(width):
            if bits == 24:
                blue, green, red = data[row_start + 3 * x:row_start + 3 * x + 3]
                row.append((red, green, blue))
            else:
                index = data[row_start + x]
                row.append(table[index] if index < len(table) else (0, 0, 0))
        stored.append(row)
    rows = stored if top_down else stored[::-1]
    return width, height, rows


def write_bmp24(width, height, rows):
    stride = (width * 3 + 3) // 4 * 4
    image = bytearray()
    for row in reversed(rows):
        for red, green, blue in row:
            image += bytes((blue, green, red))
        image += bytes(stride - 3 * width)
    header = b"BM" + struct.pack("<IHHI", 54 + len(image), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 0, 0, 0, 0)
    return header + info + bytes(image)


def covered(index, size, source_size):
    """The source cells overlapping target cell `index` of `size` cells, with
    the length of each overlap, in unit coordinates."""
    low, high = Fraction(index, size), Fraction(index + 1, size)
    result = []
    for s in range(math.floor(low * source_size), source_size):
        cell_low, cell_high = Fraction(s, source_size), Fraction(s + 1, source_size)
        if cell_low >= high:
            break
        overlap = min(high, cell_high) - max(low, cell_low)
        if overlap > 0:
            result.append((s, overlap))
    return result


def scale(width, height, rows, target_width, target_height):
    cell_area = Fraction(1, target_width * target_height)
    target = []
    for y in range(target_height):
        row_cells = covered(y, target_height, height)
        out_row = []
        for x in range(target_width):
            column_cells = covered(x, target_width, width)
            totals = [Fraction(0)] * 3
            for j, dy in row_cells:
                for i, dx in column_cells:
                    area = dx * dy
                    for c in range(3):
                        totals[c] += area * rows[j][i][c]
            out_row.append(tuple(math.floor(t / cell_area + Fraction(1, 2)) for t in totals))
        target.append(out_row)
    return target


def main():
    source_path, target_path, target_width, target_height = sys.argv[1:5]
    target_width, target_height = int(target_width), int(target_height)
    with open(source_path, "rb") as f:
        width, height, rows = read_bmp(f.read())
    result = scale(width, height, rows, target_width, target_height)
    with open(target_path, "wb") as f:
        f.write(write_bmp24(target_width, target_height, result))


if __name__ == "__main__":
    main()
