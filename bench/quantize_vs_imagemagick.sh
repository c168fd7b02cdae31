#!/usr/bin/env bash
# Times `pomvella-cli quantize` against ImageMagick's octree quantiser
# (`convert IN +dither -colors 256 OUT`) on the same photo-like 24-bit BMP
# files, and reports the medians, their ratio and each tool's peak memory.
#
# usage: bench/quantize_vs_imagemagick.sh [PATH-TO-POMVELLA-CLI] [RUNS]
# Needs Debian's imagemagick and time packages (scripts/setup installs them).
set -euo pipefail
cd "$(dirname "$0")/.."

cli=${1:-build/bin/pomvella-cli}
runs=${2:-5}
convert=/usr/bin/convert   # Debian's, not whatever else may be first on the PATH
gnu_time=/usr/bin/time

if ! file -L "$convert" 2>/dev/null | grep -q ELF; then
  echo "bench: $convert is not ImageMagick's program; run scripts/setup" >&2
  exit 2
fi
[ -x "$gnu_time" ] || { echo "bench: $gnu_time missing; run scripts/setup" >&2; exit 2; }
[ -x "$cli" ] || { echo "bench: $cli missing; build first" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Seconds (wall clock) of one run of the command.
seconds() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f\n", (b - a) / 1e9 }'
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Peak resident memory of one run, in MiB.
peak_mib() {
  "$gnu_time" -f '%M' -o "$work/rss" "$@" >/dev/null 2>&1
  awk -v k="$(tail -1 "$work/rss")" 'BEGIN { printf "%.1f\n", k / 1024 }'
}

echo "ImageMagick: $("$convert" -version | head -1)"
echo "runs per size: $runs (medians of wall-clock seconds)"
printf '%-10s %12s %12s %8s %14s %14s\n' size pomvella imagemagick ratio pomvella-MiB imagemagick-MiB

for size in 200x186 1024x1024 4096x4096; do
  input="$work/in-$size.bmp"
  # A plasma fractal: smooth colour clouds with fine detail, like a photograph.
  "$convert" -seed 7 -size "$size" plasma:fractal -type TrueColor "BMP3:$input"
  ours=$(for _ in $(seq "$runs"); do seconds "$cli" quantize "$input" "$work/ours.bmp" --colors 256; done | median)
  theirs=$(for _ in $(seq "$runs"); do seconds "$convert" "$input" +dither -colors 256 "BMP3:$work/theirs.bmp"; done | median)
  ratio=$(awk -v a="$theirs" -v b="$ours" 'BEGIN { printf "%.2f", a / b }')
  ours_mib=$(peak_mib "$cli" quantize "$input" "$work/ours.bmp" --colors 256)
  theirs_mib=$(peak_mib "$convert" "$input" +dither -colors 256 "BMP3:$work/theirs.bmp")
  printf '%-10s %12s %12s %7sx %14s %14s\n' "$size" "$ours" "$theirs" "$ratio" "$ours_mib" "$theirs_mib"
done
echo "ratio: ImageMagick's time divided by pomvella's (above 1: pomvella is faster)"
