"""The Windows program's own console: text written into the screen buffer at
a cursor the program keeps, wrapping past the last column and scrolling below
the last row, the cursor column, the console reached with standard input and
output redirected, and keys at the prompts. Run only against vesk.exe."""

import os
import unittest

import expect
from vesk_e2e import ESC, PROGRAM, Key, TreeCase

if PROGRAM.lower().endswith(".exe"):
    import wine_runner

PROMPT = "Sovrascrivi, Accoda, Esci ?  [S,A,E] "
CREATING = "Creazione del file temporaneo in corso ... "
BROKEN_OFF = "Operazione interrotta dall' utente"
F7 = b"\x1b[18~"


@unittest.skipUnless(PROGRAM.lower().endswith(".exe"), "the Win32 console layer only")
class ConsoleCase(TreeCase):
    def vesk(self, args, **options):
        return wine_runner.run(args, self.root, options.pop("env", None), options.pop("keys", ()),
                               options.pop("stdout_path", None), None, **options)

    def counted_dir(self, line_length):
        """A directory with one file, whose block's first line, "Percorso  : "
        and its path, is line_length characters long."""
        base = self.dos().upper() + "\\"
        name = "D" * (line_length - len("Percorso  : ") - len(base) - 1)
        self.file(os.path.join(name, "F.TXT"), 7)
        return base + name + "\\"


class WrapTest(ConsoleCase):
    def test_long_lines_go_on_in_the_next_row(self):
        # Past the last column the text goes on at the start of the next row.
        # A row filled to its last column moves the cursor on at once, as the
        # Windows console does, so CR LF after it leaves an empty row; a
        # terminal's deferred wrap would not.
        for length, empty_row in ((100, []), (80, [""])):
            with self.subTest(length=length):
                directory = self.counted_dir(length)
                result = self.vesk([directory + "*.*"])
                self.assertEqual(result.status, 0, result.text)
                block = expect.block(directory, "*.*", 7, 1)
                rows = [block[0][:80]] + ([block[0][80:]] if length > 80 else empty_row)
                self.assertEqual(result.rows[: len(rows) + 3], rows + [b.rstrip() for b in block[1:4]])

    def test_column_counts_from_the_start_of_the_row(self):
        # The program starts after text already on the console, and its own
        # progress line wraps or stops one short of the last column. Breaking
        # off with Escape then starts the message on a fresh row only when the
        # cursor is not in the first column.
        self.file("T/A/F.TXT", 1)
        self.dir("TEMPDIR")
        env = {"TMP": self.dos("TEMPDIR"), "TEMP": None}
        for before, rows in (
            ("x" * 37, ["x" * 37 + CREATING.rstrip(), BROKEN_OFF]),  # 80: on to column 1
            ("x" * 36, ["x" * 36 + CREATING.rstrip(), BROKEN_OFF]),  # column 80
        ):
            with self.subTest(before=len(before)):
                result = self.vesk([self.dos("T"), "/S"], env=env, keys=[Key(ESC)], before=before)
                self.assertEqual(result.status, 1, result.text)
                self.assertEqual(result.text, "\n".join(rows))

    def test_column_is_read_from_the_console_at_start(self):
        # Text left on the row by someone else: the help screen starts below it.
        result = self.vesk(["/?"], before="C:\\> ")
        self.assertEqual(result.status, 1)
        self.assertEqual(result.rows[:2], ["C:\\>",
                         "VESK : visualizza informazioni riassuntive sui files indicati e la loro unita'"])


class ScrollTest(ConsoleCase):
    def test_buffer_scrolls_up_below_its_last_row(self):
        # 7 blocks and the summary need more than the 25 rows of the buffer:
        # the buffer keeps the last 25, and the cursor rests on the empty row
        # under the report.
        for i in range(7):
            self.file(f"P/D{i}/F.TXT", i + 1)
        base = self.dos("P").upper() + "\\"
        self.dir("TEMPDIR")
        result = self.vesk([self.dos("P"), "/S"], env={"TMP": self.dos("TEMPDIR"), "TEMP": None})
        self.assertEqual(result.status, 0, result.text)
        lines = [CREATING + "fatto.", ""]
        for i in range(7):
            lines += expect.block(f"{base}D{i}\\", "*.*", i + 1, 1)
        lines += expect.drive_summary(result.rows, (7, 28, "*.*"))
        expected = [line.rstrip() for line in lines] + [""]
        self.assertEqual(len(result.rows), 25)
        self.assertEqual(result.rows, expected[-25:])


class RedirectedTest(ConsoleCase):
    def test_console_reached_with_input_and_output_redirected(self):
        # Standard input is a file that would answer "S" and standard output
        # a file: the report and the prompt still use the console ("CONOUT$"),
        # and the answer comes from its keyboard ("CONIN$").
        self.file("D/A.TXT", 10)
        with open(self.path("OUT.TXT"), "wb") as f:
            f.write(b"old\r\n")
        with open(self.path("answer.txt"), "wb") as f:
            f.write(b"S\r\n")
        stdout = self.path("stdout.txt")
        result = self.vesk([self.dos("D"), "+OUT.TXT"], keys=[Key(b"a", after=PROMPT)],
                           stdout_path=stdout, stdin_path=self.path("answer.txt"))
        self.assertEqual(result.status, 0, result.text)
        self.assertEqual(result.text, "\n".join(["", "Il file di output esiste gia'", PROMPT + "A"]))
        self.assertEqual(os.path.getsize(stdout), 0)
        with open(self.path("OUT.TXT"), "rb") as f:
            self.assertTrue(f.read().startswith(b"old\r\nPercorso  : "))


class PromptKeyTest(ConsoleCase):
    def test_key_without_a_character_acts_by_its_second_value(self):
        # F7 has no character and the scan code 0x41, the code of "A": it
        # appends, and is echoed as "A". Letters are taken in either case.
        self.file("D/A.TXT", 10)
        for typed, echo in ((F7, "A"), (b"s", "S")):
            with self.subTest(typed=typed):
                with open(self.path("OUT.TXT"), "wb") as f:
                    f.write(b"old\r\n")
                result = self.vesk([self.dos("D"), "+OUT.TXT"], keys=[Key(typed, after=PROMPT)])
                self.assertEqual(result.status, 0, result.text)
                self.assertEqual(result.rows[2], PROMPT + echo)
                with open(self.path("OUT.TXT"), "rb") as f:
                    self.assertEqual(f.read().startswith(b"old\r\n"), echo == "A")


    def test_left_alt_gives_no_character(self):
        # Keys put into the input queue as Windows reports them (Wine's
        # terminal input never sets the Alt flags). Left Alt+S gives 0 and its
        # scan code, which the prompt refuses, so the "a" after it decides;
        # AltGr (right Alt with left Ctrl) types its character, here "s".
        left_alt, right_alt, left_ctrl = 0x02, 0x01, 0x08
        alt_s = (0x53, 0x1F, ord("s"))
        plain_a = (0x41, 0x1E, ord("a"), 0)
        self.file("D/A.TXT", 10)
        for state, echo in ((left_alt, "A"), (right_alt | left_ctrl, "S")):
            with self.subTest(state=state):
                with open(self.path("OUT.TXT"), "wb") as f:
                    f.write(b"old\r\n")
                result = self.vesk([self.dos("D"), "+OUT.TXT"], injected=[alt_s + (state,), plain_a])
                self.assertEqual(result.status, 0, result.text)
                self.assertEqual(result.rows[2], PROMPT + echo)
                with open(self.path("OUT.TXT"), "rb") as f:
                    self.assertEqual(f.read().startswith(b"old\r\n"), echo == "A")


if __name__ == "__main__":
    unittest.main()
