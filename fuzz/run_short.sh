#!/usr/bin/env bash
# Runs every fuzz target for a bounded time from its seed corpus, and fails on
# the first finding (a broken property, a sanitizer report, a crash, a hang).
#   fuzz/run_short.sh [build directory] [seconds per target]
# The defaults are build/fuzz (cmake --preset fuzz) and 8 seconds, about a
# minute for all. Inputs found on the way go to a scratch directory, never
# into the seed corpus; a finding is copied to fuzz-findings/ in the build directory.
set -euo pipefail
cd "$(dirname "$0")/.."
here=$PWD  # absolute paths throughout: a target may change its current directory

build=$(realpath "${1:-build/fuzz}")
seconds=${2:-8}
targets=(options number_format path_split expand names wildcard command_line)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failed=()
for name in "${targets[@]}"; do
  program="$build/fuzz/${name}_fuzz"
  if [[ ! -x "$program" ]]; then
    echo "missing fuzz target $program (cmake --preset fuzz && cmake --build --preset fuzz)" >&2
    exit 2
  fi
  mkdir -p "$work/$name"
  # -timeout: one input taking longer is a hang; -rss_limit_mb: a leak or a
  # runaway allocation is a finding too.
  if "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$work/$name-" "$work/$name" "$here/fuzz/corpus/$name" \
      >"$work/$name.log" 2>&1; then
    stats=$(grep -E '^#[0-9]+.*DONE' "$work/$name.log" | tail -1 || true)
    echo "fuzz $name: ok ${stats#*DONE}"
  else
    echo "fuzz $name: FINDING"
    tail -40 "$work/$name.log"
    mkdir -p "$build/fuzz-findings"
    cp "$work/$name"-* "$build/fuzz-findings/" 2>/dev/null || true
    failed+=("$name")
  fi
done

if ((${#failed[@]})); then
  echo "fuzz findings in: ${failed[*]} (inputs in $build/fuzz-findings/)" >&2
  exit 1
fi
