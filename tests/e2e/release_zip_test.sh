#!/usr/bin/env bash
# The release zip as a Windows author gets it: made by cpack, unpacked into an
# empty folder, and used with nothing else: its ludex-pack.exe checks and
# builds a sample with its ludex.exe and writes its web page, the built quiz
# opens under wine, and so does its editor.
# Usage: release_zip_test.sh CPACK CPACK_CONFIG
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
cpack=$1 config=$2

source "$root/tests/support/end_to_end.sh"
e2e_start release "$@"

"$cpack" --config "$config" -B "$work/package" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; die "cpack"; }
zip=$(ls "$work"/package/ludex-*-win64.zip 2>/dev/null) || die "no ludex-<version>-win64.zip: $(ls "$work/package")"

mkdir "$work/empty" && cd "$work/empty" && cmake -E tar xf "$zip" || die "unpacking $zip"
cd ludex-*-win64 || die "no top folder in the zip: $(ls)"
listing=$(find . -type f | sort | tr '\n' ' ')
expected="./LISEZMOI.txt ./ecrire-un-quiz.html ./examples/capitales.txt ./examples/chimie-deux-reponses.txt ./ludex-atelier.exe ./ludex-atelier.html ./ludex-pack.exe ./ludex.exe "
[ "$listing" = "$expected" ] || die "the zip holds: $listing"
[ "$(grep -c $'\r$' LISEZMOI.txt)" = "$(wc -l <LISEZMOI.txt)" ] || die "LISEZMOI.txt has lines without CR LF"
grep -q '<meta charset="utf-8">' ecrire-un-quiz.html || die "the guide does not declare its charset"
grep -q '<td><code>titre:</code></td>' ecrire-un-quiz.html || die "the guide's tables are not HTML tables"
# The editor in a browser: one page carrying its player, and said in the LISEZMOI.
grep -q 'id="carried-player">[A-Za-z0-9+/]' ludex-atelier.html || die "ludex-atelier.html carries no player"
grep -q 'ludex-atelier.html' LISEZMOI.txt || die "LISEZMOI.txt does not name ludex-atelier.html"

out=$(wine_run ./ludex-pack.exe check examples/capitales.txt 2>&1) || die "check: $out"
out=$(wine_run ./ludex-pack.exe build examples/capitales.txt -o capitales.exe 2>&1) || die "build: $out"
# Its programs make web pages with no compiler present: the page carries the quiz.
out=$(wine_run ./ludex-pack.exe web capitales.exe -o capitales.html 2>&1) || die "web: $out"
grep -q '<title>Les capitales d&#39;Europe</title>' capitales.html || die "the page has no title of its quiz"
grep -q 'id="resource-104">[A-Za-z0-9+/]' capitales.html || die "the page carries no quiz"

# Starts a program of the folder, waits for its window (a title pattern),
# closes it with Alt+F4 and waits for the program to end.
open_and_close() {
  wine_run "$1" >/dev/null 2>&1 &
  player_pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "$2" 2>/dev/null | head -n 1)
  [ -n "$window" ] || die "$1: no window titled like $2"
  xdotool windowfocus --sync "$window" && xdotool key alt+F4 || die "$1: cannot close it"
  for _ in $(seq 100); do
    kill -0 "$player_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$player_pid" 2>/dev/null && die "$1 did not end after Alt+F4"
  player_pid=""
}
open_and_close ./capitales.exe "^Les capitales d'Europe\$"
open_and_close ./ludex-atelier.exe "Ludex Atelier\$"  # the editor of the zip opens on its own
echo "release zip: all checks passed"
