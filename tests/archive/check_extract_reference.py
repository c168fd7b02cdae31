#!/usr/bin/env python3
"""pomvella-cli extract against the independent Python reading of the formats.

Usage: check_extract_reference.py POMVELLA_CLI SAMPLE_ARCHIVE_TOOL

Generates sample archives over several seeds and texture sizes, extracts
every texture record with pomvella-cli and with reference_texture.py, and
compares the two files byte for byte.
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import reference_texture  # noqa: E402

WANTED = ["C00200120.BM2", "C00210020.BM2", "C00210071.BM2", "C00210130.BM2"]

# (what, seed, extra generator options); every archive's palettes carry the
# alphas 0, 1, 127, 128 and 255.
CONFIGURATIONS = [
    ("sizes from the seed", 1, []),
    ("sizes from another seed, decoys, NUL and garbage in names", 2, ["--decoys", "--nul-garbage"]),
    ("rows longer than 641 bytes, odd height", 3, ["--width", "700", "--height", "385"]),
    ("width not a multiple of 4", 4, ["--width", "645", "--height", "3"]),
    ("height 0", 5, ["--width", "412", "--height", "0"]),
    ("height 1", 6, ["--width", "412", "--height", "1"]),
    ("tiny picture", 7, ["--width", "4", "--height", "3"]),
    ("large picture", 8, ["--width", "1200", "--height", "999"]),
    ("duplicates: the last record wins", 9,
     ["--records", "300", "--wanted", "C00210020.BM2,C00200120.BM2,C00210020.BM2,C00210020.BM2"]),
]


def run(command, cwd=None):
    return subprocess.run(command, cwd=cwd, capture_output=True)


def main(argv):
    cli, generator = argv[1], argv[2]
    failures = 0
    compared = 0
    with tempfile.TemporaryDirectory() as folder:
        for what, seed, options in CONFIGURATIONS:
            index = os.path.join(folder, "TH2Data.000")
            made = run([generator, "--seed", str(seed), "--out", index] + options)
            if made.returncode != 0:
                print(f"{what}: generator failed: {made.stderr.decode()}")
                failures += 1
                continue
            names = WANTED
            if "--wanted" in options:
                names = sorted(set(options[options.index("--wanted") + 1].split(",")))
            for name in names:
                out = os.path.join(folder, "cli.bmp")
                if os.path.exists(out):
                    os.remove(out)
                result = run([cli, "extract", index, name, "-o", out])
                expected = reference_texture.extract(index, name.encode())
                if result.returncode != 0 or expected is None:
                    print(f"{what}, {name}: exit {result.returncode}: {result.stderr.decode()}")
                    failures += 1
                    continue
                with open(out, "rb") as f:
                    actual = f.read()
                compared += 1
                if actual != expected:
                    first = next((i for i, (a, b) in enumerate(zip(actual, expected)) if a != b),
                                 min(len(actual), len(expected)))
                    print(f"{what}, {name}: {len(actual)} bytes against {len(expected)}, first difference at {first}")
                    failures += 1

            if "--wanted" in options:
                # The duplicates must differ, or the last-record rule would go unchecked.
                records = reference_texture.read_index(index)
                data = os.path.join(folder, "TH2Data.001")
                with open(data, "rb") as f:
                    contents = [(f.seek(o), f.read(s))[1] for n, o, s in records if n == b"C00210020.BM2"]
                if len(contents) != 3 or len(set(contents)) != 3:
                    print(f"{what}: the duplicate records are not distinct")
                    failures += 1
    print(f"{compared} extractions compared, {failures} failures")
    return 1 if failures or compared == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
