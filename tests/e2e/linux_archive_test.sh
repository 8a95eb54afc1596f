#!/usr/bin/env bash
# The native archive as a Linux author gets it: made by cpack from the native
# build, unpacked into an empty folder and used with nothing else. Its
# ludex-pack is static and stripped (no interpreter, no shared library: any
# x86_64 Linux runs it), its LISEZMOI.txt is the Linux one (UTF-8 without
# byte-order mark, LF, / in paths, the systems it runs on); ludex-pack finds
# the ludex.exe beside it, called by its path, through PATH and through a
# link; checks and builds a sample; the built quiz opens under wine.
# Usage: linux_archive_test.sh CPACK NATIVE_CPACK_CONFIG PLAYER_EXE
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
cpack=$1 config=$2 player=$3

source "$root/tests/support/end_to_end.sh"
e2e_start archive "$@"

"$cpack" --config "$config" -B "$work/package" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; die "cpack"; }
archive=$(ls "$work"/package/ludex-*-linux-*.tar.gz 2>/dev/null) || die "no ludex-<version>-linux-*.tar.gz: $(ls "$work/package")"
mkdir "$work/empty" "$work/elsewhere" && tar xzf "$archive" -C "$work/empty" || die "unpacking $archive"
cd "$work"/empty/ludex-*-linux-* || die "no top folder in the archive: $(ls "$work/empty")"
folder=$PWD
listing=$(find . -type f | sort | tr '\n' ' ')
expected="./LISEZMOI.txt ./ecrire-un-quiz.html ./examples/capitales.txt ./examples/chimie-deux-reponses.txt ./ludex-atelier.html ./ludex-pack ./ludex.exe "
[ "$listing" = "$expected" ] || die "the archive holds: $listing"
cmp -s ludex.exe "$player" || die "the archive's ludex.exe is not this build's player"
cmp -s ludex-atelier.html "$(dirname "$player")/tools/atelier/web/ludex-atelier.html" ||
  die "the archive's ludex-atelier.html is not this build's"
headers=$(readelf -d -l -S --wide ludex-pack 2>&1) || die "readelf: $headers"
grep -q "NEEDED" <<<"$headers" && die "ludex-pack needs shared libraries: $(grep NEEDED <<<"$headers")"
grep -q "INTERP" <<<"$headers" && die "ludex-pack asks for a program interpreter"
grep -q "There is no dynamic section" <<<"$headers" || die "ludex-pack has a dynamic section"
grep -q "\.symtab" <<<"$headers" && die "ludex-pack is not stripped"
grep -q $'\r' LISEZMOI.txt && die "LISEZMOI.txt has CR LF line ends"
[ "$(head -c 3 LISEZMOI.txt)" = $'\xef\xbb\xbf' ] && die "LISEZMOI.txt starts with a byte-order mark"
grep -q 'examples\\' LISEZMOI.txt && die "LISEZMOI.txt writes paths with \\"
for words in "Sur quels systèmes" "Linux 64 bits" "./ludex-pack build mon-quiz-source.txt" "Sur macOS" "ludex-atelier.html"; do
  grep -qF "$words" LISEZMOI.txt || die "LISEZMOI.txt does not say \"$words\""
done

out=$(./ludex-pack check examples/capitales.txt 2>&1) || die "check: $out"
cd "$work/elsewhere"
out=$("$folder/ludex-pack" build "$folder/examples/capitales.txt" -o capitales.exe 2>&1) || die "build by path: $out"
ln -s "$folder/ludex-pack" lien
out=$(./lien build "$folder/examples/capitales.txt" -o by-link.exe 2>&1) || die "build through a link: $out"
out=$(PATH="$folder:$PATH" ludex-pack build "$folder/examples/capitales.txt" -o by-path.exe 2>&1) ||
  die "build through PATH: $out"
cmp -s capitales.exe by-link.exe && cmp -s capitales.exe by-path.exe || die "the three builds differ"

bash "$root/scripts/wine-run.sh" ./capitales.exe </dev/null >/dev/null 2>&1 &
player_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name "^Les capitales d'Europe\$" 2>/dev/null | head -n 1)
[ -n "$window" ] || die "the built quiz shows no window"
echo "Linux archive: all checks passed"
