#!/usr/bin/env bash
# Runs the Windows build of ludex-pack through wine, with the same arguments.
# Usage: tools/pack/ludex-pack.sh check|build|extract ... (see --help)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
exe=${LUDEX_PACK_EXE:-$root/build/windows/tools/pack/ludex-pack.exe}
if [ ! -f "$exe" ]; then
  echo "ludex-pack.sh: $exe is missing; build it with:" >&2
  echo "  cmake --preset windows && cmake --build build/windows --target ludex-pack ludex" >&2
  exit 2
fi
# The player's default place, seen from wherever the caller stands.
args=("$@")
if [ "${1:-}" = build ] && ! printf '%s\n' "$@" | grep -qx -- --player; then
  args+=(--player "$root/build/windows/ludex.exe")
fi
# wine reads no input here: keep its services off the caller's terminal.
exec bash "$root/scripts/wine-run.sh" "$exe" "${args[@]}" </dev/null
