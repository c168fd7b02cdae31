#!/usr/bin/env python3
"""pomvella-cli build against the independent Python reading of a whole run.

usage: check_build_reference.py POMVELLA_CLI SAMPLE_ARCHIVE_TOOL

For each generated archive: runs `pomvella-cli build --yes` from a copy of the
program in a folder of its own (the crops go beside the program), runs
reference_build.py, and compares exit status, error text, the files of the
character folder and the crop files byte for byte.
"""
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import reference_build  # noqa: E402

ALL = "C00200120.BM2,C00210020.BM2,C00210071.BM2,C00210130.BM2"

# (what, seed, generator options)
SCENARIOS = [
    ("table order", 11, ["--wanted", "C00210020.BM2,C00210071.BM2,C00210130.BM2,C00200120.BM2"]),
    ("character file first, decoys and NUL garbage", 12, ["--wanted", ALL, "--decoys", "--nul-garbage"]),
    ("reverse order among many records", 13,
     ["--records", "2000", "--wanted", "C00210130.BM2,C00210071.BM2,C00210020.BM2,C00200120.BM2"]),
    ("duplicates: the later record remains", 14,
     ["--wanted", "C00210071.BM2,C00200120.BM2,C00210071.BM2,C00200120.BM2"]),
    ("textures wider than 641", 15, ["--wanted", "C00210020.BM2,C00200120.BM2", "--width", "700", "--height", "400"]),
    ("no wanted entry", 16, ["--wanted", "none", "--decoys"]),
    ("wrong magic", 17, ["--magic", "PACk"]),
    ("count larger than the records", 18, ["--records", "8", "--wanted", "C00200120.BM2,C00210130.BM2",
                                            "--count", "9"]),
]


def files_in(folder):
    return {name: open(os.path.join(folder, name), "rb").read() for name in sorted(os.listdir(folder))}


def check(cli, generator, what, seed, options, work):
    program_dir = os.path.join(work, "bin")
    reference_textures = os.path.join(work, "reference-textures")
    reference_output = os.path.join(work, "reference-B")
    host_dir = os.path.join(work, "Ruvelle")
    for folder in (program_dir, reference_textures, reference_output, host_dir):
        os.makedirs(folder)
    program = os.path.join(program_dir, "pomvella-cli")
    shutil.copy2(cli, program)
    host = os.path.join(host_dir, "Ruvelle.exe")
    open(host, "w").write("host\n")
    index = os.path.join(work, "TH2Data.000")
    subprocess.run([generator, "--seed", str(seed), "--out", index] + options, check=True, capture_output=True)

    run = subprocess.run([program, "build", index, host, "--yes"], capture_output=True, stdin=subprocess.DEVNULL)
    try:
        expected_status = reference_build.build(index, reference_output, reference_textures)
    except (reference_build.WalkError, reference_build.reference_texture.ReadFailure):
        expected_status = 3

    problems = []
    if run.returncode != expected_status:
        problems.append(f"exit status {run.returncode}, expected {expected_status}: {run.stderr.decode()}")
    if expected_status == 3 and not run.stderr.decode().rstrip("\n").endswith(reference_build.READ_ERROR + "."):
        problems.append(f"error text {run.stderr.decode()!r}")
    actual_output = files_in(os.path.join(host_dir, "B"))
    expected_output = files_in(reference_output)
    actual_textures = {n: b for n, b in files_in(program_dir).items() if n != "pomvella-cli"}
    expected_textures = files_in(reference_textures)
    for kind, actual, expected in (("character folder", actual_output, expected_output),
                                   ("crop files", actual_textures, expected_textures)):
        if sorted(actual) != sorted(expected):
            problems.append(f"{kind}: files {sorted(actual)}, expected {sorted(expected)}")
            continue
        for name in expected:
            if actual[name] != expected[name]:
                first = next((i for i, (a, b) in enumerate(zip(actual[name], expected[name])) if a != b),
                             min(len(actual[name]), len(expected[name])))
                problems.append(f"{kind}: {name} differs from byte {first} "
                                f"({len(actual[name])} bytes, expected {len(expected[name])})")
    for problem in problems:
        print(f"FAIL {what}: {problem}")
    if not problems:
        print(f"ok   {what}: {sorted(expected_output)} {sorted(expected_textures)}")
    return not problems


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    cli, generator = os.path.abspath(argv[1]), os.path.abspath(argv[2])
    passed = 0
    for what, seed, options in SCENARIOS:
        with tempfile.TemporaryDirectory(prefix="pomvella-build-") as work:
            passed += check(cli, generator, what, seed, options, work)
    print(f"{passed} passed, {len(SCENARIOS) - passed} failed")
    return 0 if passed == len(SCENARIOS) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
