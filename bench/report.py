"""The benchmark's printout: the machine, the figures as Markdown tables
(ready for the README) and the targets, met or not."""

import os
import statistics
import subprocess

MIB = 1024.0


def machine_lines(directory):
    model = "unknown CPU"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    fs = subprocess.run(["df", "--output=fstype", directory], capture_output=True, text=True)
    fstype = fs.stdout.split()[-1] if fs.returncode == 0 and fs.stdout.split() else "unknown"
    load = "%.2f %.2f %.2f" % os.getloadavg()
    return ["Machine: %d CPUs (nproc), %s, Linux %s, trees on %s; load average at start %s"
            % (len(os.sched_getaffinity(0)), model, os.uname().release, fstype, load)]


def mib(kib):
    return "%.1f" % (kib / MIB) if kib is not None else "n/a"


def table(header, rows):
    lines = ["| " + " | ".join(header) + " |", "|" + "|".join("---" for _ in header) + "|"]
    lines += ["| " + " | ".join(str(c) for c in row) + " |" for row in rows]
    return "\n".join(lines)


def tools_table(results):
    rows = []
    for r in results:
        vesk_label = r.against_du.a
        rows.append([r.name, vesk_label, "%.3f" % statistics.median(r.vesk_walls()),
                     "%.3f" % statistics.median(r.vesk_cpus()), "", "", mib(r.peaks.get(vesk_label))])
        for series in (r.against_du, r.against_find):
            rows.append([r.name, series.b, "%.3f" % series.median("b"), "%.3f" % series.median("b", "cpu"),
                         "%.2f" % series.ratio(), "%.2f" % series.ratio("cpu"), mib(r.peaks.get(series.b))])
    return table(["tree", "command", "median s", "CPU s", "vesk ÷ this", "vesk ÷ this, CPU", "peak RSS MiB"], rows)


def variants_table(results):
    rows = []
    for r in results:
        for series in r.variants:
            rows.append([r.name, series.b, "%.3f" % series.median("b"), "%.3f" % series.median("a"),
                         "%.2f" % (1 / series.ratio()), "%.2f" % (1 / series.ratio("cpu"))])
    return table(["tree", "vesk variant", "median s", "/S /V median s", "variant ÷ /S /V", "same, CPU"], rows)


def totals_table(results):
    rows = []
    for r in results:
        beyond = r.reference.beyond_path_limit
        note = ("%d files in directories past 255 characters, left out by design" % beyond.files
                if beyond.files else "")
        rows.append([r.name, r.reference.directories, r.vesk_totals.files, r.vesk_totals.bytes, "equal", note])
    return table(["tree", "directories", "vesk files", "vesk bytes", "find, du", "note"], rows)


def list_file_table(results):
    rows = []
    for r in results:
        if r.list_file:
            calls, records = r.list_file
            rows.append([r.name, records, calls, "%.3f" % (calls / max(records, 1))])
    return table(["tree", "records", "calls on the list file", "calls a record"], rows) if rows else ""


def wine_table(wine, tree):
    s = wine.series
    return table(["tree", "command", "median s", "CPU s", "vesk.exe ÷ this"],
                 [[tree, s.a, "%.3f" % s.median("a"), "%.3f" % s.median("a", "cpu"), ""],
                  [tree, s.b, "%.3f" % s.median("b"), "%.3f" % s.median("b", "cpu"), "%.2f" % s.ratio()]])


def targets_table(targets):
    def verdict(met):
        return "not measured" if met is None else ("met" if met else "NOT MET")

    return table(["target", "measured", ""], [[t, figure, verdict(met)] for t, figure, met in targets])
