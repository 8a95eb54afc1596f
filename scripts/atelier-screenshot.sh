#!/usr/bin/env bash
# Retakes docs/atelier.png: Ludex Atelier on a 1366 x 768 screen under Xvfb,
# with examples/capitales.txt open, its third reveal text made too long (the
# row red, the error listed) and that question chosen with the keyboard (its
# counter red). Needs the windows build (cmake --build --preset windows
# --target ludex-atelier).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/windows
export LUDEX_WINEPREFIX=${LUDEX_WINEPREFIX:-/tmp/ludex-wine-$(id -u)}
if [ -z "${LUDEX_SHOT_INNER:-}" ]; then
  cmake --build "$build" --target ludex-atelier -j2 >/dev/null
  exec env LUDEX_SHOT_INNER=1 xvfb-run -a -s "-screen 0 1366x768x24" bash "$0"
fi
work=$(mktemp -d /tmp/ludex-atelier-shot.XXXXXX)
trap 'WINEPREFIX=$LUDEX_WINEPREFIX wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
more=" Le Tibre la traverse ; on y visite le Colisée, le Forum et la fontaine de Trevi, où l'on jette une pièce"
more+=" pour revenir un jour dans la Ville éternelle, fondée selon la légende par Romulus en 753 avant notre ère,"
more+=" sur le mont Palatin."
sed "s/^révélation: Elle entoure un autre État : le Vatican\.\$/&$more/" "$root/examples/capitales.txt" \
  >"$work/capitales.txt"
cd "$work"
bash "$root/scripts/wine-run.sh" "$build/tools/atelier/window/ludex-atelier.exe" capitales.txt </dev/null >/dev/null 2>&1 &
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^capitales.txt - Ludex Atelier$' | head -n 1)
xdotool windowfocus --sync "$window"
sleep 2
# Alt+L: the list; Down twice: the third question; Alt+V: its reveal text.
xdotool key --delay 200 alt+l Down Down alt+v
sleep 2
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$root/docs/atelier.png"
echo "screenshot: docs/atelier.png (${WIDTH} x ${HEIGHT})"
