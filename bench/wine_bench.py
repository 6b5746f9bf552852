"""The Windows build under Wine against Wine's own `cmd /c dir /s /a-d`.

Both run as `wine ...` in one throwaway prefix made for this benchmark run,
with its server kept up (`wineserver -p`) so that no run pays for starting
one, and both with the terminal as standard output: Wine gives a program a
console only when standard output or error is a terminal. dir's listing goes
to a file through cmd's own redirection, as a user would write it.
"""

import os
import shutil
import subprocess
import tempfile

import totals
from commands import Command, dos_path
from pairs import WrongRun, time_pairs


def wine_env(prefix):
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "TMUX", "TMUX_PANE"):
        env.pop(name, None)
    env.update(WINEPREFIX=prefix, WINEDEBUG="-all", LC_ALL="C.UTF-8",
               WINEDLLOVERRIDES="winemenubuilder.exe=d")  # no desktop menu entries
    return env


class WinePrefix:
    def __init__(self, work):
        self.env = wine_env(os.path.join(work, "prefix"))
        quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wine", "wineboot", "-i"], env=self.env, check=True, timeout=600, **quiet)
        subprocess.run(["wineserver", "-w"], env=self.env, check=True, timeout=600)
        subprocess.run(["wineserver", "-p"], env=self.env, check=True)

    def close(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)


def skip_reason(vesk_exe):
    if not os.path.exists(vesk_exe):
        return "%s is not there (cmake --preset windows && cmake --build --preset windows)" % vesk_exe
    if not shutil.which("wine") or not shutil.which("wineserver"):
        return "Wine is not installed (packages wine, wine64)"
    return None


class WineResult:
    def __init__(self, series, vesk_totals, dir_totals):
        self.series = series  # vesk.exe /S /V against dir /s /a-d
        self.vesk_totals = vesk_totals
        self.dir_totals = dir_totals


def compare(terminal, vesk_exe, top, reference, pairs, scratch, log=print):
    """Times vesk.exe /S /V against dir /s /a-d on top; raises WrongRun when
    either does not count what find counts."""
    work = tempfile.mkdtemp(prefix="vesk-bench-wine-")
    prefix = None
    try:
        log("making a Wine prefix for the Windows build ...")
        prefix = WinePrefix(work)
        report = os.path.join(scratch, "WINE.TXT")
        listing = os.path.join(scratch, "DIR.TXT")
        vesk = Command("wine vesk.exe /S /V", ["wine", vesk_exe, dos_path(top) + "\\*.*", "/S", "/V"])
        check = Command("wine vesk.exe /S /V +file", vesk.argv + ["+" + dos_path(report), "/AS"])
        dir_s = Command("wine cmd /c dir /s /a-d > file",
                        ["wine", "cmd", "/c", "dir /s /a-d %s > %s" % (dos_path(top), dos_path(listing))])

        def run_once(command):
            outcome = terminal.run(command.argv, env=prefix.env, stdout_is_terminal=True)
            if outcome.status != 0:
                raise WrongRun("%s exited with %d" % (command.label, outcome.status))

        run_once(check)
        vesk_totals = totals.vesk_totals(totals.read_text(report))
        run_once(dir_s)
        dir_totals = totals.wine_dir_totals(totals.read_text(listing))
        for name, got in (("vesk.exe", vesk_totals), ("dir /s", dir_totals)):
            if got != reference.reachable:
                raise WrongRun("under Wine %s counts %s, find %s" % (name, got, reference.reachable))

        def check_listing(_):
            if totals.wine_dir_totals(totals.read_text(listing)) != reference.reachable:
                raise WrongRun("dir /s listed other totals in a timed run")

        series = time_pairs(terminal, vesk, dir_s, pairs, check_b=check_listing, env=prefix.env,
                            stdout_is_terminal=True)
        return WineResult(series, vesk_totals, dir_totals)
    finally:
        if prefix:
            prefix.close()
        shutil.rmtree(work, ignore_errors=True)
