// The crossword page made by kvarcella-tool html.
//
// The rules are those of the solving window, GridSolver in
// src/solver/gridsolver.cpp: the same texts, states, guards and marks. Keep
// the two in step; the browser test replays random action scripts through
// both and compares what they show.

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
      if (cell.check !== null && cell.entered !== '' &&
          checkValue(this.salt, cell.index, cell.entered) === cell.check) {
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

  // Takes back what saved() gave, unless anything in it is out of place.
  restore(saved) {
    const count = this.cells.length;
    const isCount = (value, max) => Number.isInteger(value) && value >= 0 && value <= max;
    const panes = {
      [State.Solving]: [Pane.Clues],
      [State.Reviewing]: [Pane.Failure, Pane.Hint],
      [State.Solved]: [Pane.Success],
    };
    if (!saved || saved.version !== 1 || !Array.isArray(saved.entered) ||
        !Array.isArray(saved.marks) || !Array.isArray(saved.history) ||
        saved.entered.length !== count || saved.marks.length !== count ||
        !saved.entered.every((letter) => letter === '' ||
                                         (typeof letter === 'string' && letter.length === 1 &&
                                          LETTERS.includes(letter))) ||
        !saved.marks.every((mark) => isCount(mark, Mark.Wrong)) ||
        !saved.history.every((line, i) => Array.isArray(line) && line.length === 2 &&
                                          line[0] === i + 1 && isCount(line[1], count)) ||
        !(panes[saved.state] || []).includes(saved.pane) || !isCount(saved.mistakes, count) ||
        (saved.state === State.Reviewing) !== (saved.mistakes > 0)) {
      return false;
    }
    this.cells.forEach((cell, i) => {
      cell.entered = saved.entered[i];
      cell.mark = saved.marks[i];
    });
    this.state = saved.state;
    this.mistakes = saved.mistakes;
    this.history = saved.history;
    this.attempts = saved.history.length;
    this.pane = saved.pane;
    this.selected = this.byIndex.get(saved.selected) || null;
    return true;
  }
}

// Browser storage, when the browser gives any (not in every sandboxed frame).
class Store {
  constructor(key) {
    this.key = 'kvarcella.crossword.' + key;
    try {
      this.storage = window.localStorage;
    } catch {
      this.storage = null;
    }
  }

  load() {
    try {
      return JSON.parse(this.storage.getItem(this.key));
    } catch {
      return null;
    }
  }

  save(value) {
    try {
      this.storage.setItem(this.key, JSON.stringify(value));
    } catch {
      // Full or refused: the page goes on without keeping its state.
    }
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

class Page {
  constructor(data) {
    this.data = data;
    this.solver = new Solver(data.cells, data.salt);
    this.store = new Store(data.key);
    const saved = this.store.load();
    if (saved) this.solver.restore(saved);
    this.narrow = window.matchMedia('(max-width: 640px)');
    this.buttons = new Map();
    this.build();
    this.render();
  }

  build() {
    const { data } = this;
    const title = data.title || 'Кроссворд';
    document.title = title;
    document.getElementById('title').textContent = title;
    document.documentElement.style.setProperty('--columns', String(Math.max(1, data.columns)));
    const clues = data.clues.replace(/\r\n?/g, '\n');
    this.clues = clues;
    document.getElementById('print-clues').textContent = clues;

    const grid = document.getElementById('grid');
    for (const cell of this.solver.cells) {
      const row = Math.floor(cell.index / 20) - data.firstRow;
      const column = (cell.index % 20) - data.firstColumn;
      const button = document.createElement('button');
      button.type = 'button';
      button.className = 'cell';
      button.dataset.cell = String(cell.index);
      button.style.gridRow = String(row + 1);
      button.style.gridColumn = String(column + 1);
      if (cell.number !== '') {
        const number = document.createElement('span');
        number.className = 'number';
        number.textContent = cell.number;
        button.append(number);
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
  }

  onCellClick(event) {
    const button = event.target.closest('.cell');
    if (!button || button.disabled) return;
    this.solver.selectCell(Number(button.dataset.cell));
    // Safari does not focus a clicked button; typing goes to the focused cell.
    button.focus();
    this.render();
  }

  onKeyClick(event) {
    const button = event.target.closest('.key');
    if (!button) return;
    if (this.solver.pressKey(Number(button.dataset.key))) {
      this.render();
      this.buttons.get(this.solver.selected.index).focus();
    }
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
    const arrow = ARROWS[event.key];
    if (arrow) {
      const next = this.neighbour(index, arrow[0], arrow[1]);
      if (next !== null) this.buttons.get(next).focus();
      event.preventDefault();
      return;
    }
    const key = keyOf(event);
    if (key === 0) return;
    // As a click on the cell and then on the key.
    this.solver.selectCell(index);
    this.solver.pressKey(key);
    this.render();
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

  render() {
    const { solver } = this;
    const solved = solver.state === State.Solved;
    for (const cell of solver.cells) {
      const button = this.buttons.get(cell.index);
      const wrong = cell.mark === Mark.Wrong;
      button.lastChild.textContent = cell.entered;
      button.classList.toggle('wrong', wrong);
      button.classList.toggle('selected', solver.keyboardShown && cell === solver.selected);
      button.disabled = solved;
      const row = Math.floor(cell.index / 20) - this.data.firstRow + 1;
      const column = (cell.index % 20) - this.data.firstColumn + 1;
      button.setAttribute('aria-label',
        `строка ${row}, столбец ${column}` +
        (cell.number !== '' ? `, номер ${cell.number}` : '') +
        (cell.entered !== '' ? `, буква ${cell.entered}` : ', пусто') +
        (wrong ? ', ошибка' : ''));
    }

    const pane = document.getElementById('pane');
    const text = solver.paneText(this.clues).replace(/\r\n?/g, '\n');
    if (pane.textContent !== text) pane.textContent = text;
    pane.classList.toggle('result', solver.state !== State.Solving);
    const status = document.getElementById('status');
    const announced = solver.pane === Pane.Clues ? '' : text;
    if (status.textContent !== announced) status.textContent = announced;

    document.getElementById('finish').disabled = solver.state !== State.Solving;
    document.getElementById('back').disabled = solver.state !== State.Reviewing;

    const list = document.getElementById('history');
    while (list.children.length > solver.history.length) list.lastChild.remove();
    while (list.children.length < solver.history.length) {
      const [attempts, mistakes] = solver.history[list.children.length];
      const item = document.createElement('li');
      item.textContent = historyLine(attempts, mistakes);
      list.append(item);
    }

    document.getElementById('keyboard').hidden = !solver.keyboardShown;
    document.body.classList.toggle('keyboard-open', solver.keyboardShown);
    this.placeKeyboard();
    this.store.save(solver.saved());
  }

  // Beside the cell on a wide screen; at the bottom of a narrow one (by the style sheet).
  placeKeyboard() {
    const keyboard = document.getElementById('keyboard');
    const root = document.documentElement;
    const narrow = this.solver.keyboardShown && this.narrow.matches;
    // Room below the page, so that the keyboard never hides the last rows.
    document.body.style.paddingBottom = narrow ? keyboard.offsetHeight + 'px' : '';
    root.style.scrollPaddingBottom = narrow ? keyboard.offsetHeight + 'px' : '';
    if (!this.solver.keyboardShown) return;
    const cell = this.buttons.get(this.solver.selected.index);
    if (narrow) {
      keyboard.style.left = '';
      keyboard.style.top = '';
      cell.scrollIntoView({ block: 'nearest', inline: 'nearest' });
      return;
    }
    const around = cell.getBoundingClientRect();
    const width = keyboard.offsetWidth;
    const height = keyboard.offsetHeight;
    const viewWidth = root.clientWidth;
    const viewHeight = root.clientHeight;
    let left = Math.min(around.left, viewWidth - width - 4);
    let top = around.bottom + 4;
    if (top + height > viewHeight && around.top - height - 4 >= 0) top = around.top - height - 4;
    left = Math.max(4, left);
    keyboard.style.left = left + window.scrollX + 'px';
    keyboard.style.top = top + window.scrollY + 'px';
  }
}

new Page(JSON.parse(document.getElementById('crossword').textContent));
