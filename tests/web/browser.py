"""A real browser for the web page's tests and benchmark, each with a fresh
profile and download folder and no network of its own: Chromium (headless,
WebDriver), WebKitGTK (WebDriver; it needs a display: run under xvfb-run) or
Firefox ESR (puppeteer-core over WebDriver BiDi, firefox_driver.js). The
three answer the same calls; driver is selenium's, for Chromium-only checks."""
import glob
import json
import os
import shutil
import subprocess
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.webkitgtk.options import Options as WebKitOptions

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
NODE_MODULES = os.path.join(ROOT, 'build/npm/node_modules')
FLAGS = ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
         '--disable-component-update', '--disable-sync', '--no-first-run', '--disable-extensions',
         '--disable-default-apps', '--mute-audio']
KEYS = {'Enter': Keys.ENTER, 'Tab': Keys.TAB, 'F1': Keys.F1, 'F2': Keys.F2, '': ''}
# The names of keys in a combination ("Control+z"), as puppeteer spells them.
COMBINATION_KEYS = {'Control': Keys.CONTROL, 'Alt': Keys.ALT, 'Shift': Keys.SHIFT, 'ArrowUp': Keys.ARROW_UP,
                    'ArrowDown': Keys.ARROW_DOWN, 'Enter': Keys.ENTER, 'Tab': Keys.TAB, 'Delete': Keys.DELETE,
                    'Insert': Keys.INSERT, 'Escape': Keys.ESCAPE, 'F5': Keys.F5, 'F7': Keys.F7, 'F8': Keys.F8}
ENGINES = ('chromium', 'webkit', 'firefox')


def chromium(profile, prefs):
    options = webdriver.ChromeOptions()
    for flag in FLAGS + ['--user-data-dir=' + profile]:
        options.add_argument(flag)
    if prefs:
        options.add_experimental_option('prefs', prefs)
    options.set_capability('goog:loggingPrefs', {'browser': 'ALL', 'performance': 'ALL'})
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)


def webkit(home):
    # WebKitGTK saves downloads in the download folder of its HOME; its
    # driver starts with this process's environment.
    previous = os.environ.get('HOME')
    os.environ['HOME'] = home
    try:
        return webdriver.WebKitGTK(executable_path='/usr/bin/WebKitWebDriver', options=WebKitOptions())
    finally:
        os.environ['HOME'] = previous or ''



class FirefoxDriver:
    """firefox_driver.js as a child process, one JSON line each way."""

    def __init__(self, profile, downloads, width, height):
        self.process = subprocess.Popen(
            ['node', os.path.join(HERE, 'firefox_driver.js'), profile, downloads, str(width), str(height)],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, env=dict(os.environ, NODE_PATH=NODE_MODULES))

    def call(self, command, **arguments):
        self.process.stdin.write(json.dumps(dict(arguments, do=command)) + '\n')
        self.process.stdin.flush()
        answer = json.loads(self.process.stdout.readline() or '{"error": "firefox_driver.js stopped"}')
        if 'error' in answer:
            raise RuntimeError('firefox: %s: %s' % (command, answer['error']))
        return answer['value']

    def quit(self):
        try:
            self.process.stdin.write('{"do": "quit"}\n')
            self.process.stdin.close()
            self.process.wait(timeout=20)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()


class Browser:
    """One browser of an engine with its own profile and download folder."""

    def __init__(self, width=1100, height=900, engine='chromium', prefs=None):
        self.engine = engine
        self.folder = tempfile.mkdtemp(prefix='ludex-browser.')
        self.downloads = os.path.join(self.folder, 'Downloads')
        os.mkdir(self.downloads)
        profile = os.path.join(self.folder, 'profile')
        self.driver = None
        self.firefox = None
        self.handles = None  # selenium's tabs, in the order they were made
        if engine == 'firefox':
            self.firefox = FirefoxDriver(profile, self.downloads, width, height)
            return
        self.driver = chromium(profile, prefs) if engine == 'chromium' else webkit(self.folder)
        self.driver.set_window_size(width, height)
        if engine == 'chromium':
            self.driver.execute_cdp_cmd('Browser.setDownloadBehavior',
                                        {'behavior': 'allow', 'downloadPath': self.downloads})

    def close(self):
        if self.firefox:
            self.firefox.quit()
        else:
            self.driver.quit()
        shutil.rmtree(self.folder, ignore_errors=True)

    def run(self, script, *arguments):
        """The body of a function run in the page, as WebDriver runs it; its result."""
        if self.firefox:
            return self.firefox.call('run', script=script, args=list(arguments))
        return self.driver.execute_script(script, *arguments)

    def get(self, url):
        if self.firefox:
            self.firefox.call('open', url=url)
        else:
            self.driver.get(url)

    def open(self, page):
        """Opens a page file and waits until it has shown its quiz."""
        self.get('file://' + os.path.abspath(page))
        return self.wait_ready()

    def reload(self):
        self.run('location.reload()')
        time.sleep(0.2)
        return self.wait_ready()

    def wait_ready(self, seconds=30):
        end = time.time() + seconds
        while time.time() < end:
            try:
                ready = self.run('return document.documentElement.dataset.ready')
            except Exception:  # the page is being replaced
                ready = 'no'
            if ready not in ('no', None):
                return ready
            time.sleep(0.05)
        return 'no'

    def wait_text(self, element_id, seconds=10):
        """The element's text once it has one."""
        end = time.time() + seconds
        while time.time() < end:
            text = self.text(element_id)
            if text:
                return text
            time.sleep(0.05)
        return ''

    def text(self, element_id):
        return self.run('return document.getElementById(arguments[0]).textContent', element_id)

    def value(self, element_id):
        return self.run('return document.getElementById(arguments[0]).value', element_id)

    def background(self, element_id):
        return self.run('return getComputedStyle(document.getElementById(arguments[0])).backgroundColor', element_id)

    def active(self):
        return self.run('return document.activeElement.id')

    def type(self, element_id, text, key='Enter', clear=True):
        """Real key presses into an element: its text replaced, then key."""
        if clear:
            self.run('const e = document.getElementById(arguments[0]); e.focus(); e.select()', element_id)
        if self.firefox:
            self.firefox.call('keys', id=element_id, text=text, key=key)
        else:
            element = self.driver.find_element(By.ID, element_id)
            if clear:
                element.clear()
            element.send_keys(text + KEYS[key])

    def click_at(self, selector):
        """A click on the first element a CSS selector finds (a table's cell, which has no id)."""
        self.run('document.querySelector(arguments[0]).scrollIntoView({block: "center"})', selector)
        if self.firefox:
            self.firefox.call('click', id=selector[1:])  # the driver puts back the '#'
        else:
            self.driver.find_element(By.CSS_SELECTOR, selector).click()

    def click(self, element_id):
        self.run('document.getElementById(arguments[0]).scrollIntoView({block: "center"})', element_id)
        if self.firefox:
            self.firefox.call('click', id=element_id)
        else:
            self.driver.find_element(By.ID, element_id).click()

    def press(self, element_id, keys):
        """A key combination such as "Control+z" pressed in an element."""
        if self.firefox:
            self.firefox.call('press', id=element_id, keys=keys)
            return
        self.run('document.getElementById(arguments[0]).focus()', element_id)
        parts = [COMBINATION_KEYS.get(key, key) for key in keys.split('+')]
        chain = ActionChains(self.driver)
        for key in parts[:-1]:
            chain.key_down(key)
        chain.send_keys(parts[-1])
        for key in reversed(parts[:-1]):
            chain.key_up(key)
        chain.perform()

    def choose_file(self, path, element_id='answers-file'):
        if self.firefox:
            self.firefox.call('file', id=element_id, path=path)
        else:
            self.driver.find_element(By.ID, element_id).send_keys(path)

    def set_size(self, width, height):
        if self.firefox:
            self.firefox.call('size', width=width, height=height)
        else:
            self.driver.set_window_size(width, height)

    def tab(self, index):
        """Tab index of this browser, made when it is new; the same page, the same profile."""
        if self.firefox:
            self.firefox.call('tab', index=index)
            return
        # The driver's list of handles need not follow the order the tabs were made in.
        self.handles = self.handles or [self.driver.current_window_handle]
        if index >= len(self.handles):
            self.driver.switch_to.new_window('tab')
            self.handles.append(self.driver.current_window_handle)
        else:
            self.driver.switch_to.window(self.handles[index])

    def close_tab(self):
        """Closes the tab in use; the first one left is then in use."""
        if self.firefox:
            self.firefox.call('closeTab')
            return
        closing = self.driver.current_window_handle
        self.driver.close()
        self.handles = [handle for handle in (self.handles or []) if handle != closing] or \
            list(self.driver.window_handles)
        self.driver.switch_to.window(self.handles[0])

    def errors(self):
        """Chromium's console errors since the last call (CSP refusals included)."""
        return [entry['message'] for entry in self.driver.get_log('browser') if entry['level'] == 'SEVERE']

    def downloaded(self, name, seconds=15):
        end = time.time() + seconds
        while time.time() < end:
            found = [path for path in glob.glob(os.path.join(self.folder, '**', name), recursive=True)
                     if not os.path.exists(path + '.crdownload') and not os.path.exists(path + '.part')]
            if found and os.path.getsize(found[0]) > 0:
                time.sleep(0.1)
                with open(found[0], 'rb') as file:
                    return file.read()
            time.sleep(0.05)
        raise AssertionError('no download %s in %s' % (name, os.listdir(self.downloads)))

    def forget_download(self, name):
        for path in glob.glob(os.path.join(self.folder, '**', name), recursive=True):
            os.remove(path)


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
