"""+name: the report in a file with CR LF line ends, the policies for an
existing file, the prompt, NUL and the reserved device names."""

import os

import expect
from vesk_e2e import ESC, UP, Key, TreeCase, run

PROMPT = "Sovrascrivi, Accoda, Esci ?  [S,A,E] "
OLD = b"old report\r\n"


class OutputCase(TreeCase):
    def setUp(self):
        super().setUp()
        self.file("D/A.TXT", 1234)
        self.out = self.path("OUT.TXT")

    def write_old(self):
        with open(self.out, "wb") as f:
            f.write(OLD)

    def content(self):
        with open(self.out, "rb") as f:
            return f.read()

    def assertReportFile(self, data):
        """data is exactly one report of D, byte for byte."""
        text = data.decode("latin-1")
        lines = expect.block(self.dos("D").upper() + "\\", "*.*", 1234, 1)
        lines += expect.drive_summary(text.split("\r\n"))
        self.assertEqual(text, "\r\n".join(lines) + "\r\n")

    def vesk(self, *extra, keys=()):
        return run([self.dos("D")] + list(extra), cwd=self.root, keys=keys)


class PolicyTest(OutputCase):
    def test_new_file_under_every_policy(self):
        for policy in ("", "/AA", "/AC", "/AS", "/AE"):
            with self.subTest(policy=policy):
                result = self.vesk("+OUT.TXT", *([policy] if policy else []))
                self.assertEqual((result.status, result.text), (0, ""))
                self.assertReportFile(self.content())
                os.remove(self.out)

    def test_existing_file(self):
        cases = [
            ("/AA", 0, "", lambda data: data.startswith(OLD) and self.assertReportFile(data[len(OLD):]) is None),
            ("/AS", 0, "", lambda data: self.assertReportFile(data) is None),
            ("/AE", 1, "Il file di output esiste gia'", lambda data: data == OLD),
        ]
        for policy, status, message, check in cases:
            with self.subTest(policy=policy):
                self.write_old()
                result = self.vesk("+" + self.dos("OUT.TXT"), policy)
                self.assertEqual((result.status, result.text), (status, message))
                self.assertTrue(check(self.content()))

    def test_prompt(self):
        # Refused keys (a digit, Enter, an arrow) are not echoed; the answer is.
        asked = ["", "Il file di output esiste gia'"]
        cases = [
            ([b"x", b"1", b"\r", UP, b"a"], 0, "A", lambda d: d.startswith(OLD) and len(d) > len(OLD)),
            ([b"S"], 0, "S", lambda d: self.assertReportFile(d) is None),
            ([b"e"], 1, "E", lambda d: d == OLD),
            ([ESC], 1, "\u2190", lambda d: d == OLD),  # Escape echoes its glyph
        ]
        for typed, status, echo, check in cases:
            with self.subTest(typed=typed):
                self.write_old()
                result = self.vesk("+OUT.TXT", keys=_one_after_another(typed))
                screen = asked + [PROMPT + echo]
                if status:
                    screen.append("Operazione interrotta dall' utente")
                self.assertEqual(result.text, "\n".join(screen))
                self.assertEqual(result.status, status)
                self.assertTrue(check(self.content()))


def _one_after_another(typed):
    """The first key once the prompt shows, each next one a moment later."""
    keys = [Key(typed[0], after=PROMPT)]
    keys += [Key(k, after="") for k in typed[1:]]  # "" waits for nothing more
    return keys


class DeviceNameTest(OutputCase):
    def test_discarded_report(self):
        for name in ("NUL", "nul", self.dos("NUL"), "Z:NUL"):
            with self.subTest(name=name):
                result = self.vesk("+" + name)
                self.assertEqual((result.status, result.text), (0, ""))
        self.assertEqual(sorted(os.listdir(self.root)), ["D"])

    def test_error_still_shown_with_nul(self):
        result = run([self.dos("D", "*.XYZ"), "+NUL"], cwd=self.root)
        self.assertEqual((result.status, result.text), (1, "File non trovato"))

    def test_reserved_names(self):
        for name in ("CON", "con", "PRN", "AUX", "COM1", "LPT9", "CON.TXT", self.dos("AUX.LOG")):
            with self.subTest(name=name):
                result = self.vesk("+" + name)
                self.assertEqual(result.status, 1)
                self.assertEqual(result.text, "Nome di file riservato " + name.upper())
        self.assertEqual(sorted(os.listdir(self.root)), ["D"])

    def test_unopenable_output(self):
        os.mkdir(self.path("ADIR"))
        for name in (self.dos("MISSING", "OUT.TXT"), self.dos("ADIR")):
            with self.subTest(name=name):
                result = self.vesk("+" + name)
                self.assertEqual(result.status, 1)
                self.assertEqual(result.text, "File di output non valido: " + name.upper())
        self.assertFalse(os.path.exists(self.path("MISSING")))

    def test_paging_is_off_with_an_output_file(self):
        for i in range(7):
            self.file(f"D/S{i}/F.TXT", i)
        result = run([self.dos("D"), "/S", "/P", "+OUT.TXT"], cwd=self.root)
        self.assertEqual((result.status, result.text), (0, ""))
        self.assertNotIn(b"Premere", self.content())


class WriteFailureTest(OutputCase):
    def test_full_device(self):
        # A summary alone fits in the first buffer, so only the final close
        # meets the full device; a longer report fails on the way.
        for extra in (["/V"], []):
            with self.subTest(extra=extra):
                result = self.vesk("+Z:\\dev\\full", "/AS", *extra)
                self.assertEqual(result.status, 1)
                self.assertEqual(result.text, "File di output non valido: Z:\\DEV\\FULL")
