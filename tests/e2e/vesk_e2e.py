"""Runs the built program as a user does: in a real pseudo-terminal, with keys
typed at its prompts, and reads back what the terminal shows.

The program under test comes from the environment variable VESK_PROGRAM. A
path ending in .exe is run under Wine (see wine_runner.py); anything else is
the Linux program, run here in a pty whose bytes a terminal emulator renders.
Both give a Run with the same fields, so one test serves both builds.
"""

import dataclasses
import os
import pty
import select
import signal
import subprocess
import tempfile
import time
import unittest

import pyte

PROGRAM = os.environ.get("VESK_PROGRAM", "")
ROWS, COLS = 25, 80  # the console's size, unless a test asks for more rows
TIMEOUT = 30.0


@dataclasses.dataclass
class Key:
    """A key typed once `after` has been shown (since the previous key), or
    at once, before the program reads anything, when `after` is empty."""

    data: bytes
    after: str = ""


ESC = b"\x1b"
UP = b"\x1b[A"
F1 = b"\x1bOP"


@dataclasses.dataclass
class Run:
    rows: list  # the screen, one string per row, trailing blanks dropped
    status: int  # exit code, or -signal number
    stderr: bytes
    raw: bytes  # every byte the program sent to the terminal (native only)
    restored: object = None  # the terminal is back in line mode with echo (native only)

    @property
    def text(self):
        """The screen from its first row to its last non-empty one."""
        rows = list(self.rows)
        while rows and not rows[-1]:
            rows.pop()
        return "\n".join(rows)


class _Screen(pyte.Screen):
    """A terminal that answers the cursor position request, as xterm does."""

    def __init__(self, cols, rows, reply):
        super().__init__(cols, rows)
        self._reply = reply

    def write_process_input(self, data):
        self._reply(data.encode())


def dos(path):
    """The DOS name of a Unix path on drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def run(args, cwd, env=None, keys=(), stdout_path=None, signal_after=None, rows=ROWS,
        wrapper=(), act_after=None, hangup_after=None):
    """Runs the program with args in cwd and returns what the user saw.

    env adds to (or, with None values, removes from) the environment.
    stdout_path redirects standard output to that file. signal_after is a
    (text, signal number) pair: the signal is sent once text has been shown.
    rows is the height of the terminal (80 columns wide).

    The Linux program only: wrapper is a command (full path first) that
    starts the program, such as a memory checker or a change of user.
    act_after is a (text, function) pair: the function is called once text
    has been shown, and nothing more is read from the terminal until it
    returns, so a program with more to show waits for it. hangup_after is a
    text: once it has been shown the terminal is closed, as when its window
    is.
    """
    if PROGRAM.lower().endswith(".exe"):
        if wrapper or act_after or hangup_after:
            raise unittest.SkipTest("wrappers, actions and hangups need the Linux runner")
        import wine_runner  # the Windows build, under Wine

        return wine_runner.run(args, cwd, env, keys, stdout_path, signal_after, rows)
    return _run_native(args, cwd, env, keys, stdout_path, signal_after, rows, list(wrapper),
                       act_after, hangup_after)


def child_env(env):
    full = dict(os.environ)
    full.pop("VESK_PROGRAM", None)
    for name, value in (env or {}).items():
        if value is None:
            full.pop(name, None)
        else:
            full[name] = value
    return full


def _run_native(args, cwd, env, keys, stdout_path, signal_after, rows, wrapper, act_after,
                hangup_after):
    err_read, err_write = os.pipe()
    full_env = child_env(env)
    full_env["TERM"] = "xterm"
    pid, master = pty.fork()
    if pid == 0:  # the child: the pty is its controlling terminal
        try:
            os.close(err_read)
            os.dup2(err_write, 2)
            if stdout_path:
                out = os.open(stdout_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
                os.dup2(out, 1)
            os.chdir(cwd)
            # A program started from a terminal by a shell has these at their
            # defaults, whatever started the tests: Python ignores SIGPIPE and
            # SIGXFSZ, and a job started in the background ignores SIGINT.
            for number in (signal.SIGINT, signal.SIGQUIT, signal.SIGPIPE, signal.SIGXFSZ):
                signal.signal(number, signal.SIG_DFL)
            import termios as tio

            # The terminal shows the program's bytes as sent: no LF to CR LF.
            modes = tio.tcgetattr(0)
            modes[1] &= ~tio.ONLCR
            tio.tcsetattr(0, tio.TCSANOW, modes)
            command = wrapper + [PROGRAM] + list(args)
            os.execve(command[0], command, full_env)
        finally:
            os._exit(127)
    os.close(err_write)
    import fcntl
    import struct
    import termios

    fcntl.ioctl(master, termios.TIOCSWINSZ, struct.pack("HHHH", rows, COLS, 0, 0))
    screen = _Screen(COLS, rows, lambda data: os.write(master, data))
    stream = pyte.ByteStream(screen)
    raw = bytearray()
    pending = list(keys)
    while pending and not pending[0].after:
        os.write(master, pending.pop(0).data)
    since_key = 0  # where in raw the text awaited by the next key may start
    stderr = bytearray()
    status = None
    deadline = time.monotonic() + TIMEOUT
    fds = [master, err_read]
    while fds:
        if time.monotonic() > deadline:
            os.kill(pid, signal.SIGKILL)
            raise AssertionError("the program did not end; it showed:\n" + bytes(raw).decode(errors="replace"))
        ready, _, _ = select.select(fds, [], [], 0.05)
        for fd in ready:
            try:
                chunk = os.read(fd, 65536)
            except OSError:
                chunk = b""
            if not chunk:
                fds.remove(fd)
                continue
            if fd == err_read:
                stderr += chunk
                continue
            raw += chunk
            stream.feed(chunk)
        # An action goes before a key awaited by the same text, so that the
        # program meets what the action did once it has the key.
        if act_after and act_after[0] in bytes(raw).decode(errors="replace"):
            act_after[1]()
            act_after = None
        shown = bytes(raw[since_key:]).decode(errors="replace")
        if pending and pending[0].after in shown:
            time.sleep(0.05)  # let the program reach its read of the key
            os.write(master, pending.pop(0).data)
            since_key = len(raw)
        if signal_after and signal_after[0] in bytes(raw).decode(errors="replace"):
            os.kill(pid, signal_after[1])
            signal_after = None
        if hangup_after and hangup_after in bytes(raw).decode(errors="replace"):
            os.close(master)
            if master in fds:
                fds.remove(master)
            master = None
            hangup_after = None
        if status is None:
            done, code = os.waitpid(pid, os.WNOHANG)
            if done:
                status = code
                deadline = min(deadline, time.monotonic() + 2)
                if master in fds and not select.select([master], [], [], 0.2)[0]:
                    fds.remove(master)
    import termios as tio

    restored = None  # a terminal closed under the program has no modes left to see
    if master is not None:
        lflag = tio.tcgetattr(master)[3]  # the pair shares one set of modes
        restored = bool(lflag & tio.ICANON) and bool(lflag & tio.ECHO)
        os.close(master)
    os.close(err_read)
    if status is None:
        _, status = os.waitpid(pid, 0)
    code = os.waitstatus_to_exitcode(status)
    rows = [line.rstrip() for line in screen.display]
    return Run(rows, code, bytes(stderr), bytes(raw), restored)


def run_without_terminal(args, cwd, env=None):
    """Runs the program with no controlling terminal (a new session, pipes)."""
    if PROGRAM.lower().endswith(".exe"):
        import wine_runner

        return wine_runner.run_without_terminal(args, cwd, env)
    proc = subprocess.run(
        [PROGRAM] + list(args),
        cwd=cwd,
        env=child_env(env),
        stdin=subprocess.DEVNULL,
        capture_output=True,
        start_new_session=True,
        timeout=TIMEOUT,
    )
    return proc


class TreeCase(unittest.TestCase):
    """A test with a fresh temporary directory, self.root, as its fixture."""

    def setUp(self):
        self._tmp = tempfile.TemporaryDirectory(prefix="vesk-e2e-")
        self.root = os.path.realpath(self._tmp.name)

    def tearDown(self):
        for dirpath, dirnames, _ in os.walk(self.root):
            for name in dirnames:
                os.chmod(os.path.join(dirpath, name), 0o755)
        self._tmp.cleanup()

    def path(self, *pieces):
        return os.path.join(self.root, *pieces)

    def file(self, relative, size=0, hidden=False, system=False):
        """Makes a file of size bytes (sparse) and its directories."""
        full = self.path(relative)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.truncate(size)
        attr = (2 if hidden else 0) | (4 if system else 0)
        if attr:
            os.setxattr(full, "user.DOSATTRIB", b"0x%x" % attr)
        return full

    def dir(self, relative):
        full = self.path(relative)
        os.makedirs(full, exist_ok=True)
        return full

    def dos(self, *pieces):
        return dos(self.path(*pieces))
