#!/usr/bin/env bash
# Prepares the project's wine prefix and starts wine's services with no pipe
# attached: a service that inherits a caller's output pipe would hold it open
# (ctest would wait on every test, a benchmark on every timed command).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${LUDEX_WINEPREFIX:-/tmp/ludex-wine-$(id -u)}"
bash "$here/wine-run.sh" cmd /c exit </dev/null >/dev/null 2>&1
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1 || true
bash "$here/wine-run.sh" cmd /c exit </dev/null >/dev/null 2>&1
