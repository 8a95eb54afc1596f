#!/usr/bin/env bash
# Runs every libFuzzer target of build/fuzz for SECONDS each on a copy of its
# seed corpus (the kept seeds stay as they are), with a memory limit: an input
# that makes a target hold more than LUDEX_FUZZ_RSS_MB (default 1024) is a
# finding. Usage: fuzz.sh SECONDS [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-15}; shift || true
rss_mb=${LUDEX_FUZZ_RSS_MB:-1024}
list=build/fuzz/fuzz-targets.txt
[ -f "$list" ] || { echo "fuzz.sh: build the fuzz preset first" >&2; exit 2; }
status=0
while IFS='=' read -r name corpus; do
  [ -n "$name" ] || continue
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$name"; then continue; fi
  work=$(mktemp -d)
  IFS=':' read -ra folders <<<"$corpus"
  for folder in "${folders[@]}"; do cp -r "$folder"/. "$work"/ 2>/dev/null || true; done
  exe=$(find build/fuzz -type f -name "$name" -perm -u+x | head -n 1)
  echo "fuzz: $name for ${seconds}s"
  if ! "$exe" -max_total_time="$seconds" -rss_limit_mb="$rss_mb" -print_final_stats=1 "$work" >"$work.log" 2>&1; then
    echo "fuzz: $name FOUND A PROBLEM"; tail -n 40 "$work.log"; status=1
  fi
  grep -E 'stat::number_of_executed_units' "$work.log" | sed "s/^/fuzz: $name /" || true
  rm -rf "$work" "$work.log"
done <"$list"
exit $status
