#!/usr/bin/env bash
# Measures one conversion against cp copying the same screen file, and
# prints four ratios (velmora / cp): user-space instructions (callgrind),
# peak resident memory, median wall time (one paired hyperfine run), and
# the cost of a 1 GiB source against a 6912-byte one.
#
# Usage: bench/compare_with_cp.sh [path/to/velmora]
# Needs: valgrind hyperfine time (Debian packages of those names)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
velmora=$(realpath "${1:-$here/build/velmora}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$here/sample/carta.scr" screen.scr
# A sparse 1 GiB file: only its first screen is ever read.
cp screen.scr huge.scr && truncate -s 1G huge.scr

instructions() {
  valgrind --tool=callgrind --callgrind-out-file=cg.out "$@" >/dev/null 2>cg.log
  sed -n 's/.*Collected : \([0-9]*\).*/\1/p' cg.log
}
peak_kib() {
  # Lowest of five: the figure is steady, but take no chances.
  for _ in 1 2 3 4 5; do /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1; done | sort -n | head -n 1
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

v_ins=$(instructions "$velmora" screen.scr out.tap)
c_ins=$(instructions cp screen.scr copy.scr)
v_mem=$(peak_kib "$velmora" screen.scr out.tap)
c_mem=$(peak_kib cp screen.scr copy.scr)

hyperfine -N --warmup 50 --runs 1000 --export-json times.json \
  "$velmora screen.scr out.tap" "cp screen.scr copy.scr" >/dev/null 2>&1
medians=$(python3 -c 'import json,sys; print(*[r["median"] for r in json.load(open("times.json"))["results"]])')
read -r v_time c_time <<<"$medians"

hyperfine -N --warmup 50 --runs 1000 --export-json huge.json \
  "$velmora huge.scr out.tap" "$velmora screen.scr out.tap" >/dev/null 2>&1
read -r h_time s_time <<<"$(python3 -c 'import json; print(*[r["median"] for r in json.load(open("huge.json"))["results"]])')"
h_ins=$(instructions "$velmora" huge.scr out.tap)
h_mem=$(peak_kib "$velmora" huge.scr out.tap)

printf 'instructions   velmora %9s  cp %9s  ratio %s (target <= 0.30)\n' "$v_ins" "$c_ins" "$(ratio "$v_ins" "$c_ins")"
printf 'peak memory    velmora %6s KiB  cp %6s KiB  ratio %s (target <= 0.70)\n' "$v_mem" "$c_mem" "$(ratio "$v_mem" "$c_mem")"
printf 'median time    velmora %8.1f us  cp %8.1f us  ratio %s (target <= 0.80)\n' \
  "$(awk -v t="$v_time" 'BEGIN{print t*1e6}')" "$(awk -v t="$c_time" 'BEGIN{print t*1e6}')" "$(ratio "$v_time" "$c_time")"
printf '1 GiB source   ratios to a 6912-byte one: instructions %s, memory %s, time %s\n' \
  "$(ratio "$h_ins" "$v_ins")" "$(ratio "$h_mem" "$v_mem")" "$(ratio "$h_time" "$s_time")"
