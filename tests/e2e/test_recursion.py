"""/S: the breadth-first walk through the temporary list file, its place,
and that it never outlives the run."""

import concurrent.futures
import glob
import os

import expect
from vesk_e2e import ESC, Key, TreeCase, run

PROGRESS = "Creazione del file temporaneo in corso ... fatto."


class WalkCase(TreeCase):
    def setUp(self):
        super().setUp()
        self.tmp = self.dir("TEMPDIR")
        self.env = {"TMP": self.dos("TEMPDIR"), "TEMP": None}

    def list_files(self, where=None):
        return glob.glob(os.path.join(where or self.tmp, "VESK*.TMP"))

    def report(self, args, already=(), **kw):
        """Runs with the report in an output file; gives its text. already
        lists the names in the temporary directory that were there before."""
        out = self.path("REPORT.TXT")
        result = run(args + ["+" + self.dos("REPORT.TXT")], cwd=self.root, env=self.env, **kw)
        self.assertEqual(result.status, 0, result.text)
        self.assertEqual(result.text, "", "nothing of the report belongs on the console")
        with open(out, "rb") as f:
            data = f.read()
        os.remove(out)
        self.assertEqual(sorted(self.list_files()), sorted(already))
        return data.decode("latin-1")

    def expected(self, blocks, pattern, result_text):
        lines = []
        for b in blocks:
            lines += expect.block(*b)
        shown = result_text.split("\r\n")
        count = sum(b[3] for b in blocks)
        total = sum(b[2] for b in blocks)
        lines += expect.drive_summary(shown, (count, total, pattern))
        return "\r\n".join(lines) + "\r\n"


class BreadthFirstTest(WalkCase):
    def setUp(self):
        super().setUp()
        self.file("S/ROOT.TXT", 1)
        self.file("S/X/X.TXT", 10)
        self.file("S/Y/Y.TXT", 20)
        self.file("S/X/X1/X1.TXT", 30)
        self.file("S/Y/Y1/Y1.TXT", 40)
        self.file("S/.H/SECRET.TXT", 50)  # a hidden directory is walked
        self.file("S/Y/Y1/HID.TXT", 7, hidden=True)
        self.dir("S/EMPTY")
        self.file("S/X/X1/NOTE.DOC", 99)

    def test_order_and_totals(self):
        s = self.dos("S").upper()
        for flags, hid in (([], 0), (["/H"], 7)):
            with self.subTest(flags=flags):
                text = self.report([s + "\\*.TXT", "/S"] + flags)
                blocks = [
                    (s + "\\", "*.TXT", 1, 1),
                    (s + "\\.H\\", "*.TXT", 50, 1),
                    (s + "\\X\\", "*.TXT", 10, 1),
                    (s + "\\Y\\", "*.TXT", 20, 1),
                    (s + "\\X\\X1\\", "*.TXT", 30, 1),
                    (s + "\\Y\\Y1\\", "*.TXT", 40 + hid, 1 + (hid > 0)),
                ]
                self.assertEqual(text, self.expected(blocks, "*.TXT", text))

    def test_relative_target(self):
        text = self.report(["S\\X\\*.*", "/S"])
        base = self.dos() + "\\S\\X\\"
        blocks = [(base, "*.*", 10, 1), (base + "X1\\", "*.*", 129, 2)]
        self.assertEqual(text, self.expected(blocks, "*.*", text))

    def test_progress_on_the_console(self):
        for flags in ([], ["/V"]):
            with self.subTest(flags=flags):
                result = run([self.dos("S"), "/S"] + flags, cwd=self.root, env=self.env, rows=60)
                self.assertEqual(result.status, 0, result.text)
                self.assertEqual(result.rows[:2], [PROGRESS, ""])
                self.assertIn("Trovati ", result.text)
                self.assertEqual(self.list_files(), [])

    def test_without_subdirectories(self):
        text = self.report([self.dos("S", "X", "X1"), "/S"])
        blocks = [(self.dos("S", "X", "X1").upper() + "\\", "*.*", 129, 2)]
        self.assertEqual(text, self.expected(blocks, "*.*", text))


class LimitsTest(WalkCase):
    def test_link_cycle_is_not_followed(self):
        self.file("L/A/F.TXT", 5)
        os.symlink("..", self.path("L/A/UP"))
        os.symlink(self.path("L"), self.path("L/A/ROOT"))
        text = self.report([self.dos("L"), "/S"])
        blocks = [(self.dos("L").upper() + "\\A\\", "*.*", 5, 1)]
        self.assertEqual(text, self.expected(blocks, "*.*", text))

    def test_tree_deeper_than_a_path_can_hold(self):
        # Nested 50-character names: the walk stops where a path would pass
        # 255 characters, names that directory, and still ends the report.
        piece = "D" * 50
        deep = os.path.join(*[piece] * 6)
        self.file(os.path.join("DEEP", deep, "LAST.TXT"), 3)
        self.file("DEEP/TOP.TXT", 1)
        result = run([self.dos("DEEP"), "/S", "/V"], cwd=self.root, env=self.env, rows=40)
        self.assertEqual(result.status, 0, result.text)
        # The notice is long enough to wrap; it names the directory from Z:\ on.
        self.assertEqual(result.text.count("troppo lungo"), 1, result.text)
        self.assertIn("\nPercorso troppo lungo, non esaminato: Z:\\", result.text)
        self.assertIn(piece, result.text)
        self.assertIn("Trovati 1 files *.*", result.text)
        self.assertEqual(self.list_files(), [])


class ListFileTest(WalkCase):
    def setUp(self):
        super().setUp()
        self.file("T/A/F.TXT", 1)
        self.file("T/B/G.TXT", 2)

    def test_placement(self):
        nested = self.path("NEW", "LEVEL", "TWO")
        cases = [
            ({"TMP": self.dos("NEW", "LEVEL", "TWO"), "TEMP": None}, nested),
            ({"TMP": None, "TEMP": self.dos("TEMPDIR")}, self.tmp),
            ({"TMP": "Q:\\NOWHERE", "TEMP": ""}, self.path("T")),  # the current directory
            ({"TMP": "Q:\\NOWHERE", "TEMP": self.dos("TEMPDIR")}, self.tmp),
        ]
        for env, where in cases:
            with self.subTest(env=env):
                self.env = env
                result = run(["/S", "/V"], cwd=self.path("T"), env=env)
                self.assertEqual(result.status, 0, result.text)
                # A list file made in the start directory is among its files
                # while they are counted: two records of 256 bytes.
                here = where == self.path("T")
                self.assertIn(f"Trovati {3 if here else 2} files *.*", result.text)
                self.assertIn(f"Occupano {515 if here else 3} bytes", result.text)
                self.assertTrue(os.path.isdir(where))
                self.assertEqual(self.list_files(where), [])

    def test_taken_names_are_left_alone(self):
        # A file, a directory and a link already hold the first names: none
        # of them is opened, truncated or removed.
        with open(os.path.join(self.tmp, "VESK____.TMP"), "w") as f:
            f.write("keep me")
        os.mkdir(os.path.join(self.tmp, "VESK___0.TMP"))
        os.symlink(self.path("T/A/F.TXT"), os.path.join(self.tmp, "VESK___1.TMP"))
        before = sorted(os.listdir(self.tmp))
        text = self.report([self.dos("T"), "/S"], already=self.list_files())
        self.assertIn("Trovati 2 files *.*", text)
        self.assertEqual(sorted(os.listdir(self.tmp)), before)
        with open(os.path.join(self.tmp, "VESK____.TMP")) as f:
            self.assertEqual(f.read(), "keep me")
        self.assertEqual(os.path.getsize(self.path("T/A/F.TXT")), 1)

    def test_gone_after_errors(self):
        cases = [
            ([self.dos("T"), "/S"], [Key(ESC)], "Operazione interrotta dall' utente"),
            ([self.dos("T", "*.XYZ"), "/S"], [], "File non trovato"),
            ([self.dos("T"), "/S", "+CON"], [], "Nome di file riservato CON"),
        ]
        for args, keys, message in cases:
            with self.subTest(args=args):
                result = run(args, cwd=self.root, env=self.env, keys=keys)
                self.assertEqual(result.status, 1)
                self.assertEqual(result.text.split("\n")[-1], message)
                self.assertEqual(self.list_files(), [])

    def test_unusable_tmp(self):
        # TMP is a file: the next source, the current directory, is used.
        self.file("AFILE", 1)
        env = {"TMP": self.dos("AFILE"), "TEMP": None}
        result = run(["/S", "/V"], cwd=self.path("T"), env=env)
        self.assertEqual(result.status, 0, result.text)
        self.assertEqual(self.list_files(self.path("T")), [])

    def test_two_runs_at_once(self):
        for i in range(60):
            self.file(f"W/D{i:02}/E/F.TXT", i)
        total = sum(range(60))
        with concurrent.futures.ThreadPoolExecutor(2) as pool:
            runs = [
                pool.submit(run, [self.dos("W"), "/S", "/V"], self.root, self.env) for _ in range(2)
            ]
            results = [r.result() for r in runs]
        for result in results:
            self.assertEqual(result.status, 0, result.text)
            self.assertIn("Trovati 60 files *.*", result.text)
            self.assertIn(f"Occupano {expect.grouped(total)} bytes", result.text)
        self.assertEqual(self.list_files(), [])
