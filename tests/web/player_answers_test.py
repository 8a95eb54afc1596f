"""The answers file between the page and the Windows player, under wine:
the page's download read by the player gives the same fields and verdicts,
and the player's own file read by the page does too. The pages are written
by ludex-pack web, from the source and from the built quiz.
  player_answers_test.py LUDEX_PACK_EXE PLAYER_EXE PROBE_EXE"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
from browser import Browser, quiz_source  # noqa: E402

TITLE = 'Echange des reponses'
ROWS = [('France ?', 'Paris', 'UN'), ('Corée du Sud ?', 'Séoul', 'DEUX'), ('Italie ?', 'Rome', 'TROIS'),
        ('Pérou ?', 'Lima', 'QUATRE')]
COUNT = len(ROWS)


def fail(message):
    print('FAIL: ' + message)
    sys.exit(1)


def wine(*arguments, cwd=None):
    return subprocess.run(['bash', os.path.join(ROOT, 'scripts/wine-run.sh')] + list(arguments), cwd=cwd,
                          stdin=subprocess.DEVNULL, capture_output=True)


def page_state(browser):
    ids = ['field-%d' % (4001 + k) for k in range(COUNT)] + ['label-%d' % (5001 + k) for k in range(COUNT)]
    return [browser.value(i) if i.startswith('field') else browser.text(i) for i in ids] + [
        browser.text('score'), browser.text('score-code')]


class Player:
    """The packed player running under wine, read through the probe."""

    def __init__(self, program, folder, probe):
        self.probe = probe
        self.process = subprocess.Popen(['bash', os.path.join(ROOT, 'scripts/wine-run.sh'), program], cwd=folder,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        found = subprocess.run(['timeout', '60', 'xdotool', 'search', '--sync', '--onlyvisible', '--name',
                                '^%s$' % TITLE], capture_output=True, text=True)
        self.window = found.stdout.split()[0] if found.stdout.split() else fail('no player window')
        subprocess.run(['xdotool', 'windowfocus', '--sync', self.window], check=True)

    def state(self, until=lambda texts: True):
        """Fields, labels, score and code, once until accepts them (keys land asynchronously)."""
        ids = [str(4001 + k) for k in range(COUNT)] + [str(5001 + k) for k in range(COUNT)] + ['32', '30']
        for _ in range(40):
            read = wine(self.probe, 'texts', *ids)
            texts = read.stdout.decode('cp1252').replace('\r', '').split('\n')[:len(ids)]
            if until(texts):
                break
            time.sleep(0.25)
        return texts

    def close(self):
        subprocess.run(['xdotool', 'key', 'alt+F4'])
        try:
            self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            fail('the player did not end after Alt+F4')


def main():
    if not os.environ.get('DISPLAY'):
        os.execvp('xvfb-run', ['xvfb-run', '-a', '-s', '-screen 0 1280x1024x24', sys.executable] + sys.argv)
    pack, player, probe = (os.path.abspath(p) for p in sys.argv[1:4])
    work = tempfile.mkdtemp(prefix='ludex-web-wine.')
    browser = None
    try:
        with open(os.path.join(work, 'quiz.txt'), 'w', encoding='utf-8') as file:
            file.write(quiz_source(ROWS, title=TITLE))
        shutil.copy(player, os.path.join(work, 'player.exe'))
        for arguments in (['build', 'quiz.txt', '-o', 'mon quiz.exe', '--player', 'player.exe'],
                          ['web', 'quiz.txt', '-o', 'mon quiz.html'], ['web', 'mon quiz.exe', '-o', 'du programme.html']):
            made = wine(pack, *arguments, cwd=work)
            if made.returncode != 0:
                fail('ludex-pack %s: %s' % (' '.join(arguments), made.stderr.decode('utf-8', 'replace')))
        pages = [open(os.path.join(work, name), encoding='utf-8').read() for name in ('mon quiz.html', 'du programme.html')]
        resources = [re.findall(r'id="resource-10[45]">([^<]*)<', page) for page in pages]
        if len(resources[0]) != 2 or resources[0] != resources[1]:
            fail('the pages from the source and from the program carry other resources')

        # The page's file, read by the player.
        browser = Browser()
        if browser.open(os.path.join(work, 'mon quiz.html')) != 'yes':
            fail('the page did not start')
        for k, typed in enumerate(['paris', 'Séoul', 'Rmoe', '']):
            field = browser.driver.find_element(By.ID, 'field-%d' % (4001 + k))
            field.send_keys(typed + Keys.ENTER)
        browser.driver.find_element(By.ID, 'save').click()
        saved = browser.downloaded('mon quiz.txt')
        if saved != b'paris\r\nS\xe9oul\r\nRmoe\r\n\r\n':
            fail('the page saved %r' % saved)
        shown = page_state(browser)
        run = os.path.join(work, 'run')
        os.mkdir(run)
        shutil.copy(os.path.join(browser.downloads, 'mon quiz.txt'), run)
        running = Player(os.path.join(work, 'mon quiz.exe'), run, probe)
        read = running.state(lambda texts: texts == shown)
        if read != shown:
            fail('the player shows %r, the page showed %r' % (read, shown))

        # The player's file, read by the page.
        # The first field has the focus, its text selected: typing replaces it.
        subprocess.run(['xdotool', 'type', '--delay', '40', 'Rome'], check=True)
        subprocess.run(['xdotool', 'key', '--delay', '40', 'Tab', 'Tab', 'Tab'], check=True)
        subprocess.run(['xdotool', 'type', '--delay', '40', 'Lima'], check=True)
        subprocess.run(['xdotool', 'key', 'Return'], check=True)
        fields = ['Rome', 'Séoul', 'Rmoe', 'Lima']
        typed = running.state(lambda texts: texts[:4] == fields and texts[7] == 'BRAVO')
        if typed[:4] != fields:
            fail('the keys typed into the player gave %r' % typed)
        running.close()
        browser.close()
        browser = Browser()
        if browser.open(os.path.join(work, 'du programme.html')) != 'yes':
            fail('the page made from the program did not start')
        browser.choose_file(os.path.join(run, 'mon quiz.txt'))
        if 'remplacera' in browser.wait_text('message'):  # the page asks before taking a file
            browser.click('offer-yes')
        if 'Réponses reprises' not in browser.text('message'):
            fail('the page refused the player\'s file: ' + browser.text('message'))
        if page_state(browser) != typed:
            fail('the page shows %r, the player showed %r' % (page_state(browser), typed))
        print('web answers with the player: all checks passed')
    finally:
        if browser is not None:
            browser.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    main()
