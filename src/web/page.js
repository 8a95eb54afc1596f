// The page of a Ludex quiz. The compiled player (createLudexPlayer, the
// program's own codec, payload reader, verdict and answers-file reader)
// loads the page's two resources and holds every text; this script builds
// the header and the rows from it and hands it every key and change. Quiz
// texts are Windows-1252 bytes: they reach the page only as text
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

  // Windows-1252 bytes of a typed text; a character it lacks becomes '?',
  // as in the program's fields.
  function bytesOf(text, limit) {
    const bytes = [];
    for (const character of text) {
      if (bytes.length === limit) break;
      const byte = byteOf.get(character);
      bytes.push(byte === undefined ? 0x3f : byte);
    }
    return Uint8Array.from(bytes);
  }

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

  function showMessage(text) { byId('message').textContent = text; }
  function announce(text) { byId('announce').textContent = text; }

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
      } else {
        shown.textContent = text;
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
    field.setAttribute('aria-describedby', 'label-' + labelId);
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

  // Local storage holds the answers file itself, one character per byte.
  function store() {
    storePending = false;
    const bytes = answersBytes();
    let kept = '';
    for (let k = 0; k < bytes.length; k += 8192) kept += String.fromCharCode.apply(null, bytes.subarray(k, k + 8192));
    try {
      localStorage.setItem(storageKey, kept);
    } catch (refused) {
      // No storage (private browsing, a full disk): "Sauver" still gives the file.
    }
  }

  function storeSoon() {
    if (storePending) return;
    storePending = true;
    setTimeout(store, 0);
  }

  function storedAnswers() {
    let kept = null;
    try {
      kept = localStorage.getItem(storageKey);
    } catch (refused) {
      kept = null;
    }
    return kept === null ? new Uint8Array(0) : Uint8Array.from(kept, (c) => c.charCodeAt(0) & 255);
  }

  function isField(target) { return target instanceof HTMLInputElement && target.classList.contains('field'); }

  function syncField(field) {
    const bytes = bytesOf(field.value, player._PageFieldCapacity());
    withBytes(bytes, (pointer, length) => player._PageSetField(+field.dataset.id, pointer, length));
    player._PageClearChanges();  // the field already shows what was typed
  }

  function judge(field, always) {
    const labelId = player._PageFeedbackLabelId(+field.dataset.id);
    const before = controls.get(labelId).textContent;
    const score = controls.get(scoreId).textContent;
    player._PageJudge(+field.dataset.id);
    applyChanges();
    const word = controls.get(labelId).textContent;
    if (always || word !== before) {
      let said = 'Question ' + field.dataset.question + ' : ' + word + '.';
      if (controls.get(scoreId).textContent !== score) said += ' Score :' + controls.get(scoreId).textContent + '.';
      announce(said);
    }
    storeSoon();
  }

  function fillUnsolved(field) {
    if (!field) return;
    syncField(field);
    player._PageFillUnsolved(+field.dataset.id);
    applyChanges();
    announce('« ' + field.value + ' » essayé sur les questions non trouvées. Score :' +
             controls.get(scoreId).textContent + '.');
    storeSoon();
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
    announce('Réponses enregistrées dans ' + answersName + '.');
  }

  function refusal(code, name) {
    const lines = player._PageCheckedLines();
    const expected = player._PageAnswerLineCount();
    const why = [
      '',
      '« ' + name + ' » est vide : ce n\'est pas un fichier de réponses.',
      '« ' + name + ' » est bien trop gros pour un fichier de réponses.',
      '« ' + name + ' » n\'est pas un fichier de réponses : il ne contient pas que du texte.',
      '« ' + name + ' » n\'est pas un fichier de réponses de ce quiz : sa ' + lines + 'e ligne est remplie, ' +
          'ce quiz n\'en a que ' + expected + '.',
    ][code];
    return why + ' Vos réponses n\'ont pas changé.';
  }

  async function resume(file) {
    if (file.size > player._PageMaxAnswersFileSize()) {
      showMessage(refusal(2, file.name));
      return;
    }
    const bytes = new Uint8Array(await file.arrayBuffer());
    const code = withBytes(bytes, (pointer, length) => player._PageCheckAnswersFile(pointer, length));
    if (code !== 0) {
      showMessage(refusal(code, file.name));
      return;
    }
    withBytes(bytes, (pointer, length) => player._PageRestore(pointer, length));
    applyChanges();
    store();
    showMessage('Réponses reprises de « ' + file.name + ' ».');
  }

  function listen() {
    const questions = byId('questions');
    questions.addEventListener('input', (event) => { if (isField(event.target)) syncField(event.target); });
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
      if (file) resume(file);
    });
    window.addEventListener('pagehide', store);
    document.addEventListener('visibilitychange', () => { if (document.visibilityState === 'hidden') store(); });
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
    storageKey = 'ludex:' + textAt(player._PageQuizKey());
    nameAnswersFile();
    buildPage();
    withBytes(storedAnswers(), (pointer, length) => player._PageRestore(pointer, length));
    applyChanges();
    listen();
    const first = document.querySelector('.field');
    if (first !== null) first.focus({preventScroll: true});
    page.dataset.ready = 'yes';
    performance.mark('ludex-ready');
  }

  // The compiled player starts synchronously: its WebAssembly is decoded
  // from the page itself, never fetched.
  try {
    createLudexPlayer({onRuntimeInitialized() { start(this); }});
  } catch (failure) {
    showMessage('Ce navigateur ne peut pas jouer ce quiz : il lui faut WebAssembly.');
    page.dataset.ready = 'error';
  }
})();
