"""Keys and interruptions: paging every five blocks, and a run broken off by
a signal at a prompt, which must leave the terminal and the disk clean."""

import glob
import os
import signal

import expect
from vesk_e2e import UP, Key, TreeCase, run

PAGE = "Premere un tasto per continuare ..."


class PagingTest(TreeCase):
    def setUp(self):
        super().setUp()
        self.tmp = self.dir("TEMPDIR")
        self.env = {"TMP": self.dos("TEMPDIR"), "TEMP": None}
        for i in range(7):
            self.file(f"P/D{i}/F.TXT", i + 1)

    def blocks(self):
        base = self.dos("P").upper() + "\\"
        return [expect.block(f"{base}D{i}\\", "*.*", i + 1, 1) for i in range(7)]

    def test_prompt_after_the_fifth_block(self):
        for key in (b"x", UP):  # an arrow sends two values and is taken whole
            with self.subTest(key=key):
                result = run([self.dos("P"), "/S", "/P"], cwd=self.root, env=self.env,
                             keys=[Key(key, after=PAGE)], rows=60)
                self.assertEqual(result.status, 0, result.text)
                lines = ["Creazione del file temporaneo in corso ... fatto.", ""]
                for i, b in enumerate(self.blocks()):
                    lines += b[:-1] + ([PAGE] if i == 4 else []) + [""]
                shown = result.text.split("\n")
                lines += expect.drive_summary(shown, (7, 28, "*.*"))
                self.assertEqual(result.text, "\n".join(x.rstrip() for x in lines).rstrip("\n"))

    def test_no_prompt_with_summary_only(self):
        result = run([self.dos("P"), "/S", "/P", "/V"], cwd=self.root, env=self.env)
        self.assertEqual(result.status, 0, result.text)
        self.assertNotIn(PAGE, result.text)


class InterruptTest(TreeCase):
    def test_signal_at_a_prompt(self):
        tmp = self.dir("TEMPDIR")
        env = {"TMP": self.dos("TEMPDIR"), "TEMP": None}
        for i in range(6):
            self.file(f"P/D{i}/F.TXT", 1)
        with open(self.path("OUT.TXT"), "w") as f:
            f.write("old")
        cases = [
            ([self.dos("P"), "/S", "/P"], (PAGE, signal.SIGINT)),
            ([self.dos("P"), "/S", "/P"], (PAGE, signal.SIGTERM)),
            ([self.dos("P"), "+OUT.TXT"], ("[S,A,E]", signal.SIGINT)),
        ]
        for args, (text, sig) in cases:
            with self.subTest(args=args, signal=sig):
                result = run(args, cwd=self.root, env=env, signal_after=(text, sig))
                self.assertEqual(result.status, -sig)
                if result.restored is not None:
                    self.assertTrue(result.restored, "the terminal was left in raw mode")
                self.assertEqual(glob.glob(os.path.join(tmp, "VESK*")), [])
        with open(self.path("OUT.TXT")) as f:
            self.assertEqual(f.read(), "old")
