#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds every preset and runs
# every test (native, the web page in headless Chromium, under ASan/UBSan, a
# short fuzz of each target, and the Windows programs under wine in a headless
# X server).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
log_dir=$root/build/test-logs
mkdir -p "$log_dir"

bash scripts/setup.sh

step() { printf '\n== %s\n' "$*"; }

run_ctest() {  # preset, log name
  local preset=$1 log=$log_dir/$2.log
  set +e
  ctest --preset "$preset" -j "$(nproc)" 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  set -e
  return "$status"
}

step "web page build"
cmake --preset web >/dev/null
cmake --build --preset web

step "native build"
cmake --preset native >/dev/null
cmake --build --preset native
step "native tests"
run_ctest native native

step "native tests under ASan and UBSan"
cmake --preset native-asan >/dev/null
cmake --build --preset native-asan
ASAN_OPTIONS=detect_leaks=1 run_ctest native-asan native-asan

step "fuzz smoke"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
bash scripts/fuzz.sh "${LUDEX_FUZZ_SMOKE_SECONDS:-15}" | tee "$log_dir/fuzz.log"

step "Windows build and tests under wine"
xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/test-windows.sh

# One closing line over every ctest run.
passed=0; failed=0
for log in "$log_dir"/native.log "$log_dir"/native-asan.log "$log_dir"/windows.log; do
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*tests passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
  passed=$((passed + ${total:-0} - ${bad:-0})); failed=$((failed + ${bad:-0}))
done
echo
echo "all suites: $passed passed, $failed failed"
