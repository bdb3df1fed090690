#!/usr/bin/python3
"""Solves a crossword in the real program as a screen reader user would: every
object is found in the accessibility tree, every input is a key or an object's
action, and the result is read back from the tree.

    atspisolve.py path/to/kvarcella

Runs on an X display and a session bus of its own; exits 77 (skipped) only
when this Python has no pyatspi."""
import os
import select
import signal
import subprocess
import sys
import tempfile
import time

TITLE = "Кварцелла 2.0"
CLUE = "По горизонтали: 1. Мурлычет.\r\nПо вертикали: 2. Бежит по проводам."
# "кот" across from cell 0, "ток" down from cell 2: cell -> (letter, number).
CELLS = {0: ("к", "1"), 1: ("о", ""), 2: ("т", "2"), 22: ("о", ""), 42: ("к", "")}
# Xvfb has the US layout; these keys stand where the letters are on ЙЦУКЕН.
LATIN = {"к": "r", "о": "j", "т": "n"}
HISTORY_LINE = "      1     -      0"
BUDGET = 60


class Failure(Exception):
    pass


def cell_name(cell, letter=""):
    row, column = divmod(cell, 20)
    parts = ["строка %d" % (row + 1), "столбец %d" % (column + 1)]
    if CELLS[cell][1]:
        parts.append("номер " + CELLS[cell][1])
    parts.append("буква " + letter if letter else "пусто")
    return ", ".join(parts)


def inside(program, workdir, report):
    import pyatspi
    from gi.repository import GLib

    deadline = time.monotonic() + BUDGET

    def pump(seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if not GLib.MainContext.default().iteration(False):
                time.sleep(0.02)

    def wait_for(what, probe, seconds=15):
        end = min(deadline, time.monotonic() + seconds)
        while time.monotonic() < end:
            try:
                found = probe()
            except Exception:  # an object that went away while it was read
                found = None
            if found:
                return found
            pump(0.1)
        raise Failure("timed out waiting for " + what)

    def find(root, role, name=None, test=lambda o: True):
        return pyatspi.findDescendant(root, lambda o: (role is None or o.getRole() == role) and
                                      (name is None or o.name == name) and test(o))

    def focused(o):
        return o.getState().contains(pyatspi.STATE_FOCUSED)

    def text_of(o):
        return o.queryText().getText(0, -1)

    def key(name):
        subprocess.run(["xdotool", "key", name], check=True)

    crossword = os.path.join(workdir, "cat.crs")
    lines = ['"%s","%s"' % CELLS.get(i, ("", "")) for i in range(400)]
    with open(crossword, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n" + CLUE + "\r\n").encode("cp1251"))
    inserted = []
    pyatspi.Registry.registerEventListener(
        lambda e: inserted.append(str(e.any_data)), "object:text-changed:insert")

    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    proc = subprocess.Popen([program], env=env, cwd=workdir)
    try:
        app = wait_for("the program in the accessibility tree", lambda: next(
            (a for a in pyatspi.Registry.getDesktop(0) if a and a.get_process_id() == proc.pid), None))
        start = wait_for("the start window", lambda: find(app, None, TITLE))
        wait_for("\"открыть\"", lambda: find(start, pyatspi.ROLE_PUSH_BUTTON, "открыть")
                 ).queryAction().doAction(0)
        dialog = wait_for("the file dialog", lambda: find(app, pyatspi.ROLE_DIALOG))
        wait_for("its focused file name field", lambda: find(dialog, pyatspi.ROLE_TEXT, test=focused))
        subprocess.run(["xdotool", "type", crossword], check=True)
        key("Return")

        solving = wait_for("the solving window", lambda: next(
            (w for w in app if w and w.name.startswith(TITLE + "  -  ")), None))
        clues = wait_for("the clue pane", lambda: find(
            solving, pyatspi.ROLE_TEXT, test=lambda o: text_of(o) == CLUE.replace("\r\n", "\n")))
        # No window manager here gives a new window the focus; xdotool does it instead.
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                        "^" + TITLE + "  -  ", "windowfocus", "--sync"], check=True)
        wait_for("the focused clue pane", lambda: focused(clues))

        grid = wait_for("\"сетка кроссворда\"", lambda: find(solving, None, "сетка кроссворда"))
        names = sorted(c.name for c in grid)
        if names != sorted(cell_name(c) for c in CELLS):
            raise Failure("the grid's children are %s" % names)

        def position():  # of the focused cell: (row, column) from 0
            cell = next((c for c in grid if focused(c)), None)
            return cell and tuple(int(p.split()[1]) - 1 for p in cell.name.split(", ")[:2])

        def press_until(key_name, what, probe):
            for _ in range(8):
                key(key_name)
                pump(0.3)
                if probe():
                    return
            raise Failure("%s never reached %s" % (key_name, what))

        press_until("shift+Tab", "the grid", position)
        for cell, (letter, _) in CELLS.items():
            row, column = divmod(cell, 20)
            while (here := position()) != (row, column):
                if here is None:
                    raise Failure("the grid lost the focus on the way to %s" % cell_name(cell))
                move = ("Down" if row > here[0] else "Up") if row != here[0] else (
                    "Right" if column > here[1] else "Left")
                key(move)
                wait_for("%s to move the focus from row %d, column %d" % (move, here[0] + 1, here[1] + 1),
                         lambda: position() != here, 5)
            if cell == 42:  # the letter keyboard, opened by Enter
                key("Return")
                wait_for("the letter keyboard", lambda: find(
                    solving, pyatspi.ROLE_PUSH_BUTTON, "стереть",
                    lambda o: o.getState().contains(pyatspi.STATE_SHOWING)))
            key(LATIN[letter])
            wait_for("\"%s\" in row %d, column %d" % (letter, row + 1, column + 1),
                     lambda: any(c.name == cell_name(cell, letter) for c in grid))

        press_until("Tab", "\"закончить\"", lambda: focused(
            find(solving, pyatspi.ROLE_PUSH_BUTTON, "закончить")))
        key("space")
        wait_for("\"Молодец!\" announced", lambda: any("Молодец!" in t for t in inserted))
        if not text_of(clues).startswith("Молодец!"):
            raise Failure("the clue pane reads %r" % text_of(clues))
        history = text_of(find(find(solving, pyatspi.ROLE_COMBO_BOX), pyatspi.ROLE_TEXT))
        if history != HISTORY_LINE:
            raise Failure("the history reads %r, not %r" % (history, HISTORY_LINE))
        print("atspisolve: solved; history %r" % history, file=report)

        find(solving, pyatspi.ROLE_MENU_ITEM, "Выход").queryAction().doAction(0)
        try:
            status = proc.wait(max(1, deadline - time.monotonic()))
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end after \"Выход\"")
        if status != 0:
            raise Failure("\"Выход\" ended the program with status %d" % status)
    finally:
        proc.kill()
        proc.wait()
    return 0


def outside(program):
    try:
        import gi
        gi.require_version("Atspi", "2.0")
        import pyatspi  # noqa: F401
    except (ImportError, ValueError) as e:
        print("atspisolve: skipped: %s has no pyatspi (%s)" % (sys.executable, e))
        return 77
    workdir = tempfile.mkdtemp(prefix="kvarcella-atspi-")
    if not workdir.isascii():
        raise Failure("%s is typed on a US keyboard: the temporary folder must be ASCII" % workdir)
    # The program, Qt's file dialog and the buses keep their files in here.
    os.mkdir(workdir + "/run", 0o700)
    env = dict(os.environ, HOME=workdir, XDG_RUNTIME_DIR=workdir + "/run",
               XDG_CONFIG_HOME=workdir + "/config")
    for name in ("WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS"):
        env.pop(name, None)

    ready, ready_w = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(ready_w), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
         "-noreset"], pass_fds=[ready_w], stderr=subprocess.DEVNULL, start_new_session=True)
    os.close(ready_w)
    session = None
    log = open(workdir + "/session.log", "w+")
    try:
        display = os.read(ready, 16).strip() if select.select([ready], [], [], 15)[0] else b""
        if not display:
            raise Failure("Xvfb gave no display number within 15 s")
        env["DISPLAY"] = ":" + display.decode()
        # The buses' and the program's own chatter goes to the log.
        report = os.dup(sys.stdout.fileno())
        session = subprocess.Popen(
            ["dbus-run-session", "--", sys.executable, __file__, "--inside", program, workdir,
             str(report)], env=env, stdout=log, stderr=log, pass_fds=[report],
            start_new_session=True)
        os.close(report)
        try:
            status = session.wait(BUDGET + 30)
        except subprocess.TimeoutExpired:
            raise Failure("the session did not end within %d s" % (BUDGET + 30))
        if status != 0:
            log.seek(0)
            print("atspisolve: the session's log:\n" + log.read())
        return status
    finally:
        for group in (session, xvfb):
            if group is not None:
                try:
                    os.killpg(group.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                group.wait()
        os.close(ready)
        subprocess.run(["rm", "-rf", workdir])


def main():
    report = sys.stdout
    try:
        if sys.argv[1:2] == ["--inside"]:
            report = os.fdopen(int(sys.argv[4]), "w", buffering=1)
            return inside(sys.argv[2], sys.argv[3], report)
        return outside(sys.argv[1])
    except Failure as e:
        print("atspisolve: FAILED:", e, file=report)
        return 1


if __name__ == "__main__":
    sys.exit(main())
