"""What each tool counts, so that a fast wrong answer cannot pass.

VESK counts files only; du's apparent size adds every directory's own size.
The reference is find's listing: the count and byte sum of the regular
files, and the directories' sizes, which du's total must equal with the
files' sum added.

VESK does not descend into a directory whose path would leave no room for
"\\*.*" within 255 characters; it names such a directory on the console.
Files below those are left out of the expected figures and counted apart.
"""

import dataclasses
import os
import re
import subprocess

from commands import dos_path

LONGEST_LISTED_PATH = 255 - len("\\*.*")


@dataclasses.dataclass
class Totals:
    files: int
    bytes: int

    def __str__(self):
        return "%d files, %d bytes" % (self.files, self.bytes)


@dataclasses.dataclass
class Reference:
    reachable: Totals  # the files in directories VESK lists
    beyond_path_limit: Totals  # the files VESK leaves out by design
    directory_bytes: int  # the directories' own apparent sizes, for du
    directories: int

    @property
    def all_files(self):
        return Totals(self.reachable.files + self.beyond_path_limit.files,
                      self.reachable.bytes + self.beyond_path_limit.bytes)


def reference_of(top):
    """find's figures for the tree below top (top itself included)."""
    listing = subprocess.run(["find", top, "-printf", "%y\\t%s\\t%h\\n"], check=True,
                             capture_output=True).stdout.decode("latin-1")
    reachable = Totals(0, 0)
    beyond = Totals(0, 0)
    directory_bytes = directories = 0
    fits = {}  # directory -> whether VESK lists it
    for line in listing.splitlines():
        kind, size, parent = line.split("\t", 2)
        if kind == "d":
            directory_bytes += int(size)
            directories += 1
        elif kind == "f":
            if parent not in fits:
                fits[parent] = len(dos_path(parent)) <= LONGEST_LISTED_PATH
            into = reachable if fits[parent] else beyond
            into.files += 1
            into.bytes += int(size)
    return Reference(reachable, beyond, directory_bytes, directories)


def grouped_number(text):
    return int(text.replace(".", ""))


def vesk_totals(report_text):
    """The "Trovati" and "Occupano" figures of a VESK report; None when the
    report lacks them."""
    found = re.search(r"Trovati ([\d.]+) files", report_text)
    size = re.search(r"Occupano ([\d.]+) bytes", report_text)
    if not found or not size:
        return None
    return Totals(grouped_number(found.group(1)), grouped_number(size.group(1)))


def du_total(du_output):
    return int(du_output.split()[0])


def wine_dir_totals(dir_text):
    """The figures under "Total files listed:" at the end of `dir /s`
    ("10000 files   763,250,586 bytes"); None when there are none."""
    at = dir_text.lower().rfind("total files listed")
    if at < 0:
        return None
    line = re.search(r"(\d[\d,.]*) files?\s+(\d[\d,.]*) bytes", dir_text[at:], re.I)
    if not line:
        return None
    return Totals(int(re.sub(r"\D", "", line.group(1))), int(re.sub(r"\D", "", line.group(2))))


def read_text(path):
    with open(path, "rb") as f:
        return f.read().decode("latin-1")


def remove_quietly(path):
    try:
        os.remove(path)
    except FileNotFoundError:
        pass
