"""The lead's targets, each as (what, the figure measured, met: True, False,
or None when the run did not measure it). Timings are paired medians on the
medium tree unless the target names another."""

MIB_KIB = 1024
PEAK_LIMIT_KIB = 4 * MIB_KIB
PEAK_SPREAD_KIB = MIB_KIB // 2
# "Growing only with the one large directory": what the wide tree needs
# beyond the small one, per entry of its directory. A walk that keeps each
# name once (about 11 bytes here, plus an offset and the growth slack of a
# buffer) stays well below this.
WIDE_BYTES_PER_ENTRY = 64
# "No system call per record": at most one call for every ten records.
LIST_CALLS_PER_RECORD = 0.1


def _ratio_target(what, results, tree, series_of, limit):
    r = results.get(tree)
    if not r:
        return (what, "", None)
    ratio = series_of(r).ratio()
    return (what, "%.2f" % ratio, ratio <= limit)


def _variant(r, label):
    return next(s for s in r.variants if s.b == label)


def _peak(r):
    return r.peaks.get(r.against_du.a) if r else None


def timing_targets(results):
    out = [
        _ratio_target("medium: vesk /S /V at most 1.2 x du -sb", results, "medium", lambda r: r.against_du, 1.2),
        _ratio_target("wide: vesk /S /V at most 1.1 x du -sb", results, "wide", lambda r: r.against_du, 1.1),
    ]
    for label in ("vesk /S +NUL", "vesk /S +file"):
        what = "medium: %s at most 1.10 x /S /V" % label
        r = results.get("medium")
        if not r:
            out.append((what, "", None))
            continue
        ratio = 1 / _variant(r, label).ratio()
        out.append((what, "%.2f" % ratio, ratio <= 1.10))
    return out


def memory_targets(results):
    small, medium, wide = (_peak(results.get(n)) for n in ("small", "medium", "wide"))
    out = []
    if small is None or medium is None:
        out.append(("small and medium: peak RSS at most 4 MiB", "", None))
        out.append(("small and medium: peak RSS within 0.5 MiB of each other", "", None))
    else:
        out.append(("small and medium: peak RSS at most 4 MiB", "%.1f and %.1f MiB" % (small / MIB_KIB, medium / MIB_KIB),
                    max(small, medium) <= PEAK_LIMIT_KIB))
        out.append(("small and medium: peak RSS within 0.5 MiB of each other", "%.2f MiB apart" % (abs(small - medium) / MIB_KIB),
                    abs(small - medium) <= PEAK_SPREAD_KIB))
    what = "wide: peak RSS grows only with its directory (at most %d bytes an entry over small)" % WIDE_BYTES_PER_ENTRY
    if small is None or wide is None:
        out.append((what, "", None))
    else:
        entries = results["wide"].reference.all_files.files
        per_entry = max(wide - small, 0) * 1024 / entries
        out.append((what, "%.1f MiB, %.0f bytes an entry" % (wide / MIB_KIB, per_entry), per_entry <= WIDE_BYTES_PER_ENTRY))
    return out


def list_file_target(results):
    what = "the list file costs no system call per record (at most %.1f a record)" % LIST_CALLS_PER_RECORD
    measured = [(name, r.list_file) for name, r in results.items() if r.list_file and r.list_file[1] >= 100]
    if not measured:
        return [(what, "", None)]
    name, (calls, records) = max(measured, key=lambda m: m[1][1])
    per_record = calls / records
    return [(what, "%s: %d calls, %d records, %.2f a record" % (name, calls, records, per_record),
             per_record <= LIST_CALLS_PER_RECORD)]


def wine_target(wine):
    what = "Wine, small: vesk.exe /S /V at most 0.5 x dir /s /a-d"
    if not wine:
        return [(what, "", None)]
    ratio = wine.series.ratio()
    return [(what, "%.2f" % ratio, ratio <= 0.5)]


def all_targets(results, wine):
    return timing_targets(results) + memory_targets(results) + list_file_target(results) + wine_target(wine)
