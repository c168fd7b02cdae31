#!/usr/bin/env python3
"""Exit statuses and messages of `pomvella-cli scale`.

usage: check_scale_cli.py PATH-TO-POMVELLA-CLI BAD-BMP-FOLDER
"""

import pathlib
import struct
import subprocess
import sys
import tempfile


def good_bmp():
    # 2 x 1, 24-bit: rows of 6 pixel bytes and 2 of padding.
    pixels = bytes((10, 20, 30, 40, 50, 60, 0, 0))
    info = struct.pack("<IiiHHIIiiII", 40, 2, 1, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    return b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54) + info + pixels


def main():
    cli, bad_folder = sys.argv[1], pathlib.Path(sys.argv[2])
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        folder = pathlib.Path(folder)
        good = folder / "good.bmp"
        good.write_bytes(good_bmp())
        out = folder / "out.bmp"
        kept = folder / "kept.bmp"
        kept.write_bytes(b"previous content")

        def run(arguments):
            return subprocess.run([cli, "scale", *map(str, arguments)], capture_output=True)

        # (arguments, exit status, text expected on standard error)
        cases = [
            ([], 2, "usage: pomvella-cli scale IN OUT WIDTH HEIGHT"),
            ([good, out, 4], 2, "usage:"),
            ([good, out, 4, 4, 4], 2, "usage:"),
            ([good, out, "four", 4], 2, "usage:"),
            ([good, out, -4, 4], 2, "usage:"),
            ([good, out, 4, "+4"], 2, "usage:"),
            ([good, out, 0, 4], 2, "usage:"),
            ([good, out, 4, "4.5"], 2, "usage:"),
            ([good, out, 65536, 1], 2, "usage:"),
            ([good, out, 65535, 65535], 2, "usage:"),
            ([folder / "missing.bmp", out, 4, 4], 3, f"ﾌｧｲﾙ {folder / 'missing.bmp'} は開けません."),
            ([bad_folder / "not-bm.bmp", kept, 4, 4], 3, "ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です."),
            ([bad_folder / "short-pixels.bmp", kept, 4, 4], 3, "ｽﾄﾘｰﾑからの読み込みｴﾗｰ."),
            ([good, folder / "no-such-folder" / "out.bmp", 4, 4], 3,
             f"ﾌｧｲﾙ {folder / 'no-such-folder' / 'out.bmp'} を作成できません."),
        ]
        for arguments, status, message in cases:
            result = run(arguments)
            stderr = result.stderr.decode("utf-8", "replace")
            if result.returncode != status or message not in stderr:
                failures.append(f"{arguments}: exit {result.returncode}, stderr {stderr!r}")
        if out.exists():
            failures.append("a failed run left an output file")
        if kept.read_bytes() != b"previous content":
            failures.append("a failed run replaced the existing output file")

        result = run([good, out, 1, 1])
        if result.returncode != 0 or result.stderr:
            failures.append(f"a good run failed: exit {result.returncode}, {result.stderr!r}")
        else:
            data = out.read_bytes()
            # 1 x 1 of the two pixels: blue (10 + 40) / 2 = 25, green 35, red 45; one pixel row padded to 4.
            expected_pixel = bytes((25, 35, 45, 0))
            if len(data) != 58 or data[54:] != expected_pixel:
                failures.append(f"1 x 1 output {data[54:]!r}, expected {expected_pixel!r}")

    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
