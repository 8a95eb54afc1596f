// Firefox ESR for the web page's tests, through puppeteer-core and WebDriver
// BiDi (no geckodriver is packaged): one command per line on standard input,
// one JSON answer per line on standard output. browser.py drives it.
//   node firefox_driver.js PROFILE DOWNLOADS WIDTH HEIGHT
// Commands: {do: 'open', url} {do: 'run', script, args} (the body of a
// function, as WebDriver runs it) {do: 'keys', id, text, key} {do: 'click', id}
// {do: 'file', id, path} {do: 'size', width, height} {do: 'tab', index}
// (index past the last: a new tab) {do: 'press', id, keys} (a combination
// such as "Control+z", in the element) {do: 'closeTab'} (the tab in use,
// which then is the first one) {do: 'quit'}.
'use strict';
const puppeteer = require('puppeteer-core');
const readline = require('readline');

const [profile, downloads, width, height] = process.argv.slice(2);
const keyNames = {'\n': 'Enter', '\t': 'Tab', F1: 'F1', F2: 'F2'};

async function main() {
  const browser = await puppeteer.launch({
    browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true, userDataDir: profile,
    defaultViewport: {width: +width, height: +height},
    extraPrefsFirefox: {'browser.download.dir': downloads, 'browser.download.folderList': 2,
                        'browser.download.useDownloadDir': true, 'browser.download.always_ask_before_handling_new_types': false,
                        // focus and blur events, as in a window that has the system's focus
                        'focusmanager.testmode': true},
  });
  const tabs = [(await browser.pages())[0] || await browser.newPage()];
  let page = tabs[0];
  const commands = {
    async open(c) { await page.goto(c.url); },
    async run(c) {
      // The page's policy forbids eval: the script runs as WebDriver's own.
      return page.evaluate('(function () {' + c.script + '}).apply(null, ' + JSON.stringify(c.args || []) + ')');
    },
    async keys(c) {
      const field = await page.$('#' + c.id);
      await field.focus();
      if (c.text) await page.keyboard.type(c.text);
      if (c.key) await page.keyboard.press(keyNames[c.key] || c.key);
    },
    async click(c) { await page.click('#' + c.id); },
    async press(c) {
      await (await page.$('#' + c.id)).focus();
      const keys = c.keys.split('+');
      for (const key of keys.slice(0, -1)) await page.keyboard.down(key);
      await page.keyboard.press(keys[keys.length - 1]);
      for (const key of keys.slice(0, -1).reverse()) await page.keyboard.up(key);
    },
    async closeTab() {
      await page.close();
      tabs.splice(tabs.indexOf(page), 1);
      page = tabs[0];
      await page.bringToFront();
    },
    async file(c) { await (await page.$('#' + c.id)).uploadFile(c.path); },
    async size(c) { await page.setViewport({width: c.width, height: c.height}); },
    async tab(c) {
      if (c.index >= tabs.length) tabs.push(await browser.newPage());
      page = tabs[c.index];
      await page.bringToFront();
    },
  };
  const lines = readline.createInterface({input: process.stdin});
  for await (const line of lines) {
    const command = JSON.parse(line);
    if (command.do === 'quit') break;
    try {
      const value = await commands[command.do](command);
      process.stdout.write(JSON.stringify({value: value === undefined ? null : value}) + '\n');
    } catch (failure) {
      process.stdout.write(JSON.stringify({error: String(failure && failure.message || failure)}) + '\n');
    }
  }
  await browser.close();
}

main().catch((failure) => {
  process.stdout.write(JSON.stringify({error: String(failure && failure.message || failure)}) + '\n');
  process.exit(1);
});
