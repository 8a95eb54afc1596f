#!/usr/bin/env bash
# A quiz packed by the native ludex-pack, played end to end under wine: real
# key events typed into its answer fields, Alt+F4, then the answers file's
# exact bytes and the removal of ludex.mp3 from the current folder.
# Usage: play_test.sh NATIVE_LUDEX_PACK PLAYER_EXE PROBE_EXE QUIZ_SOURCE
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
pack=$(realpath "$1") player=$(realpath "$2") probe=$(realpath "$3") quiz=$(realpath "$4")

source "$root/tests/support/end_to_end.sh"
e2e_start e2e "$@"

# The program lies in one folder and runs from another: its answers file goes
# to the current folder, named after the program.
mkdir "$work/bin" "$work/run"
cp "$player" "$work/bin/player.exe"
cp "$quiz" "$work/bin/quiz.txt"
(cd "$work/bin" && "$pack" build quiz.txt -o "mon quiz.exe" --player player.exe >/dev/null 2>&1) ||
  die "packing the quiz"
cd "$work/run"
printf 'son' > ludex.mp3

wine_run "$work/bin/mon quiz.exe" >/dev/null 2>&1 &
player_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Essai de bout en bout$' 2>/dev/null | head -n 1)
[ -n "$window" ] || die "no player window"
xdotool windowfocus --sync "$window" || die "cannot focus the player window"

# The focus starts in the first answer field. Tab moves on; Enter judges.
xdotool type --delay 20 paris
xdotool key --delay 20 Tab shift+s eacute o u l Tab
xdotool type --delay 20 Naples
xdotool key --delay 20 Return Tab

# Two right answers, the accented one included: score 2 and the second code.
# The keys reach the player asynchronously: read until they have all landed
# (on a busy machine that takes seconds).
for _ in $(seq 100); do
  texts=$(wine_run "$probe" texts 5001 5002 32 30 2>&1 | tr -d '\r' | tr '\n' '|')
  [ "$texts" = "BRAVO|BRAVO| 2 / 4|DEUX|" ] && break
  sleep 0.2
done
[ "$texts" = "BRAVO|BRAVO| 2 / 4|DEUX|" ] || die "verdicts, score and code read \"$texts\""

xdotool key alt+F4
for _ in $(seq 100); do
  kill -0 "$player_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$player_pid" 2>/dev/null && die "the player did not end after Alt+F4"
wait "$player_pid" || die "the player's exit code is $?"
player_pid=""

expected=$'paris\r\nS\xe9oul\r\nNaples\r\n\r\n'
[ -f "mon quiz.txt" ] || die "no answers file \"mon quiz.txt\" in the current folder: $(ls)"
actual=$(od -An -c "mon quiz.txt" | tr -s ' \n' ' ')
cmp -s "mon quiz.txt" <(printf '%s' "$expected") ||
  die "answers file holds:$actual; expected:$(printf '%s' "$expected" | od -An -c | tr -s ' \n' ' ')"
[ -e ludex.mp3 ] && die "ludex.mp3 is still there"
[ -e "$work/bin/mon quiz.txt" ] && die "the answers file went beside the program"
echo "e2e: all checks passed"
