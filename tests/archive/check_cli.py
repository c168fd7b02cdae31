#!/usr/bin/env python3
"""pomvella-cli list and extract: output, exit statuses and error texts.

Usage: check_cli.py POMVELLA_CLI SAMPLE_ARCHIVE_TOOL

Fixtures are built here with struct, field by field, so each one shows one
fault; the expected lines come from this script's own reading of the index.
"""
import os
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import reference_texture  # noqa: E402

READ_ERROR = "ｽﾄﾘｰﾑからの読み込みｴﾗｰ."
NOT_PACK = "ToHeart2ファイルではありませんでした\u3000\u3000"

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def run(cli, *arguments, cwd=None):
    result = subprocess.run([cli, *arguments], cwd=cwd, capture_output=True)
    return result.returncode, result.stdout.decode("utf-8", "replace"), result.stderr.decode("utf-8", "replace")


def index_bytes(records, magic=b"PACK", count=None, unused=0):
    count = len(records) if count is None else count
    out = magic + struct.pack("<HH", count, unused)
    for field, offset, size in records:
        out += field.ljust(24, b"\0")[:24] + struct.pack("<ii", offset, size)
    return out


def texture_entry(width, height, pixels):
    header = b"BM" + struct.pack("<IHHI", 0, 0, 0, 1088)
    header += struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 0, 0, 256, 0)
    palette = b"".join(bytes((i, 255 - i, i // 2, 128)) for i in range(256))
    return header + b"\0" * 10 + palette + pixels


def write_archive(folder, index, data=b""):
    path = os.path.join(folder, "TH2Data.000")
    with open(path, "wb") as f:
        f.write(index)
    if data is not None:
        with open(os.path.join(folder, "TH2Data.001"), "wb") as f:
            f.write(data)
    elif os.path.exists(os.path.join(folder, "TH2Data.001")):
        os.remove(os.path.join(folder, "TH2Data.001"))
    return path


def escaped(name):
    return "".join(chr(b) if 0x20 <= b <= 0x7E else "\\x%02X" % b for b in name)


def check_list(cli, generator, folder):
    # A sample archive: every record, in order, names escaped.
    index = os.path.join(folder, "sample.000")
    subprocess.run([generator, "--seed", "21", "--out", index, "--records", "500", "--decoys", "--nul-garbage"],
                   check=True)
    status, out, err = run(cli, "list", index)
    expected = "".join(f"{i}\t{escaped(n)}\t{o}\t{s}\n"
                       for i, (n, o, s) in enumerate(reference_texture.read_index(index), start=1))
    check(status == 0 and err == "" and out == expected, "list prints every record of a sample archive")
    check(out.count("\n") == 500, "list prints 500 lines")

    # Bytes outside printable ASCII, negative numbers, a field without NUL.
    records = [
        (b"A\x01B\x7F\x80\xff\\ ~", -1, -2147483648),
        (b"C00200120.BM2\0garbage", 2147483647, 0),
        (b"X" * 24, 5, 6),
        (b"", 0, 0),
    ]
    path = write_archive(folder, index_bytes(records, unused=0xFFFF), data=None)
    status, out, err = run(cli, "list", path)
    check(status == 0 and out == ("1\tA\\x01B\\x7F\\x80\\xFF\\ ~\t-1\t-2147483648\n"
                                  "2\tC00200120.BM2\t2147483647\t0\n"
                                  f"3\t{'X' * 24}\t5\t6\n"
                                  "4\t\t0\t0\n"),
          "list escapes bytes and needs no data file")

    # A count larger than the records: the existing records, then the read error.
    path = write_archive(folder, index_bytes(records[:2], count=3), data=None)
    status, out, err = run(cli, "list", path)
    check(status == 3 and out.count("\n") == 2 and err == READ_ERROR + "\n", "list stops at the first missing record")

    path = write_archive(folder, index_bytes([], count=0), data=None)
    check(run(cli, "list", path) == (0, "", ""), "list of an empty directory")

    for magic in (b"pack", b"PAC\0", b"KCAP"):
        path = write_archive(folder, index_bytes(records, magic=magic), data=None)
        check(run(cli, "list", path) == (1, "", NOT_PACK + "\n"), f"list of an index with magic {magic!r}")

    for short in (b"", b"PACK", b"PACK\x01\x00\x00"):
        path = write_archive(folder, short, data=None)
        check(run(cli, "list", path) == (3, "", READ_ERROR + "\n"), f"list of a {len(short)}-byte index")

    missing = os.path.join(folder, "missing.000")
    check(run(cli, "list", missing) == (3, "", f"ﾌｧｲﾙ {missing} は開けません.\n"), "list of a missing index")
    check(run(cli, "list")[0] == 2 and run(cli, "list", "a", "b")[0] == 2, "list usage")


def check_extract(cli, folder):
    pixels = bytes(range(12))
    entry = texture_entry(4, 3, pixels)
    data = b"\xAA" * 100 + entry + b"\xBB" * 7
    good = (b"C00210020.BM2", 100, len(entry))
    expected = reference_texture.convert_entry(entry)
    check(len(expected) == 1090, "the 4 x 3 entry gives 1090 bytes")

    # Default output: NAME.bmp in the current folder; -o names another file.
    work = os.path.join(folder, "work")
    os.makedirs(work, exist_ok=True)
    path = write_archive(folder, index_bytes([(b"OTHER.BM2", 0, 5), good]), data)
    status, out, err = run(cli, "extract", path, "C00210020.BM2", cwd=work)
    with open(os.path.join(work, "C00210020.BM2.bmp"), "rb") as f:
        check(status == 0 and f.read() == expected, "extract writes NAME.bmp in the current folder")
    target = os.path.join(folder, "out.bmp")
    with open(target, "wb") as f:
        f.write(b"old content")
    status, _, _ = run(cli, "extract", "-o", target, path, "C00210020.BM2")
    with open(target, "rb") as f:
        check(status == 0 and f.read() == expected, "extract -o replaces the named file")

    # The last record carrying the name wins; names match exactly.
    other = texture_entry(4, 3, bytes(range(100, 112)))
    data2 = data + other
    twice = [good, (b"c00210020.BM2", 100, len(entry)), (b"C00210020.BM2", len(data), len(other)),
             (b"C00210020.BM2 ", 100, len(entry))]
    path = write_archive(folder, index_bytes(twice), data2)
    status, _, _ = run(cli, "extract", path, "C00210020.BM2", "-o", target)
    with open(target, "rb") as f:
        check(status == 0 and f.read() == reference_texture.convert_entry(other), "extract takes the last record")

    status, out, err = run(cli, "extract", path, "C00210130.BM2", "-o", target)
    check(status == 2 and "C00210130.BM2" in err, "extract of a name that no record carries exits 2")
    check(run(cli, "extract", path)[0] == 2 and run(cli, "extract", path, "A", "-o")[0] == 2, "extract usage")

    # Faulty archives: each ends with its error text, a non-zero exit and no output file.
    def bad(what, records, data_bytes, status, message, count=None, magic=b"PACK"):
        out_path = os.path.join(folder, "bad.bmp")
        if os.path.exists(out_path):
            os.remove(out_path)
        path = write_archive(folder, index_bytes(records, count=count, magic=magic), data_bytes)
        result = run(cli, "extract", path, "C00210020.BM2", "-o", out_path)
        check(result == (status, "", message + "\n") and not os.path.exists(out_path),
              f"extract: {what}: got {result}")

    name = b"C00210020.BM2"
    short_rows = texture_entry(4, 3, bytes(11))
    bad("entry past the end of the data file", [(name, len(data) - len(entry) + 1, len(entry))], data, 3, READ_ERROR)
    bad("offset past the end of the data file", [(name, len(data) + 10, 2000)], data, 3, READ_ERROR)
    bad("huge size", [(name, 0, 2147483647)], data, 3, READ_ERROR)
    for size in (0, 1, 64, 65, 1000, 1087):
        bad(f"entry of {size} bytes", [(name, 100, size)], data, 3, READ_ERROR)
    bad("negative offset", [(name, -1, len(entry))], data, 3, READ_ERROR)
    bad("negative size", [(name, 100, -5)], data, 3, READ_ERROR)
    bad("pixel data shorter than the rows", [(name, 0, len(short_rows))], short_rows, 3, READ_ERROR)
    huge = texture_entry(65535, 65535, bytes(64))
    bad("rows of 65535 x 65535 pixels", [(name, 0, len(huge))], huge, 3, READ_ERROR)
    bad("count larger than the records", [good], data, 3, READ_ERROR, count=2)
    bad("index shorter than 8 bytes", [], data, 3, READ_ERROR, count=0, magic=b"PAC")
    bad("wrong magic", [good], data, 1, NOT_PACK, magic=b"pack")
    data_path = os.path.join(folder, "TH2Data.001")
    bad("missing data file", [good], None, 3, f"ﾌｧｲﾙ {data_path} は開けません.")
    # A wrong magic is reported before the data file is looked for.
    bad("wrong magic and no data file", [good], None, 1, NOT_PACK, magic=b"KCAP")


def main(argv):
    cli, generator = os.path.abspath(argv[1]), os.path.abspath(argv[2])
    with tempfile.TemporaryDirectory() as folder:
        check_list(cli, generator, folder)
        check_extract(cli, folder)
    print(f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
