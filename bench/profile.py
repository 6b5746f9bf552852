#!/usr/bin/env python3
"""Where VESK spends its time on one tree: its system calls in each phase of
the run, per directory and per file of the tree, and (with --perf) the
functions that take the most CPU time.

    bench/profile.py [--tree medium] [--dir DIR] [--vesk PATH] [--perf]
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import commands  # noqa: E402
import syscall_log  # noqa: E402
import totals  # noqa: E402
import trees  # noqa: E402
from terminal import Terminal  # noqa: E402


def print_phases(counts, directories, files):
    names = sorted(set().union(*counts.values()), key=lambda n: -sum(c[n] for c in counts.values()))
    print("%-18s %9s %9s %9s  %8s %8s %8s" % ("call", "start", "walk", "tally", "walk/dir", "tally/dir", "tally/file"))
    for name in names:
        walk, tally = counts["walk"][name], counts["tally"][name]
        print("%-18s %9d %9d %9d  %8.2f %8.2f %8.3f" % (
            name, counts["start"][name], walk, tally, walk / directories, tally / directories, tally / files))
    sums = {p: sum(counts[p].values()) for p in syscall_log.PHASES}
    print("%-18s %9d %9d %9d  %8.2f %8.2f %8.3f" % (
        "all", sums["start"], sums["walk"], sums["tally"],
        sums["walk"] / directories, sums["tally"] / directories, sums["tally"] / files))


def print_perf(terminal, command, env):
    work = tempfile.mkdtemp(prefix="vesk-bench-perf-")
    data = os.path.join(work, "perf.data")
    try:
        outcome = terminal.run(["perf", "record", "-q", "-F", "4000", "-o", data] + command.argv,
                               cwd=command.cwd, env=env)
        if outcome.status != 0:
            print("perf record failed (%d); no CPU profile" % outcome.status)
            return
        report = subprocess.run(["perf", "report", "-i", data, "--stdio",
                                 "--sort", "dso,symbol", "--percent-limit", "1"],
                                capture_output=True, text=True)
        for line in report.stdout.splitlines():
            if line and not line.startswith("#"):
                print(re.sub(r"(\s+-)+\s*$", "", line))  # the empty columns of a report without call graphs
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description="System calls per phase of a VESK run.")
    parser.add_argument("--tree", default="medium", choices=sorted(trees.SHAPES))
    parser.add_argument("--dir", default=trees.default_directory())
    parser.add_argument("--vesk", default=os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                       "..", "build", "native", "vesk"))
    parser.add_argument("--perf", action="store_true", help="also sample the CPU with perf")
    parser.add_argument("--relative", action="store_true",
                        help="name the tree relative to its parent, so no piece needs a case lookup")
    args = parser.parse_args()
    if not syscall_log.available():
        print("strace is not installed (package strace)")
        return 1
    top = trees.ensure_tree(args.dir, trees.SHAPES[args.tree])
    reference = totals.reference_of(top)
    scratch = tempfile.mkdtemp(prefix="vesk-bench-profile-")
    env = dict(os.environ, TMP=commands.dos_path(scratch))
    env.pop("TEMP", None)
    terminal = Terminal()
    try:
        make = commands.vesk_summary_exact_case if args.relative else commands.vesk_summary
        command = make(os.path.abspath(args.vesk), top)
        calls = syscall_log.trace(terminal, command, env)
        directories, files = reference.directories, reference.all_files.files
        print("%s on %s: %d directories, %d files, %d calls" % (command.label, args.tree, directories, files, len(calls)))
        print_phases(syscall_log.by_phase(calls), directories, files)
        on_list, records = syscall_log.list_file_calls(calls)
        print("list file: %d calls for %d records (%.2f a record)" % (on_list, records, on_list / max(records, 1)))
        if args.perf:
            if shutil.which("perf"):
                print_perf(terminal, command, env)
            else:
                print("perf is not installed; no CPU profile")
    finally:
        terminal.close()
        shutil.rmtree(scratch, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
