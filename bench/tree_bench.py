"""Everything measured on one tree: VESK's totals checked against find's,
du's against find's, the paired timings, peak memory and the list file's
system calls."""

import dataclasses
import os

import commands
import peak_memory
import syscall_log
import totals
from pairs import WrongRun, time_pairs


@dataclasses.dataclass
class TreeResult:
    name: str
    reference: totals.Reference
    vesk_totals: totals.Totals
    against_du: object = None  # Series: vesk /S /V, du
    against_find: object = None  # Series: vesk /S /V, find
    variants: list = dataclasses.field(default_factory=list)  # Series: /S /V, a variant
    peaks: dict = dataclasses.field(default_factory=dict)  # label -> KiB
    list_file: tuple = None  # (calls on the list file, records written)

    def vesk_walls(self):
        return self.against_du.a_wall + self.against_find.a_wall

    def vesk_cpus(self):
        return self.against_du.a_cpu + self.against_find.a_cpu


def must_equal(what, got, expected):
    if got != expected:
        raise WrongRun("%s: %s, expected %s" % (what, got, expected))


def run_checked(terminal, command, env):
    outcome = terminal.run(command.argv, cwd=command.cwd, env=env, last_shown=command.last_shown)
    if outcome.status != 0:
        raise WrongRun("%s exited with %d: %s" % (command.label, outcome.status, outcome.text[-300:]))
    return outcome


def check_du(terminal, top, reference, env, scratch):
    """du's apparent total must be find's file bytes plus the directories'
    own sizes, to the byte."""
    out = os.path.join(scratch, "DU.TXT")
    du = commands.du_apparent(top)
    outcome = terminal.run(du.argv, env=env, stdout=out)
    must_equal("du exit code", outcome.status, 0)
    must_equal("du -sb total", totals.du_total(totals.read_text(out)),
               reference.all_files.bytes + reference.directory_bytes)


def measure(terminal, name, top, vesk, pairs, env, scratch, log=print):
    reference = totals.reference_of(top)
    vesk_v = commands.vesk_summary(vesk, top)
    du = commands.du_apparent(top)
    find = commands.find_sizes(top)
    report = os.path.join(scratch, "REPORT.TXT")

    log("%s: warming the cache and checking the totals" % name)
    for command in (vesk_v, du, find):
        run_checked(terminal, command, env)
    check_du(terminal, top, reference, env, scratch)
    run_checked(terminal, commands.vesk_summary_to_file(vesk, top, report), env)
    found = totals.vesk_totals(totals.read_text(report))
    must_equal("vesk totals on %s" % name, found, reference.reachable)
    result = TreeResult(name, reference, found)

    def check_console(outcome):
        must_equal("vesk totals shown on %s" % name, totals.vesk_totals(outcome.text), reference.reachable)

    def check_report_file(_):
        must_equal("vesk totals in the report file on %s" % name,
                   totals.vesk_totals(totals.read_text(report)), reference.reachable)

    log("%s: %d pairs against du, then against find" % (name, pairs))
    result.against_du = time_pairs(terminal, vesk_v, du, pairs, check_a=check_console, env=env)
    result.against_find = time_pairs(terminal, vesk_v, find, pairs, check_a=check_console, env=env)
    log("%s: %d pairs of /S /V against the blocks and the relative name" % (name, pairs))
    for variant, check in ((commands.vesk_blocks_to_nul(vesk, top), None),
                           (commands.vesk_blocks_to_file(vesk, top, report), check_report_file),
                           (commands.vesk_summary_exact_case(vesk, top), check_console)):
        result.variants.append(time_pairs(terminal, vesk_v, variant, pairs, check_a=check_console,
                                          check_b=check, env=env))
    if peak_memory.available():
        for command in (vesk_v, du, find):
            result.peaks[command.label] = peak_memory.peak_kib(terminal, command, env)
    if syscall_log.available():
        result.list_file = syscall_log.list_file_calls(syscall_log.trace(terminal, vesk_v, env))
    totals.remove_quietly(report)
    return result
