"""The web page in real browsers, one suite of one engine per ctest entry:
  browser_test.py LUDEX_PACK VERDICT_TOOL ENGINE SUITE
ENGINE is chromium, webkit (under a display: xvfb-run) or firefox; Play,
Answers and Kept run on all three, Phone on Chromium and Firefox, Limits,
Verdicts and Access on Chromium. Pages are made from sources by this build's
native ludex-pack web; VERDICT_TOOL gives the program's verdicts to compare
with the page's."""
import json
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

from selenium.common.exceptions import NoAlertPresentException
from selenium.webdriver.common.by import By

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Browser, make_page, quiz_source  # noqa: E402

PACK = sys.argv[1] if len(sys.argv) > 1 else ''
VERDICT_TOOL = sys.argv[2] if len(sys.argv) > 2 else ''
ENGINE = sys.argv[3] if len(sys.argv) > 3 else 'chromium'
EXAMPLES = os.environ.get('LUDEX_EXAMPLES', os.path.join(os.path.dirname(__file__), '../../examples'))
GREEN, RED, ORANGE, GOLD, NONE = ('rgb(0, 255, 0)', 'rgb(255, 0, 0)', 'rgb(255, 100, 0)', 'rgb(255, 203, 38)',
                                  'rgb(240, 240, 240)')
WORD_COLOURS = {'BRAVO': GREEN, 'FAUX': RED, 'Anagramme': ORANGE, '?': NONE}
UNCHANGED = "Vos réponses n'ont pas changé."
# Headless Firefox driven over WebDriver BiDi moves the focus without focus
# events: there, a field is judged with Enter instead of by leaving it.
FOCUS_EVENTS = ENGINE != 'firefox'
LEAVE = 'Tab' if FOCUS_EVENTS else 'Enter'
# Fills the page's storage until the browser refuses more.
FILL_STORAGE = """
    for (const size of [1 << 20, 1 << 12, 64, 1]) {
      try { for (let k = 0; k < 100000; ++k) localStorage.setItem('f' + size + '.' + k, 'x'.repeat(size)); }
      catch (full) {}
    }"""


def example(name):
    with open(os.path.join(EXAMPLES, name), encoding='utf-8') as file:
        return file.read()


class PageTest(unittest.TestCase):
    width = 1100

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix='ludex-page-test.')
        cls.browser = Browser(width=cls.width, engine=ENGINE)
        cls.driver = cls.browser.driver  # selenium's, for Chromium-only checks

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def setUp(self):
        # Each test starts with nothing kept: the pages of a suite share one storage.
        self.browser.get('file://' + self.file('blank.html', b'<!DOCTYPE html><title>vide</title>'))
        self.browser.run('localStorage.clear()')

    def page(self, name, source):
        return make_page(PACK, self.folder, name, source)

    def open(self, page, browser=None):
        self.assertEqual((browser or self.browser).open(page), 'yes')

    def type(self, field_id, text, key='Enter'):
        self.browser.type('field-%d' % field_id, text, key)

    def field_values(self, count, browser=None):
        return [(browser or self.browser).value('field-%d' % (4001 + k)) for k in range(count)]

    def labels(self, count, browser=None):
        return [(browser or self.browser).text('label-%d' % (5001 + k)) for k in range(count)]

    def expect_label(self, field_id, word):
        label = 'label-%d' % (field_id + 1000)
        self.assertEqual(self.browser.text(label), word)
        self.assertEqual(self.browser.background(label), WORD_COLOURS.get(word, GOLD), word)

    def file(self, name, content):
        path = os.path.join(self.folder, name)
        with open(path, 'wb') as file:
            file.write(content)
        return path

    def offer(self, name, content):
        """The file given to "Reprendre mes réponses…"; the message it gets."""
        self.browser.run('document.getElementById("message").textContent = ""')
        self.browser.choose_file(self.file(name, content))
        return self.browser.wait_text('message')


class Play(PageTest):
    def test_capitals_words_colours_score_codes_reveals(self):
        self.open(self.page('capitales', example('capitales.txt')))
        self.assertEqual(self.browser.text('score'), ' 0 / 15')
        self.assertEqual(self.browser.text('title'), "Les capitales d'Europe")
        self.assertEqual(self.browser.text('author'), 'Mme Lefèvre')
        self.assertEqual(self.browser.run('return document.title'), "Les capitales d'Europe")
        # field, typed, word, score, score code, the reveal text of that row
        steps = [(4001, 'paris', 'BRAVO', ' 1 / 15', 'ÉTOILE', "La Seine la traverse d'est en ouest."),
                 (4002, 'Madri', 'Quasiment', ' 1 / 15', 'ÉTOILE', ''),
                 (4003, 'Rmoe', 'Anagramme', ' 1 / 15', 'ÉTOILE', ''),
                 (4003, 'rome', 'BRAVO', ' 2 / 15', 'BOUÉE', 'Elle entoure un autre État : le Vatican.'),
                 (4004, 'Lisbonnes', 'Quasiment', ' 2 / 15', 'BOUÉE', ''),
                 (4005, 'Berl', 'Presque', ' 2 / 15', 'BOUÉE', ''),
                 (4006, 'Bruxelles-Capitale', 'Trop long', ' 2 / 15', 'BOUÉE', ''),
                 (4010, 'Athenes', 'Quasiment', ' 2 / 15', 'BOUÉE', ''),
                 (4011, 'Londres', 'FAUX', ' 2 / 15', 'BOUÉE', ''),
                 (4012, '  ', '?', ' 2 / 15', 'BOUÉE', ''),
                 (4001, 'Lyon', 'FAUX', ' 1 / 15', 'ÉTOILE', '')]
        for field, typed, word, score, code, reveal in steps:
            self.type(field, typed)
            self.expect_label(field, word)
            self.assertEqual((self.browser.text('score'), self.browser.text('score-code')), (score, code), typed)
            self.assertEqual(self.browser.text('reveal-%d' % (field + 4000)), reveal, typed)
        self.assertEqual(self.browser.background('reveal-8001'), 'rgb(255, 255, 255)')
        self.assertEqual(self.browser.run('return getComputedStyle(document.body).backgroundColor'),
                         'rgb(70, 110, 160)')

    def test_two_answers_reveal_all_at_once_and_leaving_a_field_judges(self):
        self.open(self.page('chimie', example('chimie-deux-reponses.txt')))
        rows = self.browser.run('return document.querySelectorAll(".row").length')
        answers = [('H', '1'), ('He', '2'), ('C', '6'), ('N', '7'), ('O', '8'), ('Na', '11'), ('Fe', '26'),
                   ('Au', '79'), ('Ag', '47'), ('Pb', '82')]
        self.assertEqual(rows, len(answers))
        for k, (symbol, number) in enumerate(answers):
            self.type(4001 + 2 * k, symbol.lower(), LEAVE)  # leaving the field judges it
            self.expect_label(4001 + 2 * k, 'BRAVO')
            self.type(4002 + 2 * k, number)
        self.assertEqual(self.browser.text('score'), ' %d / %d' % (rows, rows))
        reveals = [self.browser.text('reveal-%d' % (8001 + k)) for k in range(rows)]
        self.assertTrue(all(reveals), reveals)
        self.type(4002, '3')
        self.assertEqual(self.browser.text('reveal-8001'), '')
        self.assertEqual(self.browser.text('reveal-8002'), reveals[1])
        self.assertEqual(self.browser.text('score'), ' %d / %d' % (rows - 1, rows))

    def test_reveal_modes(self):
        rows = [('Un ?', 'un', 'révélé un', 'C1'), ('Deux ?', 'deux', 'révélé deux', 'C2')]
        for mode, shown in ((0, None), (1, None), (3, 'révélé un'), (4, '')):
            self.open(self.page('mode%d' % mode, quiz_source(rows, reveal_mode=mode)))
            self.type(4001, 'un')
            reveal = self.browser.run('const r = document.getElementById("reveal-8001"); return r && r.textContent')
            self.assertEqual(reveal, shown, mode)
            if mode == 4:
                self.type(4002, 'deux')
                self.assertEqual(self.browser.text('reveal-8001'), 'révélé un')

    def test_f1_and_solutions_fill_the_unsolved_fields(self):
        rows = [('Q%d' % k, 'Paris' if k in (2, 4) else 'Rome', 'C%d' % k) for k in range(1, 5)]
        self.open(self.page('fill', quiz_source(rows)))
        self.type(4001, 'Rome')
        self.type(4003, 'rome')
        self.type(4002, 'Paris', 'F1')
        self.assertEqual(self.field_values(4), ['Rome', 'Paris', 'rome', 'Paris'])
        self.assertEqual(self.labels(4), ['BRAVO'] * 4)
        self.assertEqual(self.browser.active(), 'field-4002')
        if not FOCUS_EVENTS:
            return  # "Solutions" acts on the field that had the focus last
        self.type(4001, 'x')
        self.type(4003, 'Nice', '')
        self.browser.click('solutions')
        self.assertEqual(self.field_values(4), ['Nice', 'Paris', 'Nice', 'Paris'])
        self.assertEqual(self.labels(4), ['FAUX', 'BRAVO', 'FAUX', 'BRAVO'])


class Answers(PageTest):
    def test_reload_keeps_answers_and_another_quiz_starts_clean(self):
        page = self.page('capitales', example('capitales.txt'))
        self.open(page)
        self.type(4001, 'Paris')
        self.type(4002, 'Madri', 'Tab')
        self.assertEqual(self.browser.reload(), 'yes')
        self.assertEqual(self.field_values(3), ['Paris', 'Madri', ''])
        self.assertEqual(self.labels(3), ['BRAVO', 'Quasiment', '?'])
        self.assertEqual(self.browser.text('reveal-8001'), "La Seine la traverse d'est en ouest.")
        changed = self.page('capitales2', example('capitales.txt').replace('Paris', 'Lutèce'))
        self.open(changed)
        self.assertEqual(self.field_values(2), ['', ''])

    def test_save_says_the_file_is_offered_then_it_reads_back(self):
        page = self.page('deux', example('chimie-deux-reponses.txt'))
        self.open(page)
        self.type(4001, 'h')
        self.type(4004, 'Éé€œ', 'Tab')
        for press in ('button', 'Ctrl+S', 'F2'):
            self.browser.run('document.getElementById("save-line").textContent = ""')
            if press == 'button':
                self.browser.click('save')
            elif press == 'F2':
                self.type(4003, 'he', 'F2')
            else:
                self.browser.run('document.getElementById("field-4003").dispatchEvent('
                                 'new KeyboardEvent("keydown", {key: "s", ctrlKey: true, bubbles: true}))')
            line = self.browser.wait_text('save-line')
            self.assertIn('« deux.txt » proposé au téléchargement', line, press)
            self.assertNotIn('enregistr', line)
            self.assertEqual(self.browser.text('announce'), line)
            saved = self.browser.downloaded('deux.txt')
            self.browser.forget_download('deux.txt')
        rows = self.browser.run('return document.querySelectorAll(".row").length')
        self.assertEqual(saved, b'h\r\n\r\nhe\r\n\xc9\xe9\x80\x9c\r\n' + b'\r\n' * (2 * rows - 4))
        other = Browser(engine=ENGINE)
        try:
            self.open(page, other)
            other.choose_file(self.file('deux.txt', saved))
            self.assertIn('remplacera 3 de vos %d réponses' % (2 * rows), other.wait_text('message'))
            other.click('offer-yes')
            self.assertEqual([other.value('field-%d' % k) for k in (4001, 4003, 4004)], ['h', 'he', 'Éé€œ'])
            self.assertEqual(other.text('label-5001'), 'BRAVO')
        finally:
            other.close()

    def test_resume_takes_what_fits_asks_first_and_undoes(self):
        self.open(self.page('capitales', example('capitales.txt')))
        self.type(4001, 'Paris')
        before = (['Paris', '', ''], ['BRAVO', '?', '?'])
        # file, its message, then the fields and labels once taken
        cases = [('lf.txt', b'Lyon\nMadrid\nRome\n', 'remplacera 3 de vos 15 réponses',
                  (['Lyon', 'Madrid', 'Rome'], ['FAUX', 'BRAVO', 'BRAVO'])),
                 ('utf8.txt', 'Paris\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nAthe\u0300nes\r\n'.encode(),
                  'remplacera 1 de vos 15', (['Paris', '', ''], ['BRAVO', '?', '?']))]
        for name, content, message, taken in cases:
            self.assertIn(message, self.offer(name, content), name)
            self.assertEqual((self.field_values(3), self.labels(3)), before, name)  # nothing before the answer
            self.browser.click('offer-yes')
            self.assertEqual((self.field_values(3), self.labels(3)), taken, name)
            self.assertIn('Réponses reprises de « %s »' % name, self.browser.text('message'))
            if name == 'utf8.txt':
                self.assertEqual((self.browser.value('field-4010'), self.browser.text('label-5010')),
                                 ('Athènes', 'BRAVO'))
            self.browser.click('undo')
            self.assertEqual((self.field_values(3), self.labels(3)), before, name)
        refused = [('image.png', b'\x89PNG\r\n\x1a\n\x00\x00', 'sa 2e ligne contient autre chose que du texte'),
                   ('vide.txt', b'', 'est vide'),
                   ('a.txt', b'a' * 200000, 'sa 1re ligne a 200000 caractères, une réponse en garde au plus 259'),
                   ('autre.txt', b'a\r\n' * 16, "sa 16e ligne est remplie, ce quiz n'en a que 15"),
                   ('emoji.txt', 'Paris\r\nRome 😀\r\n'.encode(), 'sa 2e ligne contient un caractère que ce quiz')]
        for name, content, words in refused:
            message = self.offer(name, content)
            self.assertIn(words, message, name)
            self.assertIn(UNCHANGED, message)
            self.assertEqual((self.field_values(3), self.labels(3)), before, name)
        self.assertEqual(self.browser.run('return [...document.querySelectorAll(".message-bar button")]'
                                          '.filter((b) => !b.hidden).length'), 0)

    def test_typed_text_shows_as_it_is_kept(self):
        self.open(self.page('capitales', example('capitales.txt')))
        self.type(4010, 'Athe\u0300nes')  # a decomposed accent is the accent
        self.assertEqual((self.browser.value('field-4010'), self.browser.text('label-5010')), ('Athènes', 'BRAVO'))
        self.type(4011, 'Lőndon', '')  # a character Windows-1252 lacks: '?' at once
        self.assertEqual(self.browser.value('field-4011'), 'L?ndon')
        self.assertEqual(self.browser.reload(), 'yes')
        self.assertEqual((self.browser.value('field-4010'), self.browser.value('field-4011')), ('Athènes', 'L?ndon'))


class Kept(PageTest):
    """What the browser keeps: nothing (the notice says so), and one set of
    answers for every tab of the page."""

    def test_two_tabs_share_the_answers_field_by_field(self):
        page = self.page('capitales', example('capitales.txt'))
        self.open(page)
        self.browser.tab(1)
        self.open(page)
        self.browser.tab(0)
        self.type(4001, 'Paris')
        self.type(4003, 'Rome')
        self.browser.tab(1)
        time.sleep(0.3)  # the storage event reaches the other tab
        self.assertEqual((self.field_values(3), self.labels(3)), (['Paris', '', 'Rome'], ['BRAVO', '?', 'BRAVO']))
        self.type(4002, 'Madrid')
        self.type(4001, 'Lyon')
        self.browser.tab(0)
        self.assertEqual(self.browser.reload(), 'yes')
        self.assertEqual((self.field_values(3), self.labels(3)), (['Lyon', 'Madrid', 'Rome'], ['FAUX', 'BRAVO', 'BRAVO']))
        self.assertEqual(self.browser.text('storage-notice'), '')

    def test_a_browser_that_keeps_nothing_says_so(self):
        page = self.page('capitales', example('capitales.txt'))
        frame = self.file('frame.html', ('<!DOCTYPE html><title>cadre</title><iframe sandbox="allow-scripts" '
                                         'src="%s" width="900" height="600"></iframe>' % os.path.basename(page)).encode())

        def full():  # the answers are kept just after the verdict
            self.open(page)
            self.assertEqual(self.browser.text('storage-notice'), '')
            self.browser.run(FILL_STORAGE)
            self.type(4001, 'Paris')
            notice = self.browser.wait_text('storage-notice')
            self.browser.run('localStorage.clear()')
            return notice

        def framed():
            self.browser.get('file://' + frame)
            self.driver.switch_to.frame(self.driver.find_element(By.TAG_NAME, 'iframe'))
            try:
                self.assertEqual((self.browser.wait_ready(), self.browser.text('score')), ('yes', ' 0 / 15'))
                return self.browser.text('storage-notice')
            finally:
                self.driver.switch_to.default_content()

        def blocked():
            other = Browser(prefs={'profile.default_content_setting_values.cookies': 2})
            try:
                self.open(page, other)
                return other.text('storage-notice')
            finally:
                other.close()

        # A storage that fills up, a sandboxed frame (reached through WebDriver in Firefox), site data blocked
        # (Chromium's preference): the engines each runs on, what the notice says besides.
        cases = [(full, ('chromium', 'webkit', 'firefox'), '« Sauver » les garde dans un fichier'),
                 (framed, ('chromium', 'webkit'), ''), (blocked, ('chromium',), '')]
        for make, engines, words in cases:
            if ENGINE in engines:
                notice = make()
                self.assertIn('Ce navigateur ne garde pas vos réponses', notice, make.__name__)
                self.assertIn(words, notice, make.__name__)


class Limits(PageTest):
    def test_255_questions_with_259_byte_texts(self):
        # Every text of 259 bytes would pass the 65,535 bytes a payload may hold:
        # the first, middle and last questions have them, with the title and a code.
        long_text = 'é' * 200 + 'x' * 59
        rows = [('Question %d ?' % k, 'r%d' % k, 'CODE%d' % k) for k in range(255)]
        for k in (0, 127, 254):
            rows[k] = (long_text, long_text[:258] + str(k % 10), 'Ç' * 259 if k == 0 else 'CODE%d' % k)
        self.open(self.page('long', quiz_source(rows, title='T' * 259)))
        self.assertEqual(self.driver.execute_script('return document.querySelectorAll(".field").length'), 255)
        self.assertEqual((self.browser.text('question-255'), self.browser.text('title')), (long_text, 'T' * 259))
        self.driver.execute_script('document.getElementById("field-4255").scrollIntoView()')
        self.type(4255, rows[254][1])
        self.expect_label(4255, 'BRAVO')
        self.assertEqual((self.browser.text('score'), self.browser.text('score-code')), (' 1 / 255', 'Ç' * 259))
        self.type(4128, rows[127][1] + 'z')  # typed past 259 bytes: the first 259 are judged
        self.expect_label(4128, 'BRAVO')
        self.assertEqual(self.driver.execute_script(
            'return document.documentElement.scrollWidth <= document.documentElement.clientWidth'), True)

    def test_damaged_resources_tell_the_loaders_messages(self):
        with open(self.page('capitales', example('capitales.txt')), encoding='utf-8') as file:
            page = file.read()
        quiz = re.search(r'(<script type="text/plain" id="resource-104">)[^<]*(</script>)', page)
        codes = re.search(r'(<script type="text/plain" id="resource-105">)[^<]*(</script>)', page)
        # what replaces a resource's element, the message, the title, the rows
        cases = [(quiz, quiz.group(1) + '!!!' + quiz.group(2), 'Erreur dans le décryptage des reponses',
                  'nom du ludex', 2),
                 (quiz, quiz.group(1) + quiz.group(2), '', 'Nom du ludex', 30),
                 (codes, codes.group(1) + 'lgA=' + codes.group(2), 'Erreur dans le décryptage des codes',
                  "Les capitales d'Europe", 15),
                 (codes, codes.group(1) + codes.group(2), 'Codes non renseignés.', "Les capitales d'Europe", 15),
                 (codes, '', 'Codes non trouvés.', "Les capitales d'Europe", 15)]
        for k, (element, replacement, message, title, rows) in enumerate(cases):
            damaged = os.path.join(self.folder, 'damaged%d.html' % k)
            with open(damaged, 'w', encoding='utf-8') as file:
                file.write(page[:element.start()] + replacement + page[element.end():])
            self.open(damaged)
            self.assertEqual((self.browser.text('message'), self.browser.text('title')), (message, title), k)
            self.assertEqual(len(self.driver.find_elements(By.CLASS_NAME, 'row')), rows, k)

    def test_hostile_texts_show_literally(self):
        hostile = ['<img src=x onerror=alert(1)>', '</script><script>alert(2)</script>', '&amp; &lt;b&gt; "\'',
                   '{{ludex:quiz}} {{build:script}}', '<!-- -->']
        rows = [(text, text, text, text) for text in hostile]
        source = quiz_source(rows, title=hostile[0], reveal_mode=2).replace('auteur: M. Test', 'auteur: ' + hostile[1])
        self.open(self.page('hostile', source))
        self.assertEqual(self.driver.title, hostile[0])
        self.assertEqual((self.browser.text('title'), self.browser.text('author')), (hostile[0], hostile[1]))
        for k, text in enumerate(hostile):
            self.assertEqual(self.browser.text('question-%d' % (k + 1)), text)
            self.type(4001 + k, text)
            self.expect_label(4001 + k, 'BRAVO')
            self.assertEqual(self.browser.text('reveal-%d' % (8001 + k)), text)
        self.assertEqual(self.browser.text('score-code'), hostile[-1])
        self.assertEqual(self.driver.execute_script('return document.querySelectorAll("img, main script").length'), 0)
        with self.assertRaises(NoAlertPresentException):
            self.driver.switch_to.alert.text

    def test_plays_with_the_network_off_and_makes_no_request(self):
        page = self.page('capitales', example('capitales.txt'))
        self.driver.execute_cdp_cmd('Network.enable', {})
        self.driver.execute_cdp_cmd('Network.emulateNetworkConditions', {
            'offline': True, 'latency': 0, 'downloadThroughput': -1, 'uploadThroughput': -1})
        self.driver.get_log('performance')
        self.open(page)
        self.type(4001, 'Paris')
        self.expect_label(4001, 'BRAVO')
        refused = self.driver.execute_async_script('''
            const done = arguments[arguments.length - 1];
            document.addEventListener('securitypolicyviolation', (e) => done(e.violatedDirective));
            fetch('http://127.0.0.1:9/x').catch(() => {});''')
        self.assertEqual(refused, 'connect-src')
        requests = [json.loads(entry['message'])['message'] for entry in self.driver.get_log('performance')]
        urls = [m['params']['request']['url'] for m in requests if m['method'] == 'Network.requestWillBeSent']
        self.assertEqual([url for url in urls if url != 'file://' + page], [])
        self.assertEqual(self.driver.execute_script('return performance.getEntriesByType("resource").length'), 0)
        self.assertEqual([e for e in self.browser.errors() if '127.0.0.1:9' not in e], [])


def verdict_pairs(count, seed=19):
    """(expected, typed) pairs aimed at every verdict word, some with
    characters Windows-1252 lacks."""
    rng = random.Random(seed)
    letters = 'abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZéèêàçùÉÈœ€ -\'0123456789'

    def word(low, high):
        text = ''.join(rng.choice(letters) for _ in range(rng.randint(low, high))).strip()
        return text or 'x'

    def edit(text, times):
        for _ in range(times):
            at = rng.randrange(len(text) + 1)
            choice = rng.randrange(3)
            if choice == 0:
                text = text[:at] + rng.choice(letters) + text[at:]
            elif at < len(text):
                text = text[:at] + (rng.choice(letters) if choice == 1 else '') + text[at + 1:]
        return text

    makers = [
        lambda e: '  ' + ''.join(c.swapcase() if rng.random() < .5 else c for c in e) + ' ',
        lambda e: ''.join(rng.sample(e, len(e))),
        lambda e: edit(e, 1), lambda e: edit(e, 2), lambda e: edit(e, 4),
        lambda e: e + word(3, 8), lambda e: word(3, 6) + e,
        lambda e: e[:max(1, int(len(e) * rng.uniform(.3, 1)))], lambda e: e[rng.randrange(len(e)):],
        lambda e: word(1, 20), lambda e: rng.choice(['', ' ', '   ']), lambda e: e + '\u0151😀',
    ]
    pairs = []
    while len(pairs) < count:
        expected = word(1, 30) if rng.random() < .6 else word(12, 60)
        pairs.append((expected, rng.choice(makers)(expected)))
    return pairs


class Verdicts(PageTest):
    def test_the_page_judges_as_the_program(self):
        pairs = verdict_pairs(4 * 255)
        native = subprocess.run([VERDICT_TOOL], input=''.join('%s\t%s\n' % p for p in pairs), text=True,
                                capture_output=True, check=True).stdout.splitlines()
        self.assertEqual(set(native), {'BRAVO', 'FAUX', 'Anagramme', 'Quasiment', 'Presque', 'Trop long',
                                       'Trop court', 'pas loin', "y a de l'idée", '?'})
        judged = []
        for start in range(0, len(pairs), 255):
            chunk = pairs[start:start + 255]
            self.open(self.page('verdicts%d' % start, quiz_source([('Q', e, 'C') for e, _ in chunk])))
            judged += self.driver.execute_script('''
                return arguments[0].map((typed, k) => {
                  const field = document.getElementById('field-' + (4001 + k));
                  field.value = typed;
                  field.dispatchEvent(new Event('input', {bubbles: true}));
                  field.dispatchEvent(new KeyboardEvent('keyup', {key: 'Enter', bubbles: true}));
                  return document.getElementById('label-' + (5001 + k)).textContent;
                });''', [typed for _, typed in chunk])
        differences = [(p, n, j) for p, n, j in zip(pairs, native, judged) if n != j]
        self.assertEqual(differences, [])
        self.assertEqual(len(judged), len(pairs))

    def test_accepted_answers_as_the_program(self):
        cases = [line.split('\t') for line in subprocess.run(
            [VERDICT_TOOL, '--accepted-cases'], text=True, capture_output=True, check=True).stdout.splitlines()]
        lines = ['titre: Acceptées']
        for expected, _, _, *accepted in cases:
            lines += ['question: Q', 'réponse: ' + expected, 'code: C'] + ['aussi: ' + a for a in accepted]
        self.open(self.page('accepted', '\n'.join(lines) + '\n'))
        for k, (_, typed, verdict, *_) in enumerate(cases):
            self.type(4001 + k, typed)
            self.expect_label(4001 + k, verdict)


class Access(PageTest):
    def axe_problems(self):
        with open(os.environ['LUDEX_AXE'], encoding='utf-8') as file:
            self.browser.run(file.read())
        return self.driver.execute_async_script('''
            const done = arguments[arguments.length - 1];
            const rules = {runOnly: {type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'best-practice']}};
            axe.run(document, rules).then((r) => done(r.violations.map((v) => v.id + ': ' +
                v.nodes.map((n) => n.target.join(' ')).slice(0, 3).join(', '))));''')

    def test_axe_finds_nothing_on_the_samples_and_the_largest_quiz(self):
        # Every colour of label is on show: FAUX, a hint, Anagramme, BRAVO with its reveal text.
        samples = [('capitales', example('capitales.txt'), [(4001, 'x'), (4002, 'Madri'), (4003, 'Rmoe'), (4004, 'Lisbonne')]),
                   ('chimie', example('chimie-deux-reponses.txt'), [(4001, 'h'), (4002, 'x'), (4003, 'eh'), (4005, 'cc')]),
                   ('255', quiz_source([('Question %d ?' % k, 'r%d' % k, 'révélé', 'C') for k in range(1, 256)],
                                       reveal_mode=2), [(4001, 'r1'), (4255, 'x')])]
        for name, source, typing in samples:
            page = self.page(name, source)
            for width in (1100, 360):
                self.browser.set_size(width, 800)
                self.open(page)
                for field, text in typing:
                    self.type(field, text)
                self.browser.click('save')
                self.assertEqual(self.axe_problems(), [], (name, width))

    def test_named_fields_one_announcement_and_visible_focus(self):
        self.browser.set_size(1100, 800)
        self.open(self.page('chimie', example('chimie-deux-reponses.txt')))
        first = self.driver.find_element(By.ID, 'field-4001')
        self.assertEqual(first.accessible_name, "1. L'hydrogène : symbole ? numéro ? réponse 1")
        self.assertEqual(self.browser.active(), 'field-4001')
        self.assertEqual(first.get_attribute('aria-describedby'), 'label-5001 reveal-8001')
        self.type(4001, 'h', 'Tab')
        self.assertEqual(self.browser.text('announce'), 'Question 1 : BRAVO.')
        self.assertEqual(self.browser.active(), 'field-4002')
        style = self.browser.run('const s = getComputedStyle(document.activeElement); return [s.outlineStyle, '
                                 's.outlineWidth];')
        self.assertEqual(style, ['solid', '3px'])
        self.type(4002, '1', 'Tab')
        self.assertEqual(self.browser.text('announce'), 'Question 1 : BRAVO. Score : 1 / 10, code QUARK.')
        live = self.browser.run('return [...document.querySelectorAll("[aria-live], [role=status], output")].map((e) => e.id)')
        self.assertEqual(live, ['announce'])


class Phone(PageTest):
    width = 360

    def test_rows_fit_the_score_stays_and_numbers_fit(self):
        self.browser.set_size(360, 740)
        rows = [('Question %d ?' % k, 'r%d' % k, 'C%d' % k) for k in range(1, 256)]
        self.open(self.page('long', quiz_source(rows)))
        self.assertTrue(self.browser.run(
            'return document.documentElement.scrollWidth <= document.documentElement.clientWidth'))
        boxes = self.browser.run('''
            return ['question-1', 'field-4001', 'label-5001'].map((id) => {
              const box = document.getElementById(id).getBoundingClientRect();
              return [box.top, box.bottom, box.left, box.right]; });''')
        self.assertLessEqual(boxes[0][1], boxes[1][0])  # the question above its field
        self.assertLess(boxes[2][0], boxes[1][1])  # the verdict beside the field, never alone on a line
        self.assertLessEqual(boxes[1][3], boxes[2][2])
        sizes = self.browser.run(
            'return [...document.querySelectorAll("input, button")].map((e) => parseFloat(getComputedStyle(e).fontSize))')
        self.assertGreaterEqual(min(sizes), 16)
        self.assertEqual(self.browser.run('''return [...document.querySelectorAll('.number')]
            .filter((n) => n.scrollWidth > n.clientWidth).length'''), 0)
        self.browser.run('document.getElementById("field-4200").scrollIntoView()')
        self.type(4200, 'r200')
        seen = self.browser.run('''return ['score', 'score-code'].map((id) => {
            const box = document.getElementById(id).getBoundingClientRect();
            return box.top >= 0 && box.bottom <= innerHeight && box.height > 0; })''')
        self.assertEqual(seen, [True, True])
        self.assertEqual((self.browser.text('score'), self.browser.text('score-code')), (' 1 / 255', 'C1'))


if __name__ == '__main__':
    suite = sys.argv[4] if len(sys.argv) > 4 else None
    unittest.main(argv=[sys.argv[0]] + ([suite] if suite else []), verbosity=2)
