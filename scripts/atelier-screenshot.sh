#!/usr/bin/env bash
# Retakes the pictures of Ludex Atelier, on a 1366 x 768 screen under Xvfb:
# docs/atelier.png, examples/capitales.txt open with its third reveal text
# made too long (the row red, the error listed) and that question chosen with
# the keyboard (its counter red); then, for the guide, on the sample as it
# is: the preview of a CSV file of three columns without a header row
# (docs/atelier-apercu.png), the message once its program is built
# (docs/atelier-programme.png) and a try of the quiz (docs/atelier-essai.png). Needs
# the windows build (cmake --build --preset windows --target ludex-atelier).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/windows
export LUDEX_WINEPREFIX=${LUDEX_WINEPREFIX:-/tmp/ludex-wine-$(id -u)}
if [ -z "${LUDEX_SHOT_INNER:-}" ]; then
  cmake --build "$build" --target ludex-atelier -j2 >/dev/null
  exec env LUDEX_SHOT_INNER=1 xvfb-run -a -s "-screen 0 1366x768x24" bash "$0"
fi
work=$(mktemp -d /tmp/ludex-atelier-shot.XXXXXX)
stop_wine() { WINEPREFIX=$LUDEX_WINEPREFIX wineserver -k 2>/dev/null || true; }
trap 'stop_wine; rm -rf "$work"' EXIT
cd "$work"

# Starts the editor on a file and waits for its window.
start_editor() {
  bash "$root/scripts/wine-run.sh" "$build/tools/atelier/window/ludex-atelier.exe" "$1" </dev/null >/dev/null 2>&1 &
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "^$1 - Ludex Atelier\$" | head -n 1)
  xdotool windowfocus --sync "$window"
  sleep 2
}

# The window whose name matches, once it shows, into docs/$2.
shoot() {
  local shown
  shown=$(timeout 60 xdotool search --sync --onlyvisible --name "$1" | tail -n 1)
  sleep 2
  eval "$(xdotool getwindowgeometry --shell "$shown")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$root/docs/$2"
  echo "screenshot: docs/$2 (${WIDTH} x ${HEIGHT})"
}

more=" Le Tibre la traverse ; on y visite le Colisée, le Forum et la fontaine de Trevi, où l'on jette une pièce"
more+=" pour revenir un jour dans la Ville éternelle, fondée selon la légende par Romulus en 753 avant notre ère,"
more+=" sur le mont Palatin."
mkdir long && cd long
sed "s/^révélation: Elle entoure un autre État : le Vatican\.\$/&$more/" "$root/examples/capitales.txt" >capitales.txt
start_editor capitales.txt
# Alt+L: the list; Down twice: the third question; Alt+V: its reveal text.
xdotool key --delay 200 alt+l Down Down alt+v
shoot '^capitales.txt - Ludex Atelier$' atelier.png
stop_wine
cd "$work"

cp "$root/examples/capitales.txt" capitales.txt
printf 'Quelle est la capitale de la Finlande ?;Helsinki;PHARE\r\nQuelle est la capitale du Danemark ?;Copenhague;BALISE\r\n' >questions.csv
start_editor capitales.txt
# Fichier > Importer un tableau CSV: the file, then its preview.
xdotool key --delay 300 alt+f i
sleep 2
xdotool type --delay 20 "Z:${work//\//\\}\\questions.csv"
xdotool key Return
shoot 'ajouter$' atelier-apercu.png
xdotool key Escape
sleep 1
# Créer le programme: its name as proposed, beside the source; the editor with its message.
xdotool key F7
sleep 2
xdotool key Return
timeout 60 xdotool search --sync --onlyvisible --name '^Ludex Atelier$' >/dev/null
shoot '^capitales.txt - Ludex Atelier$' atelier-programme.png
xdotool key Return
sleep 1
xdotool key F5
shoot "^Les capitales d'Europe\$" atelier-essai.png
