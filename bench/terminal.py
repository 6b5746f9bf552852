"""Runs a command with a pseudo-terminal as its controlling terminal, the same
way for every command compared, and times it.

VESK writes its report to /dev/tty and stops without one, so every timed
command (VESK, du, find alike) starts in a new session whose controlling
terminal is the slave side of one pty kept open for the whole benchmark;
standard input is that terminal, standard output and error go to /dev/null
unless asked otherwise. No shell and no `script` stands between this process
and the command: the command is spawned directly, and its clock runs from
the spawn to the reaped exit.

The master side is read all the time by a thread, which keeps what the last
command showed and answers the cursor position request (ESC [ 6 n) at once,
as a terminal emulator does: VESK asks it at start and waits up to 200 ms
for the answer, which a bare `script` never gives.
"""

import dataclasses
import fcntl
import os
import struct
import termios
import threading
import time

CURSOR_REQUEST = b"\x1b[6n"
CURSOR_AT_TOP_LEFT = b"\x1b[1;1R"


@dataclasses.dataclass
class Outcome:
    wall: float  # seconds from the spawn to the reaped exit
    cpu: float  # user + system seconds of the command
    status: int  # exit code, or -signal
    shown: bytes  # what the command wrote to the terminal

    @property
    def text(self):
        return self.shown.decode("latin-1")


class Terminal:
    """One pty, used by one command at a time."""

    def __init__(self, rows=25, cols=80):
        self.master, self.slave = os.openpty()
        self.slave_path = os.ttyname(self.slave)
        _set_size(self.slave, rows, cols)
        self._shown = bytearray()
        self._arrived = threading.Condition()
        self._reader = threading.Thread(target=self._read_master, daemon=True)
        self._reader.start()

    def _read_master(self):
        tail = b""  # a request may arrive cut in two
        while True:
            try:
                chunk = os.read(self.master, 65536)
            except OSError:
                return
            if not chunk:
                return
            with self._arrived:
                self._shown += chunk
                self._arrived.notify_all()
            seen = tail + chunk
            for _ in range(seen.count(CURSOR_REQUEST)):
                os.write(self.master, CURSOR_AT_TOP_LEFT)
            # Too short to hold a whole request, so none is answered twice.
            tail = seen[-(len(CURSOR_REQUEST) - 1):]

    def _take_shown(self):
        with self._arrived:
            shown = bytes(self._shown)
            self._shown.clear()
        return shown

    def run(self, argv, cwd=None, env=None, stdout=os.devnull, stdout_is_terminal=False, last_shown=None):
        """Runs argv to its end. stdout names the file standard output goes
        to; with stdout_is_terminal it goes to the terminal instead.
        last_shown is what the command shows last, waited for after its exit:
        the pty hands the bytes on to this side later, maybe much later on a
        busy machine."""
        self._take_shown()
        # Nothing left over from the command before may pass for a key.
        termios.tcflush(self.slave, termios.TCIFLUSH)
        out_target = self.slave_path if stdout_is_terminal else stdout
        actions = [
            # The first terminal a session leader opens becomes its
            # controlling terminal; the session is made before these run.
            (os.POSIX_SPAWN_OPEN, 0, self.slave_path, os.O_RDWR, 0),
            (os.POSIX_SPAWN_OPEN, 1, out_target, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644),
            (os.POSIX_SPAWN_OPEN, 2, os.devnull, os.O_WRONLY, 0),
        ]
        old_cwd = None
        if cwd:  # posix_spawn has no working-directory action before 3.13
            old_cwd = os.getcwd()
            os.chdir(cwd)
        try:
            started = time.perf_counter()
            pid = os.posix_spawnp(argv[0], argv, env if env is not None else os.environ,
                                  file_actions=actions, setsid=True)
            _, status, usage = os.wait4(pid, 0)
            wall = time.perf_counter() - started
        finally:
            if old_cwd:
                os.chdir(old_cwd)
        if last_shown:
            self._wait_for(last_shown)
        return Outcome(wall, usage.ru_utime + usage.ru_stime, os.waitstatus_to_exitcode(status),
                       self._take_shown())

    def _wait_for(self, text, timeout=10.0):
        with self._arrived:
            self._arrived.wait_for(lambda: text in self._shown, timeout)

    def close(self):
        os.close(self.slave)
        os.close(self.master)


def _set_size(fd, rows, cols):
    fcntl.ioctl(fd, termios.TIOCSWINSZ, struct.pack("HHHH", rows, cols, 0, 0))
