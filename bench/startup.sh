#!/usr/bin/env bash
# Start-up benchmark under wine: the time from process creation until the first
# answer field of a 255-question quiz is visible and the player serves its
# message loop, against an empty Win32 window measured the same way (see
# bench/probe.cpp). Runs interleaved, after one warm-up run of each; prints
# both medians and their ratio.
# Usage: bench/startup.sh [RUNS]   (default 11; build folder:
#        LUDEX_BENCH_BUILD, default build/windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-11}
build_dir=$root/${LUDEX_BENCH_BUILD:-build/windows}
export LUDEX_WINEPREFIX=${LUDEX_WINEPREFIX:-/tmp/ludex-wine-$(id -u)}

if [ -z "${LUDEX_BENCH_INNER:-}" ]; then
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake --preset windows -B "$build_dir" >/dev/null
  fi
  cmake --build "$build_dir" --target ludex ludex-pack ludex-e2e-probe ludex-empty-window -j2 >/dev/null
  exec env LUDEX_BENCH_INNER=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

work=$(mktemp -d /tmp/ludex-bench.XXXXXX)
cleanup() {
  WINEPREFIX=$LUDEX_WINEPREFIX wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
wine_run() { bash "$root/scripts/wine-run.sh" "$@" </dev/null; }

# Wine's services first, with no pipe attached (they would hold ours open).
wine_run cmd /c exit >/dev/null 2>&1
WINEPREFIX=$LUDEX_WINEPREFIX wineserver -w
WINEPREFIX=$LUDEX_WINEPREFIX wineserver -p || true
wine_run cmd /c exit >/dev/null 2>&1

cd "$work"
{
  echo "titre: Banc d'essai du démarrage"
  echo "auteur:  Ludex"
  echo "explication: 255 questions."
  for i in $(seq 255); do
    echo "question: Question numéro $i : quel est le nombre qui suit $((i - 1)) ?"
    echo "réponse: $i"
    echo "code: CODE$i"
  done
} > quiz-255.txt
cp "$build_dir/ludex.exe" player.exe
cp "$build_dir/bench/ludex-empty-window.exe" empty.exe
wine_run "$build_dir/tools/pack/ludex-pack.exe" build quiz-255.txt -o bench.exe --player player.exe >/dev/null 2>&1

probe=$build_dir/bench/ludex-e2e-probe.exe
measure() {  # program, window class, [control id]: milliseconds, or empty on failure
  rm -f bench.txt  # every run starts without an answers file
  wine_run "$probe" startup "$@" 2>/dev/null | tr -d '\r'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure bench.exe WindowsApp 4001 >/dev/null
measure empty.exe LudexEmptyWindow >/dev/null
player_times=() empty_times=()
for _ in $(seq "$runs"); do
  player_times+=("$(measure bench.exe WindowsApp 4001)")
  empty_times+=("$(measure empty.exe LudexEmptyWindow)")
done
for t in "${player_times[@]}" "${empty_times[@]}"; do
  if [ -z "$t" ]; then
    echo "bench-startup: a run failed" >&2
    exit 1
  fi
done

player=$(printf '%s\n' "${player_times[@]}" | median)
empty=$(printf '%s\n' "${empty_times[@]}" | median)
echo "player, 255 questions (ms): ${player_times[*]}"
echo "empty window (ms):          ${empty_times[*]}"
# Wall times: a busy machine stretches both, the player more (it runs longer).
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
awk -v p="$player" -v e="$empty" -v n="$runs" 'BEGIN {
  printf "median over %d runs: player %.1f ms, empty window %.1f ms, ratio %.2f\n", n, p, e, p / e }'
