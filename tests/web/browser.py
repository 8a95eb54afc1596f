"""Debian's headless Chromium through WebDriver, for the web page's tests
and benchmark: a fresh profile each time, no network of its own."""
import os
import shutil
import subprocess
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

FLAGS = ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
         '--disable-component-update', '--disable-sync', '--no-first-run', '--disable-extensions',
         '--disable-default-apps', '--mute-audio']


class Browser:
    """One Chromium with its own profile and download folder."""

    def __init__(self, width=1100, height=900, profile=None):
        self.folder = tempfile.mkdtemp(prefix='ludex-browser.')
        self.downloads = os.path.join(self.folder, 'downloads')
        os.mkdir(self.downloads)
        options = webdriver.ChromeOptions()
        for flag in FLAGS + ['--user-data-dir=' + (profile or os.path.join(self.folder, 'profile'))]:
            options.add_argument(flag)
        options.set_capability('goog:loggingPrefs', {'browser': 'ALL', 'performance': 'ALL'})
        self.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        self.driver.set_window_size(width, height)
        self.driver.execute_cdp_cmd('Browser.setDownloadBehavior',
                                    {'behavior': 'allow', 'downloadPath': self.downloads})

    def close(self):
        self.driver.quit()
        shutil.rmtree(self.folder, ignore_errors=True)

    def open(self, page):
        """Opens a page file and waits until it has shown its quiz."""
        self.driver.get('file://' + os.path.abspath(page))
        return self.wait_ready()

    def wait_ready(self, seconds=20):
        end = time.time() + seconds
        while time.time() < end:
            ready = self.driver.execute_script('return document.documentElement.dataset.ready')
            if ready != 'no':
                return ready
            time.sleep(0.02)
        return 'no'

    def wait_text(self, element_id, seconds=10):
        """The element's text once it has one."""
        end = time.time() + seconds
        while time.time() < end:
            text = self.text(element_id)
            if text:
                return text
            time.sleep(0.02)
        return ''

    def text(self, element_id):
        return self.driver.execute_script('return document.getElementById(arguments[0]).textContent', element_id)

    def value(self, element_id):
        return self.driver.execute_script('return document.getElementById(arguments[0]).value', element_id)

    def background(self, element_id):
        return self.driver.execute_script(
            'return getComputedStyle(document.getElementById(arguments[0])).backgroundColor', element_id)

    def errors(self):
        """The console's errors since the last call (CSP refusals included)."""
        return [entry['message'] for entry in self.driver.get_log('browser') if entry['level'] == 'SEVERE']

    def downloaded(self, name, seconds=10):
        path = os.path.join(self.downloads, name)
        end = time.time() + seconds
        while time.time() < end:
            if os.path.exists(path) and not os.path.exists(path + '.crdownload'):
                with open(path, 'rb') as file:
                    return file.read()
            time.sleep(0.05)
        raise AssertionError('no download %s in %s' % (name, os.listdir(self.downloads)))


def make_page(tool, folder, name, source):
    """The page of a quiz source (UTF-8 text) made by the native ludex-pack web."""
    source_path = os.path.join(folder, name + '.source.txt')
    with open(source_path, 'w', encoding='utf-8') as file:
        file.write(source)
    page = os.path.join(folder, name + '.html')
    subprocess.run([tool, 'web', source_path, '-o', page], check=True, stdout=subprocess.DEVNULL)
    return page


def quiz_source(questions, title='Essai', reveal_mode=0, answers=1, extra=''):
    """A source from (question, answer, [answer2,] reveal, code) tuples."""
    lines = ['titre: ' + title, 'auteur: M. Test', 'explication: Une ligne.', 'réponses par question: %d' % answers,
             'mode révélation: %d' % reveal_mode, extra]
    for row in questions:
        lines.append('question: ' + row[0])
        lines.append('réponse: ' + row[1])
        rest = list(row[2:])
        if answers == 2:
            lines.append('réponse2: ' + rest.pop(0))
        if reveal_mode in (2, 3, 4):
            lines.append('révélation: ' + rest[0])
        if reveal_mode == 3:
            lines.append('révélation2: non montrée')
        lines.append('code: ' + rest[-1])
    return '\n'.join(lines) + '\n'
