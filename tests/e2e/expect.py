"""The report as a user must see it, computed independently of the program:
the four-line directory block and the drive summary, with the grouped
numbers and the extended-precision percentage rule."""

import os
import re
from fractions import Fraction

MB = 1048576


def grouped(n):
    """A number with "." between groups of three digits."""
    sign = "-" if n < 0 else ""
    return sign + f"{abs(n):,}".replace(",", ".")


def _round64(x):
    """x (a positive Fraction) rounded to a 64-bit binary significand,
    to nearest with ties to even."""
    e = 0
    while x >= 2**64:
        x /= 2
        e += 1
    while x < 2**63:
        x *= 2
        e -= 1
    m = x.numerator // x.denominator
    rest = x - m
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and m % 2 == 1):
        m += 1
    return Fraction(m) * Fraction(2) ** e


def percent(part, whole):
    """trunc((part / whole) * 100) in 80-bit extended arithmetic."""
    if part == 0:
        return 0
    sign = -1 if (part < 0) != (whole < 0) else 1
    q = _round64(Fraction(abs(part), abs(whole)))
    p = _round64(q * 100)
    return sign * int(p)


def block(directory, pattern, total, count):
    """The five lines a counted directory prints (the fifth is empty)."""
    size = f"Dimensione: {grouped(total)} bytes    "
    m = total // MB
    if m > 0:
        size += f"{grouped(m)} Mb"
    if m // 1024 > 0:
        size += f"{grouped(m // 1024)} Gb"
    return [
        f"Percorso  : {directory}",
        f"Nomi files: {pattern}",
        size,
        f"Quantita' : {grouped(count)}",
        "",
    ]


def _bytes_mb(label, v):
    text = f"{label}{grouped(v)} bytes    "
    if v // MB > 0:
        text += f"{grouped(v // MB)} Mb    "
    return text


def summary(letter, size, free, found=None):
    """The summary lines; found is (count, bytes, pattern) with /S."""
    used = size - free
    p = percent(used, size) if size else 0
    lines = [
        f"Unita'         : {letter}",
        _bytes_mb("Dimensione     : ", size),
        _bytes_mb("Spazio Libero  : ", free) + f"{100 - p}%",
        _bytes_mb("Spazio Occupato: ", used) + f"{p}%",
    ]
    if found is not None:
        count, total, pattern = found
        q = percent(size - total, size) if size else 100
        lines.append(f"Trovati {grouped(count)} files {pattern}")
        lines.append(_bytes_mb("Occupano ", total) + f"({100 - q}%)")
    lines += ["---FINE---", ""]
    return lines


def root_size():
    st = os.statvfs("/")
    return st.f_blocks * st.f_frsize


def shown_free(lines):
    """The free space the program showed (it changes while tests run)."""
    for line in lines:
        m = re.match(r"Spazio Libero  : (-?[\d.]+) bytes", line)
        if m:
            return int(m.group(1).replace(".", ""))
    raise AssertionError("no free-space line in:\n" + "\n".join(lines))


def drive_summary(lines, found=None):
    """The expected Z: summary, taking the free space from what was shown
    (a figure only the moment of the run knows) and all else from the file
    system and the rule."""
    return summary("Z", root_size(), shown_free(lines), found)


def report_file(blocks, text, found=None):
    """A whole report as an output file holds it: the blocks (argument tuples
    of block), then the Z: summary, its free space read from text, the
    report the program wrote; found as for summary."""
    lines = []
    for b in blocks:
        lines += block(*b)
    lines += drive_summary(text.split("\r\n"), found)
    return "\r\n".join(lines) + "\r\n"
