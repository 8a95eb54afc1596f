"""The web page's speed and size in headless Chromium, WebKitGTK and Firefox
(bench/web_page.sh runs it, under a display for WebKitGTK):
  - navigation start to ready (the page's performance mark 'ludex-ready',
    set once its quiz is shown and its answers restored), for 15 and 255
    questions, and 255 with every answer restored from local storage, against
    a bare page that builds the same elements, with the same style, from a
    plain array of texts with plain DOM code and no WebAssembly;
  - Enter to coloured verdict label on the 255-question page: the time from
    the Enter key event reaching the field until the label's computed colour
    is read, for each of the 255 fields (the mean of 20 Enters each);
  - the size of the sample capitales page;
  - in WebKitGTK and Firefox ESR, ready for 15 and 255 questions and Enter to
    coloured label, with fewer rounds (each of their starts takes seconds).
Every case and column runs once per round, interleaved, after a warm-up round.
  web_page.py LUDEX_PACK [ROUNDS]   (the native ludex-pack, which writes the pages)"""
import json
import os
import statistics
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, 'tests/web'))
from browser import Browser, make_page  # noqa: E402

BARE_SCRIPT = '''
(function () {
  const quiz = JSON.parse(document.getElementById('quiz').textContent);
  const make = (tag, className, text) => {
    const made = document.createElement(tag);
    made.className = className;
    if (text !== undefined) made.textContent = text;
    return made;
  };
  document.getElementById('title').textContent = quiz.title;
  document.getElementById('score').textContent = ' 0 / ' + quiz.questions.length;
  document.body.style.backgroundColor = 'rgb(90, 95, 150)';
  const kept = (localStorage.getItem('bare') || '').split('\\r\\n');
  const built = document.createDocumentFragment();
  quiz.questions.forEach((question, row) => {
    const line = make('div', 'row');
    const number = make('span', 'number', row + 1 + '.');
    number.id = 'number-' + (row + 1);
    const text = make('span', 'question', question);
    text.id = 'question-' + (row + 1);
    const answers = make('div', 'answers');
    const pair = make('span', 'answer');
    const field = document.createElement('input');
    field.type = 'text';
    field.className = 'field';
    field.id = 'field-' + (4001 + row);
    field.value = kept[row] || '';
    field.setAttribute('aria-labelledby', number.id + ' ' + text.id);
    const label = make('span', 'verdict fill-none', '?');
    label.id = 'label-' + (5001 + row);
    pair.append(field, label);
    answers.append(pair);
    line.append(number, text, answers);
    built.append(line);
  });
  document.getElementById('questions').append(built);
  document.querySelector('.field').focus({preventScroll: true});
  document.documentElement.dataset.ready = 'yes';
  performance.mark('ludex-ready');
})();
'''


def bare_page(folder, name, count):
    """The same elements and style as the page, from plain texts, no WebAssembly."""
    with open(os.path.join(ROOT, 'src/web/page.css'), encoding='utf-8') as file:
        style = file.read()
    quiz = {'title': "Banc d'essai du démarrage", 'questions': [question(i) for i in range(1, count + 1)]}
    html = ('<!DOCTYPE html><html lang="fr" data-ready="no"><head><meta charset="utf-8"><title>bare</title>'
            '<style>%s</style></head><body><header class="header"><div class="score-box"><div id="score" '
            'class="score"></div></div><div class="titles"><h1 id="title"></h1></div></header>'
            '<main id="questions" class="questions"></main><script type="application/json" id="quiz">%s</script>'
            '<script>%s</script></body></html>') % (style, json.dumps(quiz).replace('<', '\\u003c'), BARE_SCRIPT)
    path = os.path.join(folder, name)
    with open(path, 'w', encoding='utf-8') as file:
        file.write(html)
    return path


def question(i):
    return 'Question numéro %d : quel est le nombre qui suit %d ?' % (i, i - 1)


def source(count):
    lines = ["titre: Banc d'essai du démarrage", 'auteur:  Ludex', 'explication: %d questions.' % count]
    for i in range(1, count + 1):
        lines += ['question: ' + question(i), 'réponse: %d' % i, 'code: CODE%d' % i]
    return '\n'.join(lines) + '\n'


# Every field restored, every other one right: the answers file's lines.
FULL_ANSWERS = '\r\n'.join(str(i) if i % 2 else 'faux %d' % i for i in range(1, 256)) + '\r\n'


def storage_key(browser, page):
    """The local storage key the page keeps its answers under."""
    browser.open(page)
    browser.run('localStorage.clear(); window.dispatchEvent(new Event("pagehide"))')
    return browser.run('return Object.keys(localStorage).filter((k) => k.startsWith("ludex:"))[0]')


def ready_time(browser, page, stored):
    """Milliseconds from navigation start to the page's ready mark, with
    stored ({key: answers file text}) alone in local storage."""
    browser.run('localStorage.clear(); for (const [k, v] of Object.entries(arguments[0])) '
                'localStorage.setItem(k, v);', stored)
    browser.get('file://' + page)
    if browser.wait_ready() != 'yes':
        raise RuntimeError('%s did not start' % page)
    return browser.run('return performance.getEntriesByName("ludex-ready")[0].startTime')


def enter_to_label(browser, page, repeats=20):
    """For each field, the milliseconds from Enter to the coloured label: the
    mean of repeats Enters alternately right and wrong (the browser's clock
    counts in steps of 0.1 ms)."""
    browser.open(page)
    return browser.run('''
        const repeats = arguments[0];
        const times = [];
        for (const field of document.querySelectorAll('.field')) {
          const number = +field.id.slice(6) - 4000;
          const label = document.getElementById('label-' + (number + 5000));
          let spent = 0;
          for (let k = 0; k < repeats; ++k) {
            field.value = k % 2 ? 'faux' : String(number);
            field.dispatchEvent(new Event('input', {bubbles: true}));
            const start = performance.now();
            field.dispatchEvent(new KeyboardEvent('keyup', {key: 'Enter', bubbles: true}));
            getComputedStyle(label).backgroundColor;
            spent += performance.now() - start;
          }
          times.push(spent / repeats);
        }
        return times;''', repeats)


def main():
    tool = sys.argv[1]
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 9
    folder = tempfile.mkdtemp(prefix='ludex-web-bench.')
    pages = {}
    for count in (15, 255):
        pages[('ludex', count)] = make_page(tool, folder, 'quiz-%d' % count, source(count))
        pages[('bare', count)] = bare_page(folder, 'bare-%d.html' % count, count)
    capitales = make_page(tool, folder, 'capitales', open(os.path.join(ROOT, 'examples/capitales.txt'),
                                                          encoding='utf-8').read())
    browser = Browser(width=1100, height=800)
    try:
        stored = {'bare': FULL_ANSWERS, storage_key(browser, pages[('ludex', 255)]): FULL_ANSWERS}
        cases = [('15', 15, {}), ('255', 255, {}), ('255+answers', 255, stored)]
        times = {}
        print('load average at the start: %s' % ' '.join(open('/proc/loadavg').read().split()[:3]))
        for round_number in range(rounds + 1):
            for name, count, kept in cases:
                # Each column goes first in every other round: what a page leaves
                # behind (its unload, its memory) weighs on both alike.
                for column in ('bare', 'ludex') if round_number % 2 else ('ludex', 'bare'):
                    t = ready_time(browser, pages[(column, count)], kept)
                    if round_number > 0:
                        times.setdefault((name, column), []).append(t)
        enter = enter_to_label(browser, pages[('ludex', 255)])
        print('load average at the end:   %s' % ' '.join(open('/proc/loadavg').read().split()[:3]))
        print()
        print('navigation start to ready, medians of %d interleaved rounds (ms)' % rounds)
        print('%-12s %8s %8s %12s' % ('questions', 'bare', 'page', 'page/bare'))
        for name, _, _ in cases:
            bare, ludex = (statistics.median(times[(name, c)]) for c in ('bare', 'ludex'))
            print('%-12s %8.1f %8.1f %12.2f' % (name, bare, ludex, ludex / bare))
        print()
        print('Enter to coloured verdict label, 255 questions (ms): median %.3f, 90th percentile %.3f, max %.3f'
              % (statistics.median(enter), sorted(enter)[int(len(enter) * 0.9)], max(enter)))
        print('capitales page: %d bytes (%.1f KB)' % (os.path.getsize(capitales), os.path.getsize(capitales) / 1024))
    finally:
        browser.close()
    for engine in ('webkit', 'firefox'):
        other_engine(engine, pages, max(3, rounds // 3))


def other_engine(engine, pages, rounds):
    """Ready for 15 and 255 questions and Enter to coloured label in another engine."""
    browser = Browser(width=1100, height=800, engine=engine)
    try:
        browser.open(pages[('ludex', 15)])  # a page whose storage the rounds may clear
        times = {}
        for round_number in range(rounds + 1):
            for count in (15, 255):
                t = ready_time(browser, pages[('ludex', count)], {})
                if round_number > 0:
                    times.setdefault(count, []).append(t)
        enter = enter_to_label(browser, pages[('ludex', 255)], repeats=5)
        print()
        print('%s: navigation start to ready, medians of %d rounds (ms): 15 questions %.1f, 255 questions %.1f'
              % (engine, rounds, statistics.median(times[15]), statistics.median(times[255])))
        print('%s: Enter to coloured verdict label, 255 questions (ms): median %.3f, 90th percentile %.3f, max %.3f'
              % (engine, statistics.median(enter), sorted(enter)[int(len(enter) * 0.9)], max(enter)))
    finally:
        browser.close()


if __name__ == '__main__':
    main()
