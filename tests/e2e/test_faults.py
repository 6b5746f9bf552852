"""Faults from the disk, the file system and the terminal. Each run ends with
its message and exit code, or with a correct report, and leaves no list file
behind. The faults are made with Linux means (a full device, mode bits, links,
a closed pseudo-terminal), so the Windows build skips them."""

import glob
import os
import pwd
import shutil
import signal
import unittest

import expect
from vesk_e2e import PROGRAM, Key, TreeCase, dos, run

CREATING = "Creazione del file temporaneo in corso ... "
TOO_LONG = "Percorso troppo lungo, non esaminato: "
LIST_ERROR = "Errore nell' accedere al file temporaneo. Operazione abortita."
PAGE = "Premere un tasto per continuare ..."
GiB = 2**30


def setUpModule():
    if PROGRAM.lower().endswith(".exe"):
        raise unittest.SkipTest("faults are made with Linux means")


def unprivileged():
    """The command that runs the program as a user whose mode bits count:
    nothing when we are one, setpriv to nobody when we are root (root reads
    and writes through any mode)."""
    if os.geteuid() != 0:
        return []
    setpriv = shutil.which("setpriv")
    try:
        pwd.getpwnam("nobody")
    except KeyError:
        setpriv = None
    if not setpriv:
        raise unittest.SkipTest("as root, mode bits need setpriv and the user nobody")
    return [setpriv, "--reuid=nobody", "--regid=nogroup", "--clear-groups"]


class FaultCase(TreeCase):
    def setUp(self):
        super().setUp()
        self.tmp = self.dir("TEMPDIR")
        self.env = {"TMP": self.dos("TEMPDIR"), "TEMP": None}

    def list_files(self):
        """Every list file anywhere in the tree, whatever its number."""
        return glob.glob(os.path.join(self.root, "**", "VESK*.TMP"), recursive=True)

    def assertNoListFile(self):
        self.assertEqual(self.list_files(), [])

    def tree(self):
        """Every path in the fixture, for a test that nothing was made."""
        return sorted(os.path.join(d, n) for d, ds, fs in os.walk(self.root) for n in ds + fs)

    def open_to_everyone(self, *relative):
        """The fixture's root and the given directories made usable by any
        user, for runs as an unprivileged one."""
        os.chmod(self.root, 0o755)
        for r in relative:
            os.chmod(self.path(r), 0o777)

    def blocking_directory(self, parent, children=500):
        """A directory under parent whose own path fits in a record but whose
        children's paths do not: expanding it names each child on the console.
        The runner reads the terminal slowly enough, and not at all while an
        action runs, that the walk is still at this directory then. It sorts
        before any name of a letter, so it is expanded first."""
        room = 255 - 4  # "\" and "*.*" still follow a listed path
        name = "0" * (room - len(self.dos(parent)) - 1 - 10)
        for i in range(children):
            os.makedirs(self.path(parent, name, "C%019d" % i))
        return name

    def written(self, name):
        with open(self.path(name), "rb") as f:
            return f.read().decode("latin-1")


class OutputFileFaultTest(FaultCase):
    def setUp(self):
        super().setUp()
        self.file("S/A/F.TXT", 1)
        self.file("S/B/G.TXT", 2)

    def test_full_device_during_a_walk(self):
        for extra in (["/V"], []):
            with self.subTest(extra=extra):
                result = run([self.dos("S"), "/S", "/AS", "+Z:\\dev\\full"] + extra, cwd=self.root,
                             env=self.env)
                self.assertEqual((result.status, result.text),
                                 (1, "File di output non valido: Z:\\DEV\\FULL"))
                self.assertNoListFile()

    def test_read_only_file(self):
        # A file its owner cannot write is read-only: neither appended to nor
        # overwritten, and left as it was.
        wrapper = unprivileged()
        self.open_to_everyone("TEMPDIR")
        out = self.dir("OUT")
        os.chmod(out, 0o777)
        target = os.path.join(out, "REPORT.TXT")
        with open(target, "w") as f:
            f.write("old")
        os.chmod(target, 0o444)
        if wrapper:
            os.chown(target, pwd.getpwnam("nobody").pw_uid, -1)
        name = self.dos("OUT", "REPORT.TXT")
        for policy in ("/AA", "/AS"):
            with self.subTest(policy=policy):
                result = run([self.dos("S"), "/S", policy, "+" + name], cwd=self.root,
                             env=self.env, wrapper=wrapper)
                self.assertEqual((result.status, result.text),
                                 (1, "File di output non valido: " + name.upper()))
                with open(target) as f:
                    self.assertEqual(f.read(), "old")
                self.assertNoListFile()

    def test_directory_gone_during_the_walk(self):
        # The file is open by then: its writes go on where the directory went,
        # and nothing is made anew at its old place.
        s = self.dos("S").upper()
        self.blocking_directory("S")
        out = self.path("OUT")
        moved = self.path("MOVED")

        def move():
            os.rename(out, moved)

        def remove():
            shutil.rmtree(out)

        for action in (move, remove):
            with self.subTest(action=action.__name__):
                os.mkdir(out)
                result = run([self.dos("S"), "/S", "+" + self.dos("OUT", "REPORT.TXT")],
                             cwd=self.root, env=self.env, act_after=(TOO_LONG, action))
                self.assertEqual(result.status, 0, result.text)
                self.assertFalse(os.path.exists(out))
                if action is move:
                    text = self.written("MOVED/REPORT.TXT")
                    blocks = [(s + "\\A\\", "*.*", 1, 1), (s + "\\B\\", "*.*", 2, 1)]
                    self.assertEqual(text, expect.report_file(blocks, text, (2, 3, "*.*")))
                    shutil.rmtree(moved)
                self.assertNoListFile()


class WriteRefusedTest(FaultCase):
    """Writes that the system refuses with a signal unless the program asks
    for an error instead: into a pipe without a reader, past a size limit."""

    def test_pipe_without_reader(self):
        # The reader is there when the output is opened and gone, during the
        # walk, before the first report line.
        self.file("S/A/F.TXT", 1)
        self.file("S/B/G.TXT", 2)
        self.blocking_directory("S")
        fifo = self.path("PIPE")
        os.mkfifo(fifo)
        reader = os.open(fifo, os.O_RDONLY | os.O_NONBLOCK)
        result = run([self.dos("S"), "/S", "/AS", "+" + self.dos("PIPE")], cwd=self.root,
                     env=self.env, act_after=(TOO_LONG, lambda: os.close(reader)))
        self.assertEqual(result.status, 1)
        self.assertEqual(result.text.split("\n")[-1],
                         "File di output non valido: " + self.dos("PIPE").upper())
        self.assertNoListFile()

    def test_file_size_limit(self):
        prlimit = shutil.which("prlimit")
        if not prlimit:
            self.skipTest("prlimit is not installed")
        limit = 1024
        for i in range(8):  # eight records, 2048 bytes of list
            self.file(f"MANY/D{i}/F.TXT", 1)
        for letter in "LMN":  # three records, and a report past the limit
            self.file(f"LONG/{letter * 200}/F.TXT", 1)
        out = self.dos("OUT.TXT")
        cases = [("MANY", LIST_ERROR), ("LONG", "File di output non valido: " + out.upper())]
        for tree, message in cases:
            with self.subTest(tree=tree):
                result = run([self.dos(tree), "/S", "/AS", "+" + out], cwd=self.root,
                             env=self.env, wrapper=[prlimit, "--fsize=%d" % limit])
                self.assertEqual((result.status, result.text), (1, message))
                self.assertLessEqual(os.path.getsize(self.path("OUT.TXT")), limit)
                self.assertNoListFile()


class TempDirFaultTest(FaultCase):
    def test_unwritable_directory(self):
        # TMP names a directory that exists: it is the list file's place even
        # when the list file cannot be made there.
        wrapper = unprivileged()
        self.file("S/A/F.TXT", 1)
        os.chmod(self.root, 0o755)
        os.chmod(self.tmp, 0o555)
        result = run([self.dos("S"), "/S"], cwd=self.root, env=self.env, wrapper=wrapper)
        self.assertEqual(result.status, 1)
        self.assertEqual(result.text, CREATING.rstrip() + "\n" + LIST_ERROR)
        self.assertNoListFile()

    def test_paths_at_the_limit(self):
        # The place, a backslash and VESK____.TMP must fit in 255 characters;
        # a longer TMP gives way to the current directory, and no directory
        # is made at a cut path. Each run walks the directory where the list
        # file must go, so the list file is counted there beside ONE.TXT.
        work = self.dir("WORK")
        base = len(self.dos()) + 1
        fits = self.dir("F" * (242 - base))
        too_long = self.dir("G" * (243 - base))
        over_255 = self.dir(os.path.join("H" * 200, "H" * (300 - base - 201)))
        for directory in (work, fits):
            self.file(os.path.relpath(os.path.join(directory, "ONE.TXT"), self.root), 1)
        cases = [
            (dos(fits), fits),
            (dos(fits) + "\\", fits),  # 243 characters with the final backslash
            (dos(too_long), work),
            (dos(over_255), work),
        ]
        before = self.tree()
        for tmp, where in cases:
            with self.subTest(length=len(tmp)):
                result = run([dos(where), "/S", "/V"], cwd=work, env={"TMP": tmp, "TEMP": None})
                self.assertEqual(result.status, 0, result.text)
                self.assertIn("Trovati 2 files *.*", result.text)
                self.assertNoListFile()
                self.assertEqual(self.tree(), before)

    def test_dangling_link_at_the_list_name(self):
        # A link at the name is never followed, even to make its target.
        self.file("S/A/F.TXT", 1)
        link = os.path.join(self.tmp, "VESK____.TMP")
        os.symlink(self.path("ELSEWHERE"), link)
        result = run([self.dos("S"), "/S", "/V"], cwd=self.root, env=self.env)
        self.assertEqual(result.status, 0, result.text)
        self.assertIn("Trovati 1 files *.*", result.text)
        self.assertFalse(os.path.lexists(self.path("ELSEWHERE")))
        self.assertEqual(os.listdir(self.tmp), ["VESK____.TMP"])
        self.assertEqual(os.readlink(link), self.path("ELSEWHERE"))


class WalkFaultTest(FaultCase):
    def test_unreadable_directories(self):
        wrapper = unprivileged()
        self.open_to_everyone("TEMPDIR")
        self.file("S/A/F.TXT", 1)
        self.file("S/LOCKED/G.TXT", 2)
        self.file("S/LOCKED/SUB/H.TXT", 4)
        self.file("S/NOLIST/I.TXT", 8)  # can be entered, not listed
        self.file("S/Z/J.TXT", 16)
        os.chmod(self.path("S/LOCKED"), 0o000)
        os.chmod(self.path("S/NOLIST"), 0o311)
        os.chmod(self.dir("OUT"), 0o777)
        s = self.dos("S").upper()
        result = run([self.dos("S"), "/S", "+" + self.dos("OUT", "R.TXT")], cwd=self.root,
                     env=self.env, wrapper=wrapper)
        self.assertEqual((result.status, result.text), (0, ""))
        text = self.written("OUT/R.TXT")
        blocks = [(s + "\\A\\", "*.*", 1, 1), (s + "\\Z\\", "*.*", 16, 1)]
        self.assertEqual(text, expect.report_file(blocks, text, (2, 17, "*.*")))
        self.assertNoListFile()

        # A start directory that cannot be read has nothing to count.
        result = run([self.dos("S", "LOCKED"), "/S"], cwd=self.root, env=self.env,
                     wrapper=wrapper)
        self.assertEqual(result.status, 1)
        self.assertEqual(result.text.split("\n")[-1], "File non trovato")
        self.assertNoListFile()

    def test_removed_working_directory(self):
        # The directory the program is started in has been removed: there is
        # nothing to count, and the walk never wanders off to the root.
        remove_then_run = [shutil.which("sh"), "-c", 'rm -r "$PWD" && exec "$0" "$@"']
        no_tmp = {"TMP": None, "TEMP": None}
        cases = [
            (["/V"], self.env, ["File non trovato"]),
            (["*.*", "/S"], self.env, [CREATING + "fatto.", "", "File non trovato"]),
            # The list file would go to the current directory.
            (["/S"], no_tmp, [CREATING.rstrip(), LIST_ERROR]),
        ]
        for args, env, screen in cases:
            with self.subTest(args=args, env=env):
                self.file("GONE/F.TXT", 1)
                result = run(args, cwd=self.path("GONE"), env=env, wrapper=remove_then_run)
                self.assertEqual((result.status, result.text), (1, "\n".join(screen)))
                self.assertFalse(os.path.exists(self.path("GONE")))
                self.assertNoListFile()

    def test_tree_changed_while_it_is_listed(self):
        # The walk is held at the first directory it expands while A's
        # subtree goes, B becomes a file, C gains a directory and loses a
        # file, and D is made where the walk has already been.
        self.file("S/ROOT.TXT", 1)
        self.file("S/A/A1/F.TXT", 10)
        self.file("S/B/G.TXT", 20)
        self.file("S/C/H.TXT", 40)
        self.file("S/C/GONE.TXT", 80)
        self.blocking_directory("S")
        s = self.dos("S").upper()

        def change():
            shutil.rmtree(self.path("S/A"))
            shutil.rmtree(self.path("S/B"))
            self.file("S/B", 200)
            self.file("S/C/NEW/N.TXT", 400)
            os.remove(self.path("S/C/GONE.TXT"))
            self.file("S/D/LATE.TXT", 800)

        result = run([self.dos("S"), "/S", "+" + self.dos("R.TXT")], cwd=self.root,
                     env=self.env, act_after=(TOO_LONG, change))
        self.assertEqual(result.status, 0, result.text)
        text = self.written("R.TXT")
        blocks = [
            (s + "\\", "*.*", 201, 2),  # ROOT.TXT and the file B
            (s + "\\C\\", "*.*", 40, 1),
            (s + "\\C\\NEW\\", "*.*", 400, 1),
        ]
        self.assertEqual(text, expect.report_file(blocks, text, (4, 641, "*.*")))
        self.assertNoListFile()

    def test_tree_changed_while_it_is_read_back(self):
        # At the paging prompt after the fifth block the list is half read:
        # of the directories still to come one goes, one becomes a file and
        # one gains a file.
        for i in range(8):
            self.file(f"P/D{i}/F.TXT", 1)
        p = self.dos("P").upper()

        def change():
            shutil.rmtree(self.path("P/D5"))
            shutil.rmtree(self.path("P/D6"))
            self.file("P/D6", 1000)
            self.file("P/D7/MORE.TXT", 2)

        result = run([self.dos("P"), "/S", "/P"], cwd=self.root, env=self.env, rows=60,
                     keys=[Key(b" ", after=PAGE)], act_after=(PAGE, change))
        self.assertEqual(result.status, 0, result.text)
        lines = [CREATING + "fatto.", ""]
        for i in range(5):
            block = expect.block(f"{p}\\D{i}\\", "*.*", 1, 1)[:-1]
            lines += block + ([PAGE] if i == 4 else []) + [""]
        lines += expect.block(f"{p}\\D7\\", "*.*", 3, 2)
        lines += expect.drive_summary(result.text.split("\n"), (7, 8, "*.*"))
        self.assertEqual(result.text, "\n".join(x.rstrip() for x in lines).rstrip("\n"))
        self.assertNoListFile()

    def test_large_files_in_a_walk(self):
        # A file of 5 GiB, and a directory whose files of just under 2 GiB
        # add up to more than 4 GiB: sums and totals are not cut to 32 bits,
        # and /MAX2147483647 leaves the large file out.
        self.file("L/BIG/HUGE.BIN", 5 * GiB)
        for i in range(3):
            self.file(f"L/MANY/P{i}.BIN", 2 * GiB - 1)
        l = self.dos("L").upper()
        big = (l + "\\BIG\\", "*.*", 5 * GiB, 1)
        many = (l + "\\MANY\\", "*.*", 3 * (2 * GiB - 1), 3)
        for extra, blocks in (([], [big, many]), (["/MAX2147483647"], [many])):
            with self.subTest(extra=extra):
                out = self.dos("R.TXT")
                result = run([self.dos("L"), "/S", "/AS", "+" + out] + extra, cwd=self.root,
                             env=self.env)
                self.assertEqual(result.status, 0, result.text)
                text = self.written("R.TXT")
                found = (sum(b[3] for b in blocks), sum(b[2] for b in blocks), "*.*")
                self.assertEqual(text, expect.report_file(blocks, text, found))
                self.assertNoListFile()

    def test_hundred_thousand_files(self):
        d = self.dir("MANY")
        for i in range(100_000):
            os.close(os.open(os.path.join(d, "F%06d" % i), os.O_CREAT | os.O_WRONLY, 0o644))
        result = run([self.dos("MANY"), "/S", "+" + self.dos("R.TXT")], cwd=self.root,
                     env=self.env)
        self.assertEqual(result.status, 0, result.text)
        text = self.written("R.TXT")
        blocks = [(self.dos("MANY").upper() + "\\", "*.*", 0, 100_000)]
        self.assertEqual(text, expect.report_file(blocks, text, (100_000, 0, "*.*")))
        self.assertNoListFile()


class TerminalFaultTest(FaultCase):
    def setUp(self):
        super().setUp()
        self.file("S/A/F.TXT", 1)
        self.blocking_directory("S")

    def test_terminal_closed_during_the_walk(self):
        result = run([self.dos("S"), "/S"], cwd=self.root, env=self.env, hangup_after=TOO_LONG)
        self.assertEqual(result.status, -signal.SIGHUP)
        self.assertNoListFile()

    def test_ctrl_c(self):
        with open(self.path("OUT.TXT"), "w") as f:
            f.write("old")
        for i in range(5):
            self.file(f"P/D{i}/F.TXT", 1)
        cases = [
            ("during the walk", [self.dos("S"), "/S"], TOO_LONG),
            ("at the paging prompt", [self.dos("P"), "/S", "/P"], PAGE),
            ("at the overwrite prompt", [self.dos("S"), "/S", "+OUT.TXT"], "[S,A,E] "),
        ]
        for where, args, shown in cases:
            with self.subTest(where=where):
                result = run(args, cwd=self.root, env=self.env, keys=[Key(b"\x03", after=shown)])
                self.assertEqual(result.status, -signal.SIGINT)
                self.assertTrue(result.restored, "the terminal was left in raw mode")
                self.assertNoListFile()
        with open(self.path("OUT.TXT")) as f:
            self.assertEqual(f.read(), "old")


class MemcheckTest(FaultCase):
    def test_walk_is_clean_under_memcheck(self):
        valgrind = shutil.which("valgrind")
        if not valgrind:
            self.skipTest("valgrind is not installed")
        with open(PROGRAM, "rb") as f:
            if b"__asan_init" in f.read():
                self.skipTest("a program built with AddressSanitizer cannot run under valgrind")
        self.file("S/ROOT.TXT", 3)
        self.file("S/A/F.TXT", 1)
        self.file("S/A/X/G.TXT", 2)
        self.file("S/B/H.TXT", 5, hidden=True)
        wrapper = [valgrind, "--error-exitcode=99", "--leak-check=full", "--track-origins=yes"]
        cases = [
            ([self.dos("S"), "/S", "/H"], 0),
            ([self.dos("S"), "/S", "+" + self.dos("R.TXT")], 0),
            ([self.dos("S", "*.NONE"), "/S"], 1),
        ]
        for args, status in cases:
            with self.subTest(args=args):
                result = run(args, cwd=self.root, env=self.env, wrapper=wrapper, rows=40)
                self.assertEqual(result.status, status, result.stderr.decode(errors="replace"))
                self.assertIn(b"ERROR SUMMARY: 0 errors", result.stderr)
                self.assertNoListFile()


if __name__ == "__main__":
    unittest.main()
