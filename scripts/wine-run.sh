#!/usr/bin/env bash
# Runs a Windows program under wine in the project's throw-away prefix.
# Used as CMake's cross-compiling emulator and by the play and test scripts.
set -euo pipefail
export WINEPREFIX="${LUDEX_WINEPREFIX:-/tmp/ludex-wine-$(id -u)}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export HOME="${LUDEX_WINE_HOME:-$WINEPREFIX.home}"
mkdir -p "$HOME"

# First use: make the prefix once, under a lock, so parallel callers wait for it.
if [ ! -f "$WINEPREFIX/.ludex-ready" ]; then
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.ludex-ready" ]; then
    env LC_ALL=fr_FR.UTF-8 wineboot --init >/dev/null 2>&1 </dev/null || true
    env LC_ALL=fr_FR.UTF-8 wineserver -w
    # No window manager under Xvfb: don't wait for one when windows hide.
    env LC_ALL=fr_FR.UTF-8 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
      >/dev/null 2>&1 </dev/null || true
    env LC_ALL=fr_FR.UTF-8 wineserver -w
    touch "$WINEPREFIX/.ludex-ready"
  fi
  exec 9>&-
fi

# Windows-1252 as the ANSI code page, French user locale.
exec env LC_ALL=fr_FR.UTF-8 wine "$@"
