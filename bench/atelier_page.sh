#!/usr/bin/env bash
# Ludex Atelier in a browser, in headless Chromium (bench/atelier_page.py
# says what it measures): builds ludex-atelier.html, then prints medians.
# Usage: bench/atelier_page.sh [ROUNDS]   (default 9; the windows preset's
#        folder: LUDEX_BENCH_BUILD, default build/windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$root/${LUDEX_BENCH_BUILD:-build/windows}
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake --preset windows -B "$build_dir" >/dev/null
fi
cmake --build "$build_dir" --target ludex_atelier_html -j2 >/dev/null
exec /usr/bin/python3 "$root/bench/atelier_page.py" "$build_dir/tools/atelier/web/ludex-atelier.html" "$@"
