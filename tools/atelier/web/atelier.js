// Ludex Atelier in a browser: the page over the compiled editing session
// (createLudexAtelier, atelier_exports.cpp), which decides everything and
// makes every sentence. This script draws the session's view, always as
// text, forwards what the author does (keys, clicks, typing, files picked
// or dropped, pasted rows), shows the session's questions as dialogs, and
// does for its host (browser_host.cpp) what only a browser can: keep the
// editor's own files in local storage, offer what the author saves as
// downloads, share the recovery copies' locks between tabs, and show a try
// of the quiz and the pages to print beside the editor.
'use strict';
(function () {
  const Kind = {Notice: 0, Confirm: 1, YesNo: 2, SaveChanges: 3, Preview: 6};
  const Answer = {Ok: 0, Cancel: 1, Yes: 2, No: 3};
  // The buttons of each kind of question, and the answer Esc gives.
  const PromptButtons = {
    [Kind.Notice]: [['prompt-ok'], Answer.Ok], [Kind.Confirm]: [['prompt-ok', 'prompt-cancel'], Answer.Cancel],
    [Kind.YesNo]: [['prompt-yes', 'prompt-no'], Answer.No],
    [Kind.SaveChanges]: [['prompt-save', 'prompt-discard', 'prompt-cancel'], Answer.Cancel],
  };
  const Key = 'ludex-atelier:';  // every key of this page in local storage
  const FileKey = Key + 'fichier:', LockKey = Key + 'verrou:', TabKey = Key + 'onglet:';
  const TabAlive = 90000;  // ms: a tab seen later than this is closed (where tabs cannot hold Web Locks)
  const LocksPatience = 500;  // ms: how long the lock manager may take to list the locks held

  const page = document.documentElement;
  const byId = (id) => document.getElementById(id);
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  let editor = null;  // the compiled session
  let labels = null;  // the session's display tables: the fields, the commands...
  let view = null;    // what the session last said
  let shownPrompt = null;
  let lastSelected = -1;
  const controls = new Map();  // QuizField -> its input or textarea
  const names = new Map();     // QuizField -> its name: "answer"
  const rowFields = new Set();  // the chosen question's fields
  const placed = [];  // the commands with a button in the page
  const tab = {id: String(1 + Math.floor(Math.random() * 999999)), alive: new Set(), held: new Set()};
  const timers = {recovery: 0, size: 0};
  const handles = new Map();  // file name -> the file's handle, where the browser gives one (File System Access)
  const side = {pages: [], shown: 0};

  // ---- calls into the session ----

  function withBytes(bytes, use) {
    const pointer = editor._malloc(Math.max(bytes.length, 1));
    editor.HEAPU8.set(bytes, pointer);
    try {
      return use(pointer, bytes.length);
    } finally {
      editor._free(pointer);
    }
  }
  function withText(text, use) { return withBytes(encoder.encode(text), use); }
  function textAt(pointer) {
    const heap = editor.HEAPU8;
    let end = pointer;
    while (heap[end] !== 0) ++end;
    return decoder.decode(heap.subarray(pointer, end));
  }
  // The marks time a command until what it offers (bench/atelier_page.py).
  function run(command) {
    performance.mark('ludex-atelier-command', {detail: command.name});
    editor._AtelierRun(command.id);
    render();
  }
  // What the page does itself: files are chosen with its own choosers.
  const ownActions = {'open': () => openWithHandle(), 'import-csv': () => byId('import-file').click()};
  function act(command) { (ownActions[command.name] || (() => run(command)))(); }

  // ---- what only a browser does for the host ----

  // Bytes as a string of one character each, as local storage keeps them.
  function binary(bytes) {
    let text = '';
    for (let k = 0; k < bytes.length; k += 8192) text += String.fromCharCode.apply(null, bytes.subarray(k, k + 8192));
    return text;
  }
  function stored(key) {
    try {
      return localStorage.getItem(key);
    } catch (refused) {
      return null;
    }
  }
  function unstore(key) {
    try {
      localStorage.removeItem(key);
    } catch (refused) { /* nothing kept to remove */ }
  }
  function alive(owner) { return owner === tab.id || tab.alive.has(owner); }

  const TypeOf = {exe: 'application/octet-stream', html: 'text/html', csv: 'text/csv', txt: 'text/plain',
                  zip: 'application/zip'};

  // A file the author opened through a handle is written there, in place;
  // the session hears how it ended, after its call. A write refused or
  // failed lets the handle go: writing again offers a download.
  async function writeInPlace(name, bytes) {
    let failure = null;
    try {
      const writable = await handles.get(name).createWritable();
      await writable.write(bytes);
      await writable.close();
    } catch (thrown) {
      failure = (thrown && thrown.name) || 'Error';
      handles.delete(name);
    }
    withText(name, (at, length) => {
      if (failure === null) return editor._AtelierWriteDone(at, length);
      withText(failure, (error, errorLength) => editor._AtelierWriteFailed(at, length, error, errorLength));
    });
    render();
  }

  function offer(name, bytes) {
    performance.mark('ludex-atelier-offered');
    if (handles.has(name)) return void writeInPlace(name, bytes);
    const link = document.createElement('a');
    const type = TypeOf[name.split('.').pop().toLowerCase()] || 'application/octet-stream';
    link.href = URL.createObjectURL(new Blob([bytes], {type}));
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }

  const host = {
    keep(path, bytes, time) {
      try {
        localStorage.setItem(FileKey + path, time + '|' + binary(bytes));
        return true;
      } catch (refused) {
        return false;
      }
    },
    forget(path) { unstore(FileKey + path); },
    offer,
    hasHandle(name) { return handles.has(name); },
    // 0: no lock; 1: left by a tab that closed; 2: held by a running tab.
    lockState(path) {
      const owner = stored(LockKey + path);
      return owner === null ? 0 : alive(owner) ? 2 : 1;
    },
    holdLock(path) {
      const owner = stored(LockKey + path);
      if (owner !== null && owner !== tab.id && alive(owner)) return false;
      try {
        localStorage.setItem(LockKey + path, tab.id);
      } catch (refused) { /* a browser that keeps nothing: nothing to share either */
      }
      tab.held.add(path);
      return true;
    },
    releaseLock(path) {
      tab.held.delete(path);
      if (stored(LockKey + path) === tab.id) unstore(LockKey + path);
    },
    showPage(kind, name, html) {
      if (kind !== 2) side.pages = [];  // a try alone; the pupil's sheet, then its key
      side.pages.push({kind, name, html});
      showSide(0);
    },
  };

  // Which tabs of this page run: each holds a Web Lock named after it for
  // as long as it lives; a browser without them has each tab write the time
  // every few seconds.
  // A lock manager that never answers (a headless Chromium's, on a file:
  // page) must not keep the editor from starting: after a short wait the
  // tabs are told apart by the times they write, as without Web Locks.
  function answerWithin(promise, milliseconds) {
    const late = new Promise((resolve, reject) => setTimeout(() => reject(new Error('no answer')), milliseconds));
    return Promise.race([promise, late]);
  }

  async function refreshAlive() {
    const running = new Set();
    try {
      if (!navigator.locks) throw new Error('no Web Locks');
      for (const lock of (await answerWithin(navigator.locks.query(), LocksPatience)).held) {
        if (lock.name.startsWith(TabKey)) running.add(lock.name.slice(TabKey.length));
      }
    } catch (noLocks) {
      try {
        localStorage.setItem(TabKey + tab.id, String(Date.now()));
        for (let k = 0; k < localStorage.length; ++k) {
          const key = localStorage.key(k);
          if (key.startsWith(TabKey) && Date.now() - Number(localStorage.getItem(key)) < TabAlive) {
            running.add(key.slice(TabKey.length));
          }
        }
      } catch (refused) { /* nothing kept, nothing shared */ }
    }
    tab.alive = running;
  }

  function storageWorks() {
    try {
      localStorage.setItem(Key + 'essai', '1');
      localStorage.removeItem(Key + 'essai');
      return true;
    } catch (refused) {
      return false;
    }
  }

  // The editor's own files that the browser kept: "time|bytes".
  function putKeptFiles() {
    for (let k = 0; k < localStorage.length; ++k) {
      const key = localStorage.key(k);
      if (!key.startsWith(FileKey)) continue;
      const value = localStorage.getItem(key);
      const bar = value.indexOf('|');
      const bytes = Uint8Array.from(value.slice(bar + 1), (c) => c.charCodeAt(0) & 255);
      withText(key.slice(FileKey.length), (path, pathLength) => withBytes(bytes, (at, size) =>
          editor._AtelierPut(path, pathLength, at, size, Number(value.slice(0, bar)) || 0)));
    }
  }

  // The player and the page template, carried in the page as base64.
  function carry(which, id) {
    const bytes = Uint8Array.from(atob(byId(id).textContent.trim()), (c) => c.charCodeAt(0));
    withBytes(bytes, (at, size) => editor._AtelierCarry(which, at, size));
  }

  // ---- the side panel: a try of the quiz, the pages to print ----

  // The frame is made when a page shows and goes with it: an empty one would
  // still be a document of the tab.
  function showSide(index) {
    const shown = side.pages[index];
    byId('side-frame')?.remove();
    const frame = document.createElement('iframe');
    frame.id = 'side-frame';
    const printing = shown.kind !== 0;
    side.shown = index;
    byId('side-title').textContent = printing ? 'Pages à imprimer' : 'Essai du quiz : ses réponses ne sont pas gardées';
    for (const [id, visible] of [['side-sheet', printing], ['side-key', printing], ['side-print', printing]]) {
      byId(id).hidden = !visible;
    }
    byId('side-sheet').setAttribute('aria-pressed', String(printing && index === 0));
    byId('side-key').setAttribute('aria-pressed', String(printing && index === 1));
    // A try plays apart: a frame of its own origin, whose answers the browser does not keep.
    frame.setAttribute('sandbox', printing ? 'allow-same-origin allow-modals' : 'allow-scripts allow-downloads');
    frame.title = shown.name;
    frame.srcdoc = shown.html;
    byId('side').append(frame);
    byId('side').hidden = false;
    page.classList.add('with-side');
    if (window.matchMedia('(max-width: 1023px)').matches) byId('side-close').focus();  // the editor is hidden
  }

  function closeSide() {
    byId('side').hidden = true;
    byId('side-frame').remove();
    page.classList.remove('with-side');
    byId('try').focus();
  }

  // ---- drawing the session's view ----

  const shown = (text) => text.replace(/\r\n/g, '\n');

  function buildField({field, label, multiline, name, row, answer}) {
    names.set(field, name);
    if (row) rowFields.add(field);
    const id = 'field-' + name;
    const box = document.createElement('div');
    box.className = multiline ? 'field multiline' : 'field';
    const caption = document.createElement('label');
    caption.htmlFor = id;
    caption.textContent = label.replace('&', '');
    const control = document.createElement(multiline ? 'textarea' : 'input');
    if (!multiline) control.type = 'text';
    control.id = id;
    control.dataset.field = field;
    control.maxLength = labels.fieldLimit;
    control.spellcheck = true;
    const key = label.indexOf('&');
    if (key >= 0) control.accessKey = label.charAt(key + 1).toLowerCase();
    const counter = document.createElement('span');
    counter.className = 'counter';
    counter.id = 'counter-' + name;
    control.setAttribute('aria-describedby', counter.id);
    box.append(caption, control, counter);
    byId(row ? 'row-fields' : 'header-fields').append(box);
    controls.set(field, control);
    if (answer >= 0) {
      const offered = document.createElement('div');
      offered.className = 'suggestions';
      offered.id = 'suggestions-' + names.get(answer);
      offered.dataset.answer = answer;
      offered.setAttribute('aria-label', 'Suggestions pour ' + caption.textContent.replace(/ :$/, ''));
      byId('row-fields').append(offered);
    }
  }

  // The suggested accepted answers, a button each: one click, or Enter, takes one.
  function showSuggestions() {
    for (const [answer, offered] of view.suggestions) {
      const box = byId('suggestions-' + names.get(answer));
      const shownNow = [...box.querySelectorAll('button')].map((b) => b.textContent);
      if (shownNow.join('\n') === offered.join('\n') && box.hidden === (offered.length === 0)) continue;
      const buttons = offered.map((text, index) => {
        const button = document.createElement('button');
        button.type = 'button';
        button.textContent = text;
        button.dataset.index = index;
        button.id = 'suggestion-' + names.get(answer) + '-' + index;
        button.setAttribute('aria-label', 'Accepter aussi \u00ab ' + text + ' \u00bb');
        return button;
      });
      const label = document.createElement('span');
      label.textContent = labels.suggestions;
      box.replaceChildren(label, ...buttons);
      box.hidden = offered.length === 0;
    }
  }

  function setText(element, text) { if (element.textContent !== text) element.textContent = text; }

  function fillChoices(select, choices, chosen) {
    if ([...select.options].map((o) => o.text).join('\n') !== choices.join('\n')) {
      select.replaceChildren(...choices.map((choice) => new Option(choice)));
    }
    select.selectedIndex = chosen;
  }

  // A field's text as the session holds it. A character replaced there
  // leaves the caret after its replacement.
  function showField(field, control) {
    const [text, enabled, counter, over] = view.fields[field];
    const wanted = shown(text);
    if (control.value !== wanted) {
      const typed = control.value;
      control.value = wanted;
      if (document.activeElement === control) {
        let same = 0, sameEnd = 0;
        while (same < wanted.length && same < typed.length && wanted[same] === typed[same]) ++same;
        while (sameEnd < wanted.length - same && sameEnd < typed.length - same &&
               wanted[wanted.length - 1 - sameEnd] === typed[typed.length - 1 - sameEnd]) ++sameEnd;
        control.setSelectionRange(wanted.length - sameEnd, wanted.length - sameEnd);
      }
    }
    control.disabled = !enabled;
    // A question's field that the quiz does not use, and that holds nothing, takes no room.
    control.closest('.field').hidden = !enabled && text === '' && rowFields.has(field);
    const count = byId('counter-' + names.get(field));
    setText(count, counter);
    count.classList.toggle('over', over);
  }

  function showRows() {
    const body = byId('questions');
    const rows = view.rows;
    while (body.rows.length > rows.length) body.lastElementChild.remove();
    const added = document.createDocumentFragment();
    for (let k = body.rows.length; k < rows.length; ++k) {
      const line = document.createElement('tr');
      line.id = 'row-' + (k + 1);
      for (let column = 0; column < labels.columns.length; ++column) line.append(document.createElement('td'));
      added.append(line);
    }
    body.append(added);
    const selected = new Set(view.selection);
    rows.forEach((row, k) => {
      const line = body.rows[k];
      for (let column = 0; column < labels.columns.length; ++column) setText(line.cells[column], row[column]);
      line.classList.toggle('error', row[labels.columns.length]);
      line.setAttribute('aria-selected', String(selected.has(k)));
    });
    const first = view.selection.length > 0 ? view.selection[0] : -1;
    if (first !== lastSelected && first >= 0) body.rows[first].scrollIntoView({block: 'nearest'});
    lastSelected = first;
  }

  function showProblems() {
    const list = byId('problems');
    const lines = view.problems.map(([text, , , error]) => (error ? '!' : '') + text).join('\n');
    if (list.dataset.lines === lines) return;
    list.dataset.lines = lines;
    list.replaceChildren(...view.problems.map(([text, , , error], index) => {
      const item = document.createElement('li');
      if (error) item.className = 'error';
      const go = document.createElement('button');
      go.type = 'button';
      go.className = 'problem';
      go.id = 'problem-' + (index + 1);
      go.textContent = text;
      go.title = text;
      go.addEventListener('click', () => {
        editor._AtelierGoToProblem(index);
        render();
      });
      item.append(go);
      return item;
    }));
  }

  function showPrompt(prompt) {
    let dialog = byId('prompt');
    if (prompt.kind === Kind.Preview) {
      dialog = byId('preview');
      setText(byId('preview-title'), prompt.text);
      showPreview(prompt.preview);
    } else {
      const [buttons] = PromptButtons[prompt.kind] || PromptButtons[Kind.Notice];
      byId('prompt-text').textContent = prompt.text;
      dialog.className = 'tone-' + prompt.tone;
      dialog.setAttribute('role', prompt.tone >= 2 ? 'alertdialog' : 'dialog');
      for (const button of dialog.querySelectorAll('button')) button.hidden = !buttons.includes(button.id);
    }
    shownPrompt = {dialog, kind: prompt.kind};
    dialog.showModal();
    const chooser = prompt.kind === Kind.Preview && prompt.preview.focusMapping && byId('preview-columns').querySelector('select');
    const first = chooser || (prompt.kind === Kind.Preview ? byId('preview-ok') : dialog.querySelector('button:not([hidden])'));
    if (first && !first.disabled) first.focus();
  }

  function answer(value) {
    if (!shownPrompt) return;
    shownPrompt.dialog.close();
    shownPrompt = null;
    editor._AtelierReply(value);
    render();
  }

  function showPreview(preview) {
    setText(byId('preview-summary'), preview.summary);
    setText(byId('preview-notes'), preview.notes);
    const head = byId('preview-columns');
    const heads = preview.titles.map((title, k) => {
      const cell = document.createElement('th');
      cell.scope = 'col';
      if (k === 0 || k === preview.titles.length - 1) {
        cell.textContent = title;
        return cell;
      }
      const name = document.createElement('span');
      name.className = 'column-name';
      name.textContent = title;
      const choose = document.createElement('select');
      choose.setAttribute('aria-label', title);
      choose.append(...preview.choices.map((choice) => new Option(choice)));
      choose.selectedIndex = preview.chosen[k - 1];
      choose.addEventListener('change', () => {
        editor._AtelierChooseColumn(k - 1, choose.selectedIndex);
        view = JSON.parse(textAt(editor._AtelierView()));
        showPreview(view.prompt.preview);
        head.cells[k].querySelector('select').focus();
      });
      cell.append(name, choose);
      return cell;
    });
    head.replaceChildren(...heads);
    byId('preview-rows').replaceChildren(...preview.rows.map((row) => {
      const line = document.createElement('tr');
      line.tabIndex = 0;
      if (row.error) line.className = 'error';
      for (const text of row.cells) {
        const cell = document.createElement('td');
        cell.textContent = text;
        line.append(cell);
      }
      const detail = () => setText(byId('preview-detail'), row.detail);
      line.addEventListener('focus', detail);
      line.addEventListener('click', detail);
      return line;
    }));
    setText(byId('preview-detail'), '');
    byId('preview-offer').hidden = preview.revealOffer === '';
    setText(byId('preview-offer-text'), preview.revealOffer);
    byId('preview-switch').checked = preview.revealSwitched;
    byId('preview-ok').textContent = preview.addButton.replace('&', '');
    byId('preview-ok').disabled = preview.toAdd === 0;
  }

  function render() {
    view = JSON.parse(textAt(editor._AtelierView()));
    document.title = view.title;
    byId('notice').hidden = view.notice === '';
    setText(byId('notice'), view.notice);
    setText(byId('status'), view.status);
    setText(byId('count'), view.count);
    setText(byId('summary'), '(' + view.summary + ')');
    for (const command of placed) byId(command.name).disabled = !view.available[command.id];
    for (const [field, control] of controls) showField(field, control);
    showSuggestions();
    fillChoices(byId('answers'), view.answers, view.answersChoice);
    fillChoices(byId('reveal'), view.reveal, view.revealChoice);
    byId('colour').value = view.colour;
    setText(byId('row-label'), view.rowLabel);
    showRows();
    showProblems();
    if (view.prompt && !shownPrompt) showPrompt(view.prompt);
    if (!shownPrompt && view.focusList) byId('question-list').focus();
    if (!shownPrompt && view.focusField >= 0 && controls.has(view.focusField)) controls.get(view.focusField).focus();
    armTimers();
  }

  // The recovery copy a few seconds after a change; the packed size of a
  // large quiz once the typing pauses.
  function armTimers() {
    const due = editor._AtelierDue();
    if ((due & 1) && !timers.recovery) {
      timers.recovery = setTimeout(() => {
        timers.recovery = 0;
        editor._AtelierWriteRecoveryCopy();
        render();
      }, labels.delays[0]);
    }
    if (due & 2) {
      clearTimeout(timers.size);
      timers.size = setTimeout(() => {
        editor._AtelierCheckSizes();
        render();
      }, labels.delays[1]);
    }
  }

  // ---- what the author does ----

  // The marks time a file from its choice until its quiz shows (bench/atelier_page.py).
  function keepHandle(name, handle) {
    if (handle && handle.kind === 'file' && handle.createWritable) {
      handles.set(name, handle);
    } else {
      handles.delete(name);
    }
  }

  // Ouvrir: where the browser gives files' handles, the file is chosen so,
  // and Enregistrer writes it in place; elsewhere the page's file chooser.
  async function openWithHandle() {
    if (!window.showOpenFilePicker) return byId('open-file').click();
    let handle = null;
    try {
      [handle] = await window.showOpenFilePicker();
      const file = await handle.getFile();
      keepHandle(file.name, handle);
      giveFile(file, true);
    } catch (failure) {
      if (!handle) return;  // the author chose nothing
      withText(handle.name || '', (name, length) => withText((failure && failure.name) || 'Error',
          (error, errorLength) => editor._AtelierReadFailed(name, length, error, errorLength)));
      render();
    }
  }

  async function giveFile(file, open) {
    performance.mark('ludex-atelier-file');
    let bytes;
    try {
      bytes = new Uint8Array(await file.slice(0, labels.largestFile + 1).arrayBuffer());
    } catch (failure) {
      withText(file.name, (name, length) => withText((failure && failure.name) || 'Error',
          (error, errorLength) => editor._AtelierReadFailed(name, length, error, errorLength)));
      return render();
    }
    withText(file.name, (name, nameLength) => withBytes(bytes, (at, size) =>
        editor._AtelierPut(name, nameLength, at, size, file.lastModified || Date.now())));
    withText(file.name, (name, length) => (open ? editor._AtelierOpen(name, length) : editor._AtelierImport(name, length)));
    render();
    performance.mark('ludex-atelier-shown');
  }

  function isText(target) { return target instanceof HTMLInputElement && target.type === 'text' || target instanceof HTMLTextAreaElement; }

  function typed(control) {
    withText(control.value, (at, length) => editor._AtelierType(+control.dataset.field, at, length));
    render();
  }

  function select(rows) {
    const count = view.rows.length;
    const chosen = [...new Set(rows.filter((row) => row >= 0 && row < count))].sort((a, b) => a - b);
    withBytes(new Uint8Array(Int32Array.from(chosen).buffer), (at) => editor._AtelierSelect(at, chosen.length));
    render();
  }

  // The list's keys: the arrows (with Shift, the selection grows), Enter to
  // the question's field, and the keys the session's table gives the list.
  function listKey(event) {
    const rows = view.rows.length;
    const current = view.selection.length ? (event.key === 'ArrowUp' ? view.selection[0] : view.selection[view.selection.length - 1]) : -1;
    const moves = {ArrowUp: current - 1, ArrowDown: current + 1, Home: 0, End: rows - 1, PageUp: current - 10,
                   PageDown: current + 10};
    if (event.key in moves && !event.altKey && rows > 0) {
      const to = Math.max(0, Math.min(rows - 1, current < 0 ? 0 : moves[event.key]));
      select(event.shiftKey ? [...view.selection, to] : [to]);
    } else if (event.key === 'Enter' && view.selection.length) {
      controls.get(labels.questionField).focus();
    } else {
      const command = Object.values(labels.commands).find((c) => c.listKeys.some((key) => pressed(event, key)));
      if (!command) return;
      run(command);
    }
    event.preventDefault();
  }

  // A key of the session's table: [its name, Ctrl, Shift, Alt] (Cmd counts as Ctrl).
  function pressed(event, [key, control, shift, alt]) {
    return event.key.toLowerCase() === key.toLowerCase() && (event.ctrlKey || event.metaKey) === control &&
           event.shiftKey === shift && event.altKey === alt;
  }

  // The keys of the commands that have a button, as in the Windows editor;
  // in a text field, a key that is the field's own stays the field's.
  function commandKey(event) {
    const command = placed.find((c) => c.keys.some((key) => pressed(event, key)));
    if (!command || (command.fieldKeepsKey && isText(event.target))) return;
    event.preventDefault();
    if (isText(event.target)) editor._AtelierEndTyping();
    act(command);
  }

  // The buttons of the commands a toolbar names, from the session's table;
  // "|" between two groups.
  function buildButtons(toolbar) {
    toolbar.replaceChildren(...toolbar.dataset.commands.split(' ').map((name) => {
      if (name === '|') return Object.assign(document.createElement('span'), {className: 'separator'});
      const command = labels.commands[name];
      const button = Object.assign(document.createElement('button'), {type: 'button', id: name, textContent: command.caption});
      if (command.title) button.title = command.title;
      button.addEventListener('click', () => act(command));
      placed.push(command);
      return button;
    }));
  }

  function listenToCommands() {
    for (const toolbar of document.querySelectorAll('[data-commands]')) buildButtons(toolbar);
    for (const [id, open] of [['open-file', true], ['import-file', false]]) {
      const chooser = byId(id);
      chooser.addEventListener('change', () => {
        const file = chooser.files[0];
        chooser.value = '';
        if (!file) return;
        if (open) keepHandle(file.name, null);  // a file given so has no handle: it is saved as a download
        giveFile(file, open);
      });
    }
    document.addEventListener('keydown', (event) => { if (!shownPrompt) commandKey(event); });
    byId('side-close').addEventListener('click', closeSide);
    byId('side-sheet').addEventListener('click', () => showSide(0));
    byId('side-key').addEventListener('click', () => showSide(1));
    byId('side-print').addEventListener('click', () => byId('side-frame').contentWindow.print());
  }

  function listenToFields() {
    const editorArea = document.querySelector('main');
    editorArea.addEventListener('input', (event) => {
      if (isText(event.target) && !event.isComposing) typed(event.target);
    });
    editorArea.addEventListener('compositionend', (event) => { if (isText(event.target)) typed(event.target); });
    editorArea.addEventListener('focusout', (event) => { if (isText(event.target)) editor._AtelierEndTyping(); });
    const choose = (id, call) => byId(id).addEventListener('change', (event) => {
      call(event.target);
      render();
    });
    byId('row-fields').addEventListener('click', (event) => {
      const button = event.target.closest('.suggestions button');
      if (!button) return;
      editor._AtelierTakeSuggestion(+button.closest('.suggestions').dataset.answer, +button.dataset.index);
      render();
    });
    choose('answers', (select) => editor._AtelierChooseAnswers(select.selectedIndex));
    choose('reveal', (select) => editor._AtelierChooseReveal(select.selectedIndex));
    choose('colour', (input) => editor._AtelierSetColour(parseInt(input.value.slice(1), 16)));
  }

  // A click selects a row; with Ctrl it joins or leaves the selection, with Shift the rows between.
  function listenToList() {
    byId('question-list').addEventListener('keydown', listKey);
    byId('questions').addEventListener('click', (event) => {
      const line = event.target.closest('tr');
      if (!line) return;
      const row = line.sectionRowIndex;
      if (event.ctrlKey || event.metaKey) {
        select(view.selection.includes(row) ? view.selection.filter((r) => r !== row) : [...view.selection, row]);
      } else if (event.shiftKey && view.selection.length) {
        const from = view.selection[0];
        select(Array.from({length: Math.abs(row - from) + 1}, (_, k) => Math.min(row, from) + k));
      } else {
        select([row]);
      }
    });
    byId('questions').addEventListener('dblclick', () => controls.get(labels.questionField).focus());
    // Rows copied from a spreadsheet, pasted anywhere but in a text field.
    document.addEventListener('paste', (event) => {
      if (shownPrompt || isText(event.target)) return;
      event.preventDefault();
      withText(event.clipboardData.getData('text/plain'), (at, length) => editor._AtelierPaste(at, length));
      render();
    });
    window.addEventListener('dragover', (event) => event.preventDefault());
    window.addEventListener('drop', async (event) => {
      event.preventDefault();
      const item = event.dataTransfer.items && event.dataTransfer.items[0];
      const file = event.dataTransfer.files[0];
      if (!file || shownPrompt) return;
      const handle = item && item.getAsFileSystemHandle ? item.getAsFileSystemHandle() : null;
      keepHandle(file.name, handle && await handle.catch(() => null));
      giveFile(file, true);
    });
  }

  function listenToDialogs() {
    for (const dialog of [byId('prompt'), byId('preview')]) {
      dialog.addEventListener('click', (event) => {
        if (event.target.dataset.answer !== undefined) answer(+event.target.dataset.answer);
      });
      dialog.addEventListener('cancel', (event) => {
        event.preventDefault();
        answer(shownPrompt.kind === Kind.Preview ? Answer.Cancel : (PromptButtons[shownPrompt.kind] || PromptButtons[0])[1]);
      });
    }
    byId('preview-switch').addEventListener('change', (event) => {
      editor._AtelierSwitchRevealMode(event.target.checked ? 1 : 0);
      view = JSON.parse(textAt(editor._AtelierView()));
      showPreview(view.prompt.preview);
      event.target.focus();
    });
  }

  // Nothing lost: unsaved work asks before the page goes; a tab hidden or
  // closed writes its last change into the recovery copy, and a closed one
  // lets its locks go, so that the next opening offers the copy at once.
  function listenToLeaving() {
    window.addEventListener('beforeunload', (event) => {
      if (!view || !view.modified) return;
      event.preventDefault();
      event.returnValue = '';
    });
    const keepLastChange = () => { if (editor._AtelierDue() & 1) editor._AtelierWriteRecoveryCopy(); };
    window.addEventListener('pagehide', () => {
      keepLastChange();
      for (const path of tab.held) if (stored(LockKey + path) === tab.id) unstore(LockKey + path);
    });
    window.addEventListener('pageshow', (event) => {
      if (!event.persisted) return;
      for (const path of tab.held) host.holdLock(path);
    });
    // A hidden tab may be ended without a word (phones, tablets).
    document.addEventListener('visibilitychange', () => { if (document.visibilityState === 'hidden') keepLastChange(); });
  }

  async function start(compiled) {
    editor = compiled;
    carry(0, 'carried-player');
    carry(1, 'carried-page');
    const works = storageWorks();
    if (works) putKeptFiles();
    if (navigator.locks) navigator.locks.request(TabKey + tab.id, () => new Promise(() => {})).catch(() => {});
    await refreshAlive();
    setInterval(refreshAlive, 3000);
    editor._AtelierStart(+tab.id, works ? 1 : 0);
    labels = JSON.parse(textAt(editor._AtelierLabels()));
    for (const [name, command] of Object.entries(labels.commands)) command.name = name;
    for (const display of labels.fields) buildField(display);
    ['answers', 'reveal', 'colour'].forEach((id, k) => {
      document.querySelector('label[for="' + id + '"]').textContent = labels.settings[k].replace('&', '');
    });
    // The answers' captions: each by its Answer, those of the question before unsaved work goes.
    const captions = [['prompt-ok', labels.answers[Answer.Ok]], ['prompt-cancel', labels.answers[Answer.Cancel]],
                      ['preview-cancel', labels.answers[Answer.Cancel]], ['prompt-yes', labels.answers[Answer.Yes]],
                      ['prompt-no', labels.answers[Answer.No]], ['prompt-save', labels.saveChanges[0]],
                      ['prompt-discard', labels.saveChanges[1]]];
    for (const [id, caption] of captions) byId(id).textContent = caption.replace('&', '');
    byId('list-columns').replaceChildren(...labels.columns.map((title) => {
      const cell = document.createElement('th');
      cell.scope = 'col';
      cell.textContent = title;
      return cell;
    }));
    listenToCommands();
    listenToFields();
    listenToList();
    listenToDialogs();
    listenToLeaving();
    render();
    if (!shownPrompt) controls.values().next().value.focus();
    page.dataset.ready = 'yes';
    performance.mark('ludex-atelier-ready');
  }

  try {
    createLudexAtelier({atelierHost: host, onRuntimeInitialized() { start(this); }});
  } catch (failure) {
    byId('no-webassembly').hidden = false;
    page.dataset.ready = 'error';
  }
})();
