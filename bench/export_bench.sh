#!/usr/bin/env bash
# Export benchmark: Tabulon's three export formats against find, tree and a
# bare walk (the floor) on the same generated tree, in one run.
#   bench/export_bench.sh [BUILD_DIR] [RUNS]
# BUILD_DIR holds src/app/tabulon and bench/bench_{make_tree,bare_walk}
# (default build/main). Prints a Markdown table of median wall times, their
# ratios to the plain text export and to the bare walk, and peak memory.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/main}
runs=${2:-5}
work=${TABULON_BENCH_DIR:-/tmp/tabulon-export-bench}
tree_dir=$work/tree          # 200,000 files in 10,000 folders
big_dir=$work/tree-2x        # 400,000 files in 20,000 folders, for memory
tabulon=$build/src/app/tabulon

mkdir -p "$work"
[ -d "$tree_dir" ] || "$build/bench/bench_make_tree" "$tree_dir" 10000 20 >&2
[ -d "$big_dir" ] || "$build/bench/bench_make_tree" "$big_dir" 20000 20 >&2

export SOURCE_DATE_EPOCH=1072883100 TZ=UTC LC_ALL=en_US.UTF-8
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work
mkdir -p "$XDG_CONFIG_HOME"

names=(bare find tree txt csv html)
command_for() {  # name dir
  case $1 in
    bare) echo "$build/bench/bench_bare_walk $2" ;;
    find) echo "find $2 -printf '%p %s %TY-%Tm-%Td %TH:%TM\n'" ;;
    tree) echo "tree -a -s -D $2" ;;
    txt) echo "$tabulon --defaults --export $work/out.txt $2" ;;
    csv) echo "$tabulon --defaults --export $work/out.csv $2" ;;
    html) echo "$tabulon --defaults --export $work/out.html $2" ;;
  esac
}

measure() {  # name dir -> "seconds kilobytes"
  /usr/bin/time -f "%e %M" -o "$work/time" bash -c "$(command_for "$1" "$2") > $work/stdout 2>/dev/null"
  cat "$work/time"
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

declare -A times mem
for name in "${names[@]}"; do times[$name]=""; mem[$name]=""; done
# Interleaved, so a busy moment of the machine hits every tool alike.
for ((i = 0; i < runs; i++)); do
  for name in "${names[@]}"; do
    read -r seconds kb < <(measure "$name" "$tree_dir")
    times[$name]+="$seconds"$'\n'
    mem[$name]+="$kb"$'\n'
  done
done

declare -A med
for name in "${names[@]}"; do med[$name]=$(printf '%s' "${times[$name]}" | median); done
peer=$(awk -v a="${med[find]}" -v b="${med[tree]}" 'BEGIN {print (a < b) ? a : b}')

echo "Tree: 200,000 files in 10,000 folders; $runs runs each, interleaved; $(nproc) cores."
echo
echo "| command | median wall s | / plain text export | / bare walk | peak memory MB |"
echo "|---|---|---|---|---|"
for name in "${names[@]}"; do
  peak=$(printf '%s' "${mem[$name]}" | sort -n | tail -1)
  awk -v n="$name" -v t="${med[$name]}" -v txt="${med[txt]}" -v bare="${med[bare]}" -v kb="$peak" \
    'BEGIN {printf "| %s | %.2f | %.2f | %.2f | %.1f |\n", n, t, t / txt, t / bare, kb / 1024}'
done
echo
awk -v txt="${med[txt]}" -v peer="$peer" -v bare="${med[bare]}" 'BEGIN {
  printf "Plain text export vs the faster of find and tree: %.2fx (target < 1)\n", txt / peer
  printf "Plain text export vs the bare walk: %.2fx (target <= 2)\n", txt / bare }'

read -r _ kb_1x < <(measure txt "$tree_dir")
read -r _ kb_2x < <(measure txt "$big_dir")
echo "Peak memory of the plain text export: $((kb_1x / 1024)) MB for 10,000 folders," \
  "$((kb_2x / 1024)) MB for 20,000 folders (twice the files, same largest folder)."
