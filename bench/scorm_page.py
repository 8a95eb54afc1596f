"""The quiz page inside a school's platform against the same page alone, in
headless Chromium (bench/scorm_page.sh runs it): navigation start to ready
(the page's mark 'ludex-ready', on the page's own clock: in the frame, from
the frame's navigation start) for the page of a SCORM package served from
127.0.0.1, opened alone and framed by the test platform (scorm-again with
Moodle's strict limits, tests/web/scorm_host.html), for 15 and 255 questions,
and 255 with every answer restored (alone: from local storage; framed: from
the platform's suspend_data, and the browser's copy of the same answers).
Each case and column runs once per round, interleaved, after a warm-up round.
  scorm_page.py LUDEX_PACK [ROUNDS]   (the native ludex-pack, which writes the packages)"""
import functools
import http.server
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, 'tests/web'))
from browser import Browser  # noqa: E402


def source(count):
    lines = ["titre: Banc d'essai dans l'ENT", 'auteur: Ludex']
    for i in range(1, count + 1):
        lines += ['question: Question numéro %d : quel est le nombre qui suit %d ?' % (i, i - 1), 'réponse: %d' % i,
                  'code: CODE%d' % i]
    return '\n'.join(lines) + '\n'


def package(tool, folder, name, count):
    """The package's page, unzipped into folder/name; its path on the site."""
    with open(os.path.join(folder, name + '.txt'), 'w', encoding='utf-8') as file:
        file.write(source(count))
    subprocess.run([tool, 'scorm', name + '.txt', '-o', name + '.zip'], cwd=folder, check=True, capture_output=True)
    with zipfile.ZipFile(os.path.join(folder, name + '.zip')) as archive:
        archive.extractall(os.path.join(folder, name))
        return name + '/' + archive.namelist()[1]


def ready(browser, base, page, framed, kept, saved):
    """Milliseconds from navigation start to ready, with kept ({key: answers
    file}) alone in local storage and, framed, saved what the platform holds."""
    browser.get(base + 'host.html')
    browser.run('localStorage.clear(); for (const [k, v] of Object.entries(arguments[0])) localStorage.setItem(k, v);',
                kept)
    if framed:
        browser.run('start("scorm-again", arguments[0], arguments[1])', saved, page)
        probe = 'const d = document.getElementById("sco").contentDocument, w = d && d.defaultView;'
    else:
        browser.get(base + page)
        probe = 'const d = document, w = window;'
    end = time.time() + 30
    while time.time() < end:
        mark = browser.run(probe + 'const m = w && w.performance.getEntriesByName("ludex-ready")[0];'
                           'return m ? m.startTime : null')
        if mark is not None:
            return mark
        time.sleep(0.02)
    raise RuntimeError('%s did not start' % page)


def main():
    tool = os.path.abspath(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 9
    folder = tempfile.mkdtemp(prefix='ludex-scorm-bench.')
    shutil.copy(os.path.join(ROOT, 'tests/web/scorm_host.html'), os.path.join(folder, 'host.html'))
    shutil.copy(os.path.join(ROOT, 'build/npm/node_modules/scorm-again/dist/scorm12.min.js'), folder)
    pages = {count: package(tool, folder, 'quiz-%d' % count, count) for count in (15, 255)}
    quiet = type('Quiet', (http.server.SimpleHTTPRequestHandler,), {'log_message': lambda *a: None})
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = 'http://127.0.0.1:%d/' % server.server_port
    browser = Browser(width=1100, height=800)
    try:
        # One session answers every question: what the platform and the browser then hold.
        browser.get(base + 'host.html')
        browser.run('localStorage.clear(); start("scorm-again", null, arguments[0])', pages[255])
        ready(browser, base, pages[255], True, {}, None)
        browser.get(base + 'host.html')
        browser.run('start("scorm-again", null, arguments[0])', pages[255])
        time.sleep(1)
        browser.run('''const d = document.getElementById("sco").contentDocument;
            for (const field of d.querySelectorAll('.field')) {
              field.value = String(+field.id.slice(6) - 4000);
              field.dispatchEvent(new Event('input', {bubbles: true}));
              field.dispatchEvent(new KeyboardEvent('keyup', {key: 'Enter', bubbles: true}));
            }''')
        time.sleep(0.5)
        browser.run('document.getElementById("sco").src = "about:blank"')
        time.sleep(0.5)
        saved = browser.run('return state().cmi')
        kept = browser.run('return Object.fromEntries(Object.entries(localStorage))')
        alone = {key.rsplit(':', 1)[0]: value for key, value in kept.items()}  # the key without the pupil's
        cases = [('15', 15, {}, {}, None), ('255', 255, {}, {}, None), ('255+answers', 255, alone, kept, saved)]
        times = {}
        print('load average at the start: %s' % ' '.join(open('/proc/loadavg').read().split()[:3]))
        for round_number in range(rounds + 1):
            for name, count, plain_kept, framed_kept, held in cases:
                for framed in (False, True) if round_number % 2 else (True, False):
                    t = ready(browser, base, pages[count], framed, framed_kept if framed else plain_kept, held)
                    if round_number > 0:
                        times.setdefault((name, framed), []).append(t)
        print('load average at the end:   %s' % ' '.join(open('/proc/loadavg').read().split()[:3]))
        print()
        print('navigation start to ready, medians of %d interleaved rounds (ms)' % rounds)
        print('%-12s %8s %8s %14s' % ('questions', 'alone', 'framed', 'framed/alone'))
        for name, _, _, _, _ in cases:
            alone_time, framed_time = (statistics.median(times[(name, f)]) for f in (False, True))
            print('%-12s %8.1f %8.1f %14.2f' % (name, alone_time, framed_time, framed_time / alone_time))
        print('platform text of the 255 answers: %d characters' % len(saved['suspend_data']))
        print('package of 255 questions: %d bytes' % os.path.getsize(os.path.join(folder, 'quiz-255.zip')))
    finally:
        browser.close()
        server.shutdown()
        server.server_close()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == '__main__':
    main()
