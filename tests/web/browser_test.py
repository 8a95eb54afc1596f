"""The web page in a real headless Chromium, one suite per ctest entry:
  browser_test.py LUDEX_PACK VERDICT_TOOL Play|Answers|Limits|Verdicts|Access
Pages are made from sources by this build's native ludex-pack web; VERDICT_TOOL
gives the program's verdicts to compare with the page's."""
import json
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

from selenium.common.exceptions import NoAlertPresentException
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Browser, make_page, quiz_source  # noqa: E402

PACK = sys.argv[1] if len(sys.argv) > 1 else ''
VERDICT_TOOL = sys.argv[2] if len(sys.argv) > 2 else ''
EXAMPLES = os.environ.get('LUDEX_EXAMPLES', os.path.join(os.path.dirname(__file__), '../../examples'))
GREEN, RED, ORANGE, GOLD, NONE = ('rgb(0, 255, 0)', 'rgb(255, 0, 0)', 'rgb(255, 100, 0)', 'rgb(255, 203, 38)',
                                  'rgb(240, 240, 240)')
WORD_COLOURS = {'BRAVO': GREEN, 'FAUX': RED, 'Anagramme': ORANGE, '?': NONE}


def example(name):
    with open(os.path.join(EXAMPLES, name), encoding='utf-8') as file:
        return file.read()


class PageTest(unittest.TestCase):
    width = 1100

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix='ludex-page-test.')
        cls.browser = Browser(width=cls.width)
        cls.driver = cls.browser.driver

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def page(self, name, source):
        return make_page(PACK, self.folder, name, source)

    def open(self, page):
        self.assertEqual(self.browser.open(page), 'yes')

    def type(self, field_id, text, key=Keys.ENTER):
        field = self.driver.find_element(By.ID, 'field-%d' % field_id)
        field.clear()
        field.send_keys(text + key)

    def field_values(self, count):
        return [self.browser.value('field-%d' % (4001 + k)) for k in range(count)]

    def labels(self, count):
        return [self.browser.text('label-%d' % (5001 + k)) for k in range(count)]

    def expect_label(self, field_id, word):
        label = 'label-%d' % (field_id + 1000)
        self.assertEqual(self.browser.text(label), word)
        self.assertEqual(self.browser.background(label), WORD_COLOURS.get(word, GOLD), word)


class Play(PageTest):
    def test_capitals_words_colours_score_codes_reveals(self):
        self.open(self.page('capitales', example('capitales.txt')))
        self.assertEqual(self.browser.text('score'), ' 0 / 15')
        self.assertEqual(self.browser.text('title'), "Les capitales d'Europe")
        self.assertEqual(self.browser.text('author'), 'Mme Lefèvre')
        self.assertEqual(self.driver.title, "Les capitales d'Europe")
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
        self.assertEqual(self.driver.execute_script('return getComputedStyle(document.body).backgroundColor'),
                         'rgb(70, 110, 160)')

    def test_two_answers_reveal_all_at_once_and_leaving_a_field_judges(self):
        self.open(self.page('chimie', example('chimie-deux-reponses.txt')))
        rows = self.driver.execute_script('return document.querySelectorAll(".row").length')
        answers = [('H', '1'), ('He', '2'), ('C', '6'), ('N', '7'), ('O', '8'), ('Na', '11'), ('Fe', '26'),
                   ('Au', '79'), ('Ag', '47'), ('Pb', '82')]
        self.assertEqual(rows, len(answers))
        for k, (symbol, number) in enumerate(answers):
            self.type(4001 + 2 * k, symbol.lower(), Keys.TAB)  # leaving the field judges it
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
            reveal = self.driver.find_elements(By.ID, 'reveal-8001')
            self.assertEqual(reveal[0].get_attribute('textContent') if reveal else None, shown, mode)
            if mode == 4:
                self.type(4002, 'deux')
                self.assertEqual(self.browser.text('reveal-8001'), 'révélé un')

    def test_f1_and_solutions_fill_the_unsolved_fields(self):
        rows = [('Q%d' % k, 'Paris' if k in (2, 4) else 'Rome', 'C%d' % k) for k in range(1, 5)]
        self.open(self.page('fill', quiz_source(rows)))
        self.type(4001, 'Rome')
        self.type(4003, 'rome')
        self.type(4002, 'Paris', Keys.F1)
        self.assertEqual(self.field_values(4), ['Rome', 'Paris', 'rome', 'Paris'])
        self.assertEqual(self.labels(4), ['BRAVO'] * 4)
        self.assertEqual(self.driver.switch_to.active_element.get_attribute('id'), 'field-4002')
        self.type(4001, 'x')
        self.type(4003, 'Nice', '')
        self.driver.find_element(By.ID, 'solutions').click()
        self.assertEqual(self.field_values(4), ['Nice', 'Paris', 'Nice', 'Paris'])
        self.assertEqual(self.labels(4), ['FAUX', 'BRAVO', 'FAUX', 'BRAVO'])


class Answers(PageTest):
    def test_reload_keeps_answers_and_another_quiz_starts_clean(self):
        page = self.page('capitales', example('capitales.txt'))
        self.open(page)
        self.type(4001, 'Paris')
        self.type(4002, 'Madri', Keys.TAB)
        self.driver.refresh()
        self.assertEqual(self.browser.wait_ready(), 'yes')
        self.assertEqual(self.field_values(3), ['Paris', 'Madri', ''])
        self.assertEqual(self.labels(3), ['BRAVO', 'Quasiment', '?'])
        self.assertEqual(self.browser.text('reveal-8001'), "La Seine la traverse d'est en ouest.")
        changed = self.page('capitales2', example('capitales.txt').replace('Paris', 'Lutèce'))
        self.open(changed)
        self.assertEqual(self.field_values(2), ['', ''])

    def test_download_and_read_back_the_answers_file(self):
        page = self.page('deux', example('chimie-deux-reponses.txt'))
        self.open(page)
        self.type(4001, 'h')
        self.type(4004, 'Éé€œő', Keys.TAB)  # the last one is not Windows-1252: '?'
        self.driver.find_element(By.ID, 'save').click()
        saved = self.browser.downloaded('deux.txt')
        rows = self.driver.execute_script('return document.querySelectorAll(".row").length')
        self.assertEqual(saved, b'h\r\n\r\n\r\n\xc9\xe9\x80\x9c?\r\n' + b'\r\n' * (2 * rows - 4))
        os.remove(os.path.join(self.browser.downloads, 'deux.txt'))
        self.type(4003, 'he', Keys.F2)
        self.assertTrue(self.browser.downloaded('deux.txt').startswith(b'h\r\n\r\nhe\r\n'))
        other = Browser()
        try:
            self.assertEqual(other.open(page), 'yes')
            chooser = other.driver.find_element(By.ID, 'answers-file')
            chooser.send_keys(os.path.join(self.browser.downloads, 'deux.txt'))
            self.assertIn('Réponses reprises', other.wait_text('message'))
            values = [other.value('field-%d' % k) for k in (4001, 4003, 4004)]
            self.assertEqual(values, ['h', 'he', 'Éé€œ?'])
            self.assertEqual(other.text('label-5001'), 'BRAVO')
        finally:
            other.close()

    def test_what_is_no_answers_file_changes_nothing(self):
        page = self.page('capitales', example('capitales.txt'))
        self.open(page)
        self.type(4001, 'Paris')
        cases = [('image.png', b'\x89PNG\r\n\x1a\n\x00\x00', 'ne contient pas que du texte'),
                 ('vide.txt', b'', 'est vide'),
                 ('autre.txt', b'a\r\n' * 16, 'sa 16e ligne est remplie, ce quiz n\'en a que 15')]
        for name, content, words in cases:
            path = os.path.join(self.folder, name)
            with open(path, 'wb') as file:
                file.write(content)
            self.driver.execute_script('document.getElementById("message").textContent = ""')
            self.driver.find_element(By.ID, 'answers-file').send_keys(path)
            message = self.browser.wait_text('message')
            self.assertIn(words, message, name)
            self.assertIn("Vos réponses n'ont pas changé", message)
            self.assertEqual((self.browser.value('field-4001'), self.browser.text('label-5001')), ('Paris', 'BRAVO'))


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


class Access(PageTest):
    def axe_problems(self):
        with open(os.environ['LUDEX_AXE'], encoding='utf-8') as file:
            self.driver.execute_script(file.read())
        return self.driver.execute_async_script('''
            const done = arguments[arguments.length - 1];
            axe.run(document).then((r) => done(r.violations.filter((v) => ['serious', 'critical'].includes(v.impact))
                .map((v) => v.id + ': ' + v.nodes.map((n) => n.target.join(' ')).slice(0, 3).join(', '))));''')

    def test_axe_finds_nothing_serious_on_the_samples_wide_and_narrow(self):
        # Every colour of label is on show: FAUX, a hint, Anagramme, BRAVO with its reveal text.
        samples = [('capitales.txt', [(4001, 'x'), (4002, 'Madri'), (4003, 'Rmoe'), (4004, 'Lisbonne')]),
                   ('chimie-deux-reponses.txt', [(4001, 'h'), (4002, 'x'), (4003, 'eh'), (4005, 'cc')])]
        for name, typing in samples:
            page = self.page(name[:-4], example(name))
            for width in (1100, 360):
                self.driver.set_window_size(width, 800)
                self.open(page)
                for field, text in typing:
                    self.type(field, text)
                self.assertEqual(self.axe_problems(), [], (name, width))

    def test_named_fields_announced_verdicts_keyboard_and_visible_focus(self):
        self.driver.set_window_size(1100, 800)
        self.open(self.page('chimie', example('chimie-deux-reponses.txt')))
        first = self.driver.find_element(By.ID, 'field-4001')
        self.assertEqual(first.accessible_name, "1. L'hydrogène : symbole ? numéro ? réponse 1")
        self.assertEqual(self.driver.switch_to.active_element, first)
        first.send_keys('h' + Keys.ENTER)
        self.assertEqual(self.browser.text('announce'), 'Question 1 : BRAVO.')
        active = self.driver.switch_to.active_element
        active.send_keys(Keys.TAB)
        active = self.driver.switch_to.active_element
        self.assertEqual(active.get_attribute('id'), 'field-4002')
        style = self.driver.execute_script('const s = getComputedStyle(arguments[0]); return [s.outlineStyle, '
                                           's.outlineWidth];', active)
        self.assertEqual(style, ['solid', '3px'])
        active.send_keys('1' + Keys.TAB)
        self.assertEqual(self.browser.text('announce'), 'Question 1 : BRAVO. Score : 1 / %d.' % len(
            self.driver.find_elements(By.CLASS_NAME, 'row')))

    def test_narrow_screens_stack_each_row(self):
        self.driver.set_window_size(360, 800)
        self.open(self.page('capitales', example('capitales.txt')))
        self.assertTrue(self.driver.execute_script(
            'return document.documentElement.scrollWidth <= document.documentElement.clientWidth'))
        boxes = self.driver.execute_script('''
            return ['question-1', 'field-4001', 'label-5001'].map((id) => {
              const box = document.getElementById(id).getBoundingClientRect();
              return [box.top, box.bottom, box.width]; });''')
        self.assertLessEqual(boxes[0][1], boxes[1][0])
        self.assertLessEqual(boxes[1][1], boxes[2][0])
        sizes = self.driver.execute_script(
            'return [...document.querySelectorAll("input, button")].map((e) => parseFloat(getComputedStyle(e).fontSize))')
        self.assertGreaterEqual(min(sizes), 16)


if __name__ == '__main__':
    suite = sys.argv[3] if len(sys.argv) > 3 else None
    unittest.main(argv=[sys.argv[0]] + ([suite] if suite else []), verbosity=2)
