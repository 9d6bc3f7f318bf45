#!/usr/bin/env python3
"""Runs each bench/tekkel program and its Lua 5.4 twin alternately, several rounds in one
sitting, checks that both print the same result, and prints per program the best times and
the Tekkel/Lua speed ratio (Lua time / Tekkel time: above 1 Tekkel is faster), then the
geometric mean of the ratios. When `luajit` is installed, LuaJIT with its compiler off
(`-joff`, a pure interpreter) runs each twin too, with a ratio column of its own. Times are the processor time (user + system) of each run, which
a busy machine disturbs far less than the time on the clock; both programs are single-threaded.

The programs in unseen/ and unseen-b/ to unseen-n/ are kept apart from the ones the records
were tuned on: each folder is a set written at one time by someone who had not read the records'
code, measured first as it came (`--dir unseen-b` runs one). unseen-c's rpn led to the quick look
at texts that are no number, unseen-d's loan to the copies of R1 after arithmetic with a
variable, unseen-e's exprcalc to the jumps to a label named in D1 within the records, unseen-g's
queuesim and bytevm to Alloc's search past filled shared variables and to real counters stepping
in place, unseen-j's numwords to lighter cuts, lengths and joins of texts and its symtab to
integer texts read without a conversion, and unseen-l's scene to Alloc's search of a map from
where room may be, so those six sets have been looked into since. unseen-k's courier, which came
below 0.6, runs no path that stands out; unseen-m and unseen-n came with none below 0.6. Twins that use Lua 5.4's `//`, which LuaJIT does not
read, have no LuaJIT figure (most of unseen-d).

usage: run.py [--tekkel PATH] [--rounds N] [--dir DIR] [PROGRAM...]"""
import argparse
import math
import resource
import pathlib
import shutil
import subprocess
import sys

here = pathlib.Path(__file__).resolve().parent
parser = argparse.ArgumentParser()
parser.add_argument("--tekkel", default=str(here.parents[1] / "build/release/apps/tekkel"))
parser.add_argument("--lua", default="lua5.4")
parser.add_argument("--luajit", default="luajit")
parser.add_argument("--rounds", type=int, default=5)
parser.add_argument("--dir", default=".", help="folder of the programs, under bench/tekkel")
parser.add_argument("programs", nargs="*")
args = parser.parse_args()
folder = here / args.dir
names = args.programs or sorted(p.stem for p in folder.glob("*.tkl"))
luajit = shutil.which(args.luajit)


def cpu():
    t = resource.getrusage(resource.RUSAGE_CHILDREN)
    return t.ru_utime + t.ru_stime


def timed(cmd, must=True):
    start = cpu()
    done = subprocess.run(cmd, capture_output=True, text=True)
    elapsed = cpu() - start
    if done.returncode != 0:
        if not must:
            return math.nan, None
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


runners = [[args.tekkel, "run"], [args.lua]] + ([[luajit, "-joff"]] if luajit else [])
best = {n: [math.inf] * len(runners) for n in names}
for _ in range(args.rounds):
    for n in names:
        outs = []
        for k, runner in enumerate(runners):
            # LuaJIT reads Lua 5.1 and lacks some of 5.4 (`//`): such a twin has no figure.
            t, out = timed(runner + [str(folder / f"{n}.{'tkl' if k == 0 else 'lua'}")], k < 2)
            outs.append(result(out) if out is not None else None)
            best[n][k] = t if math.isnan(t) else min(best[n][k], t)
        for k, out in enumerate(outs[1:], 1):
            if out is not None and not same(outs[0], out):
                sys.exit(f"{n}: Tekkel printed {outs[0]}, {runners[k][0]} {out}")


def geomean(xs):
    xs = [x for x in xs if not math.isnan(x)]
    return math.exp(sum(math.log(x) for x in xs) / len(xs)) if xs else math.nan


jit = luajit is not None
print(f"{'program':<10} {'tekkel s':>9} {'lua s':>9} {'ratio':>7}"
      + (f" {'joff s':>9} {'ratio':>7}" if jit else ""))
for n in names:
    t, l = best[n][:2]
    line = f"{n:<10} {t:9.3f} {l:9.3f} {l / t:7.2f}"
    if jit:
        line += f" {best[n][2]:9.3f} {best[n][2] / t:7.2f}"
    print(line)
line = f"{'geomean':<10} {'':>9} {'':>9} {geomean([best[n][1] / best[n][0] for n in names]):7.2f}"
if jit:
    line += f" {'':>9} {geomean([best[n][2] / best[n][0] for n in names]):7.2f}"
print(line)
