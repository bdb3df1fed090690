// The crossword page made by kvarcella-tool html.
//
// The rules are those of the solving window, GridSolver in
// src/solver/gridsolver.cpp: the same texts, states, guards and marks. Keep
// the two in step; the browser test replays random action scripts through
// both and compares what they show. What the page adds (the current word,
// letters that move on) is made of the rules' own actions: a typed letter is
// a click on its cell, a key, and a click on the word's next cell.

const LETTERS = 'абвгдежзийклмнопрстуфхцчшщъыьэюя';
const ERASE_KEY = 33;
const CLOSE_KEY = 34;

const CRLF = '\r\n';
const HINT_TEXT = 'Для дальнейшего редактирования нажми кнопку [назад]';
const SUCCESS_TEXT = 'Молодец!' + CRLF + 'Ты разгадал весь кроссворд.';
const numberText = (value) => ' ' + value;
const failureText = (mistakes) =>
  'К сожалению, ты не смог разгадать весь кроссворд.' + CRLF + CRLF +
  'Допущено ошибок - ' + numberText(mistakes) + CRLF + CRLF + HINT_TEXT;
const historyLine = (attempts, mistakes) =>
  '     ' + numberText(attempts) + '     -     ' + numberText(mistakes);

const State = { Solving: 0, Reviewing: 1, Solved: 2 };
const Mark = { None: 0, Correct: 1, Wrong: 2 };
const Pane = { Clues: 'clues', Failure: 'failure', Hint: 'hint', Success: 'success' };

// The same function as HtmlExport::checkValue: the page holds no letters,
// only this value of each answer.
function checkValue(salt, cell, letter) {
  const text = salt + '|' + cell + '|' + letter;
  let hash = 0x811c9dc5;
  for (let i = 0; i < text.length; ++i) {
    hash ^= text.charCodeAt(i);
    hash = Math.imul(hash, 0x01000193);
  }
  hash ^= hash >>> 16;
  hash = Math.imul(hash, 0x85ebca6b);
  hash ^= hash >>> 13;
  hash = Math.imul(hash, 0xc2b2ae35);
  hash ^= hash >>> 16;
  return hash >>> 0;
}

// GridSolver for the playable cells of one crossword.
class Solver {
  constructor(cells, salt) {
    this.salt = salt;
    this.cells = cells.map(([index, number, check]) =>
      ({ index, number, check, entered: '', mark: Mark.None }));
    this.byIndex = new Map(this.cells.map((cell) => [cell.index, cell]));
    this.state = State.Solving;
    this.mistakes = 0;
    this.attempts = 0;
    this.history = [];
    this.pane = Pane.Clues;
    this.selected = null;
    this.keyboardShown = false;
  }

  // A click on a cell; true when the keyboard opened there.
  selectCell(index) {
    const cell = this.byIndex.get(index);
    if (this.state === State.Solved || !cell) return false;
    this.selected = cell;
    if (this.state === State.Solving) {
      this.keyboardShown = true;
      return true;
    }
    this.pane = Pane.Hint;
    return false;
  }

  // Key 1..34 of the on-screen keyboard; true when it was taken.
  pressKey(key) {
    if (!this.keyboardShown || this.state !== State.Solving) return false;
    if (key !== CLOSE_KEY) this.selected.entered = key === ERASE_KEY ? '' : LETTERS[key - 1];
    this.keyboardShown = false;
    return true;
  }

  finishCheck() {
    if (this.state !== State.Solving) return;
    this.keyboardShown = false;
    for (const cell of this.cells) {
      if (this.matches(cell)) {
        cell.mark = Mark.Correct;
      } else {
        cell.mark = Mark.Wrong;
        ++this.mistakes;
      }
    }
    ++this.attempts;
    this.history.push([this.attempts, this.mistakes]);
    if (this.mistakes === 0) {
      this.pane = Pane.Success;
      this.state = State.Solved;
    } else {
      this.pane = Pane.Failure;
      this.state = State.Reviewing;
    }
  }

  matches(cell) {
    return cell.check !== null && cell.entered !== '' &&
           checkValue(this.salt, cell.index, cell.entered) === cell.check;
  }

  backToSolving() {
    if (this.state !== State.Reviewing) return;
    this.pane = Pane.Clues;
    this.mistakes = 0;
    // Wrong cells are emptied but stay marked until the next check.
    for (const cell of this.cells) {
      if (cell.mark === Mark.Wrong) cell.entered = '';
    }
    this.state = State.Solving;
  }

  hideKeyboard() {
    this.keyboardShown = false;
  }

  paneText(clues) {
    switch (this.pane) {
      case Pane.Failure: return failureText(this.mistakes);
      case Pane.Hint: return HINT_TEXT;
      case Pane.Success: return SUCCESS_TEXT;
      default: return clues;
    }
  }

  saved() {
    return {
      version: 1,
      entered: this.cells.map((cell) => cell.entered),
      marks: this.cells.map((cell) => cell.mark),
      state: this.state,
      mistakes: this.mistakes,
      history: this.history,
      pane: this.pane,
      selected: this.selected ? this.selected.index : null,
    };
  }

  // Takes back what saved() gave, unless anything in it is out of place or
  // not its own; nothing changes then. The marks and the result of a check are
  // worked out again from the letters, whatever was stored.
  restore(saved) {
    if (saved === null || typeof saved !== 'object' || Array.isArray(saved)) return false;
    const own = (key) => (Object.prototype.hasOwnProperty.call(saved, key) ? saved[key] : undefined);
    const count = this.cells.length;
    const isCount = (value, max) => Number.isInteger(value) && value >= 0 && value <= max;
    const [entered, marks, history, state, pane] =
      ['entered', 'marks', 'history', 'state', 'pane'].map(own);
    const panes = [[Pane.Clues], [Pane.Failure, Pane.Hint], [Pane.Success]];
    if (own('version') !== 1 || !Array.isArray(entered) || !Array.isArray(marks) ||
        !Array.isArray(history) || entered.length !== count || marks.length !== count ||
        !entered.every((letter) => letter === '' ||
                                   (typeof letter === 'string' && letter.length === 1 &&
                                    LETTERS.includes(letter))) ||
        !marks.every((mark) => isCount(mark, Mark.Wrong)) ||
        !history.every((line, i) => Array.isArray(line) && line.length === 2 &&
                                    line[0] === i + 1 && isCount(line[1], count)) ||
        !isCount(state, State.Solved) || !panes[state].includes(pane) ||
        (state !== State.Solving && history.length === 0)) {
      return false;
    }
    this.cells.forEach((cell, i) => {
      cell.entered = entered[i];
      cell.mark = history.length === 0 ? Mark.None : marks[i];
    });
    this.history = history.map((line) => [...line]);
    this.attempts = history.length;
    this.state = State.Solving;
    this.mistakes = 0;
    this.pane = Pane.Clues;
    if (state !== State.Solving) {
      // As right after the check: the letters cannot have changed since.
      for (const cell of this.cells) {
        cell.mark = this.matches(cell) ? Mark.Correct : Mark.Wrong;
        if (cell.mark === Mark.Wrong) ++this.mistakes;
      }
      this.history[this.attempts - 1][1] = this.mistakes;
      this.state = this.mistakes === 0 ? State.Solved : State.Reviewing;
      this.pane = this.mistakes === 0 ? Pane.Success : pane === Pane.Hint ? pane : Pane.Failure;
    }
    this.selected = this.byIndex.get(own('selected')) || null;
    return true;
  }
}

// The revision a stored text carries, 0 when it has none.
function revisionOf(text) {
  try {
    const value = JSON.parse(text);
    const revision = Object.prototype.hasOwnProperty.call(value, 'revision') && value.revision;
    return Number.isSafeInteger(revision) && revision > 0 ? revision : 0;
  } catch {
    return 0;
  }
}

// Browser storage, when the browser gives any (not in every sandboxed frame).
// Every save counts up a revision, so that a tab left open on older progress
// never writes over what another tab has stored since.
class Store {
  constructor(key) {
    this.key = 'kvarcella.crossword.' + key;
    this.revision = 0;
    this.text = null;
    try {
      this.storage = window.localStorage;
    } catch {
      this.storage = null;
    }
  }

  load() {
    try {
      this.text = this.storage.getItem(this.key);
      this.revision = Math.max(this.revision, revisionOf(this.text));
      return JSON.parse(this.text);
    } catch {
      return null;
    }
  }

  // False when another tab has stored newer progress: nothing is written then.
  save(value) {
    try {
      const stored = this.storage.getItem(this.key);
      if (stored !== null && stored !== this.text && revisionOf(stored) > this.revision) {
        return false;
      }
      const text = JSON.stringify({ ...value, revision: this.revision + 1 });
      this.storage.setItem(this.key, text);
      this.text = text;
      ++this.revision;
    } catch {
      // No storage, or full: the page goes on without keeping its state.
    }
    return true;
  }
}

// The key in the same place on the Russian layout, for a Latin one.
const LAYOUT = {
  KeyQ: 'й', KeyW: 'ц', KeyE: 'у', KeyR: 'к', KeyT: 'е', KeyY: 'н', KeyU: 'г', KeyI: 'ш',
  KeyO: 'щ', KeyP: 'з', BracketLeft: 'х', BracketRight: 'ъ', KeyA: 'ф', KeyS: 'ы',
  KeyD: 'в', KeyF: 'а', KeyG: 'п', KeyH: 'р', KeyJ: 'о', KeyK: 'л', KeyL: 'д',
  Semicolon: 'ж', Quote: 'э', KeyZ: 'я', KeyX: 'ч', KeyC: 'с', KeyV: 'м', KeyB: 'и',
  KeyN: 'т', KeyM: 'ь', Comma: 'б', Period: 'ю', Backquote: 'е',
};

// The on-screen key a physical key stands for, or 0. There is no "ё" key:
// answers are written with "е".
function keyOf(event) {
  if (event.key === 'Backspace' || event.key === 'Delete') return ERASE_KEY;
  let letter = event.key.length === 1 ? event.key.toLowerCase() : '';
  if (letter === 'ё') letter = 'е';
  if (letter === '' || !LETTERS.includes(letter)) letter = LAYOUT[event.code] || '';
  return letter === '' ? 0 : LETTERS.indexOf(letter) + 1;
}

const ARROWS = {
  ArrowLeft: [0, -1], ArrowRight: [0, 1], ArrowUp: [-1, 0], ArrowDown: [1, 0],
};

// The grid's words as the export found them, each with its clue: a line of
// the clue text, or only its number and direction where no line is its clue.
class Words {
  constructor(data, lines, numbers) {
    this.list = data.words.map(([start, down, length, line], i) => {
      const cells = Array.from({ length }, (_, k) => start + k * (down ? 20 : 1));
      const clue = line > 0 ? lines[line - 1].trim().replace(/^\d+\./, '').trim() : '';
      const name = [numbers.get(start), down ? 'по вертикали' : 'по горизонтали']
        .filter(Boolean).join(' ');
      return { id: 'word-' + i, cells, line, label: clue ? name + ': ' + clue : name };
    });
    // Per cell: its across word and its down word, each or both null.
    this.byCell = new Map();
    data.words.forEach(([, down], i) => {
      for (const cell of this.list[i].cells) {
        if (!this.byCell.has(cell)) this.byCell.set(cell, [null, null]);
        this.byCell.get(cell)[down] = this.list[i];
      }
    });
  }

  of(cell) {
    return this.byCell.get(cell) || [null, null];
  }
}

class Page {
  constructor(data) {
    this.data = data;
    this.store = new Store(data.key);
    this.solver = this.restored(this.store.load());
    this.narrow = window.matchMedia('(max-width: 640px)');
    this.buttons = new Map();
    this.lineSpans = new Map(); // line number to its element, for clue lines
    this.markedLine = null;
    this.cursor = null; // the current cell, where typing goes
    this.across = true; // the direction of the current word
    this.pressed = null; // the cell under a pointer, which focuses it before the click
    this.build();
    this.render();
  }

  // A solver holding the stored progress; a fresh one when there is none or
  // it cannot be taken back.
  restored(saved) {
    const solver = new Solver(this.data.cells, this.data.salt);
    try {
      if (saved !== null && solver.restore(saved)) {
        this.large = Object.prototype.hasOwnProperty.call(saved, 'large') && saved.large === true;
        return solver;
      }
    } catch {
      // Fall through to a fresh start.
    }
    return new Solver(this.data.cells, this.data.salt);
  }

  build() {
    const { data } = this;
    const title = data.title || 'Кроссворд';
    document.title = title;
    document.getElementById('title').textContent = title;
    document.documentElement.style.setProperty('--columns', String(Math.max(1, data.columns)));
    const clues = data.clues.replace(/\r\n?/g, '\n');
    document.getElementById('print-clues').textContent = clues;
    const lines = clues.split('\n');
    const numbers = new Map(data.cells.map(([index, number]) => [index, number]));
    this.words = new Words(data, lines, numbers);
    // A clue's line, to be marked, in an element of its own; the rest as text.
    const clueLines = new Set(this.words.list.map((word) => word.line));
    const list = document.getElementById('clue-list');
    let text = '';
    lines.forEach((line, i) => {
      const shown = i + 1 < lines.length ? line + '\n' : line;
      if (!clueLines.has(i + 1)) {
        text += shown;
        return;
      }
      const span = document.createElement('span');
      span.textContent = shown;
      list.append(text, span);
      this.lineSpans.set(i + 1, span);
      text = '';
    });
    list.append(text);
    const described = document.getElementById('words');
    for (const word of this.words.list) {
      const span = document.createElement('span');
      span.id = word.id;
      span.textContent = word.label;
      described.append(span);
    }

    const grid = document.getElementById('grid');
    for (const cell of this.solver.cells) {
      const row = Math.floor(cell.index / 20) - data.firstRow;
      const column = (cell.index % 20) - data.firstColumn;
      const button = document.createElement('button');
      button.type = 'button';
      button.className = 'cell';
      button.tabIndex = -1;
      button.dataset.cell = String(cell.index);
      button.style.gridRow = String(row + 1);
      button.style.gridColumn = String(column + 1);
      if (cell.number !== '') {
        const number = document.createElement('span');
        number.className = 'number';
        number.textContent = cell.number;
        // The space keeps number and letter apart in what the cell is read to show.
        button.append(number, ' ');
      }
      const letter = document.createElement('span');
      letter.className = 'letter';
      button.append(letter);
      grid.append(button);
      this.buttons.set(cell.index, button);
    }

    const keyboard = document.getElementById('keyboard');
    for (let key = 1; key <= CLOSE_KEY; ++key) {
      const button = document.createElement('button');
      button.type = 'button';
      button.className = 'key';
      button.dataset.key = String(key);
      if (key === ERASE_KEY) {
        button.classList.add('erase');
        button.textContent = '⌫';
        button.setAttribute('aria-label', 'стереть');
      } else if (key === CLOSE_KEY) {
        button.classList.add('close');
        button.textContent = 'закрыть';
      } else {
        button.textContent = LETTERS[key - 1];
      }
      keyboard.append(button);
    }

    grid.addEventListener('pointerdown', (event) => {
      const button = event.target.closest('.cell');
      this.pressed = button ? Number(button.dataset.cell) : null;
    });
    grid.addEventListener('focusin', (event) => this.onCellFocus(event));
    grid.addEventListener('click', (event) => this.onCellClick(event));
    keyboard.addEventListener('click', (event) => this.onKeyClick(event));
    document.getElementById('finish').addEventListener('click', () => {
      this.solver.finishCheck();
      this.render();
    });
    document.getElementById('back').addEventListener('click', () => {
      this.solver.backToSolving();
      this.render();
    });
    document.getElementById('zoom').addEventListener('click', () => {
      this.large = !this.large;
      this.render();
    });
    // A press anywhere but on a cell or the keyboard closes the keyboard, as
    // on the window's background.
    document.addEventListener('click', (event) => {
      if (this.solver.keyboardShown && !event.target.closest('.cell, .keyboard')) {
        this.solver.hideKeyboard();
        this.render();
      }
    });
    document.addEventListener('keydown', (event) => this.onKeyDown(event));
    window.addEventListener('resize', () => this.placeKeyboard());
    // Another tab of this page stored its progress: show that, so that this
    // tab never goes on from older letters.
    window.addEventListener('storage', (event) => {
      if (event.key === this.store.key && event.newValue !== null) this.adopt();
    });
  }

  adopt() {
    this.solver = this.restored(this.store.load());
    this.savedText = this.savedValue();
    this.render(false);
  }

  // The current word: through the current cell in the current direction.
  word() {
    if (this.cursor === null || this.solver.state === State.Solved) return null;
    return this.words.of(this.cursor)[this.across ? 0 : 1];
  }

  // Makes a cell current with the word through it: across first, or down
  // first when not acrossFirst, whichever it has.
  arrive(index, acrossFirst) {
    const [across, down] = this.words.of(index);
    this.cursor = index;
    this.across = acrossFirst ? Boolean(across || !down) : !down && Boolean(across);
  }

  // To the other word through the current cell, where there is one.
  turn() {
    const [across, down] = this.words.of(this.cursor);
    if (across && down) this.across = !this.across;
  }

  onCellFocus(event) {
    const button = event.target.closest('.cell');
    const index = button ? Number(button.dataset.cell) : null;
    // Tab into the grid; a pointer's click decides for itself.
    if (index === null || index === this.cursor || index === this.pressed) return;
    this.arrive(index, true);
    this.render();
  }

  onCellClick(event) {
    const button = event.target.closest('.cell');
    this.pressed = null;
    if (!button || button.disabled) return;
    const index = Number(button.dataset.cell);
    const word = this.word();
    if (index === this.cursor) {
      this.turn();
    } else if (word && word.cells.includes(index)) {
      this.cursor = index;
    } else {
      this.arrive(index, true);
    }
    this.solver.selectCell(index);
    this.render();
    // Safari does not focus a clicked button; typing goes to the focused cell.
    button.focus();
  }

  onKeyClick(event) {
    const button = event.target.closest('.key');
    if (!button || !this.solver.keyboardShown) return;
    const index = this.solver.selected.index;
    const key = Number(button.dataset.key);
    if (!this.solver.pressKey(key)) return;
    this.moveOn(index, key, true);
    this.render();
    this.buttons.get(this.cursor === null ? index : this.cursor).focus();
  }

  // After key was taken on the cell: a letter moves to the word's next cell,
  // and an open keyboard opens there again, as a click on that cell would;
  // after the word's last cell it stays closed.
  moveOn(index, key, keyboardWasShown) {
    if (key === CLOSE_KEY) return;
    let next = index;
    if (key !== ERASE_KEY) {
      const word = this.word();
      const at = word ? word.cells.indexOf(index) : -1;
      if (at < 0 || at + 1 === word.cells.length) return;
      next = word.cells[at + 1];
      this.cursor = next;
    }
    if (keyboardWasShown) this.solver.selectCell(next);
  }

  onKeyDown(event) {
    if (event.ctrlKey || event.altKey || event.metaKey || event.isComposing) return;
    if (event.key === 'Escape') {
      if (!this.solver.keyboardShown) return;
      const inKeyboard = event.target.closest && event.target.closest('.keyboard');
      this.solver.hideKeyboard();
      this.render();
      if (inKeyboard) this.buttons.get(this.solver.selected.index).focus();
      event.preventDefault();
      return;
    }
    const button = event.target.closest && event.target.closest('.cell');
    if (!button || button.disabled) return;
    const index = Number(button.dataset.cell);
    // A pointer pressed on the cell and let go elsewhere focused it without a click.
    if (index !== this.cursor) this.arrive(index, true);
    const arrow = ARROWS[event.key];
    if (arrow) {
      const next = this.neighbour(index, arrow[0], arrow[1]);
      if (next !== null) {
        this.arrive(next, arrow[1] !== 0);
        if (this.solver.keyboardShown) this.solver.selectCell(next);
        this.render();
        this.buttons.get(next).focus();
      }
      event.preventDefault();
      return;
    }
    if (event.key === ' ') {
      this.turn();
      this.render();
      event.preventDefault();
      return;
    }
    const key = keyOf(event);
    if (key === 0) return;
    // As a click on the cell and then on the key.
    const shown = this.solver.keyboardShown;
    this.solver.selectCell(index);
    if (this.solver.pressKey(key)) this.moveOn(index, key, shown);
    this.render();
    this.buttons.get(this.cursor).focus();
    event.preventDefault();
  }

  // The nearest playable cell in a direction: on the same line first, then
  // on the closest line beside it.
  neighbour(index, rowStep, columnStep) {
    const row = Math.floor(index / 20);
    const column = index % 20;
    let best = null;
    let bestAcross = 0;
    let bestAlong = 0;
    for (const cell of this.solver.cells) {
      const cellRow = Math.floor(cell.index / 20);
      const cellColumn = cell.index % 20;
      const along = rowStep ? (cellRow - row) * rowStep : (cellColumn - column) * columnStep;
      const across = rowStep ? Math.abs(cellColumn - column) : Math.abs(cellRow - row);
      if (along <= 0) continue;
      if (best === null || across < bestAcross || (across === bestAcross && along < bestAlong)) {
        best = cell.index;
        bestAcross = across;
        bestAlong = along;
      }
    }
    return best;
  }

  // The name says first what the cell shows, then what it means.
  cellName(cell, row, column) {
    const shown = [cell.number, cell.entered].filter(Boolean).join(' ');
    const parts = [`строка ${row}, столбец ${column}`];
    if (cell.number !== '') parts.push(`номер ${cell.number}`);
    parts.push(cell.entered !== '' ? `буква ${cell.entered}` : 'пусто');
    if (cell.mark === Mark.Wrong) parts.push('ошибка');
    return (shown ? shown + ', ' : '') + parts.join(', ');
  }

  render(save = true) {
    const { solver } = this;
    const solved = solver.state === State.Solved;
    const word = this.word();
    const inWord = new Set(word ? word.cells : []);
    const stop = this.cursor === null ? solver.cells[0] && solver.cells[0].index : this.cursor;
    for (const cell of solver.cells) {
      const button = this.buttons.get(cell.index);
      const letter = button.lastChild;
      if (letter.textContent !== cell.entered) letter.textContent = cell.entered;
      button.classList.toggle('wrong', cell.mark === Mark.Wrong);
      button.classList.toggle('word', inWord.has(cell.index));
      button.classList.toggle('current', !solved && cell.index === this.cursor);
      button.classList.toggle('selected', solver.keyboardShown && cell === solver.selected);
      button.disabled = solved;
      const tabIndex = cell.index === stop ? 0 : -1;
      if (button.tabIndex !== tabIndex) button.tabIndex = tabIndex;
      const row = Math.floor(cell.index / 20) - this.data.firstRow + 1;
      const column = (cell.index % 20) - this.data.firstColumn + 1;
      const name = this.cellName(cell, row, column);
      if (button.getAttribute('aria-label') !== name) button.setAttribute('aria-label', name);
      // Its word's clue, the current direction's first.
      const words = this.words.of(cell.index);
      const described = (this.across ? words : [words[1], words[0]])
        .filter(Boolean).map((w) => w.id).join(' ');
      if (described === '') button.removeAttribute('aria-describedby');
      else if (button.getAttribute('aria-describedby') !== described) {
        button.setAttribute('aria-describedby', described);
      }
    }

    const clueLine = document.getElementById('clue-line');
    const label = word ? word.label : '';
    if (clueLine.textContent !== label) clueLine.textContent = label;
    const marked = (word && this.lineSpans.get(word.line)) || null;
    if (marked !== this.markedLine) {
      if (this.markedLine) this.markedLine.classList.remove('current');
      if (marked) marked.classList.add('current');
      this.markedLine = marked;
    }

    const pane = document.getElementById('pane');
    const result = solver.pane === Pane.Clues ? '' : solver.paneText('').replace(/\r\n?/g, '\n');
    const resultBox = document.getElementById('result');
    if (resultBox.textContent !== result) resultBox.textContent = result;
    pane.classList.toggle('result', solver.state !== State.Solving);
    pane.classList.toggle('showing-result', solver.pane !== Pane.Clues);
    const status = document.getElementById('status');
    if (status.textContent !== result) status.textContent = result;

    document.getElementById('finish').disabled = solver.state !== State.Solving;
    document.getElementById('back').disabled = solver.state !== State.Reviewing;
    const zoom = document.getElementById('zoom');
    zoom.setAttribute('aria-pressed', String(Boolean(this.large)));
    document.documentElement.classList.toggle('large', Boolean(this.large));

    // Counted here, not read from the live list in the loop: that is quadratic.
    const list = document.getElementById('history');
    let items = list.childElementCount;
    for (; items > solver.history.length; --items) list.lastElementChild.remove();
    if (items < solver.history.length) {
      const added = document.createDocumentFragment();
      for (const [attempts, mistakes] of solver.history.slice(items)) {
        const item = document.createElement('li');
        item.textContent = historyLine(attempts, mistakes);
        added.append(item);
      }
      list.append(added);
    }

    document.getElementById('keyboard').hidden = !solver.keyboardShown;
    document.body.classList.toggle('keyboard-open', solver.keyboardShown);
    this.placeKeyboard();
    if (save) this.save();
  }

  savedValue() {
    return JSON.stringify({ ...this.solver.saved(), large: Boolean(this.large) });
  }

  // Only what changed, and never over newer progress of another tab: this
  // tab takes that up instead.
  save() {
    const text = this.savedValue();
    if (text === this.savedText) return;
    if (this.store.save(JSON.parse(text))) this.savedText = text;
    else this.adopt();
  }

  // Beside the current word on a wide screen; at the bottom of a narrow one
  // (by the style sheet), with the clue line above it.
  placeKeyboard() {
    const keyboard = document.getElementById('keyboard');
    const root = document.documentElement;
    const narrow = this.solver.keyboardShown && this.narrow.matches;
    const covered = narrow
      ? keyboard.offsetHeight + document.getElementById('clue-line').offsetHeight : 0;
    // Room below the page, so that the keyboard never hides the last rows.
    root.style.setProperty('--keyboard', narrow ? keyboard.offsetHeight + 'px' : '0px');
    document.body.style.paddingBottom = narrow ? covered + 'px' : '';
    root.style.scrollPaddingBottom = narrow ? covered + 'px' : '';
    if (!this.solver.keyboardShown) return;
    const cell = this.buttons.get(this.solver.selected.index);
    if (narrow) {
      keyboard.style.left = '';
      keyboard.style.top = '';
      cell.scrollIntoView({ block: 'nearest', inline: 'nearest' });
      return;
    }
    // The whole word, so that the keyboard stays put while it is typed.
    const word = this.word();
    const around = (word ? word.cells : [this.solver.selected.index])
      .map((index) => this.buttons.get(index).getBoundingClientRect())
      .reduce((a, b) => ({
        left: Math.min(a.left, b.left), top: Math.min(a.top, b.top),
        right: Math.max(a.right, b.right), bottom: Math.max(a.bottom, b.bottom),
      }));
    const width = keyboard.offsetWidth;
    const height = keyboard.offsetHeight;
    const viewWidth = root.clientWidth;
    const viewHeight = root.clientHeight;
    let left;
    let top;
    if (word && !this.across) {
      left = around.right + 4;
      if (left + width > viewWidth && around.left - width - 4 >= 0) left = around.left - width - 4;
      top = Math.min(around.top, viewHeight - height - 4);
    } else {
      left = Math.min(around.left, viewWidth - width - 4);
      top = around.bottom + 4;
      if (top + height > viewHeight && around.top - height - 4 >= 0) top = around.top - height - 4;
    }
    keyboard.style.left = Math.max(4, left) + window.scrollX + 'px';
    keyboard.style.top = Math.max(4, top) + window.scrollY + 'px';
  }
}

new Page(JSON.parse(document.getElementById('crossword').textContent));
