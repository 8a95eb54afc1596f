#!/usr/bin/env bash
# Judging accepted answers in the web page, in Chromium, WebKitGTK and Firefox
# (bench/accepted_page.py says what it measures), run as bench/web_page.sh runs
# its own.
# Usage: bench/accepted_page.sh [ROUNDS]   (default 5)
exec env LUDEX_PAGE_BENCH=accepted_page.py "$(dirname "$0")/web_page.sh" "$@"
