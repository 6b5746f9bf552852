"""A command's system calls, from strace, cut into the phases of a VESK run.

VESK shows "Creazione del file temporaneo in corso ... " on the terminal
before it lists the subdirectories and "fatto." once the list is complete,
so with the report on the terminal these two writes split a run into its
start, the walk that fills the list file, and the tally that reads it back
(the final summary included).
"""

import collections
import dataclasses
import os
import re
import shutil
import tempfile

LINE = re.compile(r"^(\w+)\((.*)\)\s+=\s+(\S+)")
PHASES = ("start", "walk", "tally")
WALK_BEGINS = "Creazione del file temporaneo"
TALLY_BEGINS = "fatto."


@dataclasses.dataclass
class Call:
    name: str
    args: str
    result: str

    @property
    def first_argument(self):
        return self.args.split(",", 1)[0].strip()

    def result_number(self):
        try:
            return int(self.result, 0)
        except ValueError:
            return None


def available():
    return shutil.which("strace") is not None


def trace(terminal, command, env=None):
    """Runs command under strace; gives its calls in order."""
    work = tempfile.mkdtemp(prefix="vesk-bench-strace-")
    log = os.path.join(work, "calls")
    try:
        argv = ["strace", "-qq", "-s", "64", "-o", log] + command.argv
        outcome = terminal.run(argv, cwd=command.cwd, env=env)
        if outcome.status != 0:
            raise RuntimeError("%s exited with %d under strace" % (command.label, outcome.status))
        with open(log, encoding="latin-1") as f:
            return [Call(*m.groups()) for m in map(LINE.match, f) if m]
    finally:
        shutil.rmtree(work, ignore_errors=True)


def terminal_fds(calls):
    return {c.result_number() for c in calls if c.name == "openat" and '"/dev/tty"' in c.args}


def by_phase(calls):
    """Counts of each call's name in each phase."""
    tty = terminal_fds(calls)
    counts = {p: collections.Counter() for p in PHASES}
    phase = "start"
    for c in calls:
        if c.name == "write" and c.first_argument.isdigit() and int(c.first_argument) in tty:
            if phase == "start" and WALK_BEGINS in c.args:
                phase = "walk"
            elif phase == "walk" and TALLY_BEGINS in c.args:
                phase = "tally"
        counts[phase][c.name] += 1
    return counts


def list_file_calls(calls):
    """The calls made on the temporary list file (VESK____.TMP or a
    numbered name), its opening and closing included, and the number of
    records written to it."""
    open_fds = set()
    on_list = 0
    records = 0
    for c in calls:
        if c.name in ("openat", "open") and re.search(r'VESK[^"\\/]*\.TMP"', c.args, re.I):
            on_list += 1
            fd = c.result_number()
            if fd is not None and fd >= 0:
                open_fds.add(fd)
            continue
        fd = c.first_argument
        if fd.isdigit() and int(fd) in open_fds:
            on_list += 1
            if c.name in ("write", "pwrite64", "writev", "pwritev"):
                written = c.result_number() or 0
                records += written // 256
            if c.name == "close":
                open_fds.discard(int(fd))
    return on_list, records
