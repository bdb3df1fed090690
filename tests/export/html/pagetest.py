#!/usr/bin/python3
"""The crossword page of `kvarcella-tool html` in headless Debian Chromium.

    pagetest.py TEST --tool KVARCELLA_TOOL --replay HTML_REPLAY --words WORDS.txt --axe AXE.JS

TEST is one of: differential, crafted, layout, axe, embedding.
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
    pane: pane.textContent,
    result: style.color === 'rgb(0, 0, 255)' && style.textAlign === 'center',
    cells: [...doc.querySelectorAll('.cell')].map((b) => [
      Number(b.dataset.cell), b.querySelector('.letter').textContent,
      win.getComputedStyle(b).backgroundColor === 'rgb(255, 255, 0)', !b.disabled]),
    finish: !doc.getElementById('finish').disabled,
    back: !doc.getElementById('back').disabled,
    history: [...doc.querySelectorAll('#history li')].map((li) => li.textContent),
    keyboard: win.getComputedStyle(doc.getElementById('keyboard')).display !== 'none',
    focus: active && active.classList.contains('cell') ? Number(active.dataset.cell) : -1,
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
    small = write_crs(folder / "small.crs",
                      {1: "к", 2: "о", 3: "т", 22: "о", 42: "м", 62: "а", 61: "р"},
                      {1: "1", 2: "2", 61: "3"},
                      "По горизонтали:\r\n1. Домашнее животное.\r\n3. Игра.\r\n\r\n"
                      "По вертикали:\r\n2. Ком.")
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
const small = (e) => rect(e).width < 31.99 || rect(e).height < 31.99;
const keyboard = document.getElementById('keyboard');
const k = rect(keyboard);
const selected = document.querySelector('.cell.selected');
return {
  pageWidth: document.documentElement.scrollWidth, viewWidth: window.innerWidth,
  viewHeight: window.innerHeight,
  smallCells: [...document.querySelectorAll('.cell')].filter(small).length,
  smallKeys: [...document.querySelectorAll('.key')].filter(small).length,
  keyboardShown: getComputedStyle(keyboard).display !== 'none',
  keyboard: [k.left, k.top, k.right, k.bottom],
  selectedBottom: selected ? rect(selected).bottom : null,
};
"""


def layout(args, folder):
    clues = "По горизонтали:" + "\r\n1. Большая река в Сибири." * 200
    full = write_crs(folder / "full.crs", {i: LETTERS[(i * 7) % 32] for i in range(400)},
                     {i: str(i // 5 + 1) for i in range(0, 400, 5)}, clues)
    pages = [make_page(args, words20(args, folder)), make_page(args, full)]
    with browser.chromium() as driver:
        browser.set_viewport(driver, 360, 640, mobile=True)
        for page in pages:
            driver.get(page.as_uri())
            for cell in (driver.find_elements("css selector", ".cell")[-1],
                         driver.find_elements("css selector", ".cell")[0]):
                cell.click()
                m = driver.execute_script(MEASURE)
                check(m["pageWidth"] <= m["viewWidth"], f"{page.name} scrolls sideways: {m}")
                check(m["smallCells"] == 0 and m["smallKeys"] == 0,
                      f"{page.name}: cells or keys under 32 pixels: {m}")
                left, top, right, bottom = m["keyboard"]
                check(m["keyboardShown"] and left >= 0 and top >= 0 and
                      right <= m["viewWidth"] + 0.5 and bottom <= m["viewHeight"] + 0.5,
                      f"{page.name}: the keyboard is not wholly on screen: {m}")
                check(m["selectedBottom"] is not None and m["selectedBottom"] <= top + 0.5,
                      f"{page.name}: the keyboard hides the selected cell: {m}")
                driver.find_element("css selector", '.key[data-key="1"]').click()
                check(cell.text.endswith("а"), f"{page.name}: the key did not fill the cell")

        # The worksheet: the empty grid and the clues, after a check with marks.
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
            " && document.getElementById('print-clues').textContent}")
        check(printed["cells"] == printed["all"] and printed["letters"] == 0 and
              printed["marked"] == 0, f"the printed grid is not empty: {printed}")
        check(printed["controls"] == [], f"controls on the printed page: {printed}")
        check(printed["clues"] == clues.replace("\r\n", "\n"), "the printed page lacks the clues")
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


TESTS = {"differential": differential, "crafted": crafted, "layout": layout, "axe": axe,
         "embedding": embedding}


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
