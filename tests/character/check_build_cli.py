#!/usr/bin/env python3
"""pomvella-cli build as a script sees it: the run command's messages and
exit statuses, the confirmation read from standard input, the host started
only with --launch, and an unwritable character folder.

usage: check_build_cli.py POMVELLA_CLI SAMPLE_ARCHIVE_TOOL
"""
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import time

MESSAGE = {
    1: "指定されたToHeart2インデクスが見つかりません　　",
    2: "関連するToHeart2データが見つかりません　　",
    3: "Ruvelle実行ファイルが見つかりません　　",
    5: "ToHeart2ファイルではありませんでした　　",
    6: "成功した模様です。Ruvelleを起動します　　",
}
CONFIRM = "実行しますか？\r\n\r\n（実行前にRuvelleが実行中なら終了してください）　　"

failures = []


def expect(what, condition, detail=""):
    if condition:
        print(f"ok   {what}")
    else:
        print(f"FAIL {what} {detail}")
        failures.append(what)


class Setup:
    """A program copy, a sample archive and a host folder whose path has spaces."""

    def __init__(self, work, cli, generator, generator_options=()):
        self.work = work
        os.chmod(work, 0o755)
        self.bin = os.path.join(work, "bin")
        os.makedirs(self.bin)
        self.program = os.path.join(self.bin, "pomvella-cli")
        shutil.copy2(cli, self.program)
        self.index = os.path.join(work, "game", "TH2Data.000")
        os.makedirs(os.path.dirname(self.index))
        subprocess.run([generator, "--seed", "5", "--out", self.index] + list(generator_options),
                       check=True, capture_output=True)
        self.host_dir = os.path.join(work, "Program Files", "Ruvelle")
        os.makedirs(self.host_dir)
        self.marker = os.path.join(work, "host-started")
        # The host records that it ran and with how many arguments.
        self.host = os.path.join(self.host_dir, "Ruvelle host")
        with open(self.host, "w") as f:
            f.write(f'#!/bin/sh\necho "$#" > "{self.marker}"\n')
        os.chmod(self.host, 0o755)
        self.output = os.path.join(self.host_dir, "B")

    def build(self, *arguments, index=None, host=None, stdin=b"", prefix=()):
        command = list(prefix) + [self.program, "build", self.index if index is None else index,
                                   self.host if host is None else host] + list(arguments)
        run = subprocess.run(command, input=stdin, capture_output=True)
        return run.returncode, run.stderr.decode()


def started(marker, seconds=5.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if os.path.exists(marker) and open(marker).read().strip():
            return open(marker).read().strip()
        time.sleep(0.05)
    return None


def check_checks_and_confirmation(s):
    folder = os.path.join(s.work, "a folder")
    os.makedirs(folder)
    cases = [
        ("empty index path", dict(index=""), (), 2, MESSAGE[1]),
        ("index missing", dict(index=os.path.join(s.work, "none.000")), (), 2, MESSAGE[1]),
        ("a folder as the host", dict(host=folder), (), 2, MESSAGE[3]),
    ]
    for what, paths, arguments, status, text in cases:
        code, err = s.build(*arguments, **paths)
        expect(what, code == status and err.startswith(text), f"{code} {err!r}")
    lonely = os.path.join(s.work, "game", "Lonely.000")
    open(lonely, "wb").write(b"PACK\0\0\0\0")
    code, err = s.build(index=lonely)
    expect("index without its .001 sibling", code == 2 and err.startswith(MESSAGE[2]), f"{code} {err!r}")
    expect("failed checks create nothing", not os.path.exists(s.output))

    for answer in (b"n\n", b"", b"yes please\n"):
        code, err = s.build(stdin=answer)
        expect(f"answer {answer!r} does not confirm", code == 4 and err.startswith(CONFIRM) and
               not os.path.exists(s.output), f"{code} {err!r}")
    code, err = s.build(stdin=b" Y \n")
    expect("answer 'Y' confirms", code == 0 and MESSAGE[6] in err, f"{code} {err!r}")
    expect("no launch without --launch", started(s.marker, 0.5) is None)
    expect("the four files written", sorted(os.listdir(s.output)) == ["000.NAD", "001.BMP", "002.BMP", "003.BMP"])


def check_launch(s):
    keep = os.path.join(s.output, "keep.txt")
    open(keep, "w").write("other file")
    code, err = s.build("--yes", "--launch")
    expect("--launch starts the host by its path with spaces, without arguments",
           code == 0 and started(s.marker) == "0", f"{code} {err!r}")
    expect("an existing character folder is reused, other files stay",
           open(keep).read() == "other file" and len(os.listdir(s.output)) == 5, str(os.listdir(s.output)))


def check_wrong_magic(cli, generator):
    with tempfile.TemporaryDirectory(prefix="pomvella-cli-") as work:
        s = Setup(work, cli, generator, ["--magic", "pack"])
        code, err = s.build("--yes")
        expect("wrong magic: message 5, exit 1, folder created and empty",
               code == 1 and err.startswith(MESSAGE[5]) and os.listdir(s.output) == [], f"{code} {err!r}")


def check_unwritable_folder(cli, generator):
    with tempfile.TemporaryDirectory(prefix="pomvella-cli-") as work:
        s = Setup(work, cli, generator)
        os.makedirs(s.output)
        earlier = os.path.join(s.output, "001.BMP")
        open(earlier, "wb").write(b"an earlier run's picture")
        os.chmod(s.bin, 0o777)
        os.chmod(s.output, 0o555)
        prefix = []
        if os.geteuid() == 0:
            # Permission bits do not stop root: run as an unprivileged user.
            setpriv = shutil.which("setpriv")
            if setpriv is None:
                expect("setpriv available to drop root", False)
                return
            prefix = [setpriv, "--reuid=65534", "--regid=65534", "--clear-groups"]
        code, err = s.build("--yes", prefix=prefix)
        # The character file's entry comes first in the directory.
        target = os.path.join(s.output, "000.NAD")
        expect("unwritable character folder: create error naming the output, exit 3",
               code == 3 and err.rstrip("\n").endswith(f"ﾌｧｲﾙ {target} を作成できません."), f"{code} {err!r}")
        expect("the earlier 001.BMP is intact and nothing else is left",
               open(earlier, "rb").read() == b"an earlier run's picture" and os.listdir(s.output) == ["001.BMP"],
               str(os.listdir(s.output)))
        os.chmod(s.output, 0o755)


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    cli, generator = os.path.abspath(argv[1]), os.path.abspath(argv[2])
    with tempfile.TemporaryDirectory(prefix="pomvella-cli-") as work:
        s = Setup(work, cli, generator)
        check_checks_and_confirmation(s)
        check_launch(s)
    check_wrong_magic(cli, generator)
    check_unwritable_folder(cli, generator)
    total = len(failures)
    print(f"{'all' if not total else total} checks {'passed' if not total else 'failed'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
