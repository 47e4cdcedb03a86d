#!/usr/bin/env bash
# The content test against grep -F -l on the same generated files, in one run:
# a 256 MiB text with the phrase at its end, and one without it. Each program
# is started afresh for every run and timed from outside, the same way for
# both; the table shows medians of RUNS runs (files already in the page cache).
#
#   bench/content_search.sh [path/to/bench_content_search]
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
bin="${1:-${BENCH_BIN:-$here/../build/main/bench/bench_content_search}}"
runs="${RUNS:-7}"
megabytes="${MEGABYTES:-256}"
phrase="${PHRASE:-the tabulon listing}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

[ -x "$bin" ] || { echo "no benchmark program at $bin (build bench_content_search)" >&2; exit 1; }

"$bin" generate "$work/end.txt" "$megabytes" "$phrase"
"$bin" generate "$work/absent.txt" "$megabytes"
cat "$work/end.txt" "$work/absent.txt" > /dev/null  # into the page cache

# Median wall time in seconds of running the command `runs` times.
median() {
  local times=()
  for ((i = 0; i < runs; i++)); do
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null || true
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.4f", a[int((NR+1)/2)]/1e6}'
}

printf 'Phrase "%s", %s MiB files, median of %s runs\n\n' "$phrase" "$megabytes" "$runs"
printf '| case | Tabulon (s) | grep (s) | grep / Tabulon |\n|---|---:|---:|---:|\n'
for file in end absent; do
  for mode in exact ignore-case; do
    if [ "$mode" = exact ]; then
      ours=$(median "$bin" run "$work/$file.txt" "$phrase" 1)
      theirs=$(median grep -F -l -- "$phrase" "$work/$file.txt")
      label="phrase $file, case-sensitive (grep -F -l)"
    else
      ours=$(median "$bin" run "$work/$file.txt" "$phrase" 1 ignore-case)
      theirs=$(median grep -F -i -l -- "$phrase" "$work/$file.txt")
      label="phrase $file, ignoring case (grep -F -i -l)"
    fi
    [ "$file" = end ] && label="${label/phrase end/phrase at the end}"
    ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN {printf "%.2f", b / a}')
    printf '| %s | %s | %s | %s |\n' "$label" "$ours" "$theirs" "$ratio"
  done
done
# The answers must agree with grep's.
for file in end absent; do
  ours=$("$bin" run "$work/$file.txt" "$phrase" 1 | awk '{print $2}')
  if grep -q -F -- "$phrase" "$work/$file.txt"; then theirs=found; else theirs=absent; fi
  [ "$ours" = "$theirs" ] || { echo "answers differ on $file: $ours / grep $theirs" >&2; exit 1; }
done
