#!/usr/bin/python3
"""A teacher's whole round in the real program, from the editing window alone: a typed word
list made into a crossword and moved to the editor, a stray letter saved, found by
"Проверить" and mended, "Печать..." to a cups of the test's own, "Страница для учеников...",
then a refusing print queue. The printed pages must be `kvarcella-tool pdf`'s, the page
`kvarcella-tool html`'s, and the page passes the crossword page's browser checks. Objects
are found and pressed through the accessibility bus, on the display and session bus of
atspisolve.py; every wait is bounded. KVARCELLA_TEACHER_SHOTS=DIR also saves pictures of
the dialogs.

    teacherround.py KVARCELLA KVARCELLA_TOOL AXE.JS"""
import grp
import importlib.util
import os
import pathlib
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspisolve import Failure, die_with_parent, find, outside, waiter  # noqa: E402

TITLE = "Кварцелла 2.0"
QUEUE = "kvarcella-test"
WORDS = ["кот - Мурлычет на печи.", "ток - Бежит по проводам.", "окно - В него смотрят.",
         "кино - Смотрят в зале.", "нота - Знак в музыке."]
BUDGET = 120
CUPSD, LPADMIN, LPSTAT, CUPSREJECT = ("/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/bin/lpstat",
                                      "/usr/sbin/cupsreject")
# A queue that passes each job's PDF unchanged to its device, a file.
PPD = "".join('*%s: %s\n' % pair for pair in (
    ("PPD-Adobe", '"4.3"'), ("FormatVersion", '"4.3"'), ("FileVersion", '"1.0"'),
    ("LanguageVersion", "English"), ("LanguageEncoding", "ISOLatin1"),
    ("PCFileName", '"KVTEST.PPD"'), ("Manufacturer", '"Kvarcella"'),
    ("Product", '"(Kvarcella test)"'), ("ModelName", '"Kvarcella test"'),
    ("NickName", '"Kvarcella test"'), ("ShortNickName", '"Kvarcella test"'),
    ("PSVersion", '"(3010.000) 0"'),
    ("cupsFilter2", '"application/pdf application/vnd.cups-pdf 0 gziptoany"')))


def poll(what, probe, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if probe():
            return
        time.sleep(0.1)
    raise Failure("timed out waiting for " + what)


def start_cups(workdir):
    """A cupsd with its own configuration, folders and socket under workdir (no network
    port), one queue writing to workdir/printed.pdf, made the default; it goes with the
    session."""
    cups = os.path.join(workdir, "cups")
    for sub in ("spool", "tmp", "cache", "state", "log", "ssl"):
        os.makedirs(os.path.join(cups, sub))
    socket = os.path.join(cups, "cups.sock")
    pathlib.Path(cups, "cupsd.conf").write_text(
        "Listen %s\nLogLevel warn\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
        "<Policy default>\n<Limit All>\nOrder allow,deny\nAllow all\n</Limit>\n</Policy>\n"
        % socket)
    pathlib.Path(cups, "cups-files.conf").write_text("".join("%s %s\n" % pair for pair in (
        ("ServerRoot", cups), ("RequestRoot", cups + "/spool"), ("TempDir", cups + "/tmp"),
        ("CacheDir", cups + "/cache"), ("StateDir", cups + "/state"),
        ("ErrorLog", cups + "/log/error_log"), ("AccessLog", cups + "/log/access_log"),
        ("PageLog", cups + "/log/page_log"), ("ServerKeychain", cups + "/ssl"),
        ("FileDevice", "Yes"), ("SystemGroup", grp.getgrgid(os.getgid()).gr_name))))
    pathlib.Path(cups, "test.ppd").write_text(PPD)
    subprocess.Popen([CUPSD, "-f", "-c", cups + "/cupsd.conf", "-s", cups + "/cups-files.conf"],
                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                     preexec_fn=die_with_parent)
    poll("the print service to listen", lambda: subprocess.run(
        [LPSTAT, "-h", socket, "-r"], capture_output=True, text=True, timeout=10,
        env=dict(os.environ, LC_ALL="C")).stdout.strip() == "scheduler is running", 20)
    for arguments in (["-p", QUEUE, "-E", "-v", "file://" + workdir + "/printed.pdf", "-P",
                       cups + "/test.ppd"], ["-d", QUEUE]):
        subprocess.run([LPADMIN, "-h", socket, *arguments], check=True, capture_output=True,
                       timeout=20)
    return socket


def completed_jobs(socket):
    return subprocess.run([LPSTAT, "-h", socket, "-W", "completed", "-o", QUEUE],
                          capture_output=True, text=True, timeout=10).stdout.splitlines()


def inside(program, workdir, report, tool, axe_path):
    import pyatspi
    from gi.repository import Atspi, GLib
    # A menu item's action answers only when the dialog it opens has closed: wait a
    # second for it, not the fifteen given to a program that has just started.
    Atspi.set_timeout(1000, 1000)
    signal.signal(signal.SIGTERM, lambda *_: os.killpg(0, signal.SIGKILL))
    die_with_parent(signal.SIGTERM)
    deadline = time.monotonic() + BUDGET
    os.chmod(workdir, 0o755)  # the print service's filters read the spooled jobs
    socket = start_cups(workdir)
    text_of = lambda o: o.queryText().getText(0, -1)  # noqa: E731
    crossword, page = workdir + "/lesson.crs", workdir + "/lesson.html"

    wait_for = waiter(deadline, 20)

    def showing(o):
        try:
            return o.getState().contains(pyatspi.STATE_SHOWING)
        except Exception:
            return False

    def press(root, name, role=pyatspi.ROLE_PUSH_BUTTON):
        menu_item = role == pyatspi.ROLE_MENU_ITEM  # there while its menu is closed
        target = wait_for('"%s"' % name, lambda: find(
            root, role, name, lambda o: menu_item or showing(o)))
        try:
            target.queryAction().doAction(0)
        except GLib.Error:
            if not menu_item:
                raise

    def window(name):
        found = wait_for('the window "%s"' % name, lambda: next(
            (w for w in app if w and w.name == name and showing(w)), None))
        folder = os.environ.get("KVARCELLA_TEACHER_SHOTS")
        if folder:
            time.sleep(0.5)
            x, y, w, h = found.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                            "%s/%d.png" % (folder, time.monotonic_ns())], timeout=30)
        return found

    def editing():
        return wait_for("the editing window", lambda: next(
            (w for w in app if w and w.name.startswith(TITLE) and showing(w) and
             find(w, None, "сетка кроссворда")), None))

    def menu(item):
        press(editing(), item, pyatspi.ROLE_MENU_ITEM)

    def answer(starting, button):
        """Presses the button of the message box, whose text starts so."""
        box = window(TITLE)
        wait_for("a message starting %r" % starting, lambda: find(
            box, pyatspi.ROLE_LABEL, test=lambda o: o.name.startswith(starting)))
        press(box, button)
        wait_for("the message to close", lambda: not showing(box))

    def save_as(item, path):
        menu(item)
        dialog = window("Сохранить как")
        field = wait_for("the file name field", lambda: find(
            dialog, pyatspi.ROLE_TEXT, test=lambda o: o.getState().contains(
                pyatspi.STATE_FOCUSED)))
        field.queryEditableText().setTextContents(path)
        time.sleep(0.3)  # no key may be pending when the dialog closes
        press(dialog, "Сохранить")
        wait_for("the file dialog to close", lambda: not showing(dialog))

    def check(finding):
        menu("Проверить")
        found = window("Проверка кроссворда")
        wait_for(repr(finding), lambda: find(found, None, finding))
        press(found, "Показать" if finding != "Ошибок не найдено." else "Закрыть")
        wait_for("the check to close", lambda: not showing(found))

    def print_pages():
        menu("Печать...")
        press(window("Печать кроссворда"), "Печать...")
        dialog = window("Печать")
        printers = wait_for("the printers", lambda: find(dialog, pyatspi.ROLE_COMBO_BOX))
        names = [item.name for item in find(printers, pyatspi.ROLE_LIST) or []]
        if printers.name != QUEUE or "Печать в файл (PDF)" not in names:
            raise Failure("the print dialog offers %r of %s" % (printers.name, names))
        press(dialog, "Печать")

    # A Russian layout for this display: xdotool loses the letters it has to map onto
    # spare keys.
    subprocess.run(["setxkbmap", "-layout", "ru"], check=True, timeout=10)
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
               CUPS_SERVER=socket)
    proc = subprocess.Popen([program], env=env, cwd=workdir)
    started = time.monotonic()
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        app = wait_for("the program in the accessibility tree", lambda: next(
            (a for a in desktop if a and a.get_process_id() == proc.pid), None))
        press(wait_for("the start window", lambda: find(app, None, TITLE)), "создать")

        menu("Составить из списка слов...")
        maker = window("Составить кроссворд из списка слов")
        field = wait_for("the word list", lambda: find(maker, pyatspi.ROLE_TEXT, "список слов"))
        field.queryComponent().grabFocus()
        wait_for("the focused list", lambda: field.getState().contains(pyatspi.STATE_FOCUSED))
        for number, line in enumerate(WORDS):
            keys = (["key", "Return"] if number else []) + ["type", "--delay", "20", line]
            subprocess.run(["xdotool", *keys], check=True, timeout=30)
        wait_for("the typed list", lambda: text_of(field) == "\n".join(WORDS), 10)
        press(maker, "Составить")
        wait_for("all five words placed", lambda: text_of(find(
            maker, pyatspi.ROLE_TEXT, "отчёт")).startswith("Размещено слов: 5 из 5"))
        window("Составить кроссворд из списка слов")  # its picture, made
        press(maker, "Перенести в редактор")
        grid = wait_for("the made crossword in the editor", lambda: find(
            editing(), None, "сетка кроссворда",
            lambda g: any(", буква к" in c.name for c in g)))

        corner = "строка 1, столбец 1, "
        wait_for("the corner", lambda: find(grid, None, corner + "пусто")
                 ).queryAction().doAction(0)
        press(editing(), "к")
        wait_for("the stray letter", lambda: find(grid, None, corner + "буква к"))
        save_as("Сохранить как...", crossword)
        check("Буква «к» в клетке (строка 1, столбец 1) не входит ни в одно слово.")
        press(editing(), "стереть")  # on the keyboard the finding opened at the cell
        wait_for("the corner mended", lambda: find(grid, None, corner + "пусто"))
        menu("Сохранить")
        check("Ошибок не найдено.")

        print_pages()
        poll("the print job to complete", lambda: completed_jobs(socket), 30)
        save_as("Страница для учеников...", page)
        answer("Страница для учеников записана в файл «%s»." % page, "Закрыть")

        subprocess.run([CUPSREJECT, "-h", socket, QUEUE], check=True, timeout=20)
        print_pages()
        answer("Кроссворд не напечатан: принтер «%s» не принял задание: он сейчас не принимает "
               "задания." % QUEUE, "ОК")
        time.sleep(1)
        if len(completed_jobs(socket)) != 1:
            raise Failure("a refused job was printed")

        menu("Выход")
        try:
            status = proc.wait(max(1, deadline - time.monotonic()))
        except subprocess.TimeoutExpired:
            status = "none in time"
        if status != 0:
            raise Failure('"Выход" ended the program with status %s' % status)
        print("teacherround: the round in the program took %.1f s" %
              (time.monotonic() - started), file=report)
    finally:
        proc.kill()
        proc.wait()
    check_files(tool, axe_path, pathlib.Path(workdir), report)
    return 0


def check_files(tool, axe_path, folder, report):
    sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "export" / "html"))
    import browser
    import pagetest

    def run(*arguments, status=0):
        done = subprocess.run([tool, *arguments], capture_output=True, timeout=60)
        if done.returncode != status:
            raise Failure("kvarcella-tool %s: %s" % (arguments, done.stderr.decode()))

    def pages(pdf):
        subprocess.run(["pdftoppm", "-r", "60", "-gray", folder / pdf, folder / pdf],
                       check=True, timeout=60)
        return [p.read_bytes() for p in sorted(folder.glob(pdf + "-*.pgm"))]

    crossword = folder / "lesson.crs"
    run("check", crossword)
    run("pdf", crossword, "-o", folder / "tool.pdf")
    printed, wanted = pages("printed.pdf"), pages("tool.pdf")
    if printed != wanted or len(wanted) < 2:
        raise Failure("the %d printed pages are not the tool's %d" % (len(printed), len(wanted)))
    run("html", crossword, "-o", folder / "tool.html")
    page = folder / "lesson.html"
    if page.read_bytes() != (folder / "tool.html").read_bytes():
        raise Failure("the page is not kvarcella-tool html's")
    axe = pathlib.Path(axe_path).read_text(encoding="utf-8")
    with browser.chromium() as driver:
        driver.get(page.as_uri())
        pagetest.axe_violations(driver, axe, "the page written by the program")
        # Clicks as the page takes them; the open keyboard may lie over the next cell.
        press = lambda selector: driver.execute_script(  # noqa: E731
            "document.querySelector(arguments[0]).click()", selector)
        for cell, letter in pagetest.read_letters(crossword).items():
            press('.cell[data-cell="%d"]' % cell)
            press('.key[data-key="%d"]' % (pagetest.LETTERS.index(letter) + 1))
        press("#finish")
        if not driver.find_element("css selector", "#pane").text.startswith("Молодец!"):
            raise Failure("the crossword's own letters do not solve the page")
        pagetest.axe_violations(driver, axe, "the page, solved")
    print("teacherround: %d pages printed as the tool's; the page is the tool's and solved "
          "in Chromium" % len(printed), file=report)


def main():
    report = sys.stdout
    try:
        if sys.argv[1:2] == ["--inside"]:
            report = os.fdopen(int(sys.argv[4]), "w", buffering=1)
            return inside(sys.argv[2], sys.argv[3], report, *sys.argv[5:])
        program, tool, axe_path = (os.path.abspath(a) for a in sys.argv[1:4])
        for needed in (CUPSD, LPADMIN, CUPSREJECT, axe_path):
            if not os.path.exists(needed):
                raise Failure("%s is missing: run bash scripts/setup.sh" % needed)
        if not importlib.util.find_spec("pyatspi"):
            raise Failure("%s has no pyatspi: run bash scripts/setup.sh" % sys.executable)
        started = time.monotonic()
        status = outside(program, os.path.abspath(__file__), BUDGET + 60, (tool, axe_path))
        print("teacherround: %s in %.1f s" % ("passed" if status == 0 else "failed",
                                               time.monotonic() - started))
        return status
    except (Failure, subprocess.SubprocessError, AssertionError) as e:
        print("teacherround: FAILED:", e, file=report)
        return 1


if __name__ == "__main__":
    sys.exit(main())
