"""Paired timings: A B A B ..., so that whatever else the machine does at a
moment weighs on both sides of a pair alike."""

import dataclasses
import statistics


class WrongRun(Exception):
    """A timed command failed or gave other figures than it must."""


@dataclasses.dataclass
class Series:
    a: str
    b: str
    a_wall: list
    b_wall: list
    a_cpu: list
    b_cpu: list

    def median(self, side, what="wall"):
        return statistics.median(getattr(self, "%s_%s" % (side, what)))

    def ratio(self, what="wall"):
        """The median of the pairs' ratios A/B."""
        a, b = getattr(self, "a_" + what), getattr(self, "b_" + what)
        return statistics.median(x / y for x, y in zip(a, b))


def time_pairs(terminal, a, b, pairs, check_a=None, check_b=None, env=None, stdout_is_terminal=False):
    """Runs a, then b, pairs times over. check_x(outcome) raises WrongRun
    when a run's answer is wrong; a run that does not exit 0 is wrong."""
    series = Series(a.label, b.label, [], [], [], [])
    for _ in range(pairs):
        for command, check, wall, cpu in ((a, check_a, series.a_wall, series.a_cpu),
                                          (b, check_b, series.b_wall, series.b_cpu)):
            outcome = terminal.run(command.argv, cwd=command.cwd, env=env,
                                   stdout_is_terminal=stdout_is_terminal, last_shown=command.last_shown)
            if outcome.status != 0:
                raise WrongRun("%s exited with %d: %s" % (command.label, outcome.status, outcome.text[-300:]))
            if check:
                check(outcome)
            wall.append(outcome.wall)
            cpu.append(outcome.cpu)
    return series
