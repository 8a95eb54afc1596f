#!/usr/bin/env bash
# The web page's benchmark in Chromium, WebKitGTK and Firefox (bench/web_page.py says what
# it measures): builds the native page tool, then prints medians of
# interleaved rounds.
# Usage: bench/web_page.sh [ROUNDS]   (default 9; build folder:
#        LUDEX_BENCH_BUILD, default build/native)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$root/${LUDEX_BENCH_BUILD:-build/native}
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake --preset native -B "$build_dir" >/dev/null
fi
cmake --build "$build_dir" --target ludex-pack -j2 >/dev/null
# WebKitGTK needs a display: the benchmark runs inside a headless X server.
exec xvfb-run -a -s "-screen 0 1280x1024x24" /usr/bin/python3 "$root/bench/${LUDEX_PAGE_BENCH:-web_page.py}" \
  "$build_dir/tools/pack/ludex-pack" "$@"
