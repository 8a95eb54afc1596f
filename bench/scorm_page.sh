#!/usr/bin/env bash
# The quiz page inside a school's platform against the page alone, in
# Chromium (bench/scorm_page.py says what it measures), and the SCORM
# package's own benchmark (bench/scorm_bench.cpp): builds the native tools,
# then prints medians of interleaved rounds.
# Usage: bench/scorm_page.sh [ROUNDS]   (default 9; build folder:
#        LUDEX_BENCH_BUILD, default build/native)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$root/${LUDEX_BENCH_BUILD:-build/native}
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake --preset native -B "$build_dir" >/dev/null
fi
cmake --build "$build_dir" --target ludex-pack scorm_bench -j2 >/dev/null
"$build_dir/bench/scorm_bench"
exec /usr/bin/python3 "$root/bench/scorm_page.py" "$build_dir/tools/pack/ludex-pack" "$@"
