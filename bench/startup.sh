#!/usr/bin/env bash
# Start-up benchmark under wine: the time from process creation until the
# program's window (and answer field 4001, when it has one) is visible and the
# program serves its message loop (bench/probe.cpp), for
#   - the empty window (bench/empty_window.cpp),
#   - the bare panel: the same rows of controls without a quiz (bench/bare_panel.cpp),
#   - the bare panel with a focus move per answer field,
#   - the player,
# with 15 and 255 questions, and 255 with a full answers file (every field
# restored, every other one right). Every program of every case runs once per
# round, rounds after one warm-up round; prints each median and the ratio of
# the player to the bare panel with focus moves.
# Usage: bench/startup.sh [ROUNDS]   (default 7; build folders:
#        LUDEX_BENCH_BUILD, default build/windows, and LUDEX_NATIVE_BUILD,
#        default build/native, whose ludex-pack packs the quizzes)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-7}
build_dir=$root/${LUDEX_BENCH_BUILD:-build/windows}
native_dir=$root/${LUDEX_NATIVE_BUILD:-build/native}
export LUDEX_WINEPREFIX=${LUDEX_WINEPREFIX:-/tmp/ludex-wine-$(id -u)}

if [ -z "${LUDEX_BENCH_INNER:-}" ]; then
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake --preset windows -B "$build_dir" >/dev/null
  fi
  if [ ! -f "$native_dir/CMakeCache.txt" ]; then
    cmake --preset native -B "$native_dir" >/dev/null
  fi
  cmake --build "$build_dir" --target ludex ludex-e2e-probe ludex-empty-window ludex-bare-panel -j2 >/dev/null
  cmake --build "$native_dir" --target ludex-pack -j2 >/dev/null
  exec env LUDEX_BENCH_INNER=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

work=$(mktemp -d /tmp/ludex-bench.XXXXXX)
cleanup() {
  WINEPREFIX=$LUDEX_WINEPREFIX wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
wine_run() { bash "$root/scripts/wine-run.sh" "$@" </dev/null; }

bash "$root/scripts/wine-services.sh"

cd "$work"
cp "$build_dir/ludex.exe" player.exe
cp "$build_dir/bench/ludex-empty-window.exe" empty.exe
cp "$build_dir/bench/ludex-bare-panel.exe" bare.exe
for n in 15 255; do
  {
    echo "titre: Banc d'essai du démarrage"
    echo "auteur:  Ludex"
    echo "explication: $n questions."
    for i in $(seq "$n"); do
      echo "question: Question numéro $i : quel est le nombre qui suit $((i - 1)) ?"
      echo "réponse: $i"
      echo "code: CODE$i"
    done
  } >"quiz-$n.txt"
  "$native_dir/tools/pack/ludex-pack" build "quiz-$n.txt" -o "q$n.exe" --player player.exe >/dev/null
done
# The player reads the answers file named after itself: full.exe reads full.txt.
cp q255.exe full.exe
for i in $(seq 255); do
  if [ $((i % 2)) -eq 1 ]; then printf '%s\r\n' "$i"; else printf 'faux %s\r\n' "$i"; fi
done >full-answers.txt

probe=$build_dir/bench/ludex-e2e-probe.exe
measure() {  # program, window class, [control id [arguments]]: milliseconds, or empty on failure
  rm -f q15.txt q255.txt            # the plain cases start without an answers file
  cp full-answers.txt full.txt      # closing the player rewrites it
  wine_run "$probe" startup "$@" 2>/dev/null | tr -d '\r'
}
median() { tr ' ' '\n' | grep . | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
least() { tr ' ' '\n' | grep . | sort -n | head -n 1; }

cases=("15" "255" "255+answers")
columns=(empty bare bare+focus player)
run_one() {  # case, column
  local n=${1%%+*} player=q${1%%+*}.exe
  [ "$1" = "255+answers" ] && player=full.exe
  case $2 in
    empty) measure empty.exe LudexEmptyWindow ;;
    bare) measure bare.exe LudexBarePanel 4001 "$n" ;;
    bare+focus) measure bare.exe LudexBarePanel 4001 "$n focus" ;;
    player) measure "$player" WindowsApp 4001 ;;
  esac
}

declare -A times
echo "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
for c in "${cases[@]}"; do for col in "${columns[@]}"; do run_one "$c" "$col" >/dev/null; done; done
for _ in $(seq "$rounds"); do
  for c in "${cases[@]}"; do
    for col in "${columns[@]}"; do
      t=$(run_one "$c" "$col")
      if [ -z "$t" ]; then
        echo "bench/startup.sh: a run failed ($c, $col)" >&2
        exit 1
      fi
      times[$c,$col]="${times[$c,$col]:-} $t"
    done
  done
done
# Wall times: a busy machine stretches every column, the longer runs more.
echo "load average at the end:   $(cut -d' ' -f1-3 /proc/loadavg)"
for c in "${cases[@]}"; do
  for col in "${columns[@]}"; do printf '%-12s %-11s (ms):%s\n' "$c" "$col" "${times[$c,$col]}"; done
done
# The fastest run of each, beside the medians, tells how much a busy machine
# stretched them.
for statistic in median least; do
  echo
  printf '%s of %d rounds (ms)\n' "$([ $statistic = median ] && echo medians || echo minima)" "$rounds"
  printf '%-12s %8s %8s %11s %8s %18s\n' questions empty bare bare+focus player "player/bare+focus"
  for c in "${cases[@]}"; do
    m=()
    for col in "${columns[@]}"; do m+=("$(echo "${times[$c,$col]}" | $statistic)"); done
    awk -v c="$c" -v e="${m[0]}" -v b="${m[1]}" -v f="${m[2]}" -v p="${m[3]}" \
      'BEGIN { printf "%-12s %8.1f %8.1f %11.1f %8.1f %18.2f\n", c, e, b, f, p, p / f }'
  done
done
