"""Runs the Windows program (VESK_PROGRAM ending in .exe) under Wine, in a real
pseudo-terminal, and gives back the same Run as the Linux runner.

Wine gives a program a console only inside a pseudo-terminal, and draws its
own screen buffer on that terminal. So each run gets a tmux pane of 80x25 whose
own command is the helper conread.exe (built beside vesk.exe). The helper starts
vesk.exe in its console, waits for it and writes the exact rows of the screen
buffer, the cursor and the exit code. Keys are typed into the pane as a user
types them; the terminal Wine draws on is only watched to know when to type.

Each run has a Wine prefix of its own, cloned from one template made once per
test session (or taken from VESK_WINE_TEMPLATE), so runs cannot disturb each
other and a run costs a fraction of a second instead of a fresh prefix's ten.
"""

import atexit
import glob
import os
import shlex
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

import vesk_e2e

POLL = 0.02
# Wine holds a lone Escape back for a moment to see whether a sequence follows;
# a key typed sooner than about 0.2 s after it is taken as part of it.
KEY_GAP = 0.3
_template = None


def _wine_env(base, prefix):
    env = dict(base)
    for name in ("TMUX", "TMUX_PANE", "DISPLAY", "WAYLAND_DISPLAY"):
        env.pop(name, None)
    env["WINEPREFIX"] = prefix
    env["WINEDEBUG"] = "-all"
    env["LC_ALL"] = "C.UTF-8"  # console code page 437, as on a Western Windows
    env["WINEDLLOVERRIDES"] = "winemenubuilder.exe=d"  # no desktop menu entries
    return env


def _template_prefix():
    """The prefix every run's prefix is cloned from."""
    global _template
    if _template:
        return _template
    given = os.environ.get("VESK_WINE_TEMPLATE")
    if given:
        _template = given
        return _template
    parent = tempfile.mkdtemp(prefix="vesk-wine-template-")
    atexit.register(shutil.rmtree, parent, True)
    _template = make_template(os.path.join(parent, "prefix"))
    return _template


def make_template(path):
    env = _wine_env(os.environ, path)
    subprocess.run(["wine", "wineboot", "-i"], env=env, check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
    subprocess.run(["wineserver", "-w"], env=env, check=True, timeout=300)
    return path


class _Prefix:
    """A clone of the template for one run, with its wine server up."""

    def __init__(self):
        self.work = tempfile.mkdtemp(prefix="vesk-wine-")
        self.path = os.path.join(self.work, "prefix")
        template = _template_prefix()
        subprocess.run(["cp", "-al", template, self.path], check=True)
        # The server rewrites the registry files in place: through a hard
        # link it would rewrite the template's.
        for reg in glob.glob(os.path.join(template, "*.reg")):
            subprocess.run(["cp", "--remove-destination", reg, self.path], check=True)
        self.env = _wine_env(os.environ, self.path)
        # A persistent server: without it every run waits for one to start.
        subprocess.run(["wineserver", "-p"], env=self.env, check=True)

    def file(self, name):
        return os.path.join(self.work, name)

    def close(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        shutil.rmtree(self.work, ignore_errors=True)


def _helper():
    path = os.environ.get("VESK_CONREAD") or os.path.join(
        os.path.dirname(os.path.abspath(vesk_e2e.PROGRAM)), "conread.exe")
    if not os.path.exists(path):
        raise AssertionError("the console helper is missing: " + path)
    return path


def quote_arg(arg):
    """arg as vesk.exe cuts it back out of its command line: a double or a
    single quote opens and closes a stretch in which blanks are kept."""
    if arg and not any(ord(c) <= 32 or c in "\"'" for c in arg):
        return arg
    if '"' not in arg:
        return '"' + arg + '"'
    if "'" not in arg:
        return "'" + arg + "'"
    raise ValueError("no quoting keeps both kinds of quote in one parameter: %r" % arg)


def command_line(args):
    return " ".join([quote_arg(vesk_e2e.dos(vesk_e2e.PROGRAM))] + [quote_arg(a) for a in args])


def _job(prefix, args, env, stdout_path, console, typed_first=False, stdin_path=None,
         before=None, injected=()):
    """The helper's job file: what vesk.exe is started with."""
    lines = ["stderr=" + vesk_e2e.dos(prefix.file("stderr"))] if console else []
    if console:
        lines.append("result=" + vesk_e2e.dos(prefix.file("result")))
        lines.append("ready=" + vesk_e2e.dos(prefix.file("ready")))
        lines.append("go=" + vesk_e2e.dos(prefix.file("go")))
        if typed_first:
            lines.append("typed=yes")
    else:
        lines.append("console=no")
    if stdout_path:
        lines.append("stdout=" + vesk_e2e.dos(stdout_path))
    if stdin_path:
        lines.append("stdin=" + vesk_e2e.dos(stdin_path))
    if before:
        lines.append("before=" + before)
    for vk, scan, char, state in injected:
        lines.append("key=%x,%x,%x,%x" % (vk, scan, char, state))
    # Wine takes TMP and TEMP from its registry; the program must see what
    # the Unix environment holds, as the Linux program does.
    full = vesk_e2e.child_env(env)
    names = {"TMP", "TEMP"} | set((env or {}).keys())
    for name in sorted(names):
        if full.get(name) is None:
            lines.append("unset=" + name)
        else:
            lines.append("set=%s=%s" % (name, full[name]))
    lines.append("cmd=" + command_line(args))
    path = prefix.file("job")
    with open(path, "w", encoding="latin-1", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    return path


class _Pane:
    """A tmux server of our own with one 80x25 pane running a command."""

    def __init__(self, prefix, command, rows):
        self.rows = rows
        self.socket = prefix.file("tmux.sock")
        conf = prefix.file("tmux.conf")
        with open(conf, "w") as f:
            # No status line (it would take a row) and the pane stays after
            # its command ends, so that the end can be seen.
            f.write("set -g status off\nset -g remain-on-exit on\nset -g history-limit 0\n")
        script = prefix.file("pane.sh")
        with open(script, "w") as f:
            f.write("exec " + " ".join(shlex.quote(c) for c in command) + "\n")
        self._tmux("-f", conf, "new-session", "-d", "-x", str(vesk_e2e.COLS), "-y", str(rows),
                   "sh " + shlex.quote(script))

    def _tmux(self, *args):
        return subprocess.run(["tmux", "-S", self.socket] + list(args), check=True,
                              capture_output=True).stdout

    def look(self):
        """The terminal's rows, the cursor and whether the command has ended."""
        out = self._tmux("capture-pane", "-p", ";", "display", "-p",
                         "#{cursor_x} #{cursor_y} #{pane_dead}")
        lines = out.decode(errors="replace").split("\n")
        x, y, dead = lines[-2].split()
        rows = (lines[:-2] + [""] * self.rows)[: self.rows]
        return rows, int(x), int(y), dead == "1"

    def send(self, data):
        self._tmux("send-keys", "-H", *["%02x" % b for b in data])

    def close(self):
        subprocess.run(["tmux", "-S", self.socket, "kill-server"], stderr=subprocess.DEVNULL)


def _awaited_shown(rows, x, y, text):
    """Whether the terminal shows text just before the cursor, which is where
    a program waiting at a prompt leaves it."""
    if not 0 <= y < len(rows):
        return False
    before = rows[y][:x].ljust(x)
    return before.endswith(text)


STATUS_CONTROL_C_EXIT = 0xC000013A
# What the console shows for the control codes of code page 437, 0 to 31.
_CONTROL_GLYPHS = " \u263a\u263b\u2665\u2666\u2663\u2660\u2022\u25d8\u25cb\u25d9\u2642\u2640\u266a\u266b\u263c" \
    "\u25ba\u25c4\u2195\u203c\u00b6\u00a7\u25ac\u21a8\u2191\u2193\u2192\u2190\u221f\u2194\u25b2\u25bc"


def _shown(cells):
    """A row of the buffer as the console draws it: code page 437, with the
    glyphs it has for the control codes (Escape is an arrow to the left)."""
    text = cells.decode("cp437")
    return "".join(_CONTROL_GLYPHS[ord(c)] if ord(c) < 32 else "\u2302" if c == "\x7f" else c
                   for c in text)


def _read_result(path):
    """The helper's report: the screen rows, the exit status, and whether the
    console input mode is what it was before the program started."""
    with open(path, "rb") as f:
        lines = f.read().split(b"\n")
    fields = {}
    for line in lines[:4]:
        name, *values = line.decode().split()
        fields[name] = [int(v) for v in values]
    status = fields["status"][0]
    height = fields["size"][1]
    before, after = fields["mode"]
    rows = [_shown(line).rstrip(" ") for line in lines[4 : 4 + height]]
    # A Windows program that Ctrl+C ends leaves this status, its counterpart of
    # the death by SIGINT that the Linux runner reports as -2.
    if status == STATUS_CONTROL_C_EXIT:
        status = -signal.SIGINT
    return rows, status, before == after


def run(args, cwd, env, keys, stdout_path, signal_after, rows=vesk_e2e.ROWS, stdin_path=None,
        before=None, injected=()):
    """vesk_e2e.run under Wine. Beyond it: stdin_path gives the program that
    file as standard input; before is text written to the console ahead of
    the program, which then starts with the cursor after it; injected are key
    presses (virtual key, scan code, character, control key state) put into
    the console's input queue before the program starts."""
    if signal_after and signal_after[1] != signal.SIGINT:
        # Only Ctrl+C reaches a Windows program as a signal does.
        raise unittest.SkipTest("a Windows program has no counterpart of signal %d" % signal_after[1])
    prefix = _Prefix()
    pane = None
    try:
        typed_first = bool(keys) and not keys[0].after
        job = _job(prefix, args, env, stdout_path, console=True, typed_first=typed_first,
                   stdin_path=stdin_path, before=before, injected=injected)
        script_env = _wine_env(vesk_e2e.child_env(env), prefix.path)
        command = ["env", "-i"] + ["%s=%s" % kv for kv in sorted(script_env.items())]
        command += ["sh", "-c", 'cd "$1" && exec wine "$2" "$3"', "sh", cwd, _helper(),
                    vesk_e2e.dos(job)]
        pane = _Pane(prefix, command, rows)
        pending = list(keys)
        deadline = time.monotonic() + vesk_e2e.TIMEOUT
        # Keys typed before Wine's console holds the terminal would be echoed
        # by the terminal and their sequences cut apart; keys meant to come
        # before the program reads anything are typed before it starts.
        while not os.path.exists(prefix.file("ready")):
            if time.monotonic() > deadline or pane.look()[3]:
                raise AssertionError("the console helper did not start: " + "\n".join(pane.look()[0]))
            time.sleep(POLL)
        while pending and not pending[0].after:
            pane.send(pending.pop(0).data)
            time.sleep(KEY_GAP)
        open(prefix.file("go"), "w").close()
        last_sent = None  # what the terminal showed when the last key went
        while True:
            time.sleep(POLL)
            rows, x, y, dead = pane.look()
            if dead:
                break
            if time.monotonic() > deadline:
                raise AssertionError("the program did not end; it showed:\n" + "\n".join(rows))
            if pending and (not pending[0].after or (
                    (rows, x, y) != last_sent and _awaited_shown(rows, x, y, pending[0].after))):
                time.sleep(KEY_GAP)
                pane.send(pending.pop(0).data)
                last_sent = (rows, x, y)
            if signal_after and signal_after[0] in "\n".join(rows):
                pane.send(b"\x03")  # Ctrl+C
                signal_after = None
        result = prefix.file("result")
        if not os.path.exists(result):
            raise AssertionError("the console helper ended without a result; the pane showed:\n"
                                 + "\n".join(rows))
        screen, status, restored = _read_result(result)
        with open(prefix.file("stderr"), "rb") as f:
            stderr = f.read()
        return vesk_e2e.Run(screen, status, stderr, b"", restored)
    finally:
        if pane:
            pane.close()
        prefix.close()


def run_without_terminal(args, cwd, env=None):
    """vesk.exe with pipes for its standard handles and no console at all."""
    prefix = _Prefix()
    try:
        job = _job(prefix, args, env, None, console=False)
        # Files, not pipes: the Wine services the first run starts inherit
        # the standard handles and would hold a pipe open after the program.
        with open(prefix.file("out"), "w+b") as out, open(prefix.file("err"), "w+b") as err:
            proc = subprocess.run(
                ["wine", _helper(), vesk_e2e.dos(job)],
                cwd=cwd,
                env=_wine_env(vesk_e2e.child_env(env), prefix.path),
                stdin=subprocess.DEVNULL,
                stdout=out,
                stderr=err,
                start_new_session=True,
                timeout=vesk_e2e.TIMEOUT,
            )
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(proc.args, proc.returncode, out.read(), err.read())
    finally:
        prefix.close()


def _remove_template(path):
    if os.path.isdir(path):
        subprocess.run(["wineserver", "-k"], env=_wine_env(os.environ, path),
                       stderr=subprocess.DEVNULL)
        shutil.rmtree(path)


if __name__ == "__main__":
    # The suite's own prefix, made once before its tests and removed after:
    #   wine_runner.py make-template PATH | remove-template PATH
    import sys

    action, where = sys.argv[1:3]
    if action == "make-template":
        _remove_template(where)  # a prefix left by an interrupted run
        make_template(where)
    elif action == "remove-template":
        _remove_template(where)
    else:
        sys.exit("usage: wine_runner.py make-template|remove-template PATH")
