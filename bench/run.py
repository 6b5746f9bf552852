#!/usr/bin/env python3
"""VESK against du and find on the same trees, in one run.

    bench/run.py [--trees small,medium,wide,deep] [--pairs 10] [--dir DIR]
                 [--vesk PATH] [--wine] [--wine-vesk PATH]

Makes the trees once (bench/trees.py), warms the cache, checks that VESK's
totals are find's, then times VESK /S /V against du and against find pair by
pair, VESK's blocks (+NUL, +file) against /S /V, and measures the peak memory
of each command and the list file's system calls. With --wine it also times
the Windows build under Wine against Wine's own dir /s /a-d on the small
tree. Prints Markdown tables and the targets; exits 1 when any total is wrong.
"""

import argparse
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import commands  # noqa: E402
import peak_memory  # noqa: E402
import report  # noqa: E402
import syscall_log  # noqa: E402
import targets  # noqa: E402
import totals  # noqa: E402
import tree_bench  # noqa: E402
import trees  # noqa: E402
import wine_bench  # noqa: E402
from pairs import WrongRun  # noqa: E402
from terminal import Terminal  # noqa: E402

BUILD = os.path.join(HERE, "..", "build")
WINE_TREE = "small"


def parse_args():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--trees", type=trees.parse_tree_names, default=list(trees.SHAPES),
                        help="comma-separated, from: " + ", ".join(trees.SHAPES))
    parser.add_argument("--pairs", type=int, default=10, help="timed pairs per comparison (10 or more)")
    parser.add_argument("--dir", default=trees.default_directory(), help="where the trees live")
    parser.add_argument("--vesk", default=os.path.join(BUILD, "native", "vesk"))
    parser.add_argument("--wine", action="store_true", help="also the Windows build under Wine")
    parser.add_argument("--wine-vesk", default=os.path.join(BUILD, "windows", "vesk.exe"))
    args = parser.parse_args()
    if args.pairs < 1:
        parser.error("--pairs must be at least 1")
    args.vesk = os.path.abspath(args.vesk)
    args.wine_vesk = os.path.abspath(args.wine_vesk)
    if not os.access(args.vesk, os.X_OK):
        parser.error("%s is not there: cmake --preset native && cmake --build --preset native" % args.vesk)
    return args


def say(text):
    print(text, flush=True)


def private_scratch(base):
    """The list file's and the report files' folder for this run alone;
    upper case, like everything VESK is given."""
    scratch = os.path.join(base, "RUN%d" % os.getpid())
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(scratch)
    return scratch


def vesk_environment(scratch):
    env = dict(os.environ, TMP=commands.dos_path(scratch))
    env.pop("TEMP", None)
    return env


def run_wine(args, terminal, scratch):
    reason = wine_bench.skip_reason(args.wine_vesk)
    if reason:
        say("Wine part skipped: " + reason)
        return None
    top = trees.ensure_tree(args.dir, trees.SHAPES[WINE_TREE], say)
    say("%s under Wine: %d pairs" % (WINE_TREE, args.pairs))
    return wine_bench.compare(terminal, args.wine_vesk, top, totals.reference_of(top), args.pairs, scratch, say)


def print_results(args, results, wine):
    say("")
    for line in report.machine_lines(args.dir):
        say(line)
    say("VESK: %s; %d pairs per comparison, A B A B ...; ratios are medians of the pairs' ratios" % (args.vesk, args.pairs))
    if results:
        say("\n" + report.tools_table(results.values()))
        say("\n" + report.variants_table(results.values()))
        say("\n" + report.totals_table(results.values()))
        listing = report.list_file_table(results.values())
        if listing:
            say("\n" + listing)
    if wine:
        say("\n" + report.wine_table(wine, WINE_TREE))
    say("\n" + report.targets_table(targets.all_targets(results, wine)))


def main():
    args = parse_args()
    if args.pairs < 10:
        say("note: fewer than 10 pairs; the medians are rough")
    if not peak_memory.available():
        say("note: no %s (package time): peak memory not measured" % peak_memory.GNU_TIME)
    if not syscall_log.available():
        say("note: no strace (package strace): the list file's calls not counted")
    tops = {name: trees.ensure_tree(args.dir, trees.SHAPES[name], say) for name in args.trees}
    scratch = private_scratch(args.dir)
    env = vesk_environment(scratch)
    terminal = Terminal()
    results, wrong = {}, []
    try:
        for name, top in tops.items():
            try:
                results[name] = tree_bench.measure(terminal, name, top, args.vesk, args.pairs, env, scratch, say)
            except WrongRun as failure:
                wrong.append("%s: %s" % (name, failure))
                say("WRONG on %s: %s" % (name, failure))
        wine = None
        if args.wine:
            try:
                wine = run_wine(args, terminal, scratch)
            except WrongRun as failure:
                wrong.append("wine: %s" % failure)
                say("WRONG under Wine: %s" % failure)
        print_results(args, results, wine)
    finally:
        terminal.close()
        shutil.rmtree(scratch, ignore_errors=True)
    for line in wrong:
        say("WRONG " + line)
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
