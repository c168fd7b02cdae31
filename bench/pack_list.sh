#!/usr/bin/env bash
# Times `pomvella-cli list` over an index of 65,535 records and
# `pomvella-cli extract` of a texture at the end of a 200 MB data file with
# 20,000 records. Prints the median wall time of several runs and the peak
# resident set size (GNU time, Debian package "time").
#
#   bench/pack_list.sh [BUILD_DIR] [RUNS]      (defaults: build, 7)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-7}
cli=$build/bin/pomvella-cli
generator=$build/bin/pomvella-sample-archive
for program in "$cli" "$generator" /usr/bin/time; do
  [ -x "$program" ] || { echo "missing $program (build first, scripts/setup for time)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# measure NAME COMMAND...: runs the command $runs times with its output thrown
# away, then prints the median wall time in milliseconds and the largest peak RSS.
measure() {
  local name=$1; shift
  local times=() rss=0
  for _ in $(seq "$runs"); do
    local start end kb
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
    kb=$(tail -n 1 "$work/rss")
    (( kb > rss )) && rss=$kb
  done
  local median
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
  awk -v name="$name" -v us="$median" -v kb="$rss" -v runs="$runs" \
    'BEGIN { printf "%-40s median %8.1f ms   peak RSS %7.1f MB   (%d runs)\n", name, us / 1000, kb / 1024, runs }'
}

"$generator" --seed 1 --out "$work/list.000" --records 65535
measure "list, 65535 records" "$cli" list "$work/list.000"

"$generator" --seed 2 --out "$work/big.000" --records 20000 --padding 200000000 --wanted C00210130.BM2
last=$("$cli" list "$work/big.000" | awk -F'\t' '$2 == "C00210130.BM2" { print $3 }')
echo "data file: $(stat -c %s "$work/big.001") bytes, texture at offset $last"
measure "extract, 20000 records, 200 MB data" "$cli" extract "$work/big.000" C00210130.BM2 -o "$work/out.bmp"
