#!/usr/bin/env bash
# Retakes docs/screenshot.png: examples/capitales.txt packed and played part of
# the way (answers right, wrong, close, reveal texts showing), in a window of
# 1280 x 760, under Xvfb. Needs the windows and native builds (scripts/play.sh
# makes them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/windows
pack=$root/build/native/tools/pack/ludex-pack
export LUDEX_WINEPREFIX=${LUDEX_WINEPREFIX:-/tmp/ludex-wine-$(id -u)}
if [ -z "${LUDEX_SHOT_INNER:-}" ]; then
  cmake --build "$build" --target ludex ludex-e2e-probe -j2 >/dev/null
  cmake --build "$root/build/native" --target ludex-pack -j2 >/dev/null
  exec env LUDEX_SHOT_INNER=1 xvfb-run -a -s "-screen 0 1280x800x24" bash "$0"
fi
work=$(mktemp -d /tmp/ludex-shot.XXXXXX)
trap 'WINEPREFIX=$LUDEX_WINEPREFIX wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
"$pack" build "$root/examples/capitales.txt" -o capitales.exe --player "$build/ludex.exe" >/dev/null
# One answer per line, in Windows-1252 with CR LF, as the player saves them.
printf '%s\r\n' paris Madird Rome Lisbone Bern Bruxelles Amsterdam Zurich Vienne \
  "$(printf 'Ath\xe8nes')" Cracovie Stockholm "Oslo ville" "" Budapest > capitales.txt
bash "$root/scripts/wine-run.sh" capitales.exe </dev/null >/dev/null 2>&1 &
timeout 60 xdotool search --sync --onlyvisible --name "^Les capitales d'Europe\$" >/dev/null
bash "$root/scripts/wine-run.sh" "$build/bench/ludex-e2e-probe.exe" place 0 0 1280 760 </dev/null
sleep 2  # let every panel repaint at its new size
import -window root -crop 1280x760+0+0 "$root/docs/screenshot.png"
bash "$root/scripts/wine-run.sh" "$build/bench/ludex-e2e-probe.exe" texts 32 </dev/null
echo "screenshot: docs/screenshot.png"
