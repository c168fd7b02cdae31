#!/usr/bin/env bash
# Rewrites the seed corpora in fuzz/corpus/<harness>/ from the sample-archive
# generator, generated BMP files and tests/data/bmp-bad. Inputs that the
# fuzzers added to a corpus folder stay; seeds of the same name are replaced.
#   fuzz/make_seeds.sh [BUILD_FOLDER]   (default build-fuzz, configured by scripts/fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
cmake --build "$build" --target fuzz_make_seeds -j2 >/dev/null
"$build/bin/fuzz_make_seeds" fuzz/corpus tests/data/bmp-bad
du -sh fuzz/corpus/* | sed 's/^/seeds: /'
