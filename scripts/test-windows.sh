#!/usr/bin/env bash
# Builds the Windows preset and runs its tests under wine. Expects a display
# (test.sh runs it inside xvfb-run) and uses a throw-away wine prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
export LUDEX_WINEPREFIX=${LUDEX_WINEPREFIX:-$(mktemp -d /tmp/ludex-wine-test.XXXXXX)/prefix}
export WINEPREFIX=$LUDEX_WINEPREFIX

cleanup() { WINEPREFIX=$LUDEX_WINEPREFIX wineserver -k 2>/dev/null || true; }
trap cleanup EXIT

bash scripts/wine-services.sh

# The tests that pack with the native ludex-pack, and the native archive's,
# take them from the native build.
cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset windows -DLUDEX_NATIVE_BUILD="$root/build/native" >/dev/null
cmake --build --preset windows
set +e
ctest --preset windows 2>&1 | tee "$root/build/test-logs/windows.log"
status=${PIPESTATUS[0]}
set -e
exit "$status"
