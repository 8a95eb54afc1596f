#!/usr/bin/env bash
# ludex-pack end to end: the native tool packs the first sample into the
# player (the Windows build of the tool, under wine, writes the same bytes),
# checks the resources by extracting them, checks that every failure leaves
# no output file, and starts the packed player under wine to see its caption.
# Usage: packed_player_test.sh NATIVE_LUDEX_PACK WINDOWS_LUDEX_PACK_EXE PLAYER_EXE EXAMPLES_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
native_pack=$1 windows_pack=$2 player=$3 examples=$4

source "$root/tests/support/end_to_end.sh"
e2e_start pack-test "$@"
cd "$work"
cp "$player" player.exe
cp "$examples/capitales.txt" quiz.txt
cp "$examples/capitales.txt" out.txt

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pack() { "$native_pack" "$@" </dev/null 2>&1; }

# --- success: build, extract, build the extract: the same resources ---
out=$(pack build quiz.txt -o packed.exe --player player.exe) || fail "build of the sample: $out"
[ "$out" = "quiz.txt: 15 questions emballées dans packed.exe" ] || fail "build summary: $out"
mv packed.exe quiz.exe
out=$(bash "$root/scripts/wine-run.sh" "$windows_pack" build quiz.txt -o windows.exe --player player.exe </dev/null 2>&1 |
  tr -d '\r') || fail "build by the Windows tool: $out"
[ "$out" = "quiz.txt: 15 questions emballées dans windows.exe" ] || fail "Windows tool's summary: $out"
cmp -s quiz.exe windows.exe || fail "the native and the Windows tools write different programs"
out=$(pack extract quiz.exe -o first.txt) || fail "extract: $out"
[ "$out" = "quiz.exe: source de 15 questions écrite dans first.txt" ] || fail "extract summary: $out"
out=$(pack build first.txt -o again.exe --player player.exe) || fail "build of the extract: $out"
out=$(pack extract again.exe -o second.txt) || fail "second extract: $out"
cmp -s quiz.exe again.exe || fail "the extracted source does not rebuild the same program"
diff <(tail -n +2 first.txt) <(tail -n +2 second.txt) >/dev/null || fail "extracting twice gives different sources"
grep -qx "titre: Les capitales d'Europe" first.txt || fail "the extract lost the title"
# Packing a packed program replaces its quiz instead of adding a second one.
out=$(pack build "$examples/chimie-deux-reponses.txt" -o repacked.exe --player quiz.exe) || fail "repack: $out"
out=$(pack extract repacked.exe) || fail "extract of the repacked program: $out"
grep -qx "titre: Les éléments chimiques" <<<"$out" || fail "the repacked program does not hold the new quiz"
# Accented file names, as French authors type them, keep their letters.
cp quiz.txt "géo-source.txt"
out=$(pack build "géo-source.txt" -o "Géographie.exe" --player player.exe) || fail "accented names: $out"
[ "$out" = "géo-source.txt: 15 questions emballées dans Géographie.exe" ] || fail "accented names summary: $out"
[ -f "Géographie.exe" ] || fail "no Géographie.exe, only: $(ls)"

# check tells how much of the player's room the quiz fills, in no word of bytes.
out=$(pack check quiz.txt) && grep -qE '^quiz.txt: 15 questions, sans erreur ; le quiz remplit [0-9]+ % de la place que lui laisse le lecteur$' <<<"$out" ||
  fail "check summary: $out"

# A bank of questions: import makes a source that builds; a quiz through GIFT and back keeps its questions.
printf '1;Capitale de la France ?;Paris;Lyon;Marseille\r\n2;Capitale du Japon ?;Tokyo;Kyoto;Osaka\r\n' > bank.csv
out=$(pack import bank.csv -o bank-source.txt) || fail "import: $out"
grep -qF "bank.csv: 2 questions importées dans bank-source.txt, colonnes lues d'après leurs cellules : laissée de côté, question, réponse, laissée de côté, laissée de côté" <<<"$out" ||
  fail "import summary: $out"
out=$(pack build bank-source.txt -o bank.exe --player player.exe) || fail "build of the import: $out"
out=$(pack export-gift quiz.txt -o quiz.gift) && out=$(pack import quiz.gift -o back.txt) || fail "GIFT and back: $out"
[ "$(grep -c '^question:' back.txt)" = 15 ] || fail "the GIFT bank lost questions: $(cat back.txt)"

# A code the player's field cuts: a warning that says what will show, and no failure.
printf 'titre: T\nquestion: Q\nreponse: R\ncode: \xc3\x89TINCELLE\n' > cut.txt
out=$(pack check cut.txt) && grep -qF "cut.txt:4: avertissement: le code s'affichera « ÉTINCEL »" <<<"$out" ||
  fail "fit warning: $out"

# --- failures: a message, a non-zero exit, and no output file touched ---
printf 'titre: T\nquestion: Q\nr\xc3\xa9ponse: a|b\ncode: C\n' > pipe.txt
printf 'titre: T\nquestion: Q\nreponse: R\n' > nocode.txt
cp "$player" unstripped.exe && printf 'x' > symbols.bin
python3 - unstripped.exe <<'EOF'
import struct, sys
path = sys.argv[1]
data = bytearray(open(path, 'rb').read())
pe = struct.unpack_from('<I', data, 0x3C)[0]
struct.pack_into('<II', data, pe + 4 + 8, len(data), 1)  # a symbol table pointer, as unstripped programs have
open(path, 'wb').write(bytes(data))
EOF
# name | arguments | words the message must hold
cases=(
  "pipe in a text|build pipe.txt -o out.exe --player player.exe|pipe.txt:3: erreur: caractère 11 : le caractère « | »"
  "the counts last|check pipe.txt|pipe.txt: 1 erreur, 0 avertissement"
  "a table given to check|check bank.csv|c'est un tableau de questions, pas une source de quiz : « ludex-pack import bank.csv"
  "missing code|build nocode.txt -o out.exe --player player.exe|nocode.txt:2: erreur: la question 1 n'a pas de ligne « code: »"
  "missing source|build absent.txt -o out.exe --player player.exe|impossible de lire absent.txt"
  "missing player|build quiz.txt -o out.exe --player absent.exe|impossible de lire le lecteur absent.exe"
  "unstripped player|build quiz.txt -o out.exe --player unstripped.exe|liez-le avec -s"
  "not a program|build quiz.txt -o out.exe --player quiz.txt|ce n'est pas un programme Windows"
  "no output given|build quiz.txt|build demande -o"
  "extract a bare player|extract player.exe -o out.exe|n'est pas un questionnaire Ludex"
  "unknown command|pack quiz.txt|commande inconnue pack"
  "answers file over the source|build out.txt -o out.exe --player player.exe|garderait les réponses des élèves dans out.txt"
)
for entry in "${cases[@]}"; do
  name=${entry%%|*}; rest=${entry#*|}; arguments=${rest%%|*}; words=${rest#*|}
  printf 'old' > out.exe
  # shellcheck disable=SC2086
  if out=$(pack $arguments); then
    fail "$name: exit 0"
  fi
  grep -qF -- "$words" <<<"$out" || fail "$name: message \"$out\" lacks \"$words\""
  [ "$(cat out.exe)" = old ] || fail "$name: out.exe was touched"
  ls ./*.tmp >/dev/null 2>&1 && fail "$name: a temporary file was left behind"
done
# The messages reach a pipe as UTF-8, accents included.
out=$(pack --help) && grep -q "écrit la source d'un quiz emballé" <<<"$out" || fail "--help: $out"

# --- the packed player shows the quiz title as its caption ---
bash "$root/scripts/wine-run.sh" quiz.exe </dev/null >/dev/null 2>&1 &
player_pid=$!
if window=$(timeout 60 xdotool search --sync --onlyvisible --name "^Les capitales d'Europe\$" 2>/dev/null | head -n 1) &&
   [ -n "$window" ]; then
  caption=$(xdotool getwindowname "$window")
  [ "$caption" = "Les capitales d'Europe" ] || fail "caption is \"$caption\""
else
  fail "no window captioned with the quiz title appeared"
fi
kill "$player_pid" 2>/dev/null
wait "$player_pid" 2>/dev/null
player_pid=""

if [ "$failures" -gt 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "packed player: all checks passed"
