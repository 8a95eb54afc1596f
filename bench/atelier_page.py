"""Ludex Atelier in a browser, its speed and size in headless Chromium
(bench/atelier_page.sh runs it):
  - a 255-question source opened until its list is shown: from the file's
    choice to the page's mark once the list is drawn ('ludex-atelier-file'
    to 'ludex-atelier-shown'), in a warm browser (the editor opened afresh
    each round, after a warm-up round);
  - the program of that quiz built: from the click on "Créer le programme"
    to its download offered ('ludex-atelier-command' to 'ludex-atelier-offered'),
    the first build of a session (the player unpacked) and the next ones;
  - the size of ludex-atelier.html.
  atelier_page.py ATELIER_HTML [ROUNDS]"""
import os
import statistics
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, 'tests/web'))
sys.path.insert(0, os.path.join(ROOT, 'tests/atelier'))
from browser import Browser  # noqa: E402


def source(count):
    lines = ['titre: Un grand quiz', 'auteur: M. Test', 'mode révélation: 2']
    for k in range(1, count + 1):
        lines += ['question: Question numéro %d, en français ?' % k, 'réponse: Réponse %d' % k,
                  'révélation: Un texte révélé, le %de.' % k, 'code: C%d' % (k % 97)]
    return '\n'.join(lines) + '\n'


def between(browser, start, end):
    return browser.run('const s = performance.getEntriesByName(arguments[0]).pop(), '
                       'e = performance.getEntriesByName(arguments[1]).pop(); return e.startTime - s.startTime',
                       start, end)


def wait(browser, script, seconds=20):
    end = time.time() + seconds
    while time.time() < end and not browser.run(script):
        time.sleep(0.02)


def main():
    page = os.path.abspath(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 9
    folder = tempfile.mkdtemp(prefix='ludex-atelier-bench.')
    quiz = os.path.join(folder, 'grand.txt')
    with open(quiz, 'w', encoding='utf-8') as file:
        file.write(source(255))
    browser = Browser(width=1280, height=900)
    opened, first, again = [], [], []
    try:
        print('load average at the start: %s' % ' '.join(open('/proc/loadavg').read().split()[:3]))
        for round_number in range(rounds + 1):
            browser.run('try { localStorage.clear(); } catch (e) {}')
            browser.get('file://' + page)
            browser.wait_ready()
            browser.choose_file(quiz, 'open-file')
            wait(browser, 'return performance.getEntriesByName("ludex-atelier-shown").length > 0')
            builds = []
            for _ in range(3):
                browser.run('performance.clearMarks("ludex-atelier-offered")')
                browser.click('build-exe')
                wait(browser, 'return document.getElementById("prompt").open')
                builds.append(between(browser, 'ludex-atelier-command', 'ludex-atelier-offered'))
                browser.click('prompt-ok')
            if round_number > 0:
                opened.append(between(browser, 'ludex-atelier-file', 'ludex-atelier-shown'))
                first.append(builds[0])
                again += builds[1:]
            browser.run('window.addEventListener("beforeunload", (e) => e.stopImmediatePropagation(), true)')
        print('load average at the end:   %s' % ' '.join(open('/proc/loadavg').read().split()[:3]))
    finally:
        browser.close()
    print()
    print('Chromium, medians of %d rounds (ms):' % rounds)
    print('  255-question source, chosen to list shown   %7.1f   (at most 300)' % statistics.median(opened))
    print('  its program built, first of the session     %7.1f   (at most 100)' % statistics.median(first))
    print('  its program built again                     %7.1f' % statistics.median(again))
    print('ludex-atelier.html: %d bytes (%.1f KB, at most 700)' % (os.path.getsize(page), os.path.getsize(page) / 1024))


if __name__ == '__main__':
    main()
