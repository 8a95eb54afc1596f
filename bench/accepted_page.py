"""Judging a field with accepted answers in the web page, in headless
Chromium, WebKitGTK and Firefox (bench/accepted_page.sh runs it): the time
from the Enter key event reaching the field until its verdict label's
computed colour is read, for the dearest field of a 255-question quiz: a
259-character expected answer with 1 or 16 accepted answers as long, and a
typed text at the verdict's largest computed distance from each of them (so
that none is right and every one is measured). Medians of interleaved rounds.
  accepted_page.py LUDEX_PACK [ROUNDS]"""
import os
import statistics
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), 'tests/web'))
from browser import Browser, make_page  # noqa: E402

EXPECTED = ''.join(chr(ord('A') + (258 - i) % 13) for i in range(259))
TYPED = ''.join('z' if i >= 7 and (i - 7) % 5 == 0 else c for i, c in enumerate(EXPECTED))


def source(accepted):
    lines = ['titre: Banc des r\u00e9ponses accept\u00e9es', 'question: La plus ch\u00e8re',
             'r\u00e9ponse: ' + EXPECTED, 'code: C1']
    lines += ['aussi: ' + EXPECTED[:3 + k] + 'y' + EXPECTED[4 + k:] for k in range(accepted)]
    for i in range(2, 256):
        lines += ['question: Question %d' % i, 'r\u00e9ponse: %d' % i, 'code: C%d' % i]
    return '\n'.join(lines) + '\n'


def enter_times(browser, page, batches, per_batch=10):
    """Per Enter, the mean over each batch of Enters (a browser's clock may
    count in whole milliseconds)."""
    browser.open(page)
    return browser.run('''
        const field = document.getElementById('field-4001');
        const label = document.getElementById('label-5001');
        const times = [];
        for (let b = 0; b < arguments[1]; ++b) {
          let spent = 0;
          for (let k = 0; k < arguments[2]; ++k) {
            field.value = arguments[0];
            field.dispatchEvent(new Event('input', {bubbles: true}));
            const start = performance.now();
            field.dispatchEvent(new KeyboardEvent('keyup', {key: 'Enter', bubbles: true}));
            getComputedStyle(label).backgroundColor;
            spent += performance.now() - start;
          }
          times.push(spent / arguments[2]);
        }
        return times;''', TYPED, batches, per_batch)


def measure(engine, pages, rounds, repeats):
    browser = Browser(width=1100, height=800, engine=engine)
    try:
        times = {1: [], 16: []}
        for round_number in range(rounds + 1):
            for count in (1, 16) if round_number % 2 else (16, 1):
                measured = enter_times(browser, pages[count], repeats)
                if round_number > 0:
                    times[count] += measured
        one, sixteen = (statistics.median(times[c]) for c in (1, 16))
        print('%-8s Enter to coloured label, dearest field (ms): 1 accepted %.3f, 16 accepted %.3f'
              % (engine, one, sixteen))
    finally:
        browser.close()


def main():
    tool = sys.argv[1]
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    folder = tempfile.mkdtemp(prefix='ludex-accepted-bench.')
    pages = {count: make_page(tool, folder, 'accepted-%d' % count, source(count)) for count in (1, 16)}
    print('load average at the start: %s' % ' '.join(open('/proc/loadavg').read().split()[:3]))
    measure('chromium', pages, rounds, 10)
    for engine in ('webkit', 'firefox'):
        measure(engine, pages, max(2, rounds // 2), 4)


if __name__ == '__main__':
    main()
