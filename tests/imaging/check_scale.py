#!/usr/bin/env python3
"""Compares `pomvella-cli scale` byte for byte with reference_scale.py on
generated BMP files: random pixels, odd sizes, scaling down and up, 8-bit and
24-bit, bottom-up and top-down, longer info headers, short colour tables.

usage: check_scale.py PATH-TO-POMVELLA-CLI
"""

import pathlib
import random
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import reference_scale  # noqa: E402


def make_bmp(rng, width, height, bits, top_down=False, info_size=40, colours_used=0, gap=0):
    """A BMP file with random pixels, written here independently of both the
    tool and the reference."""
    table = b""
    if bits == 8:
        count = colours_used or 256
        table = bytes(rng.randrange(256) if k % 4 != 3 else 0 for k in range(4 * count))
    stride = (width * bits + 31) // 32 * 4
    pixels = bytearray()
    for _ in range(height):
        row = bytes(rng.randrange(256) for _ in range(width * bits // 8))
        pixels += row + bytes(rng.randrange(256) for _ in range(stride - len(row)))  # padding is never read
    offset = 14 + info_size + len(table) + gap
    info = struct.pack("<IiiHHIIiiII", info_size, width, -height if top_down else height, 1, bits, 0,
                       len(pixels), 2835, 2835, colours_used, 0)
    info += bytes(rng.randrange(256) for _ in range(info_size - 40))
    body = info + table + bytes(gap) + bytes(pixels)
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, offset) + body


# (name, source size, target size, file options)
CASES = [
    ("down-24", (37, 29), (16, 11), dict(bits=24)),
    ("down-24-top-down", (41, 23), (7, 5), dict(bits=24, top_down=True)),
    ("up-24", (5, 3), (23, 17), dict(bits=24)),
    ("mixed-24", (19, 6), (7, 13), dict(bits=24)),
    ("identity-24", (9, 7), (9, 7), dict(bits=24)),
    ("to-one-pixel", (13, 11), (1, 1), dict(bits=24)),
    ("from-one-pixel", (1, 1), (6, 3), dict(bits=24)),
    ("column-to-row", (1, 9), (5, 1), dict(bits=8)),
    ("down-8", (31, 27), (10, 9), dict(bits=8)),
    ("up-8-top-down", (6, 5), (17, 14), dict(bits=8, top_down=True)),
    ("short-table-8", (21, 15), (8, 6), dict(bits=8, colours_used=17)),
    ("long-info-header", (15, 14), (6, 9), dict(bits=24, info_size=56, gap=6)),
    ("long-info-header-8", (14, 15), (9, 6), dict(bits=8, info_size=108, colours_used=200, gap=3)),
    ("pose-picture", (355, 355), (160, 160), dict(bits=24)),
]


def check_reference_by_hand():
    # 3 x 1 -> 2 x 1: target 0 covers cell 0 and half of cell 1,
    # (0 * 2 + 10 * 1) / 3 = 3.33 -> 3; target 1: (10 * 1 + 20 * 2) / 3 = 16.67 -> 17.
    # 2 x 1 -> 1 x 1 of 0 and 1: 0.5 rounds up to 1.
    assert reference_scale.scale(3, 1, [[(0, 0, 0), (10, 10, 10), (20, 20, 20)]], 2, 1) == [[(3, 3, 3), (17, 17, 17)]]
    assert reference_scale.scale(2, 1, [[(0, 0, 0), (1, 1, 1)]], 1, 1) == [[(1, 1, 1)]]


def main():
    cli = sys.argv[1]
    check_reference_by_hand()
    rng = random.Random(20250611)
    failures = 0
    with tempfile.TemporaryDirectory() as folder:
        folder = pathlib.Path(folder)
        for name, (width, height), (target_width, target_height), options in CASES:
            source = folder / f"{name}.bmp"
            source.write_bytes(make_bmp(rng, width, height, **options))
            tool_out = folder / f"{name}-tool.bmp"
            reference_out = folder / f"{name}-reference.bmp"
            run = subprocess.run([cli, "scale", str(source), str(tool_out), str(target_width), str(target_height)],
                                 capture_output=True, text=True)
            if run.returncode != 0:
                print(f"{name}: pomvella-cli exited {run.returncode}: {run.stderr}")
                failures += 1
                continue
            subprocess.run([sys.executable, reference_scale.__file__, str(source), str(reference_out),
                            str(target_width), str(target_height)], check=True)
            tool_bytes, reference_bytes = tool_out.read_bytes(), reference_out.read_bytes()
            if tool_bytes != reference_bytes:
                first = next((k for k, (a, b) in enumerate(zip(tool_bytes, reference_bytes)) if a != b),
                             min(len(tool_bytes), len(reference_bytes)))
                print(f"{name}: output differs from the reference at byte {first} "
                      f"(sizes {len(tool_bytes)} and {len(reference_bytes)})")
                failures += 1
            else:
                print(f"{name}: {width}x{height} -> {target_width}x{target_height} matches")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
