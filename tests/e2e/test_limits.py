"""The command line at its limits: parameters of 255 characters and ones cut
to 255, more than 255 parameters, every byte value in a parameter, empty and
lone-character parameters, and (Windows) quotes left open."""

import os
import unittest
from unittest import mock

import expect
from vesk_e2e import PROGRAM, TreeCase, dos, run

WINDOWS = PROGRAM.lower().endswith(".exe")


class LimitCase(TreeCase):
    def setUp(self):
        super().setUp()
        self.file("D/A.TXT", 10)
        self.file("D/B.DOC", 20)
        self.dir("OUT")

    def report(self, args):
        """The run's report, which goes to a file outside the directories
        that the runs count."""
        result = run(args + ["+OUT\\R.TXT"], cwd=self.root)
        self.assertEqual((result.status, result.text), (0, ""))
        with open(self.path("OUT", "R.TXT"), "rb") as f:
            data = f.read()
        os.remove(self.path("OUT", "R.TXT"))
        return data.decode("latin-1")


class LengthTest(LimitCase):
    def test_parameters_of_255_characters_and_cut_to_255(self):
        # A target of exactly 255 characters is taken whole; one character
        # more is cut off before the parameter is read.
        d = self.dos("D").upper() + "\\"
        pattern = "*" * (255 - len(d) - 4) + ".TXT"
        self.assertEqual(len(d + pattern), 255)
        for target in (d + pattern, d + pattern + "X"):
            with self.subTest(length=len(target)):
                text = self.report([target])
                self.assertEqual(text, expect.report_file([(d, pattern, 10, 1)], text))

    def test_options_of_255_characters_and_cut_to_255(self):
        cases = [
            ("/V" * 127 + "/", "Parametro sconosciuto: /"),
            ("/V" * 127 + "/S", "Parametro sconosciuto: /"),  # its S is the 256th
            ("/MAX" + "9" * 251, "Valore numerico errato nel parametro /MAX"),
        ]
        for parameter, message in cases:
            with self.subTest(length=len(parameter)):
                result = run([self.dos("D"), parameter], cwd=self.root)
                self.assertEqual((result.status, result.text), (1, message))

    def test_output_name_cut_to_255(self):
        # "+" and a path of 254 characters, then one more character that is
        # cut off: the report goes to the 254-character path.
        directory = self.dir("O" * 100)
        file_name = "R" * (254 - len(dos(directory)) - 1)
        name = dos(directory) + "\\" + file_name
        self.assertEqual(len(name), 254)
        for extra in ("", "X"):
            with self.subTest(length=len(name) + len(extra) + 1):
                result = run([self.dos("D"), "+" + name + extra], cwd=self.root)
                self.assertEqual((result.status, result.text), (0, ""))
                self.assertEqual(os.listdir(directory), [file_name])
                os.remove(os.path.join(directory, file_name))


class CountTest(LimitCase):
    def test_more_than_255_parameters(self):
        # Every parameter is read: the last ones still take effect, and one
        # beyond the 255th can end the run.
        d = self.dos("D").upper() + "\\"
        text = self.report([self.dos("D")] + ["/H"] * 298 + ["/S"])
        self.assertEqual(text, expect.report_file([(d, "*.*", 30, 2)], text, (2, 30, "*.*")))
        text = self.report(["/S"] * 300 + [self.dos("D", "*.TXT"), "/-S"])
        self.assertEqual(text, expect.report_file([(d, "*.TXT", 10, 1)], text))
        result = run(["/V"] * 256 + ["/X"], cwd=self.root)
        self.assertEqual((result.status, result.text), (1, "Parametro sconosciuto: /X"))
        result = run(["/V"] * 255 + ["/?"], cwd=self.root)
        self.assertEqual(result.status, 1)
        self.assertTrue(result.text.startswith("VESK : visualizza"), result.text)


class ContentTest(LimitCase):
    def test_empty_and_lone_characters(self):
        d = self.dos("D").upper() + "\\"
        here = self.dos() + "\\"
        self.file("%", 5)
        cases = [
            ([self.dos("D"), ""], [(d, "*.*", 30, 2)]),
            (["", self.dos("D")], [(d, "*.*", 30, 2)]),
            ([""], [(here, "*.*", 5, 1)]),
            # "%" is a name like any other; a lone "%" leaves the path on
            # the block as it is, and it has no directory part.
            (["%"], [("", "%", 5, 1)]),
        ]
        for args, blocks in cases:
            with self.subTest(args=args):
                text = self.report(args)
                self.assertEqual(text, expect.report_file(blocks, text))
        # A lone "+" sends the report back to the console, after any "+name".
        result = run([self.dos("D"), "+OUT\\R.TXT", "+"], cwd=self.root)
        self.assertEqual(result.status, 0, result.text)
        self.assertTrue(result.text.startswith("Percorso  : " + d), result.text)
        self.assertEqual(os.listdir(self.path("OUT")), [])

    @unittest.skipIf(WINDOWS, "a Windows file name holds no control character and no \"<>|")
    def test_every_byte_in_a_file_name(self):
        # The name of a Windows file may hold every byte from 33 to 255 but
        # the separators and the wildcards: such a file is found and named
        # byte for byte, upper-cased. The bytes that a Windows name may not
        # hold (1 to 31, "<>|) name no file, as on Windows, even where the
        # Linux disk has one of that name.
        refused = bytes(range(1, 32)) + b'"<>|'
        allowed = bytes(b for b in range(33, 256) if b not in refused + b"/\\:*?")
        for name in (allowed, refused):
            with open(os.path.join(os.fsencode(self.root), name), "wb") as f:
                f.write(b"12345")
        result = run([allowed, "+OUT\\R.TXT"], cwd=self.root)
        self.assertEqual((result.status, result.text), (0, ""))
        with open(self.path("OUT", "R.TXT"), "rb") as f:
            lines = f.read().split(b"\r\n")
        upper = bytes(b - 32 if 0x61 <= b <= 0x7A else b for b in allowed)
        # The name holds a lone "%", so the path on the block stays as given:
        # a bare name, no directory part.
        self.assertEqual(lines[:4], [b"Percorso  : ", b"Nomi files: " + upper,
                                     b"Dimensione: 5 bytes    ", b"Quantita' : 1"])
        result = run([refused], cwd=self.root)
        self.assertEqual((result.status, result.text), (1, "File non trovato"))

    @unittest.skipIf(WINDOWS, "a Windows command line cannot carry both quotes in one parameter")
    def test_every_byte_in_an_option(self):
        # Bytes 1 to 255 in order: the bytes before the space and the piece
        # from the space are plain tokens, and the rest from "/" on is one
        # unknown option, shown as typed, upper-cased.
        parameter = bytes(range(1, 256))
        result = run([parameter], cwd=self.root)
        self.assertEqual(result.status, 1)
        token = bytes(b - 32 if 0x61 <= b <= 0x7A else b for b in parameter[parameter.index(b"/"):])
        shown = b"Parametro sconosciuto: " + token.replace(b"\x7f", "\u2302".encode())
        # The console breaks the line where it reaches the last column.
        self.assertTrue(result.raw.replace(b"\r\n", b"").endswith(shown), result.raw)


@unittest.skipUnless(WINDOWS, "quotes are cut out of the command line by Windows programs only")
class OpenQuoteTest(LimitCase):
    def test_quotes_left_open(self):
        import wine_runner

        d = self.dos("D").upper() + "\\"
        cases = [
            # The stretch runs to the end of the line, and a quote at its
            # very end opens nothing more.
            ('"%s\\*.TXT' % self.dos("D"), [(d, "*.TXT", 10, 1)]),
            ("%s '" % self.dos("D"), [(d, "*.*", 30, 2)]),
            ('%s "/V' % self.dos("D"), []),
        ]
        for tail, blocks in cases:
            with self.subTest(line=tail):
                line = wine_runner.quote_arg(wine_runner.vesk_e2e.dos(PROGRAM)) + " " + tail
                with mock.patch.object(wine_runner, "command_line", lambda args: line):
                    result = run([], cwd=self.root)
                self.assertEqual(result.status, 0, result.text)
                shown = result.text.split("\n")
                lines = []
                for b in blocks:
                    lines += expect.block(*b)
                lines += expect.drive_summary(shown)
                self.assertEqual(result.text, "\n".join(x.rstrip() for x in lines).rstrip("\n"))


if __name__ == "__main__":
    unittest.main()
