"""Ludex Atelier in real browsers, one suite of one engine per ctest entry:
  atelier_browser_test.py ATELIER_HTML LUDEX_PACK PLAYER PROBE ENGINE SUITE
ENGINE is chromium, webkit (under a display) or firefox. Core (open every
kind of file, edit, undo and redo, a limit and a fit warning as the author
types, paste through the preview, the recovery copy after a closed tab,
save, build, the question before leaving) runs on the three; Files (byte for
byte against LUDEX_PACK, the native ludex-pack, and the program played under
wine with PROBE), Output, NothingKept and Access on Chromium; Truth (a save
said done only once written, the problems' order, the layout at three
widths) on the three."""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, 'tests/web'))
from browser import Browser  # noqa: E402

ATELIER, PACK, PLAYER, PROBE = (os.path.abspath(path) for path in (sys.argv[1:5] + ['.'] * 4)[:4])
ENGINE = sys.argv[5] if len(sys.argv) > 5 else 'chromium'
EXAMPLES = os.path.join(ROOT, 'examples')
SAMPLES = {'capitales.txt': ("Les-capitales-d'Europe", 15), 'chimie-deux-reponses.txt': ('Les-éléments-chimiques', 10)}
# Rows pasted from a spreadsheet: three columns and no header row, which
# the quiz (question, answer, reveal text, code) cannot place by itself.
PASTED = 'Espagne ?\tMadrid\tES\r\nItalie ?\tRome\tIT\r\n'
with open(os.path.join(EXAMPLES, 'capitales.txt'), encoding='utf-8') as sample:
    CAPITALES = sample.read()
# A bank as found on the web: twelve columns, numbering first, no header row
# (number, question, answer, three wrong choices, level, anecdote, link...).
BANK = ''.join('%d;%s ?;%s;x;y;z;Débutant;%s, comme le dit une longue anecdote qui se lit en entier.;'
               'https://fr.wikipedia.org/wiki/%s;Géographie;Europe;2019\r\n' % (k, question, answer, answer, answer)
               for k, (question, answer) in enumerate([('Capitale de la France', 'Paris'), ("Capitale de l'Italie", 'Rome'),
                                                       ("Capitale de l'Espagne", 'Madrid')], 1))
# A Moodle bank: two short answers (one with an accepted answer and a general feedback) and a multiple choice.
GIFT = ('// Géographie\n$CATEGORY: Géographie\n\n::Q1::Capitale du Japon ?{=Tokyo =Tokio####Depuis 1868.}\n\n'
        '::Q2::Qui a peint la Joconde ?{~Raphaël =Léonard de Vinci}\n\nDeux et deux font {=quatre =4}.\n')


def source_of(count, title='Un grand quiz'):
    """A source of count questions with their reveal texts, every limit kept."""
    lines = ['titre: ' + title, 'auteur: M. Test', 'mode révélation: 2']
    for k in range(1, count + 1):
        lines += ['question: Question numéro %d, en français ?' % k, 'réponse: Réponse %d' % k,
                  'révélation: Un texte révélé, le %de.' % k, 'code: C%d' % (k % 97)]
        lines += ['aussi: R%d' % k] if k % 5 == 0 else []
    return '\n'.join(lines) + '\n'


class AtelierTest(unittest.TestCase):
    width = 1280
    prefs = None

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix='ludex-atelier-test.')
        cls.browser = Browser(width=cls.width, engine=ENGINE, prefs=cls.prefs)

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def setUp(self):
        # The page left by the test before goes without its question (Firefox
        # asks even when a driver navigates), and each test starts with
        # nothing kept: every file:// page shares one storage.
        self.browser.run('window.addEventListener("beforeunload", (e) => e.stopImmediatePropagation(), true)')
        self.browser.get('file://' + self.file('blank.html', b'<!DOCTYPE html><title>vide</title>'))
        self.browser.run('try { localStorage.clear(); } catch (e) {}')
        self.open()

    def file(self, name, content):
        path = os.path.join(self.folder, name)
        with open(path, 'wb') as file:
            file.write(content.encode('utf-8') if isinstance(content, str) else content)
        return path

    def pack(self, *arguments):
        subprocess.run([PACK] + list(arguments), check=True, capture_output=True, cwd=self.folder)

    def open(self):
        self.browser.get('file://' + os.path.abspath(ATELIER))
        self.assertEqual(self.browser.wait_ready(), 'yes')

    def wait(self, condition, seconds=10):
        end = time.time() + seconds
        while time.time() < end:
            value = condition()
            if value:
                return value
            time.sleep(0.05)
        return condition()

    def open_file(self, path):
        """Gives a file to Ouvrir; the question it brings, or the new status."""
        before = self.browser.text('status')
        self.browser.choose_file(path, 'open-file')
        return self.wait(lambda: self.prompt() or (self.browser.text('status') != before and self.browser.text('status')))

    def prompt(self):
        """The text of the question shown, or None."""
        return self.browser.run('return document.getElementById("prompt").open ? '
                                'document.getElementById("prompt-text").textContent : null')

    def preview_open(self):
        return self.browser.run('return document.getElementById("preview").open')

    def answer(self, button):
        self.browser.click(button)
        self.wait(lambda: not self.prompt() and not self.preview_open(), 3)

    def rows(self):
        return self.browser.run('return [...document.querySelectorAll("#questions tr")].map('
                                '(r) => [...r.cells].map((c) => c.textContent))')

    def problems(self):
        return self.browser.run('return [...document.querySelectorAll("#problems li")].map('
                                '(l) => [l.className, l.textContent])')

    def select_row(self, number):
        self.browser.click_at('#row-%d > td:nth-child(2)' % number)
        self.wait(lambda: self.browser.run('return document.getElementById("row-%d").getAttribute("aria-selected") === "true"'
                                           % number))

    def type(self, field, text):
        self.browser.type('field-' + field, text, key='')

    def paste(self, text):
        """Rows copied from a spreadsheet, pasted in the list."""
        if ENGINE == 'firefox':  # its pasted data comes from the clipboard alone
            self.browser.run('const t = document.createElement("textarea"); t.id = "clipboard"; t.value = arguments[0];'
                             'document.body.append(t)', text)
            self.browser.press('clipboard', 'Control+a')
            self.browser.press('clipboard', 'Control+c')
            self.browser.run('document.getElementById("clipboard").remove()')
            self.browser.press('question-list', 'Control+v')
        else:
            self.browser.run('const data = new DataTransfer(); data.setData("text/plain", arguments[0]);'
                             'document.getElementById("question-list").dispatchEvent('
                             'new ClipboardEvent("paste", {clipboardData: data, bubbles: true, cancelable: true}))', text)

    def saved(self, button, name):
        """What a button offers for download under name, every question on the way answered OK."""
        self.browser.forget_download(name)
        self.browser.click(button)
        data = self.browser.downloaded(name)
        if self.wait(self.prompt, 2):
            self.answer('prompt-ok')
        return data

    def expected(self, command, source_name, output):
        """What the native ludex-pack writes for the same source."""
        self.pack(command, os.path.join(EXAMPLES, source_name) if '/' not in source_name else source_name,
                  '-o', output, *(['--player', PLAYER] if command == 'build' else []))
        with open(os.path.join(self.folder, output), 'rb') as file:
            return file.read()


class Core(AtelierTest):
    def test_each_sample_opens_saves_and_builds_as_ludex_pack(self):
        for name, (stem, count) in SAMPLES.items():
            self.assertEqual(self.open_file(os.path.join(EXAMPLES, name)), 'Ouvert : ' + name)
            self.assertEqual(len(self.rows()), count, name)
            self.assertEqual(self.browser.run('return document.title'), name + ' - Ludex Atelier')
            self.assertFalse([text for kind, text in self.problems() if kind == 'error'], name)
            self.assertEqual(self.saved('build-exe', stem + '.exe'), self.expected('build', name, stem + '.exe'))
            self.assertIn('Programme proposé au téléchargement : %s.exe' % stem, self.browser.text('status'))
            self.browser.click('save-source')  # a hand-written source: the author is told first
            self.assertTrue(self.wait(self.prompt).startswith('Ce fichier a été écrit à la main.'))
            self.answer('prompt-ok')
            written = self.browser.downloaded(name)
            self.assertEqual(self.browser.text('status'), 'Proposé au téléchargement : ' + name)
            self.browser.forget_download(name)
            again = self.file('again-' + name, written)
            self.assertEqual(self.expected('build', again, 'again.exe'), self.expected('build', name, 'first.exe'))

    def test_programs_pages_and_tables_open_as_quizzes(self):
        self.pack('build', os.path.join(EXAMPLES, 'capitales.txt'), '-o', 'capitales.exe', '--player', PLAYER)
        self.pack('web', os.path.join(EXAMPLES, 'capitales.txt'), '-o', 'capitales.html')
        for name in ('capitales.exe', 'capitales.html'):
            if self.open_file(os.path.join(self.folder, name)).startswith('Enregistrer les modifications'):
                self.answer('prompt-discard')  # the quiz taken from the program is no source yet
            self.assertEqual(self.browser.text('status'), 'Quiz repris de %s : enregistrez-le pour en garder la source.'
                             % name)
            self.assertEqual(len(self.rows()), 15, name)
            self.assertEqual(self.rows()[0][2], 'Paris')
        table = self.file('questions.csv', 'Question;Réponse;Code\r\nFrance ?;Paris;A\r\nItalie ?;Rome;B\r\n')
        self.browser.choose_file(table, 'open-file')
        self.assertEqual(self.wait(self.prompt), 'Enregistrer les modifications de « Sans titre » ?')
        self.answer('prompt-discard')
        self.assertTrue(self.wait(self.preview_open))
        self.answer('preview-ok')
        self.assertEqual([row[1:3] for row in self.rows()], [['France ?', 'Paris'], ['Italie ?', 'Rome']])

    def test_typing_undo_redo_limit_and_fit_warning_shown_live(self):
        self.open_file(os.path.join(EXAMPLES, 'capitales.txt'))
        self.select_row(3)
        self.type('answer', 'Roma')
        self.assertEqual(self.rows()[2][2], 'Roma')
        self.assertEqual(self.browser.run('return document.title'), 'capitales.txt* - Ludex Atelier')
        self.browser.click('undo')
        self.assertEqual((self.rows()[2][2], self.browser.text('status')),
                         ('Rome', 'Annulé : la saisie dans « réponse » (question 3).'))
        self.browser.click('redo')
        self.assertEqual(self.browser.value('field-answer'), 'Roma')
        # A limit: the counter, the row and the problems list, as the author types.
        self.type('reveal', 'x' * 300)
        self.assertEqual(self.browser.text('counter-reveal'), '300 / 259')
        self.assertTrue(self.browser.run('return document.getElementById("counter-reveal").classList.contains("over")'))
        self.assertEqual(self.rows()[2][0], '3 !')
        self.assertIn(['error', 'Erreur, question 3, « révélation » : le texte de « révélation: » fait 300 '
                       'caractères ; le lecteur en garde au plus 259 (un retour à la ligne compte pour deux)'],
                      self.problems())
        # A fit warning: what the player's code field will show of a code too wide.
        self.type('code', 'ÉTINCELLE')
        self.assertIn(['', "Avertissement, question 3, « code » : le code s'affichera « ÉTINCEL » : la suite "
                       "(« LE ») ne tient pas dans sa case du lecteur"], self.problems())
        self.browser.press('field-code', 'Control+z')
        self.assertEqual(self.browser.value('field-code'), 'PHARE')

    def test_a_suggested_spelling_accepted_with_one_click_or_key(self):
        self.open_file(os.path.join(EXAMPLES, 'capitales.txt'))
        self.select_row(1)
        self.type('answer', 'La Chine')
        suggested = 'return [...document.querySelectorAll("#suggestions-answer button")].map((b) => b.textContent)'
        self.assertEqual(self.browser.run(suggested), ['Chine'])
        self.browser.click_at('#suggestions-answer button')
        self.assertEqual((self.browser.value('field-accepted'), self.browser.text('counter-accepted')), ('Chine', '1 / 16'))
        self.assertEqual((self.rows()[0][2], self.browser.text('status')),
                         ('La Chine (+1)', 'Réponse acceptée ajoutée : « Chine ».'))
        self.assertEqual(self.browser.run(suggested), [])
        if ENGINE == 'firefox':
            return  # its driver's Enter on a button makes no click, which a real key does
        self.type('answer', 'Marie Curie')
        self.browser.press('suggestion-answer-0', 'Enter')  # a key takes it too
        self.assertEqual(self.browser.value('field-accepted'), 'Chine\nCurie')

    def test_paste_shown_first_when_its_columns_are_not_the_quiz(self):
        self.open_file(os.path.join(EXAMPLES, 'capitales.txt'))
        self.select_row(15)
        self.paste(PASTED)
        self.assertTrue(self.wait(self.preview_open))
        self.assertEqual(self.browser.text('preview-ok'), 'Ajouter 2')
        choosers = 'return [...document.querySelectorAll("#preview-columns select")].map((s) => s.value)'
        self.assertEqual(self.browser.run(choosers), ['question', 'réponse', 'révélation'])
        self.browser.run('const s = document.querySelectorAll("#preview-columns select")[2]; s.selectedIndex = 7;'
                         's.dispatchEvent(new Event("change"))')
        self.assertEqual(self.browser.run(choosers), ['question', 'réponse', 'code'])
        self.answer('preview-ok')
        self.assertEqual(self.rows()[15:], [['16', 'Espagne ?', 'Madrid', '', 'ES'], ['17', 'Italie ?', 'Rome', '', 'IT']])
        self.browser.click('undo')
        self.assertEqual(len(self.rows()), 15)

    def test_leaving_unsaved_work_asks_first(self):
        leaving = ('const leave = new Event("beforeunload", {cancelable: true}); window.dispatchEvent(leave);'
                   'return leave.defaultPrevented')  # what makes the browser ask
        self.assertFalse(self.browser.run(leaving))
        self.type('title', 'À garder')
        self.assertTrue(self.browser.run(leaving))
        self.browser.click('undo')
        self.assertFalse(self.browser.run(leaving))

    def test_work_comes_back_after_its_tab_closed(self):
        self.type('title', 'Brouillon du lundi')
        self.wait(lambda: self.browser.run('return Object.keys(localStorage).some((k) => k.endsWith(".recup"))'), 8)
        self.browser.tab(1)  # a second tab, where the editor opens again once the first is closed
        self.browser.tab(0)
        self.browser.close_tab()
        self.open()
        self.assertTrue(self.wait(self.prompt).startswith(
            "Un quiz jamais enregistré a des modifications qui n'ont pas été enregistrées : Ludex Atelier s'est fermé "
            "sans les enregistrer. Une copie de secours les a gardées."))
        self.answer('prompt-yes')
        self.assertEqual(self.browser.value('field-title'), 'Brouillon du lundi')
        self.assertEqual(self.browser.run('return document.title'), 'Sans titre* - Ludex Atelier')


class Files(AtelierTest):
    def test_a_quiz_of_255_questions_builds_as_ludex_pack_and_pages_match(self):
        grand, capitales = self.file('grand.txt', source_of(255)), os.path.join(EXAMPLES, 'capitales.txt')
        stem = SAMPLES['capitales.txt'][0]
        # the source, the button, ludex-pack's command, the file offered
        cases = [(grand, 'build-exe', 'build', 'Un-grand-quiz.exe'), (grand, 'build-page', 'web', 'Un-grand-quiz.html'),
                 (capitales, 'build-page', 'web', stem + '.html'), (capitales, 'build-scorm', 'scorm', stem + '.zip')]
        for source, button, command, name in cases:
            if self.browser.run('return document.title') != os.path.basename(source) + ' - Ludex Atelier':
                self.assertEqual(self.open_file(source), 'Ouvert : ' + os.path.basename(source))
            self.assertEqual(len(self.rows()), 255 if source == grand else 15)
            self.assertEqual(self.saved(button, name), self.expected(command, source, name), name)

    def test_a_wide_table_and_a_gift_bank_open_and_build_as_ludex_pack(self):
        for name, content, rows in (('banque.csv', BANK, 3), ('banque.gift', GIFT, 2)):
            path = self.file(name, content)
            self.browser.choose_file(path, 'open-file')
            if self.wait(lambda: self.prompt() or self.preview_open()) is not True:
                self.answer('prompt-discard')  # the quiz opened before
            self.assertTrue(self.wait(self.preview_open), name)
            self.answer('preview-ok')
            self.assertEqual(len(self.rows()), rows, name)
            self.type('title', 'banque')
            self.pack('import', path, '-o', 'banque-source.txt')  # its title: the file's name
            self.assertEqual(self.saved('build-exe', 'banque.exe'),
                             self.expected('build', os.path.join(self.folder, 'banque-source.txt'), 'ludex-pack.exe'), name)

    def test_the_program_built_here_plays_under_wine(self):
        self.open_file(os.path.join(EXAMPLES, 'capitales.txt'))
        program = self.file('joue.exe', self.saved('build-exe', "Les-capitales-d'Europe.exe"))
        wine = os.path.join(ROOT, 'scripts/wine-run.sh')
        player = subprocess.Popen(['bash', wine, program], cwd=self.folder, stdin=subprocess.DEVNULL,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            found = subprocess.run(['timeout', '60', 'xdotool', 'search', '--sync', '--onlyvisible', '--name',
                                    "^Les capitales d'Europe$"], capture_output=True, text=True)
            self.assertTrue(found.stdout.split(), 'no window of the program')
            subprocess.run(['xdotool', 'windowfocus', '--sync', found.stdout.split()[0]], check=True)
            subprocess.run(['xdotool', 'type', '--delay', '40', 'Paris'], check=True)
            subprocess.run(['xdotool', 'key', 'Return'], check=True)
            read = lambda: subprocess.run(['bash', wine, PROBE, 'texts', '5001', '32'], capture_output=True).stdout
            texts = self.wait(lambda: b'BRAVO' in read() and read(), 20)
            self.assertEqual(texts.decode('cp1252').replace('\r', '').split('\n')[:2], ['BRAVO', ' 1 / 15'])
        finally:
            subprocess.run(['xdotool', 'key', 'alt+F4'])
            try:
                player.wait(timeout=20)
            except subprocess.TimeoutExpired:
                player.kill()

    def test_the_core_says_what_the_windows_editor_says(self):
        shutil.copy(PLAYER, os.path.join(self.folder, 'lecteur.exe'))
        cases = [(self.file('q.txt', 'titre: T\nmot: x\nquestion: Q\nréponse: R\ncode: C\n'),
                  "« q.txt » ne peut pas être ouvert : cette source de quiz a des erreurs que Ludex Atelier ne saurait "
                  "pas garder. Corrigez-les d'abord dans un éditeur de texte (le Bloc-notes) :\n\nq.txt:2: erreur: "
                  "mot-clé inconnu « mot »"),
                 (os.path.join(self.folder, 'lecteur.exe'),
                  "« lecteur.exe » ne peut pas être ouvert. Ce programme n'est pas un questionnaire Ludex.")]
        for path, said in cases:
            self.assertEqual(self.open_file(path)[:len(said)], said)
            self.answer('prompt-ok')


class Output(AtelierTest):
    def test_try_print_and_csv(self):
        self.open_file(os.path.join(EXAMPLES, 'capitales.txt'))
        self.browser.click('try')
        self.assertEqual(self.browser.text('status'), 'Essai lancé : jouez le quiz comme vos élèves le joueront.')
        frame = self.browser.driver.find_element('id', 'side-frame')
        self.browser.driver.switch_to.frame(frame)
        self.assertEqual(self.browser.wait_ready(), 'yes')
        self.browser.type('field-4001', 'Paris')
        self.assertEqual(self.browser.text('score'), ' 1 / 15')
        self.browser.driver.switch_to.default_content()
        self.browser.click('side-close')
        self.browser.click('print')
        self.assertIn('Pages à imprimer : « Les-capitales-d\'Europe-feuille-eleve.html » et', self.browser.text('status'))
        sheet = self.browser.run('return document.getElementById("side-frame").srcdoc')
        self.assertIn('<li><p>Quelle est la capitale de la France ?</p>', sheet)
        self.browser.click('side-key')
        self.assertIn('<td>Paris</td>', self.browser.run('return document.getElementById("side-frame").srcdoc'))
        self.browser.click('side-close')
        table = self.saved('export-csv', "Les-capitales-d'Europe.csv")
        self.assertTrue(table.startswith('\ufeffquestion;réponse;'.encode('utf-8')), table[:60])
        self.assertEqual(self.browser.errors(), [])  # the policy refused nothing


    def test_works_offline_and_asks_for_nothing(self):
        driver = self.browser.driver
        driver.execute_cdp_cmd('Network.enable', {})
        driver.execute_cdp_cmd('Network.emulateNetworkConditions', {
            'offline': True, 'latency': 0, 'downloadThroughput': -1, 'uploadThroughput': -1})
        driver.get_log('performance')
        self.open()
        self.open_file(os.path.join(EXAMPLES, 'capitales.txt'))
        self.assertEqual(self.saved('build-exe', "Les-capitales-d'Europe.exe")[:2], b'MZ')
        self.browser.click('try')
        driver.switch_to.frame(driver.find_element('id', 'side-frame'))
        self.assertEqual(self.browser.wait_ready(), 'yes')
        driver.switch_to.default_content()
        refused = driver.execute_async_script('''
            const done = arguments[arguments.length - 1];
            document.addEventListener('securitypolicyviolation', (e) => done(e.violatedDirective));
            fetch('http://127.0.0.1:9/x').catch(() => {});''')
        self.assertEqual(refused, 'connect-src')
        requests = [json.loads(entry['message'])['message'] for entry in driver.get_log('performance')]
        urls = [m['params']['request']['url'] for m in requests if m['method'] == 'Network.requestWillBeSent']
        # The page itself, and the program handed to the browser from memory.
        self.assertEqual([url for url in urls if url != 'file://' + ATELIER and not url.startswith('blob:')], [])

    def test_a_lock_manager_that_never_answers_stops_nothing(self):
        # As a headless Chromium's on a file: page: the list of locks held never comes.
        driver = self.browser.driver
        script = driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {
            'source': 'if (navigator.locks) navigator.locks.query = () => new Promise(() => {});'})
        try:
            self.open()
            self.type('title', 'T')
            self.assertIn(b'\ntitre: T\n', self.saved('save-source', 'T-source.txt'))
        finally:
            driver.execute_cdp_cmd('Page.removeScriptToEvaluateOnNewDocument', {'identifier': script['identifier']})


class Access(AtelierTest):
    def axe_problems(self):
        with open(os.environ['LUDEX_AXE'], encoding='utf-8') as file:
            self.browser.run(file.read())
        return self.browser.driver.execute_async_script('''
            const done = arguments[arguments.length - 1];
            const rules = {runOnly: {type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'best-practice']}};
            axe.run(document, rules).then((r) => done(r.violations.map((v) => v.id + ': ' +
                v.nodes.map((n) => n.target.join(' ')).slice(0, 3).join(', '))));''')

    def test_axe_finds_nothing_at_any_width_nor_in_any_dialog(self):
        for width in (1280, 768, 360):
            self.browser.set_size(width, 900)
            self.setUp()  # its copy left behind is not offered at the next width
            self.assertEqual(self.axe_problems(), [], ('blank', width))
            self.open_file(os.path.join(EXAMPLES, 'chimie-deux-reponses.txt'))
            self.select_row(2)
            self.type('reveal', 'x' * 300)  # an error: its row, its counter, its problem in red
            self.assertEqual(self.axe_problems(), [], ('quiz', width))
            self.assertTrue(self.browser.run(
                'return document.documentElement.scrollWidth <= document.documentElement.clientWidth'), width)
            self.paste(PASTED)
            self.assertTrue(self.wait(self.preview_open))
            self.assertEqual(self.browser.run('return document.activeElement.tagName'), 'SELECT')  # a guess to check
            self.assertEqual(self.axe_problems(), [], ('preview', width))
            self.answer('preview-cancel')
            self.browser.click('build-exe')  # refused: the quiz has an error
            self.assertTrue(self.wait(self.prompt))
            self.assertEqual(self.axe_problems(), [], ('question', width))
            self.answer('prompt-ok')
            self.browser.click('print')
            self.assertEqual(self.axe_problems(), [], ('print', width))
            self.browser.click('side-close')

    def test_a_wide_bank_previews_readably_on_a_computer(self):
        path = self.file('banque.csv', BANK)
        for width in (1024, 1280):
            self.browser.set_size(width, 800)
            self.setUp()
            self.browser.choose_file(path, 'open-file')
            self.assertTrue(self.wait(self.preview_open))
            self.assertEqual(self.axe_problems(), [], width)
            # Each chooser as wide as its longest field, each text cell wide enough for words, not letters.
            cut, narrowest = self.browser.run('''
                const cut = [...document.querySelectorAll('#preview-columns select')].filter((s) => {
                    const free = s.cloneNode(true);
                    free.style.cssText = 'position: absolute; font: ' + getComputedStyle(s).font;
                    document.body.append(free);
                    const wanted = free.getBoundingClientRect().width; free.remove();
                    return s.getBoundingClientRect().width < wanted - 1; }).length;
                const cells = [...document.querySelectorAll('#preview-rows tr:first-child td')].slice(1);
                return [cut, Math.min(...cells.map((c) => c.getBoundingClientRect().width))];''')
            self.assertEqual((cut, narrowest >= 120), (0, True), (width, narrowest))
            self.assertEqual(self.browser.run('return document.activeElement.id'), 'preview-ok')  # a sure guess
            self.answer('preview-cancel')

    def session_commands(self):
        """The session's table of commands, from a second instance of the page's compiled session."""
        return json.loads(self.browser.driver.execute_async_script('''
            const done = arguments[arguments.length - 1];
            createLudexAtelier({atelierHost: {}, onRuntimeInitialized() {
              const heap = this.HEAPU8, at = this._AtelierLabels();
              let end = at;
              while (heap[end]) ++end;
              done(new TextDecoder().decode(heap.subarray(at, end)));
            }});'''))['commands']

    def test_buttons_and_keys_are_the_session_table(self):
        commands = self.session_commands()
        buttons = self.browser.run('return [...document.querySelectorAll("[data-commands] button")].map('
                                   '(b) => [b.id, b.textContent, b.title])')
        self.assertEqual(buttons, [[name, commands[name]['caption'], commands[name]['title']] for name, _, _ in buttons])
        self.assertEqual(len(buttons), 18)
        # Each key of a command that has a button, and each key the list takes:
        # the command it runs, as the page marks it (Ouvrir opens the page's own chooser).
        keyed = [(name, key, 'keys') for name, _, _ in buttons if name != 'open' for key in commands[name]['keys']]
        keyed += [(name, key, 'listKeys') for name in commands for key in commands[name]['listKeys']]
        self.assertEqual(len(keyed), 16)
        for name, (key, control, shift, alt), kind in keyed:
            combination = '+'.join(['Control'] * control + ['Shift'] * shift + ['Alt'] * alt + [key])
            self.browser.run('performance.clearMarks()')
            self.browser.press('question-list', combination)
            self.assertEqual(self.browser.run('return performance.getEntriesByName("ludex-atelier-command")'
                                              '.map((m) => m.detail)'), [name], (kind, combination))
            self.browser.run('if (document.getElementById("prompt").open) '
                             'document.getElementById("prompt").dispatchEvent(new Event("cancel"))')
            if not self.browser.run('return document.getElementById("side").hidden'):
                self.browser.click('side-close')
        # In a text field, a key the field keeps is the field's.
        self.browser.type('field-title', 'T', key='')
        self.browser.run('performance.clearMarks()')
        self.browser.press('field-title', 'Control+Delete')
        self.assertEqual(self.browser.run('return performance.getEntriesByName("ludex-atelier-command").length'), 0)

    def test_the_keyboard_reaches_everything_focus_in_view(self):
        self.open_file(os.path.join(EXAMPLES, 'capitales.txt'))
        style = 'const s = getComputedStyle(document.activeElement); return [s.outlineStyle, s.outlineWidth]'
        # where the keys go, the keys, then what shows: an element's text or value, the focus, the rows
        steps = [('question-list', 'ArrowDown', 'row-label', 'Question 2 sur 15'),
                 ('question-list', 'ArrowDown', 'row-label', 'Question 3 sur 15'),
                 ('question-list', 'Enter', 'focus', 'field-question'), ('field-question', '', 'outline', ['solid', '3px']),
                 ('field-question', 'Tab', 'focus', 'field-answer'), ('field-answer', 'Control+z', 'field-answer', 'Rome'),
                 ('question-list', 'Insert', 'rows', 16), ('field-question', '', 'focus', 'field-question'),
                 ('field-question', 'Alt+ArrowUp', 'row-label', 'Question 3 sur 16'), ('question-list', 'Delete', 'rows', 15)]
        for element, keys, what, expected in steps:
            if element == 'field-answer':
                self.browser.type('field-answer', 'Roma', key='')
            if keys:
                self.browser.press(element, keys)
            shown = {'focus': self.browser.active, 'outline': lambda: self.browser.run(style),
                     'rows': lambda: len(self.rows()),
                     'field-answer': lambda: self.browser.value('field-answer')}.get(what, lambda: self.browser.text(what))
            self.assertEqual(shown(), expected, (element, keys))
        # Tab alone goes through the toolbar, the quiz's fields and settings, the list and the question's fields.
        self.browser.press('open', 'Tab')
        reached = []
        for _ in range(40):
            reached.append(self.browser.active())
            self.browser.press(reached[-1], 'Tab') if reached[-1] else None
        for expected in ('save-source', 'build-exe', 'field-title', 'answers', 'reveal', 'colour', 'question-list',
                         'field-question', 'field-code'):
            self.assertIn(expected, reached)

    def test_quiz_texts_are_shown_as_text(self):
        markup = '<b>gras</b><img src=x onerror="document.title=1">'
        self.open_file(self.file('balises.txt', 'titre: %s\nquestion: %s ?\nréponse: R\ncode: C\n' % (markup, markup)))
        self.assertEqual(self.browser.value('field-title'), markup)
        self.assertEqual(self.rows()[0][1], markup + ' ?')
        self.assertEqual(self.browser.run('return document.querySelectorAll("main b, main img").length'), 0)


# Every control shown, inside the width of the window and not under another
# element where its middle is, once scrolled into view.
LAYOUT_FAULTS = '''
    const faults = [], width = document.documentElement.clientWidth;
    const name = (e) => e.id || e.tagName + ':' + e.textContent.trim().slice(0, 20);
    for (const control of document.querySelectorAll(
        'button, input:not(.chooser), select, textarea, #question-list, #side-frame')) {
      if (!control.getClientRects().length) continue;
      let box = control.getBoundingClientRect();
      if (box.left < 0 || box.right > width + 0.5) { faults.push('outside ' + name(control)); continue; }
      control.scrollIntoView({block: 'center', inline: 'nearest'});
      box = control.getBoundingClientRect();
      const y = Math.max(1, Math.min(innerHeight - 1, box.top + box.height / 2));
      const hit = document.elementFromPoint(box.left + box.width / 2, y);
      if (!hit || (hit !== control && !control.contains(hit))) faults.push(name(control) + ' under ' + (hit && name(hit)));
    }
    window.scrollTo(0, 0);
    return faults;'''


class Truth(AtelierTest):
    """What teachers met: a save said done only once written, errors first, the layout at three widths."""

    def give_handle(self):
        """A browser that gives the file's handle; window.mode makes its write slow, refused or failed."""
        self.browser.run('''
            window.written = null;
            window.mode = 'slow';
            const handle = {kind: 'file', name: 'capitales.txt',
                            getFile: async () => new File([arguments[0]], 'capitales.txt', {lastModified: 1}),
                            createWritable: async () => {
                              if (window.mode === 'refused') {
                                throw new DOMException("Failed to execute 'createWritable'", 'NotAllowedError');
                              }
                              const chunks = [];
                              return {write: async (bytes) => {
                                        if (window.mode === 'failed') throw new DOMException('full', 'QuotaExceededError');
                                        chunks.push(bytes);
                                      },
                                      close: async () => {
                                        await new Promise((go) => { window.release = go; });
                                        window.written = new TextDecoder().decode(chunks[0]);
                                      }};
                            }};
            window.showOpenFilePicker = async () => [handle];''', CAPITALES)
        self.browser.click('open')
        self.assertTrue(self.wait(lambda: self.browser.text('status') == 'Ouvert : capitales.txt'))

    def save(self, author):
        self.type('author', author)
        self.browser.click('save-source')

    def title(self):
        return self.browser.run('return document.title')

    def test_saved_only_once_written_and_a_refusal_offers_a_download(self):
        hand_written = 'Ce fichier a été écrit à la main.'
        # The write's mode, the author typed, the questions asked with the answers given, then the status, whether
        # the quiz is still unsaved and where the source went: a slow write is saved only once written; a refused
        # one is said in French and offered as a download at once; a failed one may stay unsaved.
        cases = [('slow', 'M. Durand', [(hand_written, 'prompt-ok')], 'Enregistré : capitales.txt', False, 'written'),
                 ('refused', 'Mme Durand', [("Le quiz n'a pas pu être enregistré dans « capitales.txt » : le navigateur "
                                             "n'a pas eu la permission d'écrire ce fichier. Ses modifications restent à "
                                             "enregistrer.\n\nLe télécharger à la place ?", 'prompt-yes')],
                  'Proposé au téléchargement : capitales.txt', False, 'downloaded'),
                 ('failed', 'M. Martin', [(hand_written, 'prompt-ok'),
                                          ('le disque, ou la place que le navigateur se donne, est plein', 'prompt-no')],
                  '', True, None)]
        for mode, author, questions, status, unsaved, kept in cases:
            if mode != 'refused':  # a refusal comes after a save that made the source the writer's own
                self.give_handle()
            self.browser.run('window.mode = arguments[0]', mode)
            self.save(author)
            for words, button in questions:
                self.assertIn(words, self.wait(self.prompt), mode)
                self.assertEqual(self.title(), 'capitales.txt* - Ludex Atelier', mode)
                self.answer(button)
            if mode == 'slow':
                self.assertEqual(self.wait(lambda: self.browser.text('status')), 'Enregistrement de capitales.txt…')
                self.assertEqual((self.title(), self.browser.run('return window.written')), ('capitales.txt* - Ludex Atelier', None))
                self.browser.run('window.release()')
            self.assertTrue(self.wait(lambda: self.browser.text('status') == status), mode)
            self.assertEqual(self.title(), 'capitales.txt%s - Ludex Atelier' % ('*' if unsaved else ''), mode)
            if kept:
                source = self.browser.run('return window.written') if kept == 'written' else \
                    self.browser.downloaded('capitales.txt').decode()
                self.assertIn('\nauteur: %s\n' % author, source, mode)

    def test_errors_first_counted_and_read_whole(self):
        lines = ['titre: T'] + ['question: Q%d\nréponse: R \ncode: C' % k for k in (1, 2)]
        lines.append('question: Q3\nréponse: %s\ncode: C' % ('r' * 300))
        self.open_file(self.file('ordre.txt', '\n'.join(lines) + '\n'))
        kinds = [kind for kind, _ in self.problems()]
        self.assertEqual(kinds, ['error', '', ''])
        self.assertTrue(self.problems()[0][1].startswith('Erreur, question 3, « réponse »'))
        self.assertEqual(self.browser.text('summary'), '(1 erreur — la construction est impossible — et 2 avertissements)')
        self.assertEqual(self.browser.run('return [...document.querySelectorAll(".problem")].filter('
                                          '(b) => b.scrollWidth > b.clientWidth).length'), 0)

    def test_nothing_outside_the_window_nor_covered_at_three_widths(self):
        self.open_file(os.path.join(EXAMPLES, 'capitales.txt'))
        for width in (1280, 1024, 768):
            self.browser.set_size(width, 800)
            self.assertEqual(self.browser.run(LAYOUT_FAULTS), [], width)
            self.browser.click('try')
            self.assertTrue(self.wait(lambda: self.browser.run('return !document.getElementById("side").hidden')))
            self.assertEqual(self.browser.run(LAYOUT_FAULTS), [], ('try', width))
            self.browser.click('side-close')


class NothingKept(AtelierTest):
    prefs = {'profile.default_content_setting_values.cookies': 2}  # site data blocked

    def test_a_browser_that_keeps_nothing_says_so(self):
        self.assertFalse(self.browser.run('return document.getElementById("notice").hidden'))
        self.assertEqual(self.browser.text('notice'),
                         "Ce navigateur ne garde pas de copie de secours : une page fermée perd ce qui n'est pas "
                         "enregistré. « Enregistrer » (Ctrl+S) garde le quiz dans un fichier.")
        self.type('title', 'T')
        self.assertIn(b'\ntitre: T\n', self.saved('save-source', 'T-source.txt'))


if __name__ == '__main__':
    suite = sys.argv[6] if len(sys.argv) > 6 else 'Core'
    del sys.argv[1:]
    unittest.main(defaultTest=suite, verbosity=2)
