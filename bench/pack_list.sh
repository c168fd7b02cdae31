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

. bench/measure.sh

"$generator" --seed 1 --out "$work/list.000" --records 65535
measure "list, 65535 records" "$cli" list "$work/list.000"

"$generator" --seed 2 --out "$work/big.000" --records 20000 --padding 200000000 --wanted C00210130.BM2
last=$("$cli" list "$work/big.000" | awk -F'\t' '$2 == "C00210130.BM2" { print $3 }')
echo "data file: $(stat -c %s "$work/big.001") bytes, texture at offset $last"
measure "extract, 20000 records, 200 MB data" "$cli" extract "$work/big.000" C00210130.BM2 -o "$work/out.bmp"
