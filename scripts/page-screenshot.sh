#!/usr/bin/env bash
# Retakes docs/page.png and docs/page-phone.png: the web page of
# examples/capitales.txt, with the answers of docs/screenshot.png taken back
# from an answers file, in headless Chromium 1100 pixels wide and 360 wide
# (a phone, scrolled down: the score stays in its bar at the top). Builds the
# native page tool (build/native) if need be.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake --build "$root/build/native" --target ludex-pack -j2 >/dev/null
work=$(mktemp -d /tmp/ludex-page-shot.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$root/build/native/tools/pack/ludex-pack" web "$root/examples/capitales.txt" -o "$work/capitales.html" >/dev/null
printf '%s\r\n' paris Madird Rome Lisbone Bern Bruxelles Amsterdam Zurich Vienne \
  "$(printf 'Ath\xe8nes')" Cracovie Stockholm "Oslo ville" "" Budapest > "$work/capitales.txt"
/usr/bin/python3 - "$root" "$work" <<'PYTHON'
import os, sys
root, work = sys.argv[1:3]
sys.path.insert(0, os.path.join(root, 'tests/web'))
from browser import Browser
for width, height, name, scroll in ((1100, 700, 'page.png', 0), (360, 740, 'page-phone.png', 420)):
    browser = Browser(width=width, height=height)
    try:
        browser.open(os.path.join(work, 'capitales.html'))
        browser.choose_file(os.path.join(work, 'capitales.txt'))
        browser.wait_text('message')
        browser.click('offer-yes')
        browser.run('document.getElementById("message-bar").hidden = true;'
                    'document.activeElement.blur(); window.scrollTo(0, arguments[0])', scroll)
        browser.driver.save_screenshot(os.path.join(root, 'docs', name))
        print('screenshot: docs/%s (%s, code %s)' % (name, browser.text('score'), browser.text('score-code')))
    finally:
        browser.close()
PYTHON
