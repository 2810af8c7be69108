"""A run from a script against the same work on bare Win32: Koravel /query, and /check, each paired
with bench/baseline/query_baseline.c, under Wine. Each pair runs RUNS times after a run of each not
counted, alternating which goes first; each run's CPU time (user and system) and peak resident
memory are the Linux process's own (Wine runs a Windows program as one), its time the wall clock's
from start to exit. Prints the medians and Koravel's as ratios of the bare program's, and whether
/query printed the bare program's bytes. A benchmark, not a test: it asserts nothing.
Usage: script_runs.py RUNS LOADER KORAVEL_EXE BARE_EXE"""
import os
import statistics
import subprocess
import sys
import time


def run(command):
    """(output, wall ms, CPU ms, peak KiB) of one run."""
    start = time.monotonic()
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    output = process.stdout.read()
    _, _, usage = os.wait4(process.pid, 0)
    process.returncode = 0  # waited for above
    return output, 1000 * (time.monotonic() - start), 1000 * (usage.ru_utime + usage.ru_stime), usage.ru_maxrss


def main():
    runs, loader, koravel, bare = int(sys.argv[1]), *sys.argv[2:5]
    for action in (["/query"], ["/check", "100"]):
        programs = {"Koravel " + " ".join(action): [loader, koravel, *action], "bare": [loader, bare]}
        samples = {name: [] for name in programs}
        outputs = {name: run(command)[0] for name, command in programs.items()}  # not counted
        for n in range(runs):
            for name in (list(programs) if n % 2 == 0 else list(programs)[::-1]):
                samples[name].append(run(programs[name])[1:])
        print(f"{' '.join(action)}: {runs} runs of each" +
              (f"; its output is the bare program's, byte for byte: {outputs[list(programs)[0]] == outputs['bare']}"
               if action == ["/query"] else ""))
        medians = {name: [statistics.median(s[i] for s in samples[name]) for i in range(3)] for name in programs}
        first, second = medians.values()
        for i, figure in enumerate(("time to exit, ms", "CPU time, ms", "peak memory, KiB")):
            print(f"  {figure:18} {first[i]:9.1f} {second[i]:9.1f}   ratio {first[i] / second[i]:.2f}")


if __name__ == "__main__":
    main()
