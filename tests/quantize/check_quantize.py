#!/usr/bin/env python3
"""`pomvella-cli quantize` against the independent oracle reference_octree.py.

usage: check_quantize.py PATH-TO-POMVELLA-CLI

Writes 24-bit BMP files of its own (bottom-up and top-down, widths that need
row padding), reduces each with the command and with the oracle for several
colour counts, and compares the output files byte for byte.
"""

import pathlib
import random
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import reference_octree  # noqa: E402


def bmp24(width, height, rows, top_down=False, odd_layout=False):
    """rows: top-down list of bytes (blue, green, red per pixel).

    odd_layout: a 52-byte info header, a gap before the pixels and no padding
    after the file's last row, all of which a reader must take.
    """
    stride = (width * 3 + 3) // 4 * 4
    stored = rows if top_down else list(reversed(rows))
    pixels = b"".join(row + bytes(stride - width * 3) for row in stored)
    info_size, gap = (52, 10) if odd_layout else (40, 0)
    if odd_layout:
        pixels = pixels[:len(pixels) - (stride - width * 3)]
    info = struct.pack("<IiiHHIIiiII", info_size, width, -height if top_down else height, 1, 24, 0, len(pixels),
                       0, 0, 0, 0) + bytes(info_size - 40)
    offset = 14 + info_size + gap
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + bytes(gap) + pixels


def noise_rows(width, height, rng):
    return [bytes(rng.getrandbits(8) for _ in range(width * 3)) for _ in range(height)]


def few_colour_rows(width, height, rng):
    bases = [(0, 0, 0), (40, 200, 16), (40, 16, 200), (252, 100, 100), (4, 0, 252), (128, 128, 128)]
    rows = []
    for _ in range(height):
        row = bytearray()
        for _ in range(width):
            base = rng.choice(bases)
            row += bytes(channel | rng.getrandbits(2) for channel in base)
        rows.append(bytes(row))
    return rows


def gradient_rows(width, height, rng, noise):
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(width):
            red = 255 * x // max(1, width - 1)
            green = 255 * y // max(1, height - 1)
            blue = 255 - (x + y) * 255 // max(1, width + height - 2)
            row += bytes(min(255, max(0, c + rng.randint(-noise, noise))) for c in (blue, green, red))
        rows.append(bytes(row))
    return rows


def main():
    cli = sys.argv[1]
    rng = random.Random(2024)
    # (name, width, height, rows, top-down, colour counts)
    cases = [
        ("few colours", 37, 23, few_colour_rows(37, 23, rng), False, [2, 3, 5, 6, 256]),
        ("odd layout", 33, 17, gradient_rows(33, 17, rng, 20), False, [8, 256]),
        ("gradient", 45, 38, gradient_rows(45, 38, rng, 6), True, list(range(2, 257, 9)) + [256]),
        ("photo-like", 128, 96, gradient_rows(128, 96, rng, 30), False, [2, 16, 255, 256]),
        ("noise", 70, 50, noise_rows(70, 50, rng), False, [2, 4, 17, 128, 256]),
        ("single pixel", 1, 1, [bytes((1, 2, 3))], False, [2]),
        # About 90,000 distinct noise pixels grow the tree past 100,000 nodes.
        ("node cap", 300, 300, noise_rows(300, 300, rng), False, [256]),
    ]
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        folder = pathlib.Path(folder)
        for name, width, height, rows, top_down, counts in cases:
            source = folder / "in.bmp"
            source.write_bytes(bmp24(width, height, rows, top_down, name == "odd layout"))
            for n in counts:
                expected_file = folder / "expected.bmp"
                stats = {}
                palette, index_rows = reference_octree.reduce_colors(width, height, rows, n, stats)
                reference_octree.write_bmp8(expected_file, width, height, palette, index_rows)
                if name == "node cap" and stats["cap_events"] == 0:
                    failures.append("the node-cap picture did not bring the cap on")
                out = folder / "out.bmp"
                result = subprocess.run([cli, "quantize", str(source), str(out), "--colors", str(n)],
                                        capture_output=True)
                if result.returncode != 0:
                    failures.append(f"{name}, N={n}: exit {result.returncode}: {result.stderr!r}")
                elif out.read_bytes() != expected_file.read_bytes():
                    failures.append(f"{name}, N={n}: output differs from the reference")
    for failure in failures:
        print(failure)
    if failures:
        sys.exit(1)
    print("quantize matches the reference")


if __name__ == "__main__":
    main()
