"""Peak resident memory of a command, from GNU time (package `time`).

The rusage this process gets back from a command it spawned is no good
here: the child's peak counts the pages it had before its exec, and a
Python process has some 10 MiB; a vfork-based spawn even hands on this
process's own peak. GNU time forks from a process of about 1 MiB, so what
it reports is the command's own peak. That floor is measured and printed.
"""

import os
import shutil
import tempfile

from commands import Command

GNU_TIME = "/usr/bin/time"
RUNS = 3


def available():
    return os.access(GNU_TIME, os.X_OK)


def peak_kib(terminal, command, env=None):
    """The largest peak of RUNS runs, in KiB; None without GNU time."""
    if not available():
        return None
    work = tempfile.mkdtemp(prefix="vesk-bench-rss-")
    report = os.path.join(work, "rss")
    try:
        peaks = []
        for _ in range(RUNS):
            argv = [GNU_TIME, "-f", "%M", "-o", report] + command.argv
            outcome = terminal.run(argv, cwd=command.cwd, env=env)
            if outcome.status != 0:
                raise RuntimeError("%s exited with %d under time" % (command.label, outcome.status))
            with open(report) as f:
                peaks.append(int(f.read().split()[-1]))
        return max(peaks)
    finally:
        shutil.rmtree(work, ignore_errors=True)


def floor_kib(terminal):
    """The peak of a command that does nothing: what no figure can go under."""
    return peak_kib(terminal, Command("true", ["true"]))
