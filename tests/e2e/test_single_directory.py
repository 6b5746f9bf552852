"""One directory, no recursion: the block, the summary, the filters, the
target forms and the exit codes, as the user sees them in a terminal."""

import os
import unittest

import expect
from vesk_e2e import TreeCase, run, run_without_terminal


def screen_lines(lines):
    """Expected text as the screen holds it: trailing blanks are invisible."""
    return [line.rstrip() for line in lines]


class ReportCase(TreeCase):
    def assertReport(self, result, blocks, found=None):
        """The screen holds exactly the blocks, then the drive summary."""
        self.assertEqual(result.status, 0, result.text)
        shown = result.text.split("\n")
        expected = []
        for b in blocks:
            expected += expect.block(*b)
        summary = expect.drive_summary(shown, found)
        self.assertEqual(result.text, "\n".join(screen_lines(expected + summary)).rstrip("\n"))
        if result.raw:  # the exact bytes, trailing blanks and CR LF included
            self.assertIn("\r\n".join(expected + summary).encode(), result.raw)


class BlockTest(ReportCase):
    def test_size_line_by_total(self):
        # Sparse files give the byte sums; the Mb and Gb figures start at
        # 2^20 and 2^30 bytes, and Gb follows Mb with no blank.
        for total in [0, 1048575, 1048576, 1073741823, 1073741824, 1234567890, 5 * 2**30]:
            with self.subTest(total=total):
                d = f"T{total}"
                self.file(f"{d}/A.DAT", total)
                result = run([self.dos(d)], cwd=self.root)
                self.assertReport(result, [(self.dos(d).upper() + "\\", "*.*", total, 1)])

    def test_files_of_many_sizes_are_summed_exactly(self):
        sizes = [0, 1, 999, 1000, 123456, 2**31 - 1, 2**31, 2**32 + 5]
        for i, size in enumerate(sizes):
            self.file(f"F{i}.BIN", size)
        result = run([], cwd=self.root)
        self.assertReport(result, [(self.dos() + "\\", "*.*", sum(sizes), len(sizes))])


class TargetTest(ReportCase):
    def setUp(self):
        super().setUp()
        self.file("DATA/ONE.TXT", 10)
        self.file("DATA/TWO.TXT", 20)
        self.file("DATA/NOTE.DOC", 300)

    def test_target_forms(self):
        # A path typed in full is upper-cased with the parameters; one taken
        # from the working directory keeps the directory's own case.
        typed = self.dos("DATA").upper() + "\\"
        found = self.dos("DATA") + "\\"
        via_root = self.dos() + "\\DATA\\"
        cases = [
            # (parameters, working directory, shown path, pattern line, count, bytes)
            ([], "DATA", found, "*.*", 3, 330),
            ([self.dos("DATA")], ".", typed, "*.*", 3, 330),
            ([self.dos("DATA") + "\\"], ".", typed, "*.*", 3, 330),
            ([self.dos("DATA").lower()], ".", typed, "*.*", 3, 330),
            ([self.dos("DATA") + "\\*.txt"], ".", typed, "*.TXT", 2, 30),
            (["data\\*.txt"], ".", via_root, "*.TXT", 2, 30),
            (["*.DOC"], "DATA", found, "*.DOC", 1, 300),
            (["Z:"], "DATA", found, "*.*", 3, 330),
            (["DATA\\O*.?XT"], ".", via_root, "O*.?XT", 1, 10),
        ]
        for args, cwd, shown, pattern, count, total in cases:
            with self.subTest(args=args, cwd=cwd):
                result = run(args, cwd=self.path(cwd))
                self.assertReport(result, [(shown, pattern, total, count)])

    def test_nothing_matches(self):
        for args in (["*.XYZ"], ["Q:\\*.*"], [self.dos("MISSING")], ["/MIN1000", "/MAX10"]):
            with self.subTest(args=args):
                result = run(args, cwd=self.path("DATA"))
                self.assertEqual(result.status, 1)
                self.assertEqual(result.text, "File non trovato")


class FilterTest(ReportCase):
    def setUp(self):
        super().setUp()
        self.file("A.TXT", 10)
        self.file("B.TXT", 100)
        self.file("C.TXT", 1000)
        self.file(".DOT.TXT", 7)  # a Unix dot-file reads as hidden
        self.file("SYS.TXT", 5, system=True)
        self.file("HID.TXT", 3, hidden=True)
        self.dir("SUBDIR.TXT")  # directories are never counted

    def test_filters(self):
        cases = [
            ([], 3, 1110),
            (["/H"], 6, 1125),
            (["/H", "/-H"], 3, 1110),
            (["/MIN100"], 2, 1100),
            (["/MAX100"], 2, 110),
            (["/min100/max100"], 1, 100),
            (["/MIN10", "/MAX1000"], 3, 1110),  # both bounds count
            (["/H/MAX5"], 2, 8),
            (["/MAX0"], None, None),
        ]
        for args, count, total in cases:
            with self.subTest(args=args):
                result = run(args + ["*.TXT"], cwd=self.root)
                if count is None:
                    self.assertEqual((result.status, result.text), (1, "File non trovato"))
                else:
                    self.assertReport(result, [(self.dos() + "\\", "*.TXT", total, count)])

    def test_summary_only(self):
        result = run(["/V", "/H"], cwd=self.root)
        self.assertReport(result, [])
        result = run(["/V", "/-V"], cwd=self.root)
        self.assertReport(result, [(self.dos() + "\\", "*.*", 1110, 3)])


class TerminalTest(ReportCase):
    def test_report_reaches_the_terminal_with_stdout_redirected(self):
        self.file("X.TXT", 42)
        out = self.path("stdout.log")
        result = run(["*.TXT"], cwd=self.root, stdout_path=out)
        self.assertReport(result, [(self.dos() + "\\", "*.TXT", 42, 1)])
        self.assertEqual(os.path.getsize(out), 0)

    def test_no_terminal(self):
        proc = run_without_terminal([], cwd=self.root)
        self.assertEqual(proc.returncode, 1)
        self.assertEqual(proc.stderr.strip(), b"No way to get the console handle")
        self.assertEqual(proc.stdout, b"")


if __name__ == "__main__":
    unittest.main()
