#!/usr/bin/env bash
# ludex-pack build of a 255-question quiz, end to end (process start, reading,
# packing, writing the program): the native tool, static as the Linux archive
# has it, beside the same tool linked against the system's shared libraries
# and the Windows tool under wine, in turns, after one warm-up run each,
# wine's services already up. Prints every time, then the medians and the
# minima, in milliseconds.
# Usage: bench/pack.sh [ROUNDS]   (default 11; build folders: LUDEX_BENCH_BUILD,
#        default build/windows, and LUDEX_NATIVE_BUILD, default build/native)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-11}
windows_dir=$root/${LUDEX_BENCH_BUILD:-build/windows}
native_dir=$root/${LUDEX_NATIVE_BUILD:-build/native}
export LUDEX_WINEPREFIX=${LUDEX_WINEPREFIX:-/tmp/ludex-wine-$(id -u)}

[ -f "$windows_dir/CMakeCache.txt" ] || cmake --preset windows -B "$windows_dir" >/dev/null
[ -f "$native_dir/CMakeCache.txt" ] || cmake --preset native -B "$native_dir" >/dev/null
cmake --build "$windows_dir" --target ludex ludex-pack -j2 >/dev/null
cmake --build "$native_dir" --target ludex-pack ludex-pack-dynamic -j2 >/dev/null

work=$(mktemp -d /tmp/ludex-bench-pack.XXXXXX)
cleanup() {
  WINEPREFIX=$LUDEX_WINEPREFIX wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
wine_run() { bash "$root/scripts/wine-run.sh" "$@" </dev/null; }
bash "$root/scripts/wine-services.sh"

cd "$work"
cp "$windows_dir/ludex.exe" player.exe
{
  echo "titre: Banc d'essai de ludex-pack"
  echo "auteur:  Ludex"
  echo "explication: 255 questions."
  echo "mode révélation: 2"
  for i in $(seq 255); do
    echo "question: Question numéro $i : quel est le nombre qui suit $((i - 1)) ?"
    echo "réponse: $i"
    echo "révélation: Après $((i - 1)) vient $i."
    echo "code: CODE$i"
  done
} >quiz.txt

milliseconds() {  # command...: its wall time
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || { echo "bench/pack.sh: a run failed: $*" >&2; exit 1; }
  end=$(date +%s%N)
  awk -v t=$((end - start)) 'BEGIN { printf "%.1f", t / 1e6 }'
}
static() { milliseconds "$native_dir/tools/pack/ludex-pack" build quiz.txt -o static.exe --player player.exe; }
dynamic() { milliseconds "$native_dir/bench/ludex-pack-dynamic" build quiz.txt -o dynamic.exe --player player.exe; }
windows() { milliseconds wine_run "$windows_dir/tools/pack/ludex-pack.exe" build quiz.txt -o wine.exe --player player.exe; }

static >/dev/null
dynamic >/dev/null
windows >/dev/null
cmp -s static.exe wine.exe && cmp -s dynamic.exe wine.exe ||
  { echo "bench/pack.sh: the tools wrote different programs" >&2; exit 1; }
echo "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
times_static="" times_dynamic="" times_wine=""
for _ in $(seq "$rounds"); do
  times_static="$times_static $(static)"
  times_dynamic="$times_dynamic $(dynamic)"
  times_wine="$times_wine $(windows)"
done
echo "load average at the end:   $(cut -d' ' -f1-3 /proc/loadavg)"
printf 'static  (ms):%s\ndynamic (ms):%s\nwine    (ms):%s\n' "$times_static" "$times_dynamic" "$times_wine"
median() { tr ' ' '\n' | grep . | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
least() { tr ' ' '\n' | grep . | sort -n | head -n 1; }
echo
printf '%-28s %10s %10s %10s %12s\n' "ludex-pack build, 255 q." static dynamic wine wine/static
for statistic in median least; do
  n=$(echo "$times_static" | $statistic) d=$(echo "$times_dynamic" | $statistic) w=$(echo "$times_wine" | $statistic)
  awk -v s="$statistic of $rounds (ms)" -v n="$n" -v d="$d" -v w="$w" \
    'BEGIN { printf "%-28s %10.1f %10.1f %10.1f %12.0f\n", s, n, d, w, w / n }'
done
