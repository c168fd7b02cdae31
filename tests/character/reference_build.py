#!/usr/bin/env python3
"""A whole conversion, written independently as a test oracle.

usage: reference_build.py INDEX OUTPUT_DIR TEXTURE_DIR

Reads the pack archive at INDEX (data file: the same path with ".001"),
and writes what the tool must write: the crop pictures into TEXTURE_DIR and
"001.BMP", "002.BMP", "003.BMP", "000.NAD" into OUTPUT_DIR. Exit 0 when the
directory was walked, 1 when the index is not a pack archive, 3 with the
error text on standard error when the walk fails.

The texture conversion, the BMP reading and writing and the octree come from
the other reference modules; the walk, the crop, the scaler (per target
pixel, integer weights), the fills and the NAD layout are written here.
"""

import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "archive"))
sys.path.insert(0, os.path.join(HERE, "..", "imaging"))
sys.path.insert(0, os.path.join(HERE, "..", "quantize"))
import reference_octree  # noqa: E402
import reference_scale  # noqa: E402
import reference_texture  # noqa: E402

READ_ERROR = "ｽﾄﾘｰﾑからの読み込みｴﾗｰ"
LIME = (0, 255, 0)
BLACK = (0, 0, 0)

# name: (crop w, h), source rect, (scaled w, h), seeds, extra fill, output
TABLE = {
    "C00210020.BM2": ((355, 355), (0, 0, 355, 355), (160, 160), [(0, 0), (42, 108), (30, 116)], None, "001.BMP"),
    "C00210071.BM2": ((355, 355), (29, 8, 384, 363), (160, 160),
                      [(0, 0), (102, 104), (54, 108), (62, 98), (95, 97)], None, "002.BMP"),
    "C00210130.BM2": ((355, 355), (5, 12, 360, 367), (160, 160), [(0, 0), (64, 102)], None, "003.BMP"),
    "C00200120.BM2": ((404, 377), (7, 7, 411, 384), (200, 186),
                      [(0, 0), (138, 54), (68, 84), (121, 80)], (199, 0, 201, 187), "000.NAD"),
}


class WalkError(Exception):
    pass


def crop(width, height, rows, rect, size):
    left, top, _, _ = rect
    out = []
    for y in range(size[1]):
        sy = top + y
        out.append([rows[sy][left + x] if 0 <= sy < height and 0 <= left + x < width else BLACK
                    for x in range(size[0])])
    return out


def overlaps(target_index, target_size, source_size):
    """Source cells meeting target cell target_index, with integer overlap
    lengths, on an axis where a source cell is target_size long and a
    target cell source_size long."""
    low, high = target_index * source_size, (target_index + 1) * source_size
    cells = []
    for s in range(low // target_size, source_size):
        cell_low, cell_high = s * target_size, (s + 1) * target_size
        if cell_low >= high:
            break
        length = min(high, cell_high) - max(low, cell_low)
        if length > 0:
            cells.append((s, length))
    return cells


def scale(width, height, rows, target_width, target_height):
    area = width * height
    columns = [overlaps(x, target_width, width) for x in range(target_width)]
    out = []
    for y in range(target_height):
        row_cells = overlaps(y, target_height, height)
        out_row = []
        for x in range(target_width):
            sums = [0, 0, 0]
            for j, dy in row_cells:
                source_row = rows[j]
                for i, dx in columns[x]:
                    weight = dx * dy
                    pixel = source_row[i]
                    sums[0] += weight * pixel[0]
                    sums[1] += weight * pixel[1]
                    sums[2] += weight * pixel[2]
            out_row.append(tuple((2 * s + area) // (2 * area) for s in sums))
        out.append(out_row)
    return out


def flood_fill(rows, seed, colour):
    width, height = len(rows[0]), len(rows)
    x, y = seed
    if not (0 <= x < width and 0 <= y < height) or rows[y][x] != BLACK:
        return
    stack = [(x, y)]
    rows[y][x] = colour
    while stack:
        x, y = stack.pop()
        for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
            if 0 <= nx < width and 0 <= ny < height and rows[ny][nx] == BLACK:
                rows[ny][nx] = colour
                stack.append((nx, ny))


def fill_rect(rows, rect, colour):
    left, top, right, bottom = rect
    for y in range(max(top, 0), min(bottom, len(rows))):
        for x in range(max(left, 0), min(right, len(rows[0]))):
            rows[y][x] = colour


def nad_header():
    header = bytearray(223)
    header[0:4] = b"NANI"
    struct.pack_into("<II", header, 4, 11, 38499)
    blocks = [220, 38487, 38490, 38493, 38496]
    for record in range(5):
        struct.pack_into("<8I", header, 60 + 32 * record, 223, 1287, 186, 0, blocks[record], 3, 0, 0)
    return bytes(header)


def nad_file(rows):
    width, height = len(rows[0]), len(rows)
    scan_lines = [bytes(c for (r, g, b) in row for c in (b, g, r)) for row in rows]
    palette, index_rows = reference_octree.reduce_colors(width, height, scan_lines, 256)
    stride = (width + 3) // 4 * 4
    out = bytearray(nad_header())
    out += struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, stride * height, 0, 0, 256, 0)
    for i in range(256):
        red, green, blue = palette[i] if i < len(palette) else (0, 0, 0)
        out += bytes((blue, green, red, 0))
    for row in reversed(index_rows):
        out += bytes(row) + bytes(stride - width)
    out += bytes(12)
    return bytes(out)


def process(entry_bytes, name, output_dir, texture_dir):
    (crop_size, rect, scaled_size, seeds, extra, output) = TABLE[name]
    texture = reference_texture.convert_entry(entry_bytes)
    width, height, rows = reference_scale.read_bmp(texture)
    cropped = crop(width, height, rows, rect, crop_size)
    with open(os.path.join(texture_dir, name + ".bmp"), "wb") as f:
        f.write(reference_scale.write_bmp24(crop_size[0], crop_size[1], cropped))
    scaled = [list(row) for row in scale(crop_size[0], crop_size[1], cropped, *scaled_size)]
    for seed in seeds:
        flood_fill(scaled, seed, LIME)
    if extra:
        fill_rect(scaled, extra, LIME)
    if output.endswith(".NAD"):
        data = nad_file(scaled)
    else:
        data = reference_scale.write_bmp24(scaled_size[0], scaled_size[1], scaled)
    with open(os.path.join(output_dir, output), "wb") as f:
        f.write(data)


def build(index_path, output_dir, texture_dir):
    data_path = os.path.splitext(index_path)[0] + ".001"
    with open(index_path, "rb") as index, open(data_path, "rb") as data:
        header = index.read(8)
        if len(header) < 8:
            raise WalkError(READ_ERROR)
        if header[0:4] != b"PACK":
            return 1
        (count,) = struct.unpack_from("<H", header, 4)
        data_size = os.fstat(data.fileno()).st_size
        for i in range(1, count + 1):
            index.seek(8 + 32 * (i - 1))
            record = index.read(32)
            if len(record) < 32:
                raise WalkError(READ_ERROR)
            name = record[0:24].split(b"\0", 1)[0].decode("latin-1")
            offset, size = struct.unpack_from("<ii", record, 24)
            if name not in TABLE:
                continue
            if offset < 0 or size < 0 or offset + size > data_size:
                raise WalkError(READ_ERROR)
            data.seek(offset)
            process(data.read(size), name, output_dir, texture_dir)
    return 0


def main(argv):
    if len(argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        return build(argv[1], argv[2], argv[3])
    except (WalkError, reference_texture.ReadFailure) as error:
        print(str(error), file=sys.stderr)
        return 3


if __name__ == "__main__":
    sys.exit(main(sys.argv))
