#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build, play and test Ludex
# (run first by scripts/play.sh and scripts/test.sh).
# Idempotent: packages already present are not fetched again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev zlib1g-dev
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 gcc-mingw-w64-i686 binutils-mingw-w64-i686 python3-pefile
  wine wine64 xvfb xdotool imagemagick x11-utils
  cmark-gfm locales
  emscripten chromium chromium-driver python3-selenium
  webkit2gtk-driver firefox-esr nodejs
)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  echo "setup: all packages present"
fi

# Wine names Linux files in the locale's character set: without a French
# UTF-8 locale, "Géo.exe" would be written as "GC)o.exe".
if ! locale -a 2>/dev/null | grep -qix 'fr_FR.utf8'; then
  echo "setup: generating the fr_FR.UTF-8 locale"
  $SUDO localedef -i fr_FR -f UTF-8 fr_FR.UTF-8
fi

# From npm into the build tree (never committed), for the browser tests
# only: axe-core, the accessibility rules they run in the page,
# puppeteer-core, which drives Firefox through WebDriver BiDi (no
# geckodriver is packaged), and scorm-again, the SCORM 1.2 run-time that
# plays the school's platform around the page.
npm_modules=$root/build/npm/node_modules
if [ ! -f "$npm_modules/axe-core/axe.min.js" ] || [ ! -f "$npm_modules/puppeteer-core/package.json" ] ||
   [ ! -f "$npm_modules/scorm-again/dist/scorm12.min.js" ]; then
  command -v npm >/dev/null || { $SUDO apt-get update -qq && $SUDO apt-get install -y -qq --no-install-recommends npm >/dev/null; }
  echo "setup: installing axe-core, puppeteer-core and scorm-again with npm into build/npm"
  mkdir -p "$root/build/npm"
  npm install --prefix "$root/build/npm" --no-audit --no-fund --silent axe-core@4.14.1 puppeteer-core@23.11.1 \
    scorm-again@3.4.3 >/dev/null 2>&1 ||
    echo "setup: npm could not install axe-core, puppeteer-core and scorm-again: the browser tests will fail" >&2
fi
