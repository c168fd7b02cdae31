#!/usr/bin/env bash
# Times a whole `pomvella-cli build --yes` on a sample archive of 20,000
# records whose data file is over 200 MB, the four wanted textures at its end.
#
#   bench/build_run.sh [BUILD_DIR] [RUNS]      (defaults: build, 9)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-9}
generator=$build/bin/pomvella-sample-archive
for program in "$build/bin/pomvella-cli" "$generator" /usr/bin/time; do
  [ -x "$program" ] || { echo "missing $program (build first, scripts/setup for time)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. bench/measure.sh

# A copy of the program, so the crop files land in the scratch folder.
mkdir -p "$work/bin" "$work/Ruvelle"
cp "$build/bin/pomvella-cli" "$work/bin/"
echo host > "$work/Ruvelle/Ruvelle.exe"
"$generator" --seed 3 --out "$work/TH2Data.000" --records 20000 --padding 200000000
echo "data file: $(stat -c %s "$work/TH2Data.001") bytes, $("$work/bin/pomvella-cli" list "$work/TH2Data.000" | wc -l) records"
measure "build, 20000 records, 200 MB data" "$work/bin/pomvella-cli" build "$work/TH2Data.000" "$work/Ruvelle/Ruvelle.exe" --yes
