"""The trees the benchmark walks, made the same on every machine.

Every name is upper case (VESK upper-cases its parameters, so a lower-case
name would add a case-insensitive lookup to what is measured) and none begins
with "." (VESK counts hidden files only with /H). There are no links. File
sizes come from one fixed seed and cost no disk space: each file is created
empty and extended with truncate, which leaves it sparse.

A tree is made once under the benchmark's directory and reused: the stamp
beside it names the generator's version and the tree's shape, and anything
else there is thrown away and made again.

    python3 bench/trees.py [--dir DIR] [--trees small,medium,wide,deep]
"""

import argparse
import os
import random
import shutil
import sys
import time

# Raise whenever the trees change, so that old ones are made again.
GENERATOR_VERSION = 1


class TreeShape:
    """One tree: its directory name and how to fill it."""

    def __init__(self, name, about, directories, build):
        self.name = name  # as in --trees
        self.about = about
        self.directories = directories  # how many, the top one included
        self.build = build  # build(top, rng): makes the tree below top

    @property
    def folder(self):
        return self.name.upper()

    def stamp_text(self):
        return "vesk bench tree %s, generator %d\n" % (self.name, GENERATOR_VERSION)


def sparse_file(path, size):
    fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
    try:
        if size:
            os.ftruncate(fd, size)
    finally:
        os.close(fd)


def log_uniform_size(rng, largest_bits):
    """Mostly small files, some large, about 1 in 2 * largest_bits empty."""
    return int(2 ** rng.uniform(0, largest_bits)) - 1


def fill_with_files(directory, count, rng, largest_bits):
    for k in range(count):
        sparse_file(os.path.join(directory, "F%04d.DAT" % k), log_uniform_size(rng, largest_bits))


def balanced_tree(directories, files_each, largest_bits):
    """directories in a tree of fan-out 10, numbered breadth-first: directory
    n (n >= 1) lies in directory (n - 1) // 10, the top one being 0. Each of
    them, the top one too, holds files_each files."""

    def build(top, rng):
        paths = [top]
        for n in range(1, directories):
            path = os.path.join(paths[(n - 1) // 10], "D%05d" % n)
            os.mkdir(path)
            paths.append(path)
        for path in paths:
            fill_with_files(path, files_each, rng, largest_bits)

    return build


def one_wide_directory(files, largest_bits):
    """A single directory holding every file: the largest one VESK lists."""

    def build(top, rng):
        for k in range(files):
            sparse_file(os.path.join(top, "F%06d.DAT" % k), log_uniform_size(rng, largest_bits))

    return build


DEEP_LEVELS = 20
DEEP_NAME_LENGTH = 24  # 20 levels of 25 characters: far past 255 anywhere


def deep_name(level, k):
    return ("L%02dD%d" % (level, k)).ljust(DEEP_NAME_LENGTH, "X")


def deep_tree(directories_each_level, files_each, largest_bits):
    """A chain of DEEP_LEVELS levels with long names. Each level holds
    directories_each_level directories; the first of them goes on to the
    next level. Every directory holds files_each files."""

    def build(top, rng):
        fill_with_files(top, files_each, rng, largest_bits)
        parent = top
        for level in range(DEEP_LEVELS):
            for k in range(directories_each_level):
                path = os.path.join(parent, deep_name(level, k))
                os.mkdir(path)
                fill_with_files(path, files_each, rng, largest_bits)
            parent = os.path.join(parent, deep_name(level, 0))

    return build


# Sizes up to 1 MiB in the balanced trees; up to 16 KiB in the wide one,
# so that its one directory stays far below 2 GiB, the most a directory's
# sum can hold in 32 bits.
SHAPES = {
    "small": TreeShape("small", "1,000 directories, 10 files each", 1000,
                       balanced_tree(1000, 10, 20)),
    "medium": TreeShape("medium", "20,000 directories, 10 files each", 20000,
                        balanced_tree(20000, 10, 20)),
    "wide": TreeShape("wide", "one directory of 100,000 files", 1,
                      one_wide_directory(100000, 14)),
    "deep": TreeShape("deep", "20 levels of 10 directories with 24-character names, 10 files each",
                      1 + 10 * DEEP_LEVELS, deep_tree(10, 10, 20)),
}


def default_directory():
    """Outside any checkout: $VESK_BENCH_DIR, else a folder under $TMPDIR
    or /var/tmp, which outlives a reboot so the trees are made once."""
    given = os.environ.get("VESK_BENCH_DIR")
    if given:
        return given
    return os.path.join(os.environ.get("TMPDIR") or "/var/tmp", "vesk-bench")


def stamp_path(base, shape):
    return os.path.join(base, shape.folder + ".stamp")


def is_current(base, shape):
    try:
        with open(stamp_path(base, shape)) as f:
            return f.read() == shape.stamp_text() and os.path.isdir(os.path.join(base, shape.folder))
    except OSError:
        return False


def ensure_tree(base, shape, log=print):
    """The tree's top directory, made now unless a current one is there."""
    top = os.path.join(base, shape.folder)
    if is_current(base, shape):
        return top
    os.makedirs(base, exist_ok=True)
    # A half-made tree (an interrupted run) is never reused: the stamp is
    # written only once the tree is complete.
    if os.path.exists(stamp_path(base, shape)):
        os.remove(stamp_path(base, shape))
    shutil.rmtree(top, ignore_errors=True)
    started = time.monotonic()
    os.mkdir(top)
    shape.build(top, random.Random("vesk-bench-%s-%d" % (shape.name, GENERATOR_VERSION)))
    with open(stamp_path(base, shape), "w") as f:
        f.write(shape.stamp_text())
    log("made %s (%s) in %.1f s: %s" % (shape.name, shape.about, time.monotonic() - started, top))
    return top


def parse_tree_names(text):
    names = [n.strip() for n in text.split(",") if n.strip()]
    unknown = [n for n in names if n not in SHAPES]
    if unknown:
        raise argparse.ArgumentTypeError("unknown tree %s (known: %s)" % (", ".join(unknown), ", ".join(SHAPES)))
    return names


def main():
    parser = argparse.ArgumentParser(description="Makes the benchmark's trees (once).")
    parser.add_argument("--dir", default=default_directory(), help="where the trees live")
    parser.add_argument("--trees", type=parse_tree_names, default=list(SHAPES), help="comma-separated")
    args = parser.parse_args()
    for name in args.trees:
        print(ensure_tree(args.dir, SHAPES[name]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
