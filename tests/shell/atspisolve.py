#!/usr/bin/python3
"""Solves a crossword in the real program as a screen reader user would: objects are
found and read in the accessibility tree, input is keys and the objects' actions.
Runs on an Xvfb display and a session bus of its own; exits 77 (skipped) only when
this Python has no pyatspi.

    atspisolve.py path/to/kvarcella"""
import ctypes
import importlib.util
import os
import select
import shutil
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
BUDGET = 60


class Failure(Exception):
    pass


def cell_name(cell, letter=""):
    number = ", номер " + CELLS[cell][1] if CELLS[cell][1] else ""
    return "строка %d, столбец %d%s, %s" % (cell // 20 + 1, cell % 20 + 1, number,
                                           "буква " + letter if letter else "пусто")


def die_with_parent(sig=signal.SIGKILL):
    ctypes.CDLL(None).prctl(1, sig)  # PR_SET_PDEATHSIG


def waiter(deadline, default_seconds):
    """wait_for(what, probe, seconds): probe's first answer that is true, within seconds
    and before deadline, with the session's events handled meanwhile."""
    from gi.repository import GLib

    def wait_for(what, probe, seconds=default_seconds):
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
    return wait_for


def find(root, role, name=None, test=lambda o: True):
    import pyatspi
    return pyatspi.findDescendant(root, lambda o: (role is None or o.getRole() == role) and
                                  (name is None or o.name == name) and test(o))


def inside(program, workdir, report):
    import pyatspi
    # Should dbus-run-session be gone, its buses and the program go with this process.
    signal.signal(signal.SIGTERM, lambda *_: os.killpg(0, signal.SIGKILL))
    die_with_parent(signal.SIGTERM)
    deadline = time.monotonic() + BUDGET
    focused = lambda o: o.getState().contains(pyatspi.STATE_FOCUSED)  # noqa: E731
    text_of = lambda o: o.queryText().getText(0, -1)  # noqa: E731

    wait_for = waiter(deadline, 15)

    def key(name, command="key"):
        subprocess.run(["xdotool", command, name], check=True, timeout=10)

    def press_until(key_name, what, probe):  # one press at a time: each moves the focus
        for _ in range(8):
            moves = len(focus_moves)
            key(key_name)
            wait_for("the focus to move after " + key_name, lambda: len(focus_moves) > moves, 5)
            if probe():
                return
        raise Failure("%s never reached %s" % (key_name, what))

    crossword = os.path.join(workdir, "cat.crs")
    lines = ['"%s","%s"\r\n' % CELLS.get(i, ("", "")) for i in range(400)]
    with open(crossword, "wb") as f:
        f.write(("".join(lines) + CLUE + "\r\n").encode("cp1251"))
    inserted, focus_moves = [], []
    pyatspi.Registry.registerEventListener(
        lambda e: inserted.append(str(e.any_data)), "object:text-changed:insert")
    pyatspi.Registry.registerEventListener(
        lambda e: e.detail1 and focus_moves.append(e), "object:state-changed:focused")
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    proc = subprocess.Popen([program], env=env, cwd=workdir)
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        app = wait_for("the program in the accessibility tree", lambda: next(
            (a for a in desktop if a and a.get_process_id() == proc.pid), None))
        start = wait_for("the start window", lambda: find(app, None, TITLE))
        wait_for("\"открыть\"", lambda: find(start, pyatspi.ROLE_PUSH_BUTTON, "открыть")
                 ).queryAction().doAction(0)
        dialog = wait_for("the file dialog", lambda: find(app, pyatspi.ROLE_DIALOG, "Открыть"))
        field = wait_for("its focused file name field",
                         lambda: find(dialog, pyatspi.ROLE_TEXT, test=focused))
        key(crossword, "type")
        wait_for("the typed file name", lambda: text_of(field) == crossword)
        # Qt holds each key until the accessibility bus has seen it (100 ms at most) and
        # loses it, leaking, when its widget is gone by then: so no Return that closes the dialog.
        time.sleep(0.5)
        find(dialog, pyatspi.ROLE_PUSH_BUTTON, "Открыть").queryAction().doAction(0)

        solving = wait_for("the solving window", lambda: next(
            (w for w in app if w and w.name == TITLE + "  -  " + crossword), None))
        clues = wait_for("the clue pane", lambda: find(
            solving, pyatspi.ROLE_TEXT, test=lambda o: text_of(o) == CLUE.replace("\r\n", "\n")))
        # No window manager here gives a new window the focus; xdotool does it instead.
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                        "^" + TITLE + "  -  ", "windowfocus", "--sync"], check=True, timeout=10)
        wait_for("the focused clue pane", lambda: focused(clues))

        grid = wait_for("\"сетка кроссворда\"", lambda: find(solving, None, "сетка кроссворда"))
        if sorted(c.name for c in grid) != sorted(cell_name(c) for c in CELLS):
            raise Failure("the grid's objects are %s" % [c.name for c in grid])
        focused_cell = lambda: next((c.name for c in grid if focused(c)), None)  # noqa: E731
        keyboard = lambda: find(solving, pyatspi.ROLE_PUSH_BUTTON, "стереть",  # noqa: E731
                                lambda o: o.getState().contains(pyatspi.STATE_SHOWING))
        press_until("shift+Tab", "the grid", focused_cell)
        # A typed letter moves the focus on: right, and down after Down.
        for cell, move, after in ((0, None, 1), (1, None, 2), (2, None, 2), (22, "Down", 42),
                                  (42, None, 42)):
            letter = CELLS[cell][0]
            for step, name in ((move, cell_name(cell)),
                               (LATIN[letter], cell_name(after, letter if after == cell else ""))):
                if step:
                    key(step)
                try:
                    wait_for(name, lambda: focused_cell() == name, 5)
                except Failure:
                    raise Failure("after %s the focused cell is %r, not %r"
                                  % (step or "shift+Tab", focused_cell(), name))
                if cell == 42 and step == move:  # this one through the letter keyboard
                    key("Return")
                    wait_for("the letter keyboard", keyboard)
            wait_for(cell_name(cell, letter), lambda: any(
                c.name == cell_name(cell, letter) for c in grid), 5)
            wait_for("the letter keyboard to close", lambda: not keyboard())

        finish = find(solving, pyatspi.ROLE_PUSH_BUTTON, "закончить")
        press_until("Tab", "\"закончить\"", lambda: focused(finish))
        key("space")
        wait_for("\"Молодец!\" to be announced", lambda: any("Молодец!" in t for t in inserted))
        wait_for("the focus on the result", lambda: focused(clues))
        if not text_of(clues).startswith("Молодец!"):
            raise Failure("the clue pane reads %r" % text_of(clues))
        history = text_of(find(find(solving, pyatspi.ROLE_COMBO_BOX), pyatspi.ROLE_TEXT))
        if history != "      1     -      0":
            raise Failure("the history reads %r, not one attempt without mistakes" % history)

        find(solving, pyatspi.ROLE_MENU_ITEM, "Выход").queryAction().doAction(0)
        try:
            status = proc.wait(max(1, deadline - time.monotonic()))
        except subprocess.TimeoutExpired:
            status = "none in time"
        if status != 0:
            raise Failure("\"Выход\" ended the program with status %s" % status)
        print("atspisolve: solved by keyboard; history %r" % history, file=report)
        return 0
    finally:
        proc.kill()
        proc.wait()


def outside(program, script=__file__, budget=BUDGET, extra=()):
    """Runs `script --inside program workdir report *extra` on an Xvfb display of its
    own, in a D-Bus session of its own, within budget seconds and a little more."""
    test = os.path.splitext(os.path.basename(script))[0]
    if not importlib.util.find_spec("pyatspi"):
        print("%s: skipped: %s has no pyatspi" % (test, sys.executable))
        return 77
    # The program, Qt's file dialog and the buses keep their files in here.
    workdir = tempfile.mkdtemp(prefix="kvarcella-atspi-")
    os.mkdir(workdir + "/run", 0o700)
    env = dict(os.environ, HOME=workdir, XDG_RUNTIME_DIR=workdir + "/run",
               XDG_CONFIG_HOME=workdir + "/config", XDG_DATA_HOME=workdir + "/data",
               XDG_CACHE_HOME=workdir + "/cache")
    for name in ("WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS"):
        env.pop(name, None)
    ready, ready_w = os.pipe()
    # No auto-repeat: a key whose release a busy machine delays must not come twice.
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(ready_w), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp", "-noreset", "-r"], pass_fds=[ready_w],
                            stderr=subprocess.DEVNULL, preexec_fn=die_with_parent)
    os.close(ready_w)
    session, log = None, open(workdir + "/session.log", "w+")
    try:
        if not workdir.isascii():  # it is typed on a US keyboard
            raise Failure("the temporary folder %s is not ASCII" % workdir)
        display = os.read(ready, 16).strip() if select.select([ready], [], [], 15)[0] else b""
        if not display:
            raise Failure("Xvfb gave no display number within 15 s")
        env["DISPLAY"] = ":" + display.decode()
        # The buses' and the program's own chatter go to the log, the report to our output.
        report = os.dup(sys.stdout.fileno())
        session = subprocess.Popen(
            ["dbus-run-session", "--", sys.executable, script, "--inside", program, workdir,
             str(report), *extra], env=env, stdout=log, stderr=log, pass_fds=[report],
            start_new_session=True, preexec_fn=die_with_parent)
        os.close(report)
        try:
            status = session.wait(budget + 30)
        except subprocess.TimeoutExpired:
            raise Failure("the session did not end within %d s" % (budget + 30))
        if status != 0:
            log.seek(0)
            print("%s: the session's log:\n%s" % (test, log.read()))
        return status
    finally:
        if session:  # with whatever it started
            try:
                os.killpg(session.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            session.wait()
        xvfb.kill()
        xvfb.wait()
        os.close(ready)
        shutil.rmtree(workdir, ignore_errors=True)


def main():
    report = sys.stdout
    try:
        if sys.argv[1:2] == ["--inside"]:
            report = os.fdopen(int(sys.argv[4]), "w", buffering=1)
            return inside(sys.argv[2], sys.argv[3], report)
        return outside(os.path.abspath(sys.argv[1]))
    except (Failure, subprocess.TimeoutExpired) as e:
        print("atspisolve: FAILED:", e, file=report)
        return 1


if __name__ == "__main__":
    sys.exit(main())
