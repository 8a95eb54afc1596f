# Sourced by the end-to-end scripts. e2e_start NAME "$@" runs the script again
# inside Xvfb when there is no display, then makes its work folder ($work,
# /tmp/ludex-NAME.*), removed on exit with the program it started
# ($player_pid) stopped. die stops the script; wine_run runs a Windows
# program in the project's wine prefix, with no input.
e2e_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

e2e_cleanup() {
  [ -n "$player_pid" ] && kill "$player_pid" 2>/dev/null
  rm -rf "$work"
}

e2e_start() {
  local name=$1
  shift
  if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
  fi
  work=$(mktemp -d "/tmp/ludex-$name.XXXXXX")
  player_pid=""
  trap e2e_cleanup EXIT
}

die() { echo "FAIL: $*"; exit 1; }
wine_run() { bash "$e2e_root/scripts/wine-run.sh" "$@" </dev/null; }
