"""The command lines compared, each under a short label for the tables."""

import os

# The summary's last line: once it is on the terminal, so are the totals.
END_OF_REPORT = b"---FINE---"


def dos_path(unix_path):
    """A Unix path as VESK (and Wine) names it: on drive Z:, with "\\"."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


class Command:
    def __init__(self, label, argv, cwd=None, last_shown=None):
        self.label = label
        self.argv = argv
        self.cwd = cwd
        self.last_shown = last_shown  # what it shows on the terminal last, if anything

    def __repr__(self):
        return self.label


def vesk_summary(vesk, top):
    """What the lead's target names: the whole tree, the summary only."""
    return Command("vesk /S /V", [vesk, dos_path(top) + "\\*.*", "/S", "/V"], last_shown=END_OF_REPORT)


def vesk_summary_exact_case(vesk, top):
    """The same walk given relative to the tree's parent: VESK upper-cases
    its parameters, so a lower-case folder above the tree (/var/tmp) costs
    a case-insensitive lookup in every directory; here no piece needs one."""
    return Command("vesk /S /V, name relative",
                   [vesk, os.path.basename(top) + "\\*.*", "/S", "/V"], cwd=os.path.dirname(top),
                   last_shown=END_OF_REPORT)


def vesk_blocks_to_nul(vesk, top):
    return Command("vesk /S +NUL", [vesk, dos_path(top) + "\\*.*", "/S", "+NUL"])


def vesk_blocks_to_file(vesk, top, out_file):
    return Command("vesk /S +file", [vesk, dos_path(top) + "\\*.*", "/S", "+" + dos_path(out_file), "/AS"])


def vesk_summary_to_file(vesk, top, out_file):
    """The summary written to a file, to read VESK's totals back exactly."""
    return Command("vesk /S /V +file", [vesk, dos_path(top) + "\\*.*", "/S", "/V", "+" + dos_path(out_file), "/AS"])


def du_apparent(top):
    return Command("du -s --apparent-size -b", ["du", "-s", "--apparent-size", "-b", top])


def find_sizes(top):
    return Command("find -type f -printf '%s\\n'", ["find", top, "-type", "f", "-printf", "%s\\n"])
