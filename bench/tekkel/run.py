#!/usr/bin/env python3
"""Runs each bench/tekkel program and its Lua 5.4 twin alternately, several rounds in one
sitting, checks that both print the same result, and prints per program the best times and
the Tekkel/Lua speed ratio (Lua time / Tekkel time: above 1 Tekkel is faster), then the
geometric mean of the ratios. Times are the processor time (user + system) of each run, which
a busy machine disturbs far less than the time on the clock; both programs are single-threaded.

usage: run.py [--tekkel PATH] [--rounds N] [PROGRAM...]"""
import argparse
import math
import resource
import pathlib
import subprocess
import sys

here = pathlib.Path(__file__).resolve().parent
parser = argparse.ArgumentParser()
parser.add_argument("--tekkel", default=str(here.parents[1] / "build/release/apps/tekkel"))
parser.add_argument("--lua", default="lua5.4")
parser.add_argument("--rounds", type=int, default=5)
parser.add_argument("programs", nargs="*")
args = parser.parse_args()
names = args.programs or sorted(p.stem for p in here.glob("*.tkl"))


def cpu():
    t = resource.getrusage(resource.RUSAGE_CHILDREN)
    return t.ru_utime + t.ru_stime


def timed(cmd):
    start = cpu()
    done = subprocess.run(cmd, capture_output=True, text=True)
    elapsed = cpu() - start
    if done.returncode != 0:
        sys.exit(f"{' '.join(cmd)} failed:\n{done.stderr}")
    return elapsed, done.stdout


def result(text):
    # The lines before the register dump that `tekkel run` prints at the end.
    return [l for l in text.splitlines() if not l.startswith(("R1 =", "R2 =", "R3 =", "R4 =", "R5 ="))]


def same(a, b):
    if len(a) != len(b):
        return False
    for x, y in zip(a, b):
        try:
            if not math.isclose(float(x), float(y), rel_tol=1e-14):
                return False
        except ValueError:
            if x != y:
                return False
    return True


best = {n: [math.inf, math.inf] for n in names}
for _ in range(args.rounds):
    for n in names:
        t, out = timed([args.tekkel, "run", str(here / f"{n}.tkl")])
        l, lout = timed([args.lua, str(here / f"{n}.lua")])
        if not same(result(out), result(lout)):
            sys.exit(f"{n}: Tekkel printed {result(out)}, Lua {result(lout)}")
        best[n][0] = min(best[n][0], t)
        best[n][1] = min(best[n][1], l)

print(f"{'program':<10} {'tekkel s':>9} {'lua s':>9} {'ratio':>7}")
logs = []
for n in names:
    t, l = best[n]
    logs.append(math.log(l / t))
    print(f"{n:<10} {t:9.3f} {l:9.3f} {l / t:7.2f}")
print(f"{'geomean':<10} {'':>9} {'':>9} {math.exp(sum(logs) / len(logs)):7.2f}")
