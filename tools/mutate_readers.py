#!/usr/bin/env python3
"""A short mutation run over the three readers of files a person names: damaged copies of the
shipped recording, scenario folder and scripts go to the real programs, which must end with a
documented exit code within the time limit and print only clean lines (at most 200 bytes, no
raw control character, valid UTF-8).

    tools/mutate_readers.py BUILD_DIR [--count N] [--seed S]

Prints the exit codes counted per reader and every offending line; exits 1 when there is one.
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
from collections import Counter
from concurrent.futures import ThreadPoolExecutor

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEMO = os.path.join(ROOT, "scenarios", "demo")
RECORDING = os.path.join(ROOT, "tests", "data", "haruvel-demo.rec")
DOCUMENTED = {0, 1, 2, 3}
# objects.txt's unknown-field message lists every field: its fixed text alone is 150 bytes, so
# with a quoted word it may pass 200. Such lines are counted apart; the quote is still checked.
LONG_BY_ITS_LIST = b"'; expected one of layer, plane, position, facing, stepDir, chipSheet, chip, "
TIMEOUT = 30


def mutate(data: bytes, rng: random.Random) -> bytes:
    """One to four damages of the kinds a disk, a copy or a hand makes."""
    data = bytearray(data)
    for _ in range(rng.randint(1, 4)):
        at = rng.randrange(len(data) + 1)
        kind = rng.randrange(8)
        if kind == 0 and data:  # a flipped bit
            data[min(at, len(data) - 1)] ^= 1 << rng.randrange(8)
        elif kind == 1:  # a control character or a byte that is not UTF-8
            data[at:at] = bytes([rng.choice([0, 7, 8, 13, 27, 127, 0x80, 0xC0, 0xFF])])
        elif kind == 2:  # a run cut out
            del data[at:at + rng.randint(1, 200)]
        elif kind == 3:  # a run doubled
            data[at:at] = data[at:at + rng.randint(1, 200)]
        elif kind == 4:  # one very long word
            data[at:at] = bytes([rng.choice(b"x\x1b\xe3")]) * rng.randint(1000, 100000)
        elif kind == 5:  # line ends made carriage returns
            data = bytearray(data.replace(b"\n", b"\r"))
        elif kind == 6:  # cut short
            del data[at:]
        else:  # an escape sequence in a word
            data[at:at] = b"\x1b[31m"
    return bytes(data)


def bad_lines(output: bytes):
    for line in output.split(b"\n"):
        try:
            line.decode("utf-8")
        except UnicodeDecodeError:
            yield "not UTF-8", line
            continue
        if len(line) > 200 and LONG_BY_ITS_LIST in line:
            if len(line.split(LONG_BY_ITS_LIST)[0].split(b"unknown field '")[-1]) > 63:
                yield "quote over 60 bytes", line
            yield "long field list", line
        elif len(line) > 200:
            yield "over 200 bytes", line
        elif any(b < 0x20 and b != 0x09 or b == 0x7F for b in line):
            yield "raw control character", line


def run(args, cwd):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    try:
        p = subprocess.run(args, cwd=cwd, env=env, capture_output=True, timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        return "hang", b""
    # Qt's own notes about the offscreen platform are not the readers' output.
    err = b"\n".join(l for l in p.stderr.split(b"\n")
                     if not l.startswith((b"QStandardPaths:", b"This plugin does not")))
    return p.returncode, p.stdout + b"\n" + err


def case(reader, n, seed, build, work):
    rng = random.Random(seed * 100003 + n)
    folder = os.path.join(work, f"{reader}{n}")
    haruvel = os.path.join(build, "apps", "haruvel")
    if reader == "recording":
        os.makedirs(folder)
        with open(RECORDING, "rb") as f:
            data = mutate(f.read(), rng)
        with open(os.path.join(folder, "r.rec"), "wb") as f:
            f.write(data)
        args = [haruvel, "--replay", "r.rec", "--headless"]
    elif reader == "scenario":
        shutil.copytree(DEMO, os.path.join(folder, "s"))
        name = os.path.join(folder, "s", rng.choice(sorted(os.listdir(DEMO))))
        with open(name, "rb") as f:
            data = mutate(f.read(), rng)
        with open(name, "wb") as f:
            f.write(data)
        args = [haruvel, "--scenario", "s", "--check"]
    else:
        os.makedirs(folder)
        with open(os.path.join(DEMO, "scripts.tkl"), "rb") as f:
            data = mutate(f.read(), rng)
        with open(os.path.join(folder, "t.tkl"), "wb") as f:
            f.write(data)
        args = [os.path.join(build, "apps", "tekkel"), "check", "t.tkl"]
    code, output = run(args, folder)
    shutil.rmtree(folder, ignore_errors=True)
    return reader, n, code, list(bad_lines(output))


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("build")
    ap.add_argument("--count", type=int, default=300)
    ap.add_argument("--seed", type=int, default=1)
    a = ap.parse_args()
    a.build = os.path.abspath(a.build)
    work = tempfile.mkdtemp(prefix="mutate-")
    jobs = [(r, n) for r in ("recording", "scenario", "tekkel") for n in range(a.count)]
    codes = {r: Counter() for r in ("recording", "scenario", "tekkel")}
    failed = False
    listed = 0
    with ThreadPoolExecutor(max_workers=2) as pool:
        for reader, n, code, bad in pool.map(lambda j: case(*j, a.seed, a.build, work), jobs):
            codes[reader][code] += 1
            if code not in DOCUMENTED:
                failed = True
                print(f"{reader} #{n}: exit {code}")
            listed += sum(why == "long field list" for why, _ in bad)
            for why, line in [b for b in bad if b[0] != "long field list"][:3]:
                failed = True
                print(f"{reader} #{n}: {why}: {line[:120]!r}")
    shutil.rmtree(work, ignore_errors=True)
    print(f"unknown-field lines over 200 bytes by their fixed field list: {listed}")
    for reader, counted in codes.items():
        print(f"{reader}: " + ", ".join(f"exit {c}: {k}" for c, k in sorted(counted.items(), key=str)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
