#!/usr/bin/python3
"""A teacher's whole round in the real program, from the editing window alone: a word
list typed into "Составить из списка слов...", the crossword moved to the editor and
saved, "Проверить", "Печать..." to a print queue of a print service this test starts
with its own configuration, and "Страница для учеников...". A refusing queue is then
reported. The printed pages must be those of `kvarcella-tool pdf`, the page that of
`kvarcella-tool html`, and the page passes the browser checks of the crossword page.
Objects are found and pressed through the accessibility tree; the list is typed with
xdotool. Every wait is bounded.

    teacherround.py KVARCELLA KVARCELLA_TOOL AXE.JS"""
import ctypes
import grp
import os
import pathlib
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TITLE = "Кварцелла 2.0"
QUEUE = "kvarcella-test"
WORDS = ["кот - Мурлычет на печи.", "ток - Бежит по проводам.", "окно - В него смотрят.",
         "кино - Смотрят в зале.", "нота - Знак в музыке."]
BUDGET = 120
CUPSD, LPADMIN, LPSTAT, CUPSREJECT = ("/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/bin/lpstat",
                                      "/usr/sbin/cupsreject")
# A queue that writes each job's PDF to a file as it comes, through CUPS's pass-through filter.
PPD = """*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "KVTEST.PPD"
*Manufacturer: "Kvarcella"
*Product: "(Kvarcella test)"
*ModelName: "Kvarcella test file printer"
*ShortNickName: "Kvarcella test"
*NickName: "Kvarcella test file printer"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter2: "application/pdf application/vnd.cups-pdf 0 gziptoany"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*DefaultImageableArea: A4
*ImageableArea A4/A4: "0 0 595 842"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
"""


class Failure(Exception):
    pass


def die_with_parent(sig=signal.SIGKILL):
    ctypes.CDLL(None).prctl(1, sig)  # PR_SET_PDEATHSIG


def poll(what, probe, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.1)
    raise Failure("timed out waiting for " + what)


# --- The print service ---------------------------------------------------------------------

def start_cups(workdir):
    """A cupsd of this test's own: its configuration, folders and socket under workdir
    (no network port), one queue writing to workdir/printed.pdf as the default."""
    cups = os.path.join(workdir, "cups")
    for sub in ("spool", "tmp", "cache", "state", "log", "ssl"):
        os.makedirs(os.path.join(cups, sub))
    socket = os.path.join(cups, "cups.sock")
    with open(os.path.join(cups, "cupsd.conf"), "w") as f:
        f.write("Listen %s\nLogLevel warn\nBrowsing No\nWebInterface No\n"
                "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n"
                "</Location>\n<Policy default>\n  <Limit All>\n    Order allow,deny\n"
                "    Allow all\n  </Limit>\n</Policy>\n" % socket)
    with open(os.path.join(cups, "cups-files.conf"), "w") as f:
        f.write("".join("%s %s\n" % pair for pair in (
            ("ServerRoot", cups), ("RequestRoot", cups + "/spool"), ("TempDir", cups + "/tmp"),
            ("CacheDir", cups + "/cache"), ("StateDir", cups + "/state"),
            ("ErrorLog", cups + "/log/error_log"), ("AccessLog", cups + "/log/access_log"),
            ("PageLog", cups + "/log/page_log"), ("ServerKeychain", cups + "/ssl"),
            ("FileDevice", "Yes"), ("SystemGroup", grp.getgrgid(os.getgid()).gr_name))))
    with open(os.path.join(cups, "kvtest.ppd"), "w") as f:
        f.write(PPD)
    daemon = subprocess.Popen([CUPSD, "-f", "-c", cups + "/cupsd.conf", "-s",
                               cups + "/cups-files.conf"], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, preexec_fn=die_with_parent)
    client = ["-h", socket]
    try:
        poll("the print service to listen", lambda: subprocess.run(
            [LPSTAT, *client, "-r"], capture_output=True, text=True, timeout=10,
            env=dict(os.environ, LC_ALL="C")).stdout.strip() == "scheduler is running", 20)
        subprocess.run([LPADMIN, *client, "-p", QUEUE, "-E", "-v",
                        "file://" + os.path.join(workdir, "printed.pdf"), "-P",
                        cups + "/kvtest.ppd"], check=True, capture_output=True, timeout=20)
        subprocess.run([LPADMIN, *client, "-d", QUEUE], check=True, capture_output=True,
                       timeout=20)
    except (Failure, subprocess.SubprocessError):
        daemon.kill()
        daemon.wait()
        raise
    return daemon, socket


def completed_jobs(socket):
    done = subprocess.run([LPSTAT, "-h", socket, "-W", "completed", "-o", QUEUE],
                          capture_output=True, text=True, timeout=10)
    return [line for line in done.stdout.splitlines() if line.strip()]


# --- In the program, on the display and the buses of this test -----------------------------

def inside(program, workdir, socket, report):
    import pyatspi
    from gi.repository import Atspi, GLib
    # A menu item's action answers only once the dialog it opens has closed: wait
    # one second for it, not the fifteen given to a program that has just started.
    Atspi.set_timeout(1000, 1000)
    signal.signal(signal.SIGTERM, lambda *_: os.killpg(0, signal.SIGKILL))
    die_with_parent(signal.SIGTERM)
    deadline = time.monotonic() + BUDGET
    text_of = lambda o: o.queryText().getText(0, -1)  # noqa: E731
    crossword = os.path.join(workdir, "lesson.crs")
    page = os.path.join(workdir, "lesson.html")

    def wait_for(what, probe, seconds=20):
        end = min(deadline, time.monotonic() + seconds)
        while time.monotonic() < end:
            try:
                found = probe()
            except Exception:  # an object that went away while it was read
                found = None
            if found:
                return found
            while GLib.MainContext.default().iteration(False):
                pass
            time.sleep(0.05)
        raise Failure("timed out waiting for " + what)

    def find(root, role, name=None, test=lambda o: True):
        return pyatspi.findDescendant(root, lambda o: (role is None or o.getRole() == role) and
                                      (name is None or o.name == name) and test(o))

    def showing(o):
        return o.getState().contains(pyatspi.STATE_SHOWING)

    def press(root, name, role=pyatspi.ROLE_PUSH_BUTTON):
        # A menu's items are there while the menu is closed.
        test = showing if role != pyatspi.ROLE_MENU_ITEM else lambda o: True
        target = wait_for('"%s"' % name, lambda: find(root, role, name, test))
        try:
            target.queryAction().doAction(0)
        except GLib.Error:
            # A menu item answers once its command ends, after the dialog it shows.
            if role != pyatspi.ROLE_MENU_ITEM:
                raise

    def window(name, role=pyatspi.ROLE_DIALOG):
        return wait_for('the window "%s"' % name, lambda: next(
            (w for w in app if w and w.name == name and w.getRole() == role and showing(w)),
            None))

    def gone(o):
        try:
            return not showing(o)
        except Exception:
            return True

    def shot(name, accessible):
        """With KVARCELLA_TEACHER_SHOTS=DIR, a picture of the window as it stands."""
        folder = os.environ.get("KVARCELLA_TEACHER_SHOTS")
        if not folder:
            return
        time.sleep(0.5)
        x, y, w, h = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                        os.path.join(folder, name + ".png")], check=True, timeout=30)

    def editing():
        return wait_for("the editing window", lambda: next(
            (w for w in app if w and w.name.startswith(TITLE) and showing(w) and
             find(w, None, "сетка кроссворда")), None))

    def menu(item):
        press(editing(), item, pyatspi.ROLE_MENU_ITEM)

    def message(starting):
        """The message box whose text starts so; returns the box."""
        return wait_for("a message starting %r" % starting, lambda: next(
            (w for w in app if w and showing(w) and
             find(w, pyatspi.ROLE_LABEL, test=lambda o: o.name.startswith(starting))), None))

    def save_in(dialog, path):
        field = wait_for("the file name field", lambda: find(
            dialog, pyatspi.ROLE_TEXT, test=lambda o: o.getState().contains(
                pyatspi.STATE_FOCUSED)))
        field.queryEditableText().setTextContents(path)
        wait_for("the file name", lambda: text_of(field) == path)
        time.sleep(0.3)  # no key may be pending when the dialog closes
        press(dialog, "Сохранить")

    def print_on(queue_expected):
        menu("Печать...")
        choice = window("Печать кроссворда")
        shot("print", choice)
        press(choice, "Печать...")
        dialog = window("Печать")
        shot("printdialog", dialog)
        printers = wait_for("the printers", lambda: find(dialog, pyatspi.ROLE_COMBO_BOX))
        names = [item.name for item in find(printers, pyatspi.ROLE_LIST) or []]
        if QUEUE not in names or not any(n.startswith("Печать в файл") for n in names):
            raise Failure("the print dialog lists %s" % names)
        if printers.name != queue_expected:
            raise Failure("the print dialog offers %r first" % printers.name)
        press(dialog, "Печать")

    # A Russian keyboard, so that the list is typed key by key as a teacher types it
    # (xdotool loses letters it has to map onto spare keys).
    subprocess.run(["setxkbmap", "-layout", "ru"], check=True, timeout=10)
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
               CUPS_SERVER=socket)
    proc = subprocess.Popen([program], env=env, cwd=workdir)
    started = time.monotonic()
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        app = wait_for("the program in the accessibility tree", lambda: next(
            (a for a in desktop if a and a.get_process_id() == proc.pid), None))
        start = wait_for("the start window", lambda: find(app, None, TITLE))
        press(start, "создать")
        editing()

        # The list, typed; made; moved to the editor.
        menu("Составить из списка слов...")
        maker = window("Составить кроссворд из списка слов")
        field = wait_for("the word list", lambda: find(maker, pyatspi.ROLE_TEXT, "список слов"))
        field.queryComponent().grabFocus()
        wait_for("the focused word list",
                 lambda: field.getState().contains(pyatspi.STATE_FOCUSED))
        for number, line in enumerate(WORDS):
            if number:
                subprocess.run(["xdotool", "key", "Return"], check=True, timeout=10)
            subprocess.run(["xdotool", "type", "--delay", "20", line], check=True, timeout=30)
        try:
            wait_for("the typed list", lambda: text_of(field) == "\n".join(WORDS), 10)
        except Failure:
            raise Failure("the word list reads %r" % text_of(field))
        press(maker, "Составить")
        summary = wait_for("the report", lambda: find(maker, pyatspi.ROLE_TEXT, "отчёт"))
        wait_for("all five words placed",
                 lambda: text_of(summary).startswith("Размещено слов: 5 из 5"))
        shot("make", maker)
        press(maker, "Перенести в редактор")
        wait_for("the maker to close", lambda: gone(maker))
        grid = wait_for("the made crossword in the editor", lambda: find(
            editing(), None, "сетка кроссворда", lambda g: g.childCount >= 10))
        if not any(", буква к" in c.name for c in grid):
            raise Failure("the editor's cells are %s" % [c.name for c in grid])

        # A stray letter in the corner, saved, found by the check and mended where it leads.
        corner = "строка 1, столбец 1, "
        wait_for("the corner cell", lambda: find(grid, None, corner + "пусто")
                 ).queryAction().doAction(0)
        press(editing(), "к")
        wait_for("the letter in the corner", lambda: find(grid, None, corner + "буква к"))
        menu("Сохранить как...")
        save_in(window("Сохранить как"), crossword)
        wait_for("the saved crossword's title",
                 lambda: any(w.name == TITLE + "  -  " + crossword for w in app if w))
        menu("Проверить")
        check = window("Проверка кроссворда")
        wait_for("the stray letter among the findings", lambda: find(
            check, None, "Буква «к» в клетке (строка 1, столбец 1) не входит ни в одно слово."))
        shot("check", check)
        press(check, "Показать")
        wait_for("the check to close", lambda: gone(check))
        press(editing(), "стереть")
        wait_for("the corner emptied", lambda: find(grid, None, corner + "пусто"))
        menu("Сохранить")
        menu("Проверить")
        check = window("Проверка кроссворда")
        wait_for('"Ошибок не найдено."', lambda: find(check, pyatspi.ROLE_LABEL,
                                                       "Ошибок не найдено."))
        press(check, "Закрыть")
        wait_for("the check to close", lambda: gone(check))

        print_on(QUEUE)
        poll("the print job to complete", lambda: completed_jobs(socket), 30)

        menu("Страница для учеников...")
        dialog = window("Сохранить как")
        # The crossword's own name and folder are offered.
        save_in(dialog, page)
        box = message("Страница для учеников записана в файл «%s»." % page)
        shot("page", box)
        press(box, "Закрыть")
        wait_for("the message to close", lambda: gone(box))

        # A queue that takes no jobs: said in Russian, nothing printed.
        subprocess.run([CUPSREJECT, "-h", socket, QUEUE], check=True, timeout=20)
        print_on(QUEUE)
        box = message("Кроссворд не напечатан: принтер «%s» не принял задание" % QUEUE)
        shot("refused", box)
        press(box, "ОК")
        wait_for("the message to close", lambda: gone(box))
        if len(completed_jobs(socket)) != 1:
            raise Failure("a refused job was printed")

        find(editing(), pyatspi.ROLE_MENU_ITEM, "Выход").queryAction().doAction(0)
        try:
            status = proc.wait(max(1, deadline - time.monotonic()))
        except subprocess.TimeoutExpired:
            status = "none in time"
        if status != 0:
            raise Failure('"Выход" ended the program with status %s' % status)
        print("teacherround: the round in the program took %.1f s" %
              (time.monotonic() - started), file=report)
        return 0
    finally:
        proc.kill()
        proc.wait()


# --- The files the round left ----------------------------------------------------------------

def rendered(pdf, folder, prefix):
    subprocess.run(["pdftoppm", "-r", "60", "-gray", pdf, os.path.join(folder, prefix)],
                   check=True, timeout=60)
    return sorted(p for p in pathlib.Path(folder).glob(prefix + "-*.pgm"))


def check_files(tool, axe_path, workdir):
    sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "export" / "html"))
    import browser
    import pagetest
    crossword = os.path.join(workdir, "lesson.crs")
    if subprocess.run([tool, "check", crossword], capture_output=True,
                      timeout=60).returncode != 0:
        raise Failure("kvarcella-tool check finds problems in the saved crossword")

    # Printed pages: those of the tool's PDF, page by page.
    subprocess.run([tool, "pdf", crossword, "-o", os.path.join(workdir, "tool.pdf")],
                   check=True, capture_output=True, timeout=60)
    printed = rendered(os.path.join(workdir, "printed.pdf"), workdir, "printed")
    wanted = rendered(os.path.join(workdir, "tool.pdf"), workdir, "tool")
    if len(printed) != len(wanted) or len(wanted) < 2:
        raise Failure("%d pages printed, the tool makes %d" % (len(printed), len(wanted)))
    for number, (a, b) in enumerate(zip(printed, wanted), 1):
        if a.read_bytes() != b.read_bytes():
            raise Failure("printed page %d differs from the tool's" % number)

    # The page: the tool's, and it works in a browser.
    page = pathlib.Path(workdir, "lesson.html")
    subprocess.run([tool, "html", crossword, "-o", os.path.join(workdir, "tool.html")],
                   check=True, capture_output=True, timeout=60)
    if page.read_bytes() != pathlib.Path(workdir, "tool.html").read_bytes():
        raise Failure("the page differs from kvarcella-tool html's")
    letters = pagetest.read_letters(pathlib.Path(crossword))
    axe_source = pathlib.Path(axe_path).read_text(encoding="utf-8")
    with browser.chromium() as driver:
        driver.get(page.as_uri())
        pagetest.axe_violations(driver, axe_source, "the page written by the program")
        for cell, letter in letters.items():
            driver.find_element("css selector", '.cell[data-cell="%d"]' % cell).click()
            driver.find_element("css selector", '.key[data-key="%d"]' %
                                (pagetest.LETTERS.index(letter) + 1)).click()
        driver.find_element("css selector", "#finish").click()
        if not driver.find_element("css selector", "#pane").text.startswith("Молодец!"):
            raise Failure("the page does not take the crossword's own letters")
        pagetest.axe_violations(driver, axe_source, "the page, solved")
        errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
        if errors:
            raise Failure("the browser reported errors: %s" % errors)
    print("teacherround: %d pages printed as the tool's PDF; the page is the tool's and "
          "is solved in Chromium" % len(printed))


def outside(program, tool, axe_path):
    import importlib.util
    for needed in (CUPSD, LPADMIN, CUPSREJECT, axe_path):
        if not os.path.exists(needed):
            raise Failure("%s is missing: run bash scripts/setup.sh" % needed)
    if not importlib.util.find_spec("pyatspi"):
        raise Failure("%s has no pyatspi: run bash scripts/setup.sh" % sys.executable)
    started = time.monotonic()
    workdir = tempfile.mkdtemp(prefix="kvarcella-teacher-")
    # The print service's filters run as its own user and read the spooled jobs.
    os.chmod(workdir, 0o755)
    os.mkdir(workdir + "/run", 0o700)
    env = dict(os.environ, HOME=workdir, XDG_RUNTIME_DIR=workdir + "/run",
               XDG_CONFIG_HOME=workdir + "/config")
    for name in ("WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS"):
        env.pop(name, None)
    cups = xvfb = session = None
    ready, ready_w = os.pipe()
    log = open(workdir + "/session.log", "w+")
    try:
        cups, socket = start_cups(workdir)
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(ready_w), "-screen", "0",
                                 "1280x1024x24", "-nolisten", "tcp", "-noreset", "-r"],
                                pass_fds=[ready_w], stderr=subprocess.DEVNULL,
                                preexec_fn=die_with_parent)
        os.close(ready_w)
        ready_w = None
        display = os.read(ready, 16).strip() if select.select([ready], [], [], 15)[0] else b""
        if not display:
            raise Failure("Xvfb gave no display number within 15 s")
        env["DISPLAY"] = ":" + display.decode()
        report = os.dup(sys.stdout.fileno())
        session = subprocess.Popen(
            ["dbus-run-session", "--", sys.executable, __file__, "--inside", program, workdir,
             socket, str(report)], env=env, stdout=log, stderr=log, pass_fds=[report],
            start_new_session=True, preexec_fn=die_with_parent)
        os.close(report)
        try:
            status = session.wait(BUDGET + 30)
        except subprocess.TimeoutExpired:
            raise Failure("the session did not end within %d s" % (BUDGET + 30))
        if status != 0:
            log.seek(0)
            print("teacherround: the session's log:\n" + log.read())
            return status
        check_files(tool, axe_path, workdir)
        print("teacherround: passed in %.1f s" % (time.monotonic() - started))
        return 0
    finally:
        if session:  # with whatever it started
            try:
                os.killpg(session.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            session.wait()
        for process in (xvfb, cups):
            if process:
                process.kill()
                process.wait()
        if ready_w is not None:
            os.close(ready_w)
        os.close(ready)
        log.close()
        shutil.rmtree(workdir, ignore_errors=True)


def main():
    report = sys.stdout
    try:
        if sys.argv[1:2] == ["--inside"]:
            report = os.fdopen(int(sys.argv[5]), "w", buffering=1)
            return inside(sys.argv[2], sys.argv[3], sys.argv[4], report)
        return outside(*(os.path.abspath(a) for a in sys.argv[1:4]))
    except (Failure, subprocess.SubprocessError, AssertionError) as e:
        print("teacherround: FAILED:", e, file=report)
        return 1


if __name__ == "__main__":
    sys.exit(main())
