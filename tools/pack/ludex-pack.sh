#!/usr/bin/env bash
# Runs the Windows build of ludex-pack through wine, with the same arguments.
# Usage: tools/pack/ludex-pack.sh check|build|extract ... (see --help)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
exe=${LUDEX_PACK_EXE:-$root/build/windows/tools/pack/ludex-pack.exe}
if [ ! -f "$exe" ]; then
  echo "ludex-pack.sh : il manque $exe ; construisez-le avec :" >&2
  echo "  cmake --preset windows && cmake --build build/windows --target ludex-pack ludex" >&2
  exit 2
fi
# The player's default place, seen from wherever the caller stands.
args=("$@")
if [ "${1:-}" = build ] && ! printf '%s\n' "$@" | grep -qx -- --player; then
  args+=(--player "$root/build/windows/ludex.exe")
fi
# wine reads no input here: keep its services off the caller's terminal.
run() { bash "$root/scripts/wine-run.sh" "$exe" "${args[@]}" </dev/null; }
# ludex-pack writes UTF-8 to a pipe or a file. Given a terminal, wine makes it
# a console of its own, whose accents survive only when the locale wine runs
# in (fr_FR.UTF-8) is generated on this machine: so a terminal gets the
# messages through a file. (A pipe would do too, but wine's services would
# hold it open a second after the end.)
if [ -t 1 ] || [ -t 2 ]; then
  log=$(mktemp "${TMPDIR:-/tmp}/ludex-pack.XXXXXX")
  trap 'rm -f "$log"' EXIT
  status=0
  if [ -t 1 ] && [ -t 2 ]; then
    run >"$log" 2>&1 || status=$?
    cat "$log"
  elif [ -t 2 ]; then
    run 2>"$log" || status=$?
    cat "$log" >&2
  else
    run >"$log" || status=$?
    cat "$log"
  fi
  exit "$status"
fi
run
