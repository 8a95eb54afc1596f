// The page of a Ludex quiz. The compiled player (createLudexPlayer, the
// program's own codec, payload reader, verdict and answers-file reader)
// loads the page's two resources, holds every text and makes every sentence
// the page shows or announces; this script builds the header and the rows
// from it, hands it every key, change and file, and keeps its answers in
// the browser, and with the school's platform when one framed the page.
// Quiz texts are Windows-1252 bytes: they reach the page only as text
// (textContent, value), never as markup.
'use strict';
(function () {
  const FillClasses = ['fill-orange', 'fill-green', 'fill-red', 'fill-gold', 'fill-none'];

  const cp1252 = new TextDecoder('windows-1252');
  const byteOf = new Map();
  for (let b = 0; b < 256; ++b) byteOf.set(cp1252.decode(Uint8Array.of(b)), b);

  const page = document.documentElement;
  const byId = (id) => document.getElementById(id);
  const controls = new Map();  // the program's control identifier -> element
  let player = null;
  let scoreId = 0;  // the program's identifiers of the score and its code
  let scoreCodeId = 0;
  let storageKey = '';
  let answersName = 'ludex.txt';
  let lastField = null;
  let storePending = false;
  let browserKeeps = true;
  let browserOffer = false;  // the offer in the message bar is this browser's answers, not a file

  // Windows-1252 bytes of a text, composed first (NFC: an accent typed or
  // pasted as a letter and a combining mark is one character); a character
  // Windows-1252 lacks becomes '?', as in the program's fields. lackingAt:
  // the offset of the first such character, -1 when there is none.
  function windows1252(text, limit) {
    const bytes = [];
    let lackingAt = -1;
    for (const character of text.normalize('NFC')) {
      if (bytes.length === limit) break;
      const byte = byteOf.get(character);
      if (byte === undefined && lackingAt < 0) lackingAt = bytes.length;
      bytes.push(byte === undefined ? 0x3f : byte);
    }
    return {bytes: Uint8Array.from(bytes), lackingAt};
  }
  function bytesOf(text, limit) { return windows1252(text, limit).bytes; }

  function textAt(pointer) {
    const heap = player.HEAPU8;
    let end = pointer;
    while (heap[end] !== 0) ++end;
    return cp1252.decode(heap.subarray(pointer, end));
  }

  // Calls use(pointer, length) with bytes copied into the player's memory.
  function withBytes(bytes, use) {
    const pointer = player._malloc(Math.max(bytes.length, 1));
    player.HEAPU8.set(bytes, pointer);
    try {
      return use(pointer, bytes.length);
    } finally {
      player._free(pointer);
    }
  }

  function element(tag, className, text) {
    const made = document.createElement(tag);
    made.className = className;
    if (text !== undefined) made.textContent = text;
    return made;
  }

  // The message bar, with the buttons that answer it (none by default).
  function showMessage(text, ...buttons) {
    byId('message').textContent = text;
    for (const button of document.querySelectorAll('.message-bar button')) button.hidden = !buttons.includes(button.id);
    byId('message-bar').hidden = text === '';
  }
  function announce(text) { if (text) byId('announce').textContent = text; }
  function said(pointer) { return textAt(pointer); }

  // Puts every text the player changed into its element.
  function applyChanges() {
    const count = player._PageChangeCount();
    for (let k = 0; k < count; ++k) {
      const id = player._PageChange(k);
      const shown = controls.get(id);
      if (shown === undefined) continue;
      const text = textAt(player._PageText(id));
      if (shown.tagName === 'INPUT') {
        if (shown.value !== text) shown.value = text;
      } else if (shown.textContent !== text) {
        shown.textContent = text;  // an unchanged label keeps its text node: no style work
        if (shown.classList.contains('verdict')) {
          shown.className = 'verdict ' + FillClasses[player._PageFeedbackFill(id)];
        }
      }
    }
    player._PageClearChanges();
  }

  function buildField(row, slot, perRow, answers) {
    const fieldId = player._PageFieldId(row, slot);
    const labelId = player._PageFeedbackLabelId(fieldId);
    const field = document.createElement('input');
    field.type = 'text';
    field.className = 'field';
    field.id = 'field-' + fieldId;
    field.dataset.id = fieldId;
    field.dataset.question = row + 1;
    field.autocomplete = 'off';
    field.spellcheck = false;
    field.setAttribute('autocapitalize', 'off');
    field.setAttribute('autocorrect', 'off');
    field.setAttribute('enterkeyhint', 'done');
    let names = 'number-' + (row + 1) + ' question-' + (row + 1);
    const pair = element('span', 'answer');
    if (perRow === 2) {
      const which = element('span', 'visually-hidden', 'réponse ' + slot);
      which.id = 'slot-' + fieldId;
      names += ' ' + which.id;
      pair.append(which);
    }
    field.setAttribute('aria-labelledby', names);
    field.setAttribute('aria-describedby', 'label-' + labelId +
                       (player._PageHasRevealLabels() === 1 ? ' reveal-' + player._PageRevealLabelId(row) : ''));
    const label = element('span', 'verdict fill-none', '?');
    label.id = 'label-' + labelId;
    pair.append(field, label);
    answers.append(pair);
    controls.set(fieldId, field);
    controls.set(labelId, label);
  }

  function buildRow(row, perRow, reveals) {
    const line = element('div', perRow === 2 ? 'row two' : 'row');
    const number = element('span', 'number', row + 1 + '.');
    number.id = 'number-' + (row + 1);
    const question = element('span', 'question', textAt(player._PageQuestionText(row)));
    question.id = 'question-' + (row + 1);
    const answers = element('div', 'answers');
    line.append(number, question, answers);
    for (let slot = 1; slot <= perRow; ++slot) buildField(row, slot, perRow, answers);
    if (reveals) {
      const revealId = player._PageRevealLabelId(row);
      const reveal = element('span', 'reveal');
      reveal.id = 'reveal-' + revealId;
      line.append(reveal);
      controls.set(revealId, reveal);
    }
    return line;
  }

  function buildPage() {
    const title = textAt(player._PageHeaderText(0));
    document.title = title.replace(/[\r\n]+/g, ' ');
    byId('title').textContent = title;
    byId('author').textContent = textAt(player._PageHeaderText(1));
    byId('explanation').textContent = textAt(player._PageHeaderText(2));
    controls.set(scoreId, byId('score'));
    controls.set(scoreCodeId, byId('score-code'));
    byId('score').textContent = textAt(player._PageText(scoreId));
    const colour = player._PageBackground();
    document.body.style.backgroundColor =
        'rgb(' + (colour >> 16 & 255) + ', ' + (colour >> 8 & 255) + ', ' + (colour & 255) + ')';
    const rows = player._PageRowCount();
    const perRow = player._PageFieldsPerRow();
    const reveals = player._PageHasRevealLabels() === 1;
    const built = document.createDocumentFragment();
    for (let row = 0; row < rows; ++row) built.append(buildRow(row, perRow, reveals));
    byId('questions').append(built);
  }

  function answersBytes() {
    const pointer = player._PageAnswers();
    return player.HEAPU8.slice(pointer, pointer + player._PageAnswersSize());
  }

  // Local storage holds the answers file itself, one character per byte,
  // shared by every tab of the page: the player merges this page's changes
  // into what the others kept.
  function keptText(bytes) {
    let kept = '';
    for (let k = 0; k < bytes.length; k += 8192) kept += String.fromCharCode.apply(null, bytes.subarray(k, k + 8192));
    return kept;
  }
  function keptBytes(kept) { return kept === null ? new Uint8Array(0) : Uint8Array.from(kept, (c) => c.charCodeAt(0) & 255); }

  // The browser keeps nothing (site data blocked, storage off, a sandboxed
  // frame, a full quota): the header says so for as long as the page is open.
  function storageFailed() {
    byId('storage-notice').textContent = said(player._PageStorageNotice());
    browserKeeps = false;
    if (platform.api !== null) showPlatformNotice();
  }

  function storageWorks() {
    try {
      localStorage.setItem('ludex:essai', '1');
      localStorage.removeItem('ludex:essai');
      return true;
    } catch (refused) {
      return false;
    }
  }

  function store() {
    storePending = false;
    try {
      const kept = keptBytes(localStorage.getItem(storageKey));
      const pointer = withBytes(kept, (at, length) => player._PageMergeForStore(at, length));
      localStorage.setItem(storageKey, keptText(player.HEAPU8.slice(pointer, pointer + player._PageAnswersSize())));
    } catch (refused) {
      storageFailed();
    }
  }

  // "Ne rien changer" to this browser's own answers: it keeps the platform's.
  function keepAll() {
    browserOffer = false;
    const pointer = player._PageKeepAll();
    try {
      localStorage.setItem(storageKey, keptText(player.HEAPU8.slice(pointer, pointer + player._PageAnswersSize())));
    } catch (refused) {
      storageFailed();
    }
  }

  // Another tab kept answers: the fields it changed show here, judged.
  function takeKept(event) {
    if (event.key !== storageKey || event.newValue === null) return;
    withBytes(keptBytes(event.newValue), (pointer, length) => player._PageTakeKept(pointer, length));
    applyChanges();
    reportSoon();
  }

  function storeSoon() {
    if (storePending) return;
    storePending = true;
    setTimeout(store, 0);
  }

  function storedAnswers() {
    try {
      return keptBytes(localStorage.getItem(storageKey));
    } catch (refused) {
      return new Uint8Array(0);
    }
  }

  // ---- the school's platform ----
  // A SCORM 1.2 run-time (Moodle, an ENT) that shows the page in a frame
  // offers its API object in a window above it, or in the window that
  // opened it. The page then gets the pupil's name and the answers the
  // platform kept, and after each verdict sends the score as a percentage,
  // the status, the answers judged and every answer (each value in a form a
  // strict platform accepts), then commits; it finishes once when the page
  // goes. A platform that refuses a value or goes away changes nothing of
  // the play: the answers stay in this browser, and a notice says that the
  // score was not sent. Nothing is sent after LMSFinish.
  const platform = {api: null, id: '', held: '', started: 0, next: 0, completed: false, failed: false,
                    finished: false, pending: false, said: ''};

  function apiAbove(start) {
    let win = start;
    for (let steps = 0; win && steps <= 500; ++steps) {
      try {
        if (win.API && typeof win.API.LMSInitialize === 'function') return win.API;
        if (win.parent === win) return null;
        win = win.parent;
      } catch (otherOrigin) {
        return null;
      }
    }
    return null;
  }

  // Every call is guarded: a platform that is gone throws or answers nothing.
  function platformCall(name, ...values) {
    try {
      const answer = platform.api[name](...values);
      return answer === undefined || answer === null ? '' : String(answer);
    } catch (gone) {
      return 'false';
    }
  }
  function platformGet(element) { return platformCall('LMSGetValue', element); }
  function platformSet(element, value) { return platformCall('LMSSetValue', element, value) === 'true'; }

  // "Nom, Prénom", as platforms give it, shown "Prénom Nom".
  function showPupil(name) {
    const comma = name.indexOf(',');
    const shown = (comma < 0 ? name : name.slice(comma + 1) + ' ' + name.slice(0, comma)).replace(/\s+/g, ' ').trim();
    byId('pupil').textContent = shown;
    byId('pupil-line').hidden = shown === '';
  }

  function connectPlatform() {
    platform.api = apiAbove(window);
    if (platform.api === null) {
      try {
        platform.api = window.opener ? apiAbove(window.opener) : null;
      } catch (otherOrigin) {
        platform.api = null;
      }
    }
    if (platform.api === null) return;
    if (platformCall('LMSInitialize', '') !== 'true') {
      platform.failed = platform.finished = true;
      return;
    }
    platform.started = Date.now();
    platform.id = platformGet('cmi.core.student_id').slice(0, 255);
    showPupil(platformGet('cmi.core.student_name').slice(0, 255));
    platform.completed = ['completed', 'passed'].includes(platformGet('cmi.core.lesson_status'));
    const count = Number(platformGet('cmi.interactions._count'));
    platform.next = Number.isInteger(count) && count > 0 && count < 1e6 ? count : 0;
    platform.held = platformGet('cmi.suspend_data');
  }

  function showPlatformNotice() {
    byId('platform-notice').textContent =
        said(player._PagePlatformNotice(platform.failed ? 1 : 0, browserKeeps ? 1 : 0));
  }

  // The answers judged since the last report, one interaction each.
  function sendInteractions() {
    let sent = true;
    const count = player._PageInteractionCount();
    for (let k = 0; k < count; ++k) {
      const at = 'cmi.interactions.' + platform.next + '.';
      if (!platformSet(at + 'id', textAt(player._PageInteractionId(k)))) {
        sent = false;
        continue;
      }
      ++platform.next;
      sent = platformSet(at + 'type', 'fill-in') &&
             platformSet(at + 'student_response', textAt(player._PageInteractionResponse(k))) &&
             platformSet(at + 'result', player._PageInteractionCorrect(k) === 1 ? 'correct' : 'wrong') && sent;
    }
    return {sent, count};
  }

  // Sends what changed since the last report and commits; always commits
  // when commit is set.
  function report(commit) {
    platform.pending = false;
    if (platform.api === null || platform.finished) return;
    const interactions = sendInteractions();
    platform.completed = platform.completed || player._PageEveryFieldJudged() === 1;
    const score = textAt(player._PagePlatformScore());
    const status = platform.completed ? 'completed' : 'incomplete';
    const data = textAt(player._PageSuspendData());
    const news = score + '|' + status + '|' + data;
    if (!commit && interactions.count === 0 && news === platform.said && !platform.failed) return;
    let sent = interactions.sent;
    for (const [element, value] of [['cmi.core.score.raw', score], ['cmi.core.score.min', '0'],
                                    ['cmi.core.score.max', '100'], ['cmi.core.lesson_status', status]]) {
      sent = platformSet(element, value) && sent;
    }
    if (data !== '' && data !== platform.held) {
      if (platformSet('cmi.suspend_data', data)) platform.held = data;
      else sent = false;
    }
    sent = platformCall('LMSCommit', '') === 'true' && sent;
    platform.said = sent ? news : '';
    platform.failed = !sent;
    showPlatformNotice();
  }

  function reportSoon() {
    if (platform.api === null || platform.pending) return;
    platform.pending = true;
    setTimeout(() => report(false), 0);
  }

  // The page goes: the time spent, and the end of the session.
  function finish() {
    if (platform.api === null || platform.finished) return;
    report(false);
    const seconds = Math.max(0, Math.round((Date.now() - platform.started) / 1000));
    platformSet('cmi.core.session_time', textAt(player._PagePlatformTime(seconds)));
    platformSet('cmi.core.exit', 'suspend');
    platformCall('LMSFinish', '');
    platform.finished = true;
  }

  // The answers from the platform and this browser; the browser's own that
  // differ are offered in the message bar.
  function restoreAnswers() {
    const kept = storedAnswers();
    if (platform.api === null || platform.finished) {
      withBytes(kept, (pointer, length) => player._PageRestore(pointer, length));
      return;
    }
    const held = bytesOf(platform.held.slice(0, 4097), Infinity);
    withBytes(held, (heldAt, heldLength) => withBytes(kept, (keptAt, keptLength) =>
        player._PagePlatformRestore(heldAt, heldLength, keptAt, keptLength)));
  }

  function startPlatform() {
    if (platform.api === null) return;
    if (platform.finished) return void showPlatformNotice();
    if (player._PageOfferBrowserAnswers() === 1) {
      browserOffer = true;
      showMessage(said(player._PageMessage()), 'offer-kept', 'offer-no');
    }
    storeSoon();  // the browser keeps the platform's answers too
    setTimeout(() => report(true), 0);
  }

  function isField(target) { return target instanceof HTMLInputElement && target.classList.contains('field'); }

  // A typed character Windows-1252 lacks shows as '?' at once, as it will be
  // kept; the caret stays after the same characters.
  function showAsKept(field) {
    const kept = cp1252.decode(bytesOf(field.value, Infinity));
    if (kept === field.value) return;
    const caret = cp1252.decode(bytesOf(field.value.slice(0, field.selectionEnd), Infinity)).length;
    field.value = kept;
    field.setSelectionRange(caret, caret);
  }

  function syncField(field) {
    const bytes = bytesOf(field.value, player._PageFieldCapacity());
    withBytes(bytes, (pointer, length) => player._PageSetField(+field.dataset.id, pointer, length));
    player._PageClearChanges();  // the field already shows what was typed
  }

  function judge(field, always) {
    player._PageJudge(+field.dataset.id);
    announce(said(player._PageVerdictAnnouncement(+field.dataset.id, always ? 1 : 0)));
    applyChanges();
    storeSoon();
    reportSoon();
  }

  function fillUnsolved(field) {
    if (!field) return;
    syncField(field);
    player._PageFillUnsolved(+field.dataset.id);
    announce(said(player._PageFillAnnouncement(+field.dataset.id)));
    applyChanges();
    storeSoon();
    reportSoon();
  }

  function save() {
    for (const field of document.querySelectorAll('.field')) syncField(field);
    store();
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([answersBytes()], {type: 'text/plain'}));
    link.download = answersName;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    const now = new Date();
    const name = bytesOf(answersName, Infinity);
    const line = withBytes(name, (at, length) => said(player._PageSaveLine(at, length, now.getHours(), now.getMinutes())));
    byId('save-line').textContent = line;
    announce(line);
  }

  // "Reprendre mes réponses…": a UTF-8 file is converted to Windows-1252
  // here, where the browser knows both; the player checks it and asks.
  async function offer(file) {
    const raw = new Uint8Array(await file.slice(0, player._PageMaxAnswersFileSize() + 1).arrayBuffer());
    let text = {bytes: raw, lackingAt: -1};
    if (raw.some((byte) => byte >= 0x80)) {
      try {
        text = windows1252(new TextDecoder('utf-8', {fatal: true}).decode(raw), Infinity);
      } catch (notUtf8) {
        text = {bytes: raw, lackingAt: -1};  // Windows-1252, as the program writes it
      }
    }
    const name = bytesOf(file.name, Infinity);
    const asks = withBytes(name, (nameAt, nameLength) => withBytes(text.bytes, (at, length) =>
        player._PageOfferAnswersFile(nameAt, nameLength, at, length, text.lackingAt)));
    browserOffer = false;  // a file's offer takes the place of this browser's
    showMessage(said(player._PageMessage()), ...(asks === 1 ? ['offer-yes', 'offer-no'] : []));
    if (asks === 1) byId('offer-yes').focus();
  }

  // The offered file taken, with "Annuler" to put the answers before it back.
  function takeOffer() {
    if (player._PageResumeOffer() !== 1) return;
    browserOffer = false;
    applyChanges();
    store();
    reportSoon();
    showMessage(said(player._PageMessage()), 'undo');
    byId('undo').focus();
  }

  function undoOffer() {
    if (player._PageUndoResume() !== 1) return;
    applyChanges();
    store();
    reportSoon();
    showMessage(said(player._PageMessage()));
    byId('resume').focus();
  }

  function listen() {
    const questions = byId('questions');
    questions.addEventListener('input', (event) => {
      if (!isField(event.target)) return;
      if (!event.isComposing) showAsKept(event.target);
      syncField(event.target);
    });
    questions.addEventListener('compositionend', (event) => {
      if (!isField(event.target)) return;
      showAsKept(event.target);
      syncField(event.target);
    });
    questions.addEventListener('keyup', (event) => {
      if (event.key === 'Enter' && !event.isComposing && isField(event.target)) judge(event.target, true);
    });
    questions.addEventListener('focusout', (event) => { if (isField(event.target)) judge(event.target, false); });
    questions.addEventListener('focusin', (event) => {
      if (!isField(event.target)) return;
      lastField = event.target;
      event.target.select();
    });
    document.addEventListener('keydown', (event) => {
      const key = event.key;
      if (key === 'F1') {
        event.preventDefault();
        fillUnsolved(isField(event.target) ? event.target : lastField);
      } else if (key === 'F2' || ((event.ctrlKey || event.metaKey) && (key === 's' || key === 'S'))) {
        event.preventDefault();
        save();
      }
    });
    byId('save').addEventListener('click', save);
    byId('solutions').addEventListener('click', () => fillUnsolved(lastField));
    const chooser = byId('answers-file');
    byId('resume').addEventListener('click', () => chooser.click());
    chooser.addEventListener('change', () => {
      const file = chooser.files[0];
      chooser.value = '';
      if (file) offer(file);
    });
    byId('offer-yes').addEventListener('click', takeOffer);
    byId('offer-kept').addEventListener('click', takeOffer);
    byId('offer-no').addEventListener('click', () => {
      if (browserOffer) keepAll();
      showMessage('');
      byId('resume').focus();
    });
    byId('undo').addEventListener('click', undoOffer);
    window.addEventListener('storage', takeKept);
    window.addEventListener('pagehide', () => {
      store();
      finish();
    });
    // A page shown again from the browser's cache has finished its session.
    window.addEventListener('pageshow', (event) => {
      if (!event.persisted || platform.api === null) return;
      platform.failed = true;
      showPlatformNotice();
    });
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState !== 'hidden') return;
      store();
      report(true);
    });
  }

  // A resource's bytes; null when the page has none. Text that is not base64
  // (a page edited by hand) gives a byte the codec refuses, as a damaged
  // resource would.
  function resourceBytes(id) {
    const holder = byId(id);
    if (holder === null) return null;
    try {
      return Uint8Array.from(atob(holder.textContent.trim()), (c) => c.charCodeAt(0));
    } catch (notBase64) {
      return Uint8Array.of(0);
    }
  }

  // The answers file is named after the page, as the program's after itself.
  function nameAnswersFile() {
    const file = decodeURIComponent(location.pathname.split('/').pop() || '');
    const stem = /\.html?$/i.test(file) ? file.replace(/\.html?$/i, '') : '';
    const given = document.querySelector('meta[name="ludex-answers-name"]').content;
    answersName = (stem || given || 'ludex') + '.txt';
  }

  function start(compiled) {
    player = compiled;
    scoreId = player._PageScoreId();
    scoreCodeId = player._PageScoreCodeId();
    const quiz = resourceBytes('resource-104') || new Uint8Array(0);
    const codes = resourceBytes('resource-105');
    const loaded = withBytes(quiz, (quizPointer, quizLength) => withBytes(codes || new Uint8Array(0),
        (codesPointer, codesLength) => player._PageLoad(quizPointer, quizLength, codesPointer, codes ? codesLength : -1)));
    if (loaded !== 0) showMessage(textAt(player._PageLoadMessage(loaded)));
    connectPlatform();
    // On a platform, each pupil's answers apart: a school's computer is shared.
    storageKey = 'ludex:' + textAt(player._PageQuizKey()) + (platform.id ? ':' + platform.id : '');
    nameAnswersFile();
    buildPage();
    restoreAnswers();
    applyChanges();
    listen();
    const first = document.querySelector('.field');
    if (first !== null) first.focus({preventScroll: true});
    page.dataset.ready = 'yes';
    performance.mark('ludex-ready');
    startPlatform();
    // A write is the only sure test of the storage (a full quota reads well):
    // it waits until the quiz shows, and the notice follows at once.
    setTimeout(() => { if (!storageWorks()) storageFailed(); }, 0);
  }

  // The compiled player starts synchronously: its WebAssembly is decoded
  // from the page itself, never fetched.
  try {
    createLudexPlayer({onRuntimeInitialized() { start(this); }});
  } catch (failure) {
    byId('no-webassembly').hidden = false;
    page.dataset.ready = 'error';
  }
})();
