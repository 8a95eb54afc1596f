#!/usr/bin/env bash
# Installs what is missing (scripts/setup.sh, as test.sh does), builds the
# player (windows preset) and ludex-pack (native preset), packs a sample quiz
# and plays it under wine. Without a display it runs headless: it waits for the
# window, saves a screenshot to build/play-screenshot.png and closes the player.
# With --web it writes the quiz's web page instead (ludex-pack web) and opens
# it in Chromium; without a display it saves build/play-web-screenshot.png.
# Usage: scripts/play.sh [--web] [QUIZ_SOURCE]   (default: examples/capitales.txt)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
web=""
if [ "${1:-}" = --web ]; then
  web=1
  shift
fi
# A fresh machine first gets what the build and wine need (idempotent).
[ -n "${LUDEX_PLAY_INNER:-}" ] || bash "$here/scripts/setup.sh"
source_file=$(realpath "${1:-$here/examples/capitales.txt}")
cd "$here"
root=$PWD
build_dir=${LUDEX_PLAY_BUILD:-build/windows}
native_dir=${LUDEX_NATIVE_BUILD:-build/native}
export LUDEX_WINEPREFIX=${LUDEX_WINEPREFIX:-/tmp/ludex-wine-$(id -u)}

quiz_exe=$root/build/play/$(basename "${source_file%.*}").exe
if [ -z "${LUDEX_PLAY_INNER:-}" ]; then
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake --preset windows -B "$build_dir" >/dev/null
  fi
  if [ ! -f "$native_dir/CMakeCache.txt" ]; then
    cmake --preset native -B "$native_dir" >/dev/null
  fi
  cmake --build "$build_dir" --target ludex -j2
  cmake --build "$native_dir" --target ludex-pack -j2
  mkdir -p "$(dirname "$quiz_exe")"
  if [ -n "$web" ]; then
    page=${quiz_exe%.exe}.html
    "$native_dir/tools/pack/ludex-pack" web "$source_file" -o "$page"
    if [ -n "${DISPLAY:-}" ]; then
      echo "play: $page"
      exec chromium $([ "$(id -u)" -eq 0 ] && echo --no-sandbox) "file://$page"
    fi
    # Headless: the page as a desktop browser shows it, from a throw-away profile.
    profile=$(mktemp -d /tmp/ludex-play-web.XXXXXX)
    chromium --headless=new --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
      --disable-component-update --disable-sync --user-data-dir="$profile" --hide-scrollbars \
      --window-size=1100,800 --screenshot="$root/build/play-web-screenshot.png" "file://$page" >/dev/null 2>&1
    rm -rf "$profile"
    echo "play: screenshot saved to $root/build/play-web-screenshot.png"
    exit 0
  fi
  "$native_dir/tools/pack/ludex-pack" build "$source_file" -o "$quiz_exe" --player "$build_dir/ludex.exe"
fi
title=$(sed -n 's/^[[:space:]]*titre:[[:space:]]\{0,1\}//p' "$source_file" | head -n 1 | tr -d '\r')

# The player saves its answers file into the current folder: play in build/play.
cd "$(dirname "$quiz_exe")"
if [ -n "${DISPLAY:-}" ] && [ -z "${LUDEX_PLAY_INNER:-}" ]; then
  echo "play: $quiz_exe"
  exec bash "$root/scripts/wine-run.sh" "$quiz_exe"
fi

if [ -z "${LUDEX_PLAY_INNER:-}" ]; then
  exec env LUDEX_PLAY_INNER=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$root/scripts/play.sh" "$source_file"
fi

# Headless: show it, photograph it, close it.
bash "$root/scripts/wine-run.sh" "$quiz_exe" </dev/null >/dev/null 2>&1 &
player_pid=$!
trap 'kill "$player_pid" 2>/dev/null || true' EXIT
# xdotool takes a regular expression: escape the title's special characters.
pattern=$(printf '%s' "$title" | sed 's/[][\.*^$(){}?+|/]/\\&/g')
if ! timeout 60 xdotool search --sync --onlyvisible --name "^$pattern\$" >/dev/null 2>&1; then
  echo "play: no window captioned \"$title\" appeared" >&2
  exit 1
fi
sleep 1  # let the panels paint
import -window root "$root/build/play-screenshot.png"
kill "$player_pid" 2>/dev/null || true
wait "$player_pid" 2>/dev/null || true
trap - EXIT
echo "play: screenshot saved to $root/build/play-screenshot.png"
