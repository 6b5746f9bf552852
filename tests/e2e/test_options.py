"""Options that end the run: the help screen and the errors of a malformed
token, with their exact lines and exit code 1."""

import unittest

from vesk_e2e import TreeCase, run

HELP = [
    "VESK : visualizza informazioni riassuntive sui files indicati e la loro unita'",
    "",
    None,  # the version line names the platform of the build
    "",
    "     /?         Questa schermata",
    "     files      Files da elaborare",
    "     /MAX<mm>   Dimensione massima in bytes compresa tra 0 e 2 Gbytes",
    "     /MIN<nn>   Dimensione minima in bytes compresa tra 0 e 2 Gbytes",
    "     /S         Elabora anche le sottodirectory",
    "     /H         Analizza anche i files con attributi nascosto e/o di sistema",
    "     /V         Mostra solo il resoconto finale",
    "     /P         Mostra le informazioni una schermata alla volta",
    "     +outfile   Scrive le informazioni in outfile (esclude /P)",
    "     /AA        Se outfile esiste, accoda le informazioni",
    "     /AC        Se outfile esiste, chiede se accodare o",
    "                sovrascrivere le informazioni o uscire dal programma",
    "     /AS        Se outfile esiste, sovrascrive le informazioni",
    "     /AE        Se outfile esiste, il programma si chiude",
    "",
    "Opzioni inverse:  /-H  /-S  /-V  /-P",
    "Opzioni inizialmente abilitate:  /-H  /-S  /-V  /-P  /AC",
]


def help_screen(platform):
    version = "   VESK   [opzioni]                       Versione 1.20 per " + platform + " 32 bit"
    return "\n".join(version if line is None else line for line in HELP)


class HelpTest(TreeCase):
    def test_help_wherever_it_stands(self):
        for args in (["/?"], ["/S", "/H", "/?"], ["*.TXT/?"], ["/s/?/x"]):
            with self.subTest(args=args):
                result = run(args, cwd=self.root)
                self.assertEqual(result.status, 1)
                platform = "WIN" if "per WIN" in result.text else "LNX"
                self.assertEqual(result.text, help_screen(platform))

    def test_help_not_reached_after_an_error(self):
        result = run(["/X", "/?"], cwd=self.root)
        self.assertEqual((result.status, result.text), (1, "Parametro sconosciuto: /X"))


class OptionErrorTest(TreeCase):
    def test_malformed_tokens(self):
        self.file("A.TXT", 1)
        cases = [
            (["/x"], "Parametro sconosciuto: /X"),
            (["/SX"], "Parametro sconosciuto: /SX"),
            (["/S-"], "Parametro sconosciuto: /S-"),
            (["/"], "Parametro sconosciuto: /"),
            (["/S//H"], "Parametro sconosciuto: /"),
            (["+C:/OUT.TXT"], "Parametro sconosciuto: /OUT.TXT"),
            (["/AX"], "Parametro sconosciuto: /AX"),
            (["/MAXIMUM"], "Valore numerico errato nel parametro /MAX"),
            (["/MAX"], "Valore numerico errato nel parametro /MAX"),
            (["/MAX007"], "Valore numerico errato nel parametro /MAX"),
            (["/MAX+5"], "Valore numerico errato nel parametro /MAX"),
            (["/MAX-0"], "Valore numerico errato nel parametro /MAX"),
            (["/MAX2147483648"], "Valore numerico errato nel parametro /MAX"),
            (["/min-5"], "Valore numerico errato nel parametro /MIN"),
            (["/MIN1.5"], "Valore numerico errato nel parametro /MIN"),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                result = run(args, cwd=self.root)
                self.assertEqual((result.status, result.text), (1, message))

    def test_accepted_limits(self):
        self.file("A.TXT", 0)
        self.file("B.TXT", 2147483647)
        for args, count in ((["/MAX0"], 1), (["/MAX2147483647", "/MIN2147483647"], 1), (["/S/-S"], 2)):
            with self.subTest(args=args):
                result = run(args, cwd=self.root)
                self.assertEqual(result.status, 0, result.text)
                self.assertIn(f"Quantita' : {count}", result.text)
                self.assertNotIn("Trovati", result.text)


if __name__ == "__main__":
    unittest.main()
