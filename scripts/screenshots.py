#!/usr/bin/python3
"""Makes the pictures of docs/images/ from the real programs.

    /usr/bin/python3 scripts/screenshots.py [--build build/default] [--out docs/images]

A crossword is made from tests/maker/words20.txt with `kvarcella-tool make`. The two
windows are shown on a private Xvfb with openbox for their title bars and driven with
xdotool: the solving window after a check (most letters right, a few wrong, a few
missing) and the editing window with that crossword opened and the letter keyboard
up. The pupils' page is shot on a phone screen in headless Chromium, the worksheet
is the first page of `kvarcella-tool pdf` through pdftoppm. Every picture is
reduced to a palette so that it stays small. scripts/screenshots.sh installs what
this needs and builds the programs first.
"""
import argparse
import ctypes
import datetime
import os
import pathlib
import re
import signal
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests/export/html"))

TITLE = "Кварцелла 2.0"
CROSSWORD = "Школа.crs"
LETTERS = "абвгдежзийклмнопрстуфхцчшщъыьэюя"
# Xvfb has the US layout; the program takes the key in the same place of ЙЦУКЕН.
LATIN = dict(zip("йцукенгшщзхъфывапролджэячсмитьбю",
                 ["q", "w", "e", "r", "t", "y", "u", "i", "o", "p", "bracketleft",
                  "bracketright", "a", "s", "d", "f", "g", "h", "j", "k", "l", "semicolon",
                  "apostrophe", "z", "x", "c", "v", "b", "n", "m", "comma", "period"]))
# Window sizes in pixels (15 twips a pixel): the client areas, and where the
# buttons are in them.
START_WIDTH = 252
MAIN_WIDTH, MAIN_CLIENT_HEIGHT = 1016, 722
CREATE_BUTTON = (72 + 51, 112 + 16)
FINISH_BUTTON = (924 + 40, 640 + 14)


class Failure(Exception):
    pass


def die_with_parent():
    ctypes.CDLL(None).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def cell_centre(index):
    """A cell's centre in the client area: cells are 450 x 480 twips apart from (120, 360)."""
    row, column = divmod(index, 20)
    return 8 + 30 * column + 14, 24 + 32 * row + 15


def read_letters(crs):
    records = crs.read_bytes().decode("cp1251").split("\r\n")[:400]
    letters = {}
    for index, record in enumerate(records):
        letter = record.split('","')[0].strip('"')
        if letter:
            letters[index] = letter
    return letters


def pupil_mistakes(letters):
    """Which cells the pupil gets wrong: two letters mixed up as pupils do (а for о,
    и for е) and the last two cells left empty."""
    cells = sorted(letters)
    wrong = {}
    for mixed, typed in (("о", "а"), ("е", "и")):
        for index in cells[len(cells) // 2:]:
            if letters[index] == mixed and index not in wrong:
                wrong[index] = typed
                break
    empty = set(cells[-2:]) - set(wrong)
    return wrong, empty


def free_corner(letters):
    """A cell whose 5 x 5 block down and right holds no letter, as close to the
    crossword as such a cell can be: the letter keyboard opens there and hides nothing."""
    best = None
    for row in range(16):
        for column in range(16):
            block = [(row + r) * 20 + column + c for r in range(5) for c in range(5)]
            if any(i in letters for i in block):
                continue
            distance = min(abs(i // 20 - row) + abs(i % 20 - column) for i in letters)
            key = (distance, -row, column)
            if best is None or key < best[0]:
                best = (key, row * 20 + column)
    if best is None:
        raise Failure("no free room for the keyboard beside the crossword")
    return best[1]


class Display:
    """A private Xvfb with openbox; everything started here ends with it."""

    def __init__(self, home):
        self.processes = []
        ready_r, ready_w = os.pipe()
        self.start(["Xvfb", "-displayfd", str(ready_w), "-screen", "0", "1280x1024x24",
                    "-nolisten", "tcp", "-noreset"], pass_fds=[ready_w])
        os.close(ready_w)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(ready_r, 16)
            if not chunk:
                break
            number += chunk
        os.close(ready_r)
        if not number.strip():
            raise Failure("Xvfb gave no display number")
        self.env = dict(os.environ, DISPLAY=":" + number.decode().strip(), HOME=str(home),
                        XDG_CONFIG_HOME=str(home / "config"), XDG_CACHE_HOME=str(home / "cache"))
        for name in ("WAYLAND_DISPLAY", "XDG_RUNTIME_DIR", "SESSION_MANAGER"):
            self.env.pop(name, None)
        self.start(["openbox", "--sm-disable"], env=self.env)
        self.wait("the window manager", lambda: subprocess.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env, capture_output=True,
            text=True).stdout.count("window id") > 0)

    def start(self, command, **options):
        process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   preexec_fn=die_with_parent, **options)
        self.processes.append(process)
        return process

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()

    def run(self, *command):
        return subprocess.run(command, env=self.env, check=True, capture_output=True,
                              text=True, timeout=60).stdout

    @staticmethod
    def wait(what, probe, seconds=20):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            found = probe()
            if found:
                return found
            time.sleep(0.1)
        raise Failure("timed out waiting for " + what)

    def window(self, title_pattern, width=None):
        """Waits for a visible window whose title matches; returns (id, x, y, width, height)."""
        def probe():
            ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title_pattern],
                                 env=self.env, capture_output=True, text=True).stdout.split()
            for window in ids:
                info = subprocess.run(["xwininfo", "-id", window], env=self.env,
                                      capture_output=True, text=True).stdout
                values = {key: int(value) for key, value in re.findall(
                    r"(Absolute upper-left X|Absolute upper-left Y|Width|Height):\s+(-?\d+)", info)}
                if len(values) == 4 and (width is None or values["Width"] == width):
                    return (window, values["Absolute upper-left X"],
                            values["Absolute upper-left Y"], values["Width"], values["Height"])
            return None
        return self.wait("a window titled " + title_pattern, probe)

    def click(self, x, y):
        self.run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")

    def capture(self, window, path):
        """The window with its frame, as openbox draws it."""
        ident, x, y, width, height = window
        extents = self.run("xprop", "-id", ident, "_NET_FRAME_EXTENTS")
        left, right, top, bottom = (int(v) for v in re.findall(r"\d+", extents.split("=")[1]))
        self.run("xdotool", "mousemove", "1279", "1023")
        time.sleep(0.5)
        self.run("import", "-window", "root", "-crop",
                 f"{width + left + right}x{height + top + bottom}+{x - left}+{y - top}",
                 "+repage", "-depth", "8", str(path))


def program_env(display, locales):
    # Russian settings, for the date that makes the password of the day; the
    # locale is compiled into the work folder, so nothing of the system changes.
    return dict(display.env, QT_QPA_PLATFORM="xcb", LOCPATH=str(locales),
                LANG="ru_RU.UTF-8", LC_ALL="ru_RU.UTF-8")


def solving_window(display, program, env, work, letters, shot):
    process = display.start([str(program), CROSSWORD], cwd=work, env=env)
    window = display.window(re.escape(CROSSWORD) + "$", MAIN_WIDTH)
    _, x, y, _, height = window
    top = y + height - MAIN_CLIENT_HEIGHT  # the client area is below the menu bar
    wrong, empty = pupil_mistakes(letters)
    steps = []
    for index in sorted(letters):
        if index in empty:
            continue
        cx, cy = cell_centre(index)
        letter = wrong.get(index, letters[index])
        # A click opens the keyboard; a typed letter presses its key.
        steps += ["mousemove", "--sync", str(x + cx), str(top + cy), "click", "1", "sleep", "0.15",
                  "key", LATIN[letter], "sleep", "0.1"]
    display.run("xdotool", *steps)
    display.click(x + FINISH_BUTTON[0], top + FINISH_BUTTON[1])
    time.sleep(1)
    display.capture(window, shot)
    process.terminate()
    process.wait(10)
    return len(wrong), len(empty)


def editing_window(display, program, env, work, letters, shot):
    process = display.start([str(program)], cwd=work, env=env)
    _, x, y, _, _ = display.window("^" + TITLE + "$", START_WIDTH)
    display.click(x + CREATE_BUTTON[0], y + CREATE_BUTTON[1])
    _, x, y, _, height = display.window("^" + TITLE + "$", MAIN_WIDTH)
    top = y + height - MAIN_CLIENT_HEIGHT
    # "Кроссворд" is the first menu; "Открыть..." its first item.
    display.click(x + 25, y + 9)
    time.sleep(0.5)
    display.run("xdotool", "key", "Down", "sleep", "0.2", "key", "Return")
    display.window("^открытие кроссворда$")
    # With Russian settings the date is written 08.12.2026: the password is day and month.
    display.run("xdotool", "type", "--delay", "50", datetime.date.today().strftime("%d%m"))
    display.run("xdotool", "key", "Return")
    display.window("^Открыть$")
    display.run("xdotool", "type", "--delay", "50", CROSSWORD)
    display.run("xdotool", "key", "Return")
    window = display.window(re.escape(CROSSWORD) + "$", MAIN_WIDTH)
    cx, cy = cell_centre(free_corner(letters))
    display.click(x + cx, top + cy)
    time.sleep(0.5)
    display.capture(window, shot)
    process.terminate()
    process.wait(10)


def phone_page(tool, work, letters, shot):
    import browser
    page = work / "Школа.html"
    subprocess.run([str(tool), "html", str(work / CROSSWORD), "-o", str(page)], check=True,
                   capture_output=True)
    with browser.chromium(360, 640) as driver:
        browser.set_viewport(driver, 360, 640, mobile=True)
        driver.get(page.as_uri())
        driver.execute_script("localStorage.clear()")
        driver.refresh()
        # The across words of the first half of the rows typed in, one tap on a
        # word's first cell and then its letters, as a pupil does; then the
        # keyboard opened on the next across word, its clue above the keyboard.
        starts = [i for i in sorted(letters) if i + 1 in letters and
                  (i % 20 == 0 or i - 1 not in letters)]
        half = [i for i in starts if i // 20 < 10] or starts[:1]
        for start in half:
            driver.find_element("css selector", f'.cell[data-cell="{start}"]').click()
            index = start
            while index in letters and (index == start or index % 20):
                key = LETTERS.index(letters[index]) + 1
                driver.find_element("css selector", f'.key[data-key="{key}"]').click()
                index += 1
        following = [i for i in starts if i not in half]
        driver.find_element("css selector", f'.cell[data-cell="{(following or half)[0]}"]').click()
        driver.save_screenshot(str(shot))
        driver.execute_script("localStorage.clear()")


def worksheet(tool, work, shot):
    pdf = work / "Школа.pdf"
    subprocess.run([str(tool), "pdf", str(work / CROSSWORD), "-o", str(pdf), "--no-answers"],
                   check=True, capture_output=True)
    subprocess.run(["pdftoppm", "-png", "-r", "72", "-f", "1", "-l", "1", "-singlefile",
                    str(pdf), str(shot.with_suffix(""))], check=True)


def reduce(source, target, colours, width=None, border=False):
    """A palette of a few colours keeps a picture of windows small and sharp."""
    command = ["convert", str(source), "-strip"]
    if width:
        command += ["-resize", f"{width}x"]
    if border:  # a page or a phone screen would melt into a white background
        command += ["-bordercolor", "#999999", "-border", "1"]
    command += ["+dither", "-colors", str(colours), "PNG8:" + str(target)]
    subprocess.run(command, check=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(ROOT / "build/default"))
    parser.add_argument("--out", default=str(ROOT / "docs/images"))
    args = parser.parse_args()
    build = pathlib.Path(args.build)
    program = build / "src/shell/kvarcella"
    tool = build / "src/tool/kvarcella-tool"
    out = pathlib.Path(args.out)
    out.mkdir(parents=True, exist_ok=True)

    with tempfile.TemporaryDirectory(prefix="Кроссворды-") as folder:
        work = pathlib.Path(folder)
        subprocess.run([str(tool), "make", str(ROOT / "tests/maker/words20.txt"), "-o",
                        str(work / CROSSWORD)], check=True, capture_output=True)
        letters = read_letters(work / CROSSWORD)
        locales = work / "locale"
        locales.mkdir()
        subprocess.run(["localedef", "-i", "ru_RU", "-f", "UTF-8", str(locales / "ru_RU.UTF-8")],
                       check=True, capture_output=True)
        raw = work / "raw"
        raw.mkdir()

        display = Display(work)
        try:
            env = program_env(display, locales)
            mistakes = solving_window(display, program, env, work, letters,
                                      raw / "solving-checked.png")
            editing_window(display, program, env, work, letters, raw / "editing.png")
        finally:
            display.close()
        phone_page(tool, work, letters, raw / "phone.png")
        worksheet(tool, work, raw / "worksheet.png")

        reduce(raw / "solving-checked.png", out / "solving-checked.png", 64)
        reduce(raw / "editing.png", out / "editing.png", 64)
        reduce(raw / "phone.png", out / "phone.png", 128, width=360, border=True)
        reduce(raw / "worksheet.png", out / "worksheet.png", 16, border=True)
    for name in ("solving-checked", "editing", "phone", "worksheet"):
        picture = out / (name + ".png")
        print(f"{picture}: {picture.stat().st_size // 1024} KB")
    print("wrong letters: %d, empty cells: %d" % mistakes)


if __name__ == "__main__":
    try:
        main()
    except (Failure, subprocess.CalledProcessError, subprocess.TimeoutExpired) as error:
        print("screenshots:", error, file=sys.stderr)
        sys.exit(1)
