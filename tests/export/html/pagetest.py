#!/usr/bin/python3
"""The crossword page of `kvarcella-tool html` in headless Debian Chromium.

    pagetest.py TEST --tool KVARCELLA_TOOL --replay HTML_REPLAY --words WORDS.txt --axe AXE.JS

TEST is one of: differential, crafted, layout, axe, embedding, storage, keys.
"""
import argparse
import json
import pathlib
import random
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import browser  # noqa: E402

LETTERS = "абвгдежзийклмнопрстуфхцчшщъыьэюя"
ERASE_KEY, CLOSE_KEY = 33, 34
YELLOW = "rgb(255, 255, 0)"

# The Russian ЙЦУКЕН layout: letter, KeyboardEvent.code, the Latin character there.
LAYOUT = [(r, c, l) for r, c, l in zip(
    "йцукенгшщзхъфывапролджэячсмитьбю",
    "KeyQ KeyW KeyE KeyR KeyT KeyY KeyU KeyI KeyO KeyP BracketLeft BracketRight "
    "KeyA KeyS KeyD KeyF KeyG KeyH KeyJ KeyK KeyL Semicolon Quote "
    "KeyZ KeyX KeyC KeyV KeyB KeyN KeyM Comma Period".split(),
    "qwertyuiop[]asdfghjkl;'zxcvbnm,.")]
CODE_OF = {letter: (code, latin) for letter, code, latin in LAYOUT}


def latin(word):
    """The keys of a Latin layout that type a Russian word: chromedriver sends no key
    events for Cyrillic characters."""
    return "".join(CODE_OF[letter][1] for letter in word)


def check(condition, message):
    if not condition:
        raise AssertionError(message)


# --- Crosswords --------------------------------------------------------------------------

def write_crs(path, letters, numbers=None, clues=""):
    """A .crs file in UTF-8 (the reader takes UTF-8 as readily as Windows-1251)."""
    numbers = numbers or {}

    # A cell value cannot hold a quote: the tool refuses such a record.
    lines = [f'"{letters.get(i, "")}","{numbers.get(i, "")}"' for i in range(400)]
    path.write_bytes(("\r\n".join(lines) + "\r\n" + clues + "\r\n").encode("utf-8"))
    return path


def read_letters(path):
    data = path.read_bytes()
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError:
        text = data.decode("cp1251")
    letters = {}
    for i, line in enumerate(text.split("\r\n")[:400]):
        letter = re.match(r'"([^"]*)"', line).group(1)
        if letter:
            letters[i] = letter
    return letters


def run_tool(args, *arguments):
    done = subprocess.run([args.tool, *map(str, arguments)], capture_output=True, text=True)
    check(done.returncode == 0, f"kvarcella-tool {arguments} failed: {done.stderr}")
    return done


def make_page(args, crs, html=None):
    if html:
        run_tool(args, "html", crs, "-o", html)
        return html
    html = crs.with_suffix(".html")
    done = run_tool(args, "html", crs)
    check(done.stdout == f"Записан файл «{html}».\n", f"kvarcella-tool html said {done.stdout!r}")
    return html


def words20(args, folder):
    crs = folder / "w20.crs"
    run_tool(args, "make", args.words, "-o", crs)
    return crs


# --- Action scripts ----------------------------------------------------------------------

def typed(rng, letter):
    """A physical key press that means this letter."""
    code, latin = CODE_OF[letter]
    return rng.choice([
        [letter, code], [letter.upper(), code], [latin, code], [latin.upper(), code],
    ])


def random_script(rng, letters):
    cells = sorted(letters)
    last = rng.choice(cells) if cells else None
    actions = []
    for _ in range(rng.randint(3, 50)):
        roll = rng.random()
        if roll < 0.25 and cells:
            last = rng.choice(cells)
            actions.append(["click", last])
        elif roll < 0.45:
            if last is not None and letters[last] in LETTERS and rng.random() < 0.6:
                actions.append(["key", LETTERS.index(letters[last]) + 1])
            else:
                actions.append(["key", rng.randint(1, CLOSE_KEY)])
        elif roll < 0.70:
            kind = rng.random()
            if kind < 0.5:
                letter = (letters[last] if last is not None and letters[last] in LETTERS
                          and rng.random() < 0.6 else rng.choice(LETTERS))
                key, code = typed(rng, letter)
                actions.append(["type", key, code, False, LETTERS.index(letter) + 1])
            elif kind < 0.55:
                actions.append(["type", rng.choice(["ё", "Ё", "`"]), "Backquote", False,
                                LETTERS.index("е") + 1])
            elif kind < 0.65:
                actions.append(["type", rng.choice(["Backspace", "Delete"]),
                                rng.choice(["Backspace", "Delete"]), False, ERASE_KEY])
            elif kind < 0.70:
                actions.append(["type", "Escape", "Escape", False, "escape"])
            elif kind < 0.75:
                actions.append(["type", " ", "Space", False, "turn"])
            elif kind < 0.90:
                direction = rng.choice(["Left", "Right", "Up", "Down"])
                actions.append(["type", "Arrow" + direction, "Arrow" + direction, False,
                                direction.lower()])
            else:
                key, code, ctrl = rng.choice([["1", "Digit1", False], ["q", "KeyQ", True],
                                              ["Tab", "Tab", False], ["F5", "F5", False],
                                              ["p", "KeyP", True]])
                actions.append(["type", key, code, ctrl, "none"])
        elif roll < 0.80:
            actions.append(["finish"])
        elif roll < 0.88:
            actions.append(["back"])
        elif roll < 0.94:
            actions.append(["background"])
        else:
            actions.append(["reload"])
    return actions


# Runs scripts in the page inside the harness's frame, each from a fresh page
# and empty storage, and returns what the page shows after each.
RUN_SCRIPTS = r"""
const [scripts, done] = [arguments[0], arguments[arguments.length - 1]];
const frame = document.getElementById('page');
const reload = () => new Promise((resolve) => {
  frame.addEventListener('load', resolve, { once: true });
  frame.contentWindow.location.reload();
});
const shown = (doc) => {
  const win = doc.defaultView;
  const pane = doc.getElementById('pane');
  const style = win.getComputedStyle(pane);
  const active = doc.activeElement;
  return {
    pane: [...pane.children].filter((e) => e.getClientRects().length > 0 &&
                                           win.getComputedStyle(e).visibility === 'visible')
      .map((e) => e.textContent).join(''),
    result: style.color === 'rgb(0, 0, 255)' && style.textAlign === 'center',
    cells: [...doc.querySelectorAll('.cell')].map((b) => [
      Number(b.dataset.cell), b.querySelector('.letter').textContent,
      win.getComputedStyle(b).backgroundColor === 'rgb(255, 255, 0)', !b.disabled]),
    finish: !doc.getElementById('finish').disabled,
    back: !doc.getElementById('back').disabled,
    history: [...doc.querySelectorAll('#history li')].map((li) => li.textContent),
    keyboard: win.getComputedStyle(doc.getElementById('keyboard')).display !== 'none',
    focus: active && active.classList.contains('cell') ? Number(active.dataset.cell) : -1,
    word: [...doc.querySelectorAll('.cell.word')].map((b) => Number(b.dataset.cell)),
    clue: doc.getElementById('clue-line').textContent,
  };
};
const run = async (actions) => {
  frame.contentWindow.localStorage.clear();
  await reload();
  for (const action of actions) {
    const win = frame.contentWindow;
    const doc = win.document;
    const [kind, a, b, ctrl] = action;
    if (kind === 'click') {
      doc.querySelector(`.cell[data-cell="${a}"]`).click();
    } else if (kind === 'key') {
      doc.querySelector(`.key[data-key="${a}"]`).click();
    } else if (kind === 'type') {
      (doc.activeElement || doc.body).dispatchEvent(new win.KeyboardEvent('keydown', {
        key: a, code: b, ctrlKey: ctrl, bubbles: true, cancelable: true }));
    } else if (kind === 'finish' || kind === 'back') {
      const button = doc.getElementById(kind);
      button.focus();
      button.click();
    } else if (kind === 'background') {
      if (doc.activeElement) doc.activeElement.blur();
      doc.getElementById('main').click();
    } else if (kind === 'reload') {
      await reload();
    }
  }
  return shown(frame.contentWindow.document);
};
(async () => {
  const results = [];
  for (const actions of scripts) results.push(await run(actions));
  done(results);
})().catch((error) => done(String(error && error.stack || error)));
"""


def differential(args, folder):
    # Each word's clue is found by number under its heading: down first, lines ended as a
    # hand-edited file may end them, "01" for 1, the first of two; 3's is under the other.
    small = write_crs(folder / "small.crs",
                      {1: "к", 2: "о", 3: "т", 22: "о", 42: "м", 62: "а", 61: "р"},
                      {1: "1", 2: "2", 61: "3"},
                      "По вертикали:\n2. Ком.\r3. Игра.\r\nПо горизонтали:\n"
                      "01. Домашнее животное.\r\n1. Ещё раз.")
    # Answers no key can type, numbers on blank squares, cells on the grid's edges.
    odd = write_crs(folder / "odd.crs",
                    {0: "К", 1: "ко", 2: "а", 19: "я", 380: "ё", 399: "ы", 398: "ь"},
                    {0: "1", 5: "2", 399: "99"}, "Свободный текст\r\nбез формы")
    empty = write_crs(folder / "empty.crs", {}, {7: "1"}, "Пусто.")
    crosswords = [small, words20(args, folder), odd, empty]
    shares = [150, 110, 30, 10]
    check(sum(shares) >= 300, "at least 300 scripts")
    (folder / "harness.html").write_text(
        '<!DOCTYPE html><html lang="ru"><link rel="icon" href="data:,"><title>Проверка</title>'
        '<iframe id="page" title="Кроссворд" width="1200" height="900"></iframe></html>',
        encoding="utf-8")

    seed = 0
    started = time.monotonic()
    with browser.serve(str(folder)) as base, browser.chromium() as driver:
        driver.get(base + "harness.html")
        for crs, share in zip(crosswords, shares):
            page = make_page(args, crs)
            letters = read_letters(crs)
            scripts = []
            for _ in range(share):
                scripts.append((seed, random_script(random.Random(seed), letters)))
                seed += 1
            script_file = folder / (crs.stem + ".scripts.json")
            script_file.write_text(json.dumps([s for _, s in scripts]), encoding="utf-8")
            replay = subprocess.run([args.replay, str(crs), str(script_file)],
                                    capture_output=True, check=True)
            expected = json.loads(replay.stdout)
            driver.execute_async_script(
                "const [src, done] = arguments; const f = document.getElementById('page');"
                "f.addEventListener('load', () => done(), { once: true }); f.src = src;",
                page.name)
            group_started = time.monotonic()
            shown = driver.execute_async_script(RUN_SCRIPTS, [s for _, s in scripts])
            print(f"{crs.name}: {share} scripts in {time.monotonic() - group_started:.1f} s")
            check(isinstance(shown, list), f"the scripts stopped: {shown}")
            for (script_seed, actions), want, got in zip(scripts, expected, shown):
                if got != want:
                    differences = {k: {"GridSolver": want.get(k), "page": got.get(k)}
                                   for k in sorted(set(want) | set(got))
                                   if want.get(k) != got.get(k)}
                    raise AssertionError(
                        f"the page and GridSolver disagree after seed {script_seed} "
                        f"on {crs.name}\nscript: {json.dumps(actions, ensure_ascii=False)}\n"
                        f"differences: {json.dumps(differences, ensure_ascii=False)}")
        errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
        check(not errors, f"the browser reported errors: {errors}")
    print(f"{seed} scripts agree ({time.monotonic() - started:.1f} s)")


# --- Crafted text -------------------------------------------------------------------------

ATTACKS = [
    "</script><script>window.pwned = 1</script>",
    '<img src=x onerror="window.pwned = 2">',
    '"><svg onload=window.pwned=3>',
    "&amp; &lt;b&gt; @DATA@ @SCRIPT@ @POLICY@",
]


def crafted(args, folder):
    numbers = {21: "<img src=x onerror=window.pwned=4>", 22: "x><svg onload=window.pwned=5>",
               23: "</script>", 41: "&lt;"}
    clues = "\r\n".join(ATTACKS)
    name = '<b>Кот<b> & "x" <img src=x onerror=window.pwned=6>'
    crs = write_crs(folder / (name + ".crs"), {21: "к", 22: "о", 23: "т", 41: "о"}, numbers,
                    clues)
    page = make_page(args, crs, folder / "crafted.html")
    source = page.read_text(encoding="utf-8")
    data = re.search(r'<script type="application/json" id="crossword">(.*?)</script>', source,
                     re.S).group(1)
    check("<" not in data and ">" not in data, "the data holds a raw angle bracket")
    check(source.count("<script") == 2, "the crafted file added a script element")

    with browser.chromium() as driver:
        driver.get(page.as_uri())
        shown = driver.execute_script(
            "return {pwned: window.pwned, title: document.title,"
            " heading: document.getElementById('title').textContent,"
            " pane: document.getElementById('pane').textContent,"
            " numbers: [...document.querySelectorAll('.number')].map((n) => n.textContent),"
            " foreign: document.querySelectorAll('img, svg, b').length,"
            " scripts: document.scripts.length}")
        check(shown["pwned"] is None, f"crafted text ran: {shown}")
        check(shown["title"] == name and shown["heading"] == name, f"title: {shown}")
        check(shown["pane"] == "\n".join(ATTACKS), f"clues: {shown['pane']!r}")
        check(shown["numbers"] == [numbers[i] for i in sorted(numbers)], f"numbers: {shown}")
        check(shown["foreign"] == 0 and shown["scripts"] == 2, f"markup from the file: {shown}")
        # Crafted numbers still leave a working page.
        driver.find_element("css selector", '.cell[data-cell="23"]').click()
        driver.find_element("css selector", '.key[data-key="19"]').click()
        check(driver.find_element("css selector", '.cell[data-cell="23"] .letter').text == "т",
              "a key did not fill the cell")
        # Whatever gets into the page, the policy runs nothing but the page's own script.
        driver.execute_script(
            "document.body.insertAdjacentHTML('beforeend',"
            " '<img src=x onerror=\"window.pwned = 7\"><button onclick=\"window.pwned = 8\">');"
            "const s = document.createElement('script'); s.textContent = 'window.pwned = 9';"
            "document.body.append(s);"
            "document.querySelector('button[onclick]').click();")
        time.sleep(0.3)
        check(driver.execute_script("return window.pwned") is None,
              "the page's policy let an injected script run")
    print("crafted text shown literally, nothing ran")


# --- Phone and print ----------------------------------------------------------------------

MEASURE = r"""
const rect = (e) => e.getBoundingClientRect();
const keyboard = document.getElementById('keyboard');
const k = rect(keyboard);
const clueLine = document.getElementById('clue-line');
const line = rect(clueLine);
const selected = document.querySelector('.cell.selected');
const wrap = document.getElementById('grid-wrap');
const cells = [...document.querySelectorAll('.cell')];
const inView = cells.filter((c) => rect(c).top >= -0.5 && rect(c).bottom <= line.top + 0.5);
return {
  pageWidth: document.documentElement.scrollWidth, viewWidth: window.innerWidth,
  viewHeight: window.innerHeight,
  gridScrolls: wrap.scrollWidth > wrap.clientWidth,
  cell: Math.min(...cells.map((c) => rect(c).width)),
  smallKeys: [...document.querySelectorAll('.key')]
    .filter((e) => rect(e).width < 31.99 || rect(e).height < 31.99).length,
  keyboardShown: getComputedStyle(keyboard).display !== 'none',
  keyboard: [k.left, k.top, k.right, k.bottom],
  clueLine: [line.top, line.bottom], clue: clueLine.textContent,
  selected: selected ? [rect(selected).top, rect(selected).bottom] : null,
  rowsInView: new Set(inView.map((c) => c.style.gridRow)).size,
  rows: new Set(cells.map((c) => c.style.gridRow)).size,
};
"""

TINT = "rgb(204, 224, 255)"


def layout(args, folder):
    long_line = "\r\n2. " + "Дли" * 150
    clues = "По горизонтали:" + "\r\n1. Большая река в Сибири." * 200 + long_line
    full = write_crs(folder / "full.crs", {i: LETTERS[(i * 7) % 32] for i in range(400)},
                     {i: str(i // 5 + 1) for i in range(0, 400, 5)}, clues)
    forty = folder / "w40.crs"
    run_tool(args, "make", pathlib.Path(args.words).with_name("words40.txt"), "-o", forty)
    forty = make_page(args, forty)
    pages = [make_page(args, words20(args, folder)), make_page(args, full)]
    with browser.chromium(1280, 800) as driver:
        # A desktop screen: every clue of 40 words without scrolling inside a box;
        # the current word tinted and its clue marked in the list.
        driver.get(forty.as_uri())
        start = driver.find_element("xpath", "//button[span[@class='number']='19']")
        start.click()
        start = int(start.get_attribute("data-cell"))
        desk = driver.execute_script(
            "const boxes = [...document.querySelectorAll('.side, .side *')];"
            "const tint = (e) => getComputedStyle(e).backgroundColor;"
            "return {scrolled: boxes.filter((e) => e.scrollHeight > e.clientHeight + 1"
            "  && getComputedStyle(e).overflowY !== 'visible').map((e) => e.id || e.className),"
            " word: [...document.querySelectorAll('.cell')].filter((c) =>"
            f"  tint(c) === '{TINT}').map((c) => Number(c.dataset.cell)),"
            " marked: [...document.querySelectorAll('#clue-list span')].filter((s) =>"
            f"  tint(s) === '{TINT}').map((s) => s.textContent)}};")
        check(desk["scrolled"] == [], f"w40.html: clues scroll inside a box: {desk}")
        check(desk["word"] == list(range(start, start + 6)) and
              desk["marked"] == ["19. Суша, со всех сторон окружённая водой.\n"],
              f"w40.html: the current word and its clue: {desk}")

        # A phone: the whole grid across the screen, or large cells on request;
        # the current cell and its clue line above the open keyboard.
        browser.set_viewport(driver, 360, 640, mobile=True)
        for page in pages:
            for large in (False, True):
                driver.get(page.as_uri())
                if (driver.find_element("css selector", "#zoom").get_attribute("aria-pressed")
                        == "true") != large:
                    driver.find_element("css selector", "#zoom").click()
                for cell in (driver.find_elements("css selector", ".cell")[-1],
                             driver.find_elements("css selector", ".cell")[0]):
                    cell.click()
                    m = driver.execute_script(MEASURE)
                    where = f"{page.name}, {'large' if large else 'whole grid'}"
                    print(f"{where}: cells {m['cell']:.1f} px, {m['rowsInView']} of"
                          f" {m['rows']} rows in view with the keyboard open")
                    check(m["pageWidth"] <= m["viewWidth"], f"{where}: scrolls sideways: {m}")
                    check(m["cell"] >= 31.99 if large else not m["gridScrolls"],
                          f"{where}: cells under 32 pixels, or a grid wider than the screen: {m}")
                    check(m["smallKeys"] == 0, f"{where}: keys under 32 pixels: {m}")
                    left, top, right, bottom = m["keyboard"]
                    check(m["keyboardShown"] and left >= 0 and top >= 0 and
                          right <= m["viewWidth"] + 0.5 and bottom <= m["viewHeight"] + 0.5,
                          f"{where}: the keyboard is not wholly on screen: {m}")
                    line_top, line_bottom = m["clueLine"]
                    check(m["clue"] and line_top >= 0 and line_bottom <= top + 0.5,
                          f"{where}: the clue line is not above the keyboard: {m}")
                    check(m["selected"] is not None and m["selected"][0] >= -0.5 and
                          m["selected"][1] <= line_top + 0.5,
                          f"{where}: the clue line or the keyboard hides the cell: {m}")
                    driver.find_element("css selector", '.key[data-key="1"]').click()
                    check(cell.text.endswith("а"), f"{where}: the key did not fill the cell")

        # The worksheet: the empty grid and the clues, after a check with marks.
        driver.find_element("css selector", f'.key[data-key="{CLOSE_KEY}"]').click()
        driver.find_element("css selector", "#finish").click()
        driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": "print"})
        printed = driver.execute_script(
            "const shown = (e) => getComputedStyle(e).display !== 'none'"
            " && e.getBoundingClientRect().height > 0;"
            "const cells = [...document.querySelectorAll('.cell')];"
            "return {cells: cells.filter(shown).length, all: cells.length,"
            " letters: cells.filter((c) => getComputedStyle(c.lastChild).visibility"
            " !== 'hidden').length,"
            " marked: cells.filter((c) => getComputedStyle(c).backgroundColor"
            f" === '{YELLOW}').length,"
            " controls: ['keyboard', 'finish', 'back', 'pane', 'history'].filter((id) =>"
            " shown(document.getElementById(id))),"
            " clues: shown(document.getElementById('print-clues'))"
            " && document.getElementById('print-clues').textContent,"
            " cut: document.getElementById('print-clues').scrollWidth >"
            " document.getElementById('print-clues').clientWidth}")
        check(printed["cells"] == printed["all"] and printed["letters"] == 0 and
              printed["marked"] == 0, f"the printed grid is not empty: {printed}")
        check(printed["controls"] == [], f"controls on the printed page: {printed}")
        check(printed["clues"] == clues.replace("\r\n", "\n"), "the printed page lacks the clues")
        check(not printed["cut"], "the printed page cuts a long clue line")
    print("phone layout and worksheet as wanted")


# --- Accessibility ------------------------------------------------------------------------

def axe_violations(driver, axe_source, when):
    """Fails when axe-core finds a WCAG 2.1 A or AA violation on the page as it stands."""
    driver.execute_script(axe_source)
    found = driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "axe.run(document, {runOnly: {type: 'tag', values:"
        " ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa']}})"
        ".then((r) => done(r.violations.map((v) => ({id: v.id, help: v.help,"
        " nodes: v.nodes.map((n) => n.target.join(' ')).slice(0, 5)}))),"
        " (e) => done([{id: 'axe failed', help: String(e)}]));")
    check(not found, f"axe-core, {when}: {json.dumps(found, ensure_ascii=False)}")


def axe(args, folder):
    axe_source = pathlib.Path(args.axe).read_text(encoding="utf-8")
    crs = write_crs(folder / "small.crs", {1: "к", 2: "о", 3: "т", 22: "о", 42: "м"},
                    {1: "1", 2: "2"}, "По горизонтали:\r\n1. Домашнее животное.\r\n\r\n"
                    "По вертикали:\r\n2. Ком.")
    pages = [make_page(args, crs), make_page(args, words20(args, folder))]

    def violations(driver, when):
        axe_violations(driver, axe_source, when)

    def click(driver, selector):
        driver.find_element("css selector", selector).click()

    with browser.chromium() as driver:
        for width, height, page in ((1280, 900, pages[0]), (1280, 900, pages[1]),
                                    (360, 640, pages[1])):
            browser.set_viewport(driver, width, height, mobile=width < 400)
            driver.get(page.as_uri())
            driver.execute_script("localStorage.clear()")
            driver.refresh()
            violations(driver, f"{page.name} at {width} px, fresh")
            click(driver, ".cell")
            violations(driver, f"{page.name} at {width} px, keyboard open")
            click(driver, '.key[data-key="11"]')
            click(driver, ".cell.current")
            violations(driver, f"{page.name} at {width} px, a letter in, the other word")
            click(driver, f'.key[data-key="{CLOSE_KEY}"]')
            if width < 400:
                click(driver, "#zoom")
                violations(driver, f"{page.name} at {width} px, large cells")
            click(driver, "#finish")
            violations(driver, f"{page.name} at {width} px, after a check")
        # Solved: the locked grid.
        driver.get(pages[0].as_uri())
        driver.execute_script("localStorage.clear()")
        driver.refresh()
        for cell, key in ((1, 11), (2, 15), (3, 19), (22, 15), (42, 13)):
            click(driver, f'.cell[data-cell="{cell}"]')
            click(driver, f'.key[data-key="{key}"]')
        click(driver, "#finish")
        check(driver.find_element("css selector", "#pane").text.startswith("Молодец!"),
              "the small crossword was not solved")
        violations(driver, "solved")
    print("axe-core finds no WCAG 2.1 A or AA violation")


# --- Frames and files ---------------------------------------------------------------------

def embedding(args, folder):
    page = make_page(args, words20(args, folder))
    (folder / "frame.html").write_text(
        '<!DOCTYPE html><html lang="ru"><link rel="icon" href="data:,"><title>Платформа</title>'
        f'<iframe title="Кроссворд" src="{page.name}" width="1000" height="800"></iframe></html>',
        encoding="utf-8")
    (folder / "sandboxed.html").write_text(
        '<!DOCTYPE html><html lang="ru"><link rel="icon" href="data:,"><title>Платформа</title>'
        f'<iframe title="Кроссворд" sandbox="allow-scripts" src="{page.name}" width="1000"'
        ' height="800"></iframe></html>', encoding="utf-8")

    def fill(driver, key):
        driver.find_element("css selector", ".cell").click()
        driver.find_element("css selector", f'.key[data-key="{key}"]').click()

    def first_letter(driver):
        return driver.find_element("css selector", ".cell .letter").text

    with browser.serve(str(folder)) as base, browser.chromium() as driver:
        for address, keeps in ((base + "frame.html", True), (base + "sandboxed.html", False),
                               (page.as_uri(), True)):
            driver.get(address)
            framed = address != page.as_uri()
            if framed:
                driver.switch_to.frame(0)
            check(first_letter(driver) == "", f"{address}: a fresh page holds a letter")
            fill(driver, 12)
            check(first_letter(driver) == "л", f"{address}: the key did not fill the cell")
            driver.switch_to.default_content()
            driver.refresh()
            if framed:
                driver.switch_to.frame(0)
            want = "л" if keeps else ""
            check(first_letter(driver) == want,
                  f"{address}: after a reload the cell holds {first_letter(driver)!r}")
            fill(driver, 13)
            check(first_letter(driver) == "м", f"{address}: the page stopped working")
            driver.switch_to.default_content()
        errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
        check(not errors, f"the browser reported errors: {errors}")
    print("works in a frame, in a sandboxed frame without storage, and from a file")


# --- Real keys and clicks ----------------------------------------------------------------

AX_CELL = r"""
const cell = document.querySelector(arguments[0]);
const words = (cell.getAttribute('aria-describedby') || '').split(' ').filter(Boolean)
  .map((id) => document.getElementById(id).textContent);
return {name: cell.getAttribute('aria-label').split(',')[0], description: words.join(' '),
        word: [...document.querySelectorAll('.cell.word')].map((c) => Number(c.dataset.cell)),
        clue: document.getElementById('clue-line').textContent,
        keyboard: !document.getElementById('keyboard').hidden,
        focus: document.activeElement.id || document.activeElement.dataset.cell,
        stops: [...document.querySelectorAll('.cell')].filter((c) => c.tabIndex === 0)
          .map((c) => Number(c.dataset.cell))};
"""


def keys(args, folder):
    """Real key presses and mouse clicks, which the differential test's synthetic
    events stand for: one Tab stop for the grid, the other word by a second click or
    the space key, a word typed at one go, and each cell's clue as its description."""
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.keys import Keys

    across, down = "1 по горизонтали: Домашнее животное.", "2 по вертикали: Ком."
    # Keys (@N a click on cell N), the cell then read, and what it shows. From the top
    # of the page Tab goes to the grid, the clues, the history, "закончить" ("назад"
    # is disabled until a check); the space key turns and opens nothing.
    steps = [
        ("TAB", 2, {"focus": "1", "stops": [1]}), ("TAB", 2, {"focus": "pane"}),
        ("TAB", 2, {"focus": "history"}), ("TAB", 2, {"focus": "finish"}),
        ("@2", 2, {"word": [1, 2, 3], "clue": across, "keyboard": True, "name": "2",
                   "description": across + " " + down}),
        ("@2", 2, {"word": [2, 22, 42], "clue": down, "description": down + " " + across}),
        ("ESCAPE SPACE", 2, {"word": [1, 2, 3], "keyboard": False, "focus": "2"}),
        ("@1 кот", 3, {"keyboard": False, "focus": "3", "stops": [3], "name": "т"}),
        ("ARROW_LEFT ARROW_DOWN", 2, {"focus": "22", "stops": [22], "word": [2, 22, 42]}),
    ]
    small = make_page(args, small_crossword(folder))
    with browser.chromium() as driver:
        driver.get(small.as_uri())
        for done, cell, want in steps:
            for token in done.split():
                if token[0] == "@":
                    driver.find_element("css selector", f'.cell[data-cell="{token[1:]}"]').click()
                else:
                    ActionChains(driver).send_keys(
                        latin(token) if token[0] in LETTERS else getattr(Keys, token)).perform()
            got = driver.execute_script(AX_CELL, f'.cell[data-cell="{cell}"]')
            check({k: got[k] for k in want} == want, f"after {done}: {got}")
        errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
        check(not errors, f"the browser reported errors: {errors}")
    print("one Tab stop, turns by click and space, a word typed at one go")


# --- Stored progress ----------------------------------------------------------------------

def small_crossword(folder):
    """к о т across from cell 1, о м down from cell 2."""
    return write_crs(folder / "small.crs", {1: "к", 2: "о", 3: "т", 22: "о", 42: "м"},
                     {1: "1", 2: "2"}, "По горизонтали:\r\n1. Домашнее животное.\r\n\r\n"
                     "По вертикали:\r\n2. Ком.")


def stored(**fields):
    """Progress as the page stores it for the small crossword, with fields replaced."""
    value = {"version": 1, "entered": ["к", "", "т", "", ""], "marks": [0] * 5, "state": 0,
             "mistakes": 0, "history": [], "pane": "clues", "selected": 1}
    value.update(fields)
    return json.dumps(value, ensure_ascii=False)


FRESH = {"letters": ["", "", "", "", ""], "wrong": 0, "finish": True, "back": False,
         "pane": "По горизонтали:"}
KEPT = dict(FRESH, letters=["к", "", "т", "", ""])

# What the page makes of stored progress: tampered, out of place, or older than the page.
STORED_STATES = [
    ("as the page stores it", stored(), KEPT),
    ("a state that names a property of every object", stored(state="constructor"), FRESH),
    ("a state as a string", stored(state="0"), FRESH),
    ("letters only on the prototype",
     '{"__proto__": {"entered": ["к","о","т","о","м"]}, "version": 1, "marks": [0,0,0,0,0],'
     ' "state": 0, "mistakes": 0, "history": [], "pane": "clues"}', FRESH),
    ("one letter too few", stored(entered=["к", "", "", ""]), FRESH),
    ("a Latin letter", stored(entered=["k", "", "", "", ""]), FRESH),
    ("a mark that is not a whole number", stored(marks=[1.5, 0, 0, 0, 0]), FRESH),
    ("a history line in text", stored(history=[[1, "2"]]), FRESH),
    ("not an object", "[1, 2]", FRESH),
    ("not JSON", "{", FRESH),
    ("a revision that is not a number", stored(revision="x"), KEPT),
    ("large cells asked for in text", stored(large="yes"), KEPT),
    # The result is worked out again from the letters.
    ("solved over an empty grid",
     stored(entered=[""] * 5, state=2, pane="success", history=[[1, 0]]),
     dict(FRESH, wrong=5, finish=False, back=True, pane="К сожалению")),
    ("solved with one letter wrong",
     stored(entered=["к", "о", "т", "о", "н"], state=2, pane="success", history=[[1, 0]]),
     dict(FRESH, letters=["к", "о", "т", "о", "н"], wrong=1, finish=False, back=True,
          pane="К сожалению")),
    ("a failed check of right letters",
     stored(entered=["к", "о", "т", "о", "м"], marks=[2] * 5, state=1, mistakes=5,
            pane="failure", history=[[1, 5]]),
     dict(FRESH, letters=["к", "о", "т", "о", "м"], finish=False, pane="Молодец!")),
    ("checked with no attempt in the history",
     stored(entered=["к", "о", "т", "о", "м"], state=2, pane="success"), FRESH),
    ("marks before any check", stored(marks=[2] * 5), KEPT),
]

SHOWN = r"""
const key = Object.keys(localStorage).find((k) => k.startsWith('kvarcella.crossword.'));
return {
  key, stored: key && localStorage.getItem(key),
  letters: [...document.querySelectorAll('.cell .letter')].map((l) => l.textContent),
  wrong: document.querySelectorAll('.cell.wrong').length,
  finish: !document.getElementById('finish').disabled,
  back: !document.getElementById('back').disabled,
  pane: [...document.getElementById('pane').children]
    .filter((e) => e.getClientRects().length > 0 && getComputedStyle(e).visibility === 'visible')
    .map((e) => e.textContent).join(''),
};
"""


def storage(args, folder):
    page = make_page(args, small_crossword(folder))

    def shown(driver):
        return driver.execute_script(SHOWN)

    def type_at(driver, cell, word):
        driver.find_element("css selector", f'.cell[data-cell="{cell}"]').click()
        driver.switch_to.active_element.send_keys(latin(word))

    with browser.chromium() as driver:
        driver.get(page.as_uri())
        key = shown(driver)["key"]
        for name, value, want in STORED_STATES:
            driver.execute_script("localStorage.setItem(arguments[0], arguments[1])", key, value)
            driver.refresh()
            got = shown(driver)
            got_pane = got["pane"]
            got = {k: got[k] for k in want}
            got["pane"] = got_pane[:len(want["pane"])]
            check(got == want, f"stored progress {name}: {got}, not {want}")
        errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
        check(not errors, f"the browser reported errors: {errors}")

        # Two tabs: the one left open shows what the other types, and writes
        # nothing over it.
        driver.execute_script("localStorage.clear()")
        driver.refresh()
        first = driver.current_window_handle
        type_at(driver, 1, "ко")
        driver.switch_to.new_window("tab")
        driver.get(page.as_uri())
        second = driver.current_window_handle
        check(shown(driver)["letters"][:2] == ["к", "о"], f"the second tab lost the letters: {shown(driver)}")
        driver.switch_to.window(first)
        type_at(driver, 22, "о")
        driver.switch_to.window(second)
        time.sleep(0.2)
        check(shown(driver)["letters"] == ["к", "о", "", "о", ""],
              f"the second tab did not follow the first: {shown(driver)}")
        type_at(driver, 3, "т")
        driver.switch_to.window(first)
        driver.refresh()
        check(shown(driver)["letters"] == ["к", "о", "т", "о", ""],
              f"letters lost between two tabs: {shown(driver)}")
        # Newer progress stored behind the page's back (no storage event in the
        # tab that writes): the page's next change must not write over it.
        newer = stored(entered=["к", "о", "т", "о", "м"], revision=10 ** 6)
        driver.execute_script("localStorage.setItem(arguments[0], arguments[1])", key, newer)
        driver.find_element("css selector", '.cell[data-cell="42"]').click()
        got = shown(driver)
        check(got["stored"] == newer and got["letters"] == ["к", "о", "т", "о", "м"],
              f"a stale tab wrote over newer progress: {got}")
        # From there on it goes on from the newer progress.
        driver.switch_to.active_element.send_keys(latin("ж"))
        got = json.loads(shown(driver)["stored"])
        check(got["entered"] == ["к", "о", "т", "о", "ж"] and got["revision"] == 10 ** 6 + 1,
              f"the tab did not go on from the newer progress: {got}")
    print(f"{len(STORED_STATES)} stored states and two tabs as wanted")


TESTS = {"differential": differential, "crafted": crafted, "layout": layout, "axe": axe,
         "embedding": embedding, "storage": storage, "keys": keys}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("test", choices=sorted(TESTS))
    parser.add_argument("--tool", required=True)
    parser.add_argument("--replay")
    parser.add_argument("--words")
    parser.add_argument("--axe")
    args = parser.parse_args()
    for needed in (browser.CHROMIUM, browser.CHROMEDRIVER, args.axe or browser.CHROMIUM):
        check(pathlib.Path(needed).exists(), f"{needed} is missing: run bash scripts/setup.sh")
    with tempfile.TemporaryDirectory(prefix="kvarcella-page-") as folder:
        TESTS[args.test](args, pathlib.Path(folder))


if __name__ == "__main__":
    main()
