"""The SCORM package of a quiz, and its page played inside a school's
platform in real browsers:
  scorm_test.py LUDEX_PACK ENGINE SUITE
SUITE Package checks what ludex-pack scorm writes (no browser): the same
bytes each time, the manifest element by element, its files against the
zip, the page it holds. SUITE Platform frames the package's page in a host
page served from 127.0.0.1 whose window.API is scorm-again's SCORM 1.2
run-time, with the limits of Moodle's strict mode checked by listeners
(tests/web/scorm_host.html); ENGINE is chromium, webkit (under a display)
or firefox. The core flows run in the three, the others in Chromium."""
import functools
import http.server
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import xml.etree.ElementTree as ElementTree
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
from browser import Browser, quiz_source  # noqa: E402

PACK = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else ''
ENGINE = sys.argv[2] if len(sys.argv) > 2 else 'chromium'
EXAMPLES = os.path.join(ROOT, 'examples')
SCORM_AGAIN = os.path.join(ROOT, 'build/npm/node_modules/scorm-again/dist/scorm12.min.js')
CP = '{http://www.imsproject.org/xsd/imscp_rootv1p1p2}'
ADLCP = '{http://www.adlnet.org/xsd/adlcp_rootv1p2}'
XML_ID = re.compile(r'^[A-Za-z_][A-Za-z0-9._-]*$')
NOT_SENT = "Votre score n'a pas pu être envoyé à l'ENT"


def pack(*arguments, folder):
    subprocess.run([PACK] + list(arguments), check=True, cwd=folder, capture_output=True)


def package(folder, source_name, source):
    """The package of a source (UTF-8 text), written by ludex-pack scorm."""
    path = os.path.join(folder, source_name + '.txt')
    with open(path, 'w', encoding='utf-8') as file:
        file.write(source)
    pack('scorm', path, '-o', source_name + '.zip', folder=folder)
    return os.path.join(folder, source_name + '.zip')


def example(name):
    with open(os.path.join(EXAMPLES, name), encoding='utf-8') as file:
        return file.read()


CAPITALS = re.findall(r'^réponse: (.*)$', example('capitales.txt'), re.M)


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix='ludex-scorm-package.')

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def check_manifest(self, zip_path, title):
        with zipfile.ZipFile(zip_path) as archive:
            self.assertIsNone(archive.testzip())  # every CRC-32 right
            entries = archive.infolist()
            names = [entry.filename for entry in entries]
            self.assertEqual(names[0], 'imsmanifest.xml')
            self.assertEqual({(e.compress_type, e.date_time) for e in entries}, {(0, (1980, 1, 1, 0, 0, 0))})
            root = ElementTree.fromstring(archive.read('imsmanifest.xml'))
        self.assertEqual(root.tag, CP + 'manifest')
        self.assertEqual((root.findtext(CP + 'metadata/' + CP + 'schema'),
                          root.findtext(CP + 'metadata/' + CP + 'schemaversion')), ('ADL SCORM', '1.2'))
        organizations = root.find(CP + 'organizations')
        [organization] = organizations.findall(CP + 'organization')
        self.assertEqual(organizations.get('default'), organization.get('identifier'))
        self.assertEqual(organization.findtext(CP + 'title'), title)
        [item] = organization.findall(CP + 'item')
        self.assertEqual(item.findtext(CP + 'title'), title)
        [resource] = root.findall(CP + 'resources/' + CP + 'resource')
        self.assertEqual(item.get('identifierref'), resource.get('identifier'))
        self.assertEqual((resource.get('type'), resource.get(ADLCP + 'scormtype')), ('webcontent', 'sco'))
        href = resource.get('href')
        self.assertTrue(re.fullmatch(r'[A-Za-z0-9._-]+\.html', href), href)
        self.assertEqual([f.get('href') for f in resource.findall(CP + 'file')], names[1:])
        self.assertIn(href, names)
        identifiers = [e.get('identifier') for e in root.iter() if e.get('identifier') is not None]
        self.assertEqual(len(identifiers), len(set(identifiers)))
        self.assertTrue(all(XML_ID.match(i) for i in identifiers), identifiers)
        return href

    def test_the_same_bytes_a_valid_manifest_and_the_web_page(self):
        first = os.path.join(self.folder, 'c.zip')
        pack('scorm', os.path.join(EXAMPLES, 'capitales.txt'), '-o', first, folder=self.folder)
        pack('scorm', os.path.join(EXAMPLES, 'capitales.txt'), '-o', 'c2.zip', folder=self.folder)
        with open(first, 'rb') as a, open(os.path.join(self.folder, 'c2.zip'), 'rb') as b:
            self.assertEqual(a.read(), b.read())
        href = self.check_manifest(first, "Les capitales d'Europe")
        self.assertEqual(href, 'Les-capitales-d-Europe.html')
        pack('web', os.path.join(EXAMPLES, 'capitales.txt'), '-o', href, folder=self.folder)
        with zipfile.ZipFile(first) as archive, open(os.path.join(self.folder, href), 'rb') as page:
            self.assertEqual(archive.read(href), page.read())
        # A built quiz gives the package of its source.
        player = os.path.join(ROOT, 'tests/authoring/corpus/player_image/program')
        pack('build', os.path.join(EXAMPLES, 'capitales.txt'), '-o', 'c.exe', '--player', player, folder=self.folder)
        pack('scorm', 'c.exe', '-o', 'from-exe.zip', folder=self.folder)
        with open(first, 'rb') as a, open(os.path.join(self.folder, 'from-exe.zip'), 'rb') as b:
            self.assertEqual(a.read(), b.read())

    def test_any_title_gives_valid_identifiers_and_names(self):
        # title, the page's name in the package
        cases = [('<b>&amp; "Œuvres" d\'Éluard ]]> -->', 'b-amp-OEuvres-d-Eluard.html'),
                 ('Ça, c\'est ÿ ß × 42', 'Ca-c-est-y-ss-42.html'),
                 ('À Zoé, az 09', 'A-Zoe-az-09.html'),
                 ('« ! »', 'quiz.html'),
                 ('x' * 200, 'x' * 60 + '.html')]
        for k, (title, name) in enumerate(cases):
            zip_path = package(self.folder, 'titre%d' % k, quiz_source([('Q', 'R', 'C')], title=title))
            self.assertEqual(self.check_manifest(zip_path, title), name, title)
        # A title on two lines is one line in the platform's lists.
        zip_path = package(self.folder, 'lignes', quiz_source([('Q', 'R', 'C')], title='Deux\n+ lignes'))
        self.assertEqual(self.check_manifest(zip_path, 'Deux lignes'), 'Deux-lignes.html')


class Site:
    """The platform's site on 127.0.0.1: the host page, scorm-again and each
    package unzipped in a folder of its own."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix='ludex-scorm-site.')
        shutil.copy(os.path.join(HERE, 'scorm_host.html'), os.path.join(self.folder, 'host.html'))
        shutil.copy(SCORM_AGAIN, self.folder)
        quiet = type('Quiet', (http.server.SimpleHTTPRequestHandler,), {'log_message': lambda *a: None})
        self.server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(quiet, directory=self.folder))
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.base = 'http://127.0.0.1:%d/' % self.server.server_port

    def add(self, name, source):
        """The package of a source, unzipped; the path of its page on the site."""
        zip_path = package(self.folder, name, source)
        with zipfile.ZipFile(zip_path) as archive:
            archive.extractall(os.path.join(self.folder, name))
            return name + '/' + archive.namelist()[1]

    def close(self):
        self.server.shutdown()
        self.server.server_close()
        shutil.rmtree(self.folder, ignore_errors=True)


class Host:
    """A browser on the host page, driving the framed page through it."""

    def __init__(self, site, browser):
        self.site, self.browser = site, browser

    def start(self, kind, page, saved=None, handed=None):
        self.kind = kind
        self.browser.get(self.site.base + 'host.html')
        self.browser.run('start(arguments[0], arguments[1], arguments[2], arguments[3])', kind, saved, page, handed)
        end = time.time() + 30
        while time.time() < end and self.frame('return d && d.documentElement && d.documentElement.dataset.ready') != 'yes':
            time.sleep(0.05)
        self.settle()

    def frame(self, script, *arguments):
        return self.browser.run('const f = document.getElementById("sco"), d = f.contentDocument, '
                                'w = f.contentWindow;' + script, *arguments)

    def settle(self):
        """What the page sends after a verdict goes once the verdict is shown:
        until the platform has heard nothing new for a while."""
        calls, end = -1, time.time() + 10
        while time.time() < end:
            time.sleep(0.1)
            now = self.browser.run('return platform.log.length')
            if now == calls:
                return
            calls = now

    def type(self, *answers):
        """(field, text) pairs typed, each confirmed with Enter, in one go."""
        self.frame('''for (const [id, text] of arguments[0]) {
                        const field = d.getElementById('field-' + id);
                        field.value = text;
                        field.dispatchEvent(new Event('input', {bubbles: true}));
                        field.dispatchEvent(new KeyboardEvent('keyup', {key: 'Enter', bubbles: true}));
                      }''', [list(answer) for answer in answers])
        self.settle()

    def shown(self, count):
        """The fields, their verdicts, the score and its code."""
        return self.frame('''return [[...d.querySelectorAll('.field')].slice(0, arguments[0]).map((f) => f.value),
                                     [...d.querySelectorAll('.verdict')].slice(0, arguments[0]).map((l) => l.textContent),
                                     d.getElementById('score').textContent, d.getElementById('score-code').textContent]''',
                          count)

    def text(self, element_id):
        return self.frame('return d.getElementById(arguments[0]).textContent', element_id)

    def state(self):
        return self.browser.run('return state()')

    def leave(self):
        """The page goes (pagehide); what the platform holds then."""
        self.frame('f.src = "about:blank"')
        end = time.time() + 10
        while self.kind != 'none' and time.time() < end and self.state()['log'][-1][0] != 'LMSFinish':
            time.sleep(0.05)
        time.sleep(0.2)  # and nothing after
        return self.state()


def interactions(cmi):
    """The platform's interactions, in the order of their indices."""
    return [cmi['interactions'][k] for k in sorted(cmi['interactions'], key=int)]


def sets(log, element):
    return [entry[2] for entry in log if entry[0] == 'LMSSetValue' and entry[1] == element]


class Platform(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.site = Site()
        cls.capitals = cls.site.add('capitales', example('capitales.txt'))
        words = ['mot%07d' % (k * 7919 % 10000000) for k in range(255)]  # ten characters each
        cls.large = cls.site.add('grand', quiz_source([('Q%d ?' % k, w, 'C%d' % k) for k, w in enumerate(words)]))
        cls.words = words
        cls.browser = Browser(engine=ENGINE)
        cls.host = Host(cls.site, cls.browser)

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        cls.site.close()

    def setUp(self):
        self.browser.get(self.site.base + 'host.html')
        self.browser.run('localStorage.clear()')

    def assertStrict(self, state):
        self.assertEqual(state['violations'], [])
        self.assertEqual([entry for entry in state['log'] if entry[-1] == 'false'], [])

    def test_an_attempt_then_the_same_pupil_on_another_device(self):
        host = self.host
        host.start('scorm-again', self.capitals)
        self.assertEqual(host.text('pupil'), 'Marie Dupont')
        # typed, then what the platform holds after it: score, status, interactions
        steps = [((4001, 'paris'), '6.67', 'incomplete', [['q001', 'fill-in', 'paris', 'correct']]),
                 ((4002, 'Madri'), '6.67', 'incomplete', [['q002', 'fill-in', 'Madri', 'wrong']]),
                 ((4003, 'rome'), '13.33', 'incomplete', [['q003', 'fill-in', 'rome', 'correct']])]
        heard = []
        for typed, score, status, interaction in steps:
            host.type(typed)
            log = host.state()['log']
            self.assertEqual(log[-1][0], 'LMSCommit', typed)
            self.assertEqual((sets(log, 'cmi.core.score.raw')[-1], sets(log, 'cmi.core.lesson_status')[-1]),
                             (score, status), typed)
            heard += interaction
        cmi = host.leave()
        self.assertStrict(cmi)
        self.assertEqual(cmi['log'][-3:], [['LMSSetValue', 'cmi.core.session_time', cmi['cmi']['core']['session_time'],
                                            'true'], ['LMSSetValue', 'cmi.core.exit', 'suspend', 'true'],
                                           ['LMSFinish', '', 'true']])
        self.assertRegex(cmi['cmi']['core']['session_time'], r'^\d\d:\d\d:\d\d$')
        held = cmi['cmi']
        self.assertEqual([[i['id'], i['type'], i['student_response'], i['result']] for i in interactions(held)],
                         heard)
        self.assertEqual((held['core']['score'], held['core']['lesson_status']),
                         ({'raw': '13.33', 'min': '0', 'max': '100'}, 'incomplete'))
        before = [['paris', 'Madri', 'rome', ''], ['BRAVO', 'Quasiment', 'BRAVO', '?'], ' 2 / 15', 'BOUÉE']
        other = Browser(engine=ENGINE)
        try:
            elsewhere = Host(self.site, other)
            elsewhere.start('scorm-again', self.capitals, held)
            self.assertEqual(elsewhere.shown(4), before)
            self.assertEqual(elsewhere.text('message'), '')
            elsewhere.type(*[(4001 + k, capital) for k, capital in enumerate(CAPITALS) if k not in (0, 2)])
            done = elsewhere.leave()
        finally:
            other.close()
        self.assertStrict(done)
        core = done['cmi']['core']
        self.assertEqual((core['score']['raw'], core['lesson_status']), ('100', 'completed'))
        ids = [i['id'] for i in interactions(done['cmi'])]
        self.assertEqual(ids, ['q001', 'q002', 'q003', 'q002'] + ['q%03d' % k for k in range(4, 16)])  # in sequence

    def test_255_questions_fit_and_come_back(self):
        host = self.host
        host.start('scorm-again', self.large)
        host.type(*[(4001 + k, word) for k, word in enumerate(self.words)])
        state = host.leave()
        self.assertStrict(state)
        held = state['cmi']
        self.assertLess(len(held['suspend_data']), 3300)
        self.assertEqual((held['core']['score']['raw'], held['core']['lesson_status']), ('100', 'completed'))
        self.assertEqual(len(held['interactions']), 255)
        self.browser.run('localStorage.clear()')  # only the platform has them now
        host.start('scorm-again', self.large, held)
        fields, labels, score, _ = host.shown(255)
        self.assertEqual((fields, set(labels), score), (self.words, {'BRAVO'}, ' 255 / 255'))

    def test_a_platform_that_refuses_everything_and_no_platform(self):
        host = self.host
        host.start('refusing', self.capitals)
        host.type((4001, 'Paris'))
        self.assertEqual(host.shown(1)[1:3], [['BRAVO'], ' 1 / 15'])
        notice = host.text('platform-notice')
        self.assertTrue(notice.startswith(NOT_SENT) and 'restent gardées dans ce navigateur' in notice, notice)
        state = host.leave()
        self.assertEqual(state['log'][-1][0], 'LMSFinish')
        host.start('none', self.capitals)  # the page alone, as today: its answers came back from the browser
        self.assertEqual(host.shown(1), [['Paris'], ['BRAVO'], ' 1 / 15', 'ÉTOILE'])
        self.assertEqual((host.text('platform-notice'), host.frame('return d.getElementById("pupil-line").hidden')),
                         ('', True))
        self.assertEqual(host.state()['log'], [])

    @unittest.skipIf(ENGINE != 'chromium', 'the core flows run in every engine, these in Chromium')
    def test_a_platform_gone_mid_game(self):
        host = self.host
        host.start('scorm-again', self.capitals)
        host.type((4001, 'Paris'))
        self.assertEqual(host.text('platform-notice'), '')
        self.browser.run('platform.gone = true')
        host.type((4002, 'Madrid'))
        self.assertTrue(host.text('platform-notice').startswith(NOT_SENT))
        self.assertEqual(host.shown(2)[1:3], [['BRAVO', 'BRAVO'], ' 2 / 15'])
        self.browser.run('platform.gone = false')
        host.start('scorm-again', self.capitals, {'core': {'student_id': '42'}})  # it kept nothing of Madrid
        self.assertEqual(host.shown(2)[0], ['Paris', 'Madrid'])

    @unittest.skipIf(ENGINE != 'chromium', 'the core flows run in every engine, these in Chromium')
    def test_answers_too_long_for_the_platform(self):
        letters = random.Random(60)
        long_answers = ['%03d ' % k + ''.join(letters.choice('abcdefghijklmnopqrstuvwxyzé') for _ in range(200))
                        for k in range(60)]
        page = self.site.add('long', quiz_source([('Q ?', a, 'C') for a in long_answers]))
        host = self.host
        host.start('scorm-again', page)
        host.type(*[(4001 + k, a) for k, a in enumerate(long_answers)])
        notice = host.text('platform-notice')
        kept = int(re.search(r'questions 1 à (\d+),', notice).group(1))
        self.assertTrue(notice.startswith("Vos réponses sont trop longues pour l'ENT"), notice)
        state = host.leave()
        self.assertStrict(state)
        self.assertEqual(state['cmi']['core']['score']['raw'], '100')
        self.browser.run('localStorage.clear()')
        host.start('scorm-again', page, state['cmi'])
        fields = host.shown(60)[0]
        self.assertEqual(fields, long_answers[:kept] + [''] * (60 - kept))

    @unittest.skipIf(ENGINE != 'chromium', 'the core flows run in every engine, these in Chromium')
    def test_this_browsers_other_answers_are_offered(self):
        host = self.host
        host.start('scorm-again', self.capitals)
        host.type((4001, 'Lyon'), (4002, 'Madrid'))
        held = host.leave()['cmi']
        host.start('scorm-again', self.capitals)  # a fresh attempt, the browser's answers fill it
        host.type((4001, 'Paris'), (4003, 'Rome'))
        host.leave()
        # The platform's first attempt comes back: the browser's Paris and Rome differ or fill.
        host.start('scorm-again', self.capitals, held)
        self.assertEqual(host.shown(3)[0], ['Lyon', 'Madrid', 'Rome'])
        self.assertEqual(host.text('message'), "Sur cet appareil, 1 de vos réponses n'est pas celle que l'ENT a "
                                               "gardée. Reprendre celle de cet appareil ?")
        host.frame('d.getElementById("offer-kept").click()')
        host.settle()
        self.assertEqual(host.shown(3)[:2], [['Paris', 'Madrid', 'Rome'], ['BRAVO', 'BRAVO', 'BRAVO']])
        self.assertEqual(sets(host.state()['log'], 'cmi.core.score.raw')[-1], '20')
        host.frame('d.getElementById("undo").click()')
        host.settle()
        self.assertEqual(host.shown(1)[0], ['Lyon'])
        self.assertStrict(host.leave())

    @unittest.skipIf(ENGINE != 'chromium', 'the core flows run in every engine, these in Chromium')
    def test_what_the_platform_hands_back_is_never_trusted(self):
        host = self.host
        host.start('none', self.capitals)
        host.type((4001, 'Paris'))
        # what the platform hands over: its text, the pupil's name, the interactions it counts
        hostile = [('ludex1.!!!!', 'Dupont, Marie', ''), ('ludex1.' + 'A' * 5000, '<img src=x onerror=alert(1)>', '-7'),
                   ('{"slide": 3}', ', ', 'x'), ('x' * 100000, 'É' * 1000, '1e9'), (None, None, None)]
        for text, name, count in hostile:
            host.start('scorm-again', self.capitals, {'core': {'student_id': ''}},
                       {'cmi.suspend_data': text, 'cmi.core.student_name': name, 'cmi.interactions._count': count})
            self.assertEqual(host.shown(1)[:2], [['Paris'], ['BRAVO']], name)
            self.assertEqual(host.frame('return d.querySelectorAll("img").length'), 0)
            host.type((4002, 'Madrid'))
            self.assertEqual(host.shown(2)[2], ' 2 / 15', name)
            self.assertEqual(host.state()['violations'], [])
        # The page hidden, then shown again: a commit, and the session goes on.
        host.start('scorm-again', self.capitals)
        host.frame('''Object.defineProperty(d, 'visibilityState', {value: 'hidden', configurable: true});
                      d.dispatchEvent(new Event('visibilitychange'));''')
        self.assertEqual(host.state()['log'][-1][0], 'LMSCommit')
        host.type((4002, 'Madrid'))
        self.assertEqual(sets(host.state()['log'], 'cmi.core.score.raw')[-1], '6.67')


if __name__ == '__main__':
    suite = sys.argv[3] if len(sys.argv) > 3 else None
    unittest.main(argv=[sys.argv[0]] + ([suite] if suite else []), verbosity=2)
