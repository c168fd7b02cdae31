#!/usr/bin/env python3
"""Exit statuses and messages of `pomvella-cli quantize`.

usage: check_quantize_cli.py PATH-TO-POMVELLA-CLI BAD-BMP-FOLDER

Every malformed file of BAD-BMP-FOLDER must fail as `pomvella-cli scale`,
which loads whole files with the BMP reader, fails on it.
"""

import pathlib
import struct
import subprocess
import sys
import tempfile


def bmp24():
    # 2 x 1: rows of 6 pixel bytes and 2 of padding.
    pixels = bytes((10, 20, 30, 40, 50, 60, 0, 0))
    info = struct.pack("<IiiHHIIiiII", 40, 2, 1, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    return b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54) + info + pixels


def bmp8():
    # 2 x 1 with a two-entry colour table.
    table = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    pixels = bytes((0, 1, 0, 0))
    info = struct.pack("<IiiHHIIiiII", 40, 2, 1, 1, 8, 0, len(pixels), 0, 0, 2, 0)
    offset = 54 + len(table)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + table + pixels


def main():
    cli, bad_folder = sys.argv[1], pathlib.Path(sys.argv[2])
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        folder = pathlib.Path(folder)
        good = folder / "good.bmp"
        good.write_bytes(bmp24())
        indexed = folder / "indexed.bmp"
        indexed.write_bytes(bmp8())
        out = folder / "out.bmp"
        kept = folder / "kept.bmp"
        kept.write_bytes(b"previous content")
        line_171 = "Assertion failure (Octree.cpp, 171 行)"
        line_172 = "Assertion failure (Octree.cpp, 172 行)"

        # (arguments, exit status, text expected on standard error)
        cases = [
            ([], 2, "usage: pomvella-cli quantize IN OUT [--colors N]"),
            ([good], 2, "usage:"),
            ([good, out, "extra"], 2, "usage:"),
            ([good, out, "--colors"], 2, "usage:"),
            ([good, out, "--colors", "many"], 2, "usage:"),
            ([good, out, "--colors", "1234567890"], 2, "usage:"),
            ([good, kept, "--colors", "1"], 3, line_171),
            ([good, kept, "--colors", "257"], 3, line_171),
            ([good, kept, "--colors", "-4"], 3, line_171),
            ([indexed, kept], 3, line_172),
            ([indexed, kept, "--colors", "1"], 3, line_171),  # both broken: the count is checked first
            ([folder / "missing.bmp", kept], 3, f"ﾌｧｲﾙ {folder / 'missing.bmp'} は開けません."),
            ([good, folder / "no-such-folder" / "out.bmp"], 3,
             f"ﾌｧｲﾙ {folder / 'no-such-folder' / 'out.bmp'} を作成できません."),
        ]
        for arguments, status, message in cases:
            result = subprocess.run([cli, "quantize", *map(str, arguments)], capture_output=True)
            stderr = result.stderr.decode("utf-8", "replace")
            if result.returncode != status or message not in stderr:
                failures.append(f"{arguments}: exit {result.returncode}, stderr {stderr!r}")
        if out.exists():
            failures.append("a failed run left an output file")
        if kept.read_bytes() != b"previous content":
            failures.append("a failed run changed an existing file")
        if sorted(p.name for p in folder.iterdir()) != ["good.bmp", "indexed.bmp", "kept.bmp"]:
            failures.append(f"stray files: {sorted(p.name for p in folder.iterdir())}")

        for bad in sorted(bad_folder.glob("*.bmp")):
            ours = subprocess.run([cli, "quantize", str(bad), str(kept)], capture_output=True)
            reader = subprocess.run([cli, "scale", str(bad), str(kept), "2", "2"], capture_output=True)
            if ours.returncode != 3 or ours.stderr != reader.stderr:
                failures.append(f"{bad.name}: exit {ours.returncode}, stderr {ours.stderr!r}, "
                                f"the reader says {reader.stderr!r}")
        if kept.read_bytes() != b"previous content":
            failures.append("a malformed input changed an existing file")

        # The accepted edges, the option before the paths, and the default count.
        for arguments in ([good, out, "--colors", "2"], ["--colors", "256", good, out], [good, out]):
            result = subprocess.run([cli, "quantize", *map(str, arguments)], capture_output=True)
            if result.returncode != 0 or not out.exists():
                failures.append(f"{arguments}: exit {result.returncode}, stderr {result.stderr!r}")
            out.unlink(missing_ok=True)
    for failure in failures:
        print(failure)
    if failures:
        sys.exit(1)
    print("quantize statuses as expected")


if __name__ == "__main__":
    main()
