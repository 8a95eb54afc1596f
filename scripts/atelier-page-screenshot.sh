#!/usr/bin/env bash
# Retakes docs/atelier-navigateur.png: ludex-atelier.html in headless
# Chromium, 1280 pixels wide, with examples/capitales.txt open, the third
# question's reveal text too long (its counter red, its row marked, the error
# listed) and its code too wide for the player's field (the warning says
# what will show). Builds the page (windows preset) if need be.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake --build "$root/build/windows" --target ludex_atelier_html -j2 >/dev/null
/usr/bin/python3 - "$root" <<'PYTHON'
import os, sys, time
root = sys.argv[1]
sys.path.insert(0, os.path.join(root, 'tests/web'))
from browser import Browser
browser = Browser(width=1280, height=900)
try:
    browser.open(os.path.join(root, 'build/windows/tools/atelier/web/ludex-atelier.html'))
    browser.choose_file(os.path.join(root, 'examples/capitales.txt'), 'open-file')
    time.sleep(0.5)
    browser.click_at('#row-3 > td:nth-child(2)')
    browser.type('field-reveal', 'Elle entoure un autre État : le Vatican, le plus petit pays du monde, dont les '
                 'murs, les jardins, la basilique Saint-Pierre et ses musées, visités chaque année par des millions de '
                 'personnes, tiennent tout entiers dans la ville. Son pape y vit depuis des siècles.', key='')
    browser.type('field-code', 'ÉTINCELLE', key='')
    browser.run('document.activeElement.blur(); window.scrollTo(0, 0)')
    browser.driver.save_screenshot(os.path.join(root, 'docs', 'atelier-navigateur.png'))
    print('screenshot: docs/atelier-navigateur.png (%s)' % browser.text('summary'))
finally:
    browser.close()
PYTHON
