#!/usr/bin/python3
"""A blind pupil solves two crosswords with Orca, the real screen reader, at the keyboard
alone: Debian's Orca with its default settings in Russian, speaking through
speech-dispatcher and espeak-ng to ALSA's null device. After every step the test waits,
bounded, for the words Orca must have said: the "SPEECH OUTPUT:" lines of its debug log.
Runs on an Xvfb display with openbox and a session bus of its own (see atspisolve.py);
exits 77 (skipped) only when this Python has no pyatspi or Orca is not installed.

    orcasolve.py path/to/kvarcella"""
import builtins
import importlib.machinery
import os
import re
import shutil
import signal
import subprocess
import sys
import time
import types

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspisolve import Failure, die_with_parent, outside  # noqa: E402

BUDGET = 150
# "кот" across from cell 0 and "ток" down from cell 2, as atspisolve.py has it.
CAT = ({0: ("к", "1"), 1: ("о", ""), 2: ("т", "2"), 22: ("о", ""), 42: ("к", "")},
       "По горизонтали:\r\n1. Мурлычет.\r\nПо вертикали:\r\n2. Бежит по проводам.")
HOUSE = ({0: ("д", "1"), 1: ("о", ""), 2: ("м", "")}, "По горизонтали:\r\n1. В нём живут.")


def write_crossword(path, crossword):
    cells, clues = crossword
    lines = ['"%s","%s"\r\n' % cells.get(i, ("", "")) for i in range(400)]
    with open(path, "wb") as f:
        f.write(("".join(lines) + clues + "\r\n").encode("cp1251"))


def run_orca(debug_file):
    """Orca itself, its debug log written line by line: Orca buffers it and loses the
    end when it is stopped."""
    plain_open = builtins.open

    def line_buffered(file, mode="r", buffering=-1, *args, **kwargs):
        return plain_open(file, mode, 1 if file == debug_file else buffering, *args, **kwargs)

    builtins.open = line_buffered
    loader = importlib.machinery.SourceFileLoader("orca_launcher", "/usr/bin/orca")
    launcher = types.ModuleType(loader.name)
    loader.exec_module(launcher)
    launcher.otherOrcas = lambda: []  # another session's Orca is none of ours
    sys.argv = ["orca", "--debug-file", debug_file]
    return launcher.main()


class Speech:
    """What Orca said, in order, from its debug log."""
    RECORD = re.compile(r"^\d\d:\d\d:\d\d\.\d{6} - ", re.M)
    # The words between quotes, then the voice Orca chose, if any.
    OUTPUT = re.compile(r"SPEECH OUTPUT: '(.*?)'\s*(?:\{.*\})?\s*$", re.S)

    def __init__(self, path):
        self.path = path

    def log(self):
        if not os.path.exists(self.path):
            return ""
        with open(self.path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def said(self):
        outputs = (self.OUTPUT.match(record) for record in self.RECORD.split(self.log()))
        return [" ".join(said.group(1).split()) for said in outputs if said]


def inside(program, workdir, report):
    signal.signal(signal.SIGTERM, lambda *_: os.killpg(0, signal.SIGKILL))
    die_with_parent(signal.SIGTERM)
    deadline = time.monotonic() + BUDGET
    env = dict(os.environ, LANG="ru_RU.UTF-8", GDK_BACKEND="x11")
    for name in ("LC_ALL", "LANGUAGE", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "QT_QPA_PLATFORM"):
        env.pop(name, None)
    if not any(l.lower() in ("ru_ru.utf8", "ru_ru.utf-8") for l in subprocess.run(
            ["locale", "-a"], capture_output=True, text=True).stdout.split()):
        # The system has no Russian locale: one of our own, as the setup script makes it.
        env["LOCPATH"] = workdir + "/locale"
        os.mkdir(env["LOCPATH"])
        subprocess.run(["localedef", "-i", "ru_RU", "-f", "UTF-8",
                        env["LOCPATH"] + "/ru_RU.UTF-8"], check=True, timeout=60)
    # speech-dispatcher as installed, but speaking Russian with espeak-ng into nothing.
    speechd = env["XDG_CONFIG_HOME"] + "/speech-dispatcher"
    shutil.copytree("/etc/speech-dispatcher", speechd)
    with open(speechd + "/speechd.conf", "a") as conf:
        conf.write('AudioOutputMethod "alsa"\nAudioALSADevice "null"\n'
                   'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\n'
                   'DefaultModule espeak-ng\nDefaultLanguage "ru"\n')

    def wait_until(what, probe, seconds):
        end = min(deadline, time.monotonic() + seconds)
        while time.monotonic() < end:
            if probe():
                return
            time.sleep(0.05)
        raise Failure("timed out waiting for " + what)

    wm_ready = workdir + "/wm-ready"
    subprocess.Popen(["openbox", "--startup", "touch " + wm_ready], env=env,
                     preexec_fn=die_with_parent)
    wait_until("openbox", lambda: os.path.exists(wm_ready), 15)
    speech = Speech(workdir + "/orca-debug.log")
    orca = subprocess.Popen([sys.executable, os.path.abspath(__file__), "--orca", speech.path],
                            env=env, preexec_fn=die_with_parent)
    wait_until("Orca to listen", lambda: "Starting ATSPI registry" in speech.log(), 30)

    cat, house = workdir + "/cat.crs", workdir + "/house.crs"
    write_crossword(cat, CAT)
    write_crossword(house, HOUSE)
    transcript = []

    def hear(keys, *words, seconds=10):
        """Presses the keys, then waits for Orca to say the words, in this order."""
        start = len(speech.said())
        began = time.monotonic()
        for key in keys.split():
            if key.startswith("type:"):
                subprocess.run(["xdotool", "type", "--delay", "60", key[5:]], check=True,
                               timeout=30)
            else:
                subprocess.run(["xdotool", "key", key], check=True, timeout=10)
                time.sleep(0.15)
        end = min(deadline, time.monotonic() + seconds)
        while True:
            said = speech.said()[start:]
            heard = " | ".join(said)
            position = 0
            for word in words:
                position = heard.find(word, position)
                if position < 0:
                    break
            if position >= 0:
                if keys.startswith("type:"):  # its echo, key by key, is long
                    heard = "..." + heard[heard.rfind("| return |") + 10:]
                transcript.append("%s (%.2f s): %s" % (keys, time.monotonic() - began, heard))
                return
            if time.monotonic() > end:
                raise Failure("after %s Orca never said %r; it said: %s\nbefore that:\n%s"
                              % (keys, words, heard or "nothing", "\n".join(transcript)))
            time.sleep(0.05)

    proc = subprocess.Popen([program], env=dict(env, QT_QPA_PLATFORM="xcb"), cwd=workdir)
    try:
        hear("", "открыть", seconds=30)
        hear("space", "Открыть диалог", "Имя файла", seconds=20)
        hear("type:" + cat + " Return", "вопросы", "По горизонтали:", seconds=30)
        # The clues, a line at a time.
        hear("Down", "1. Мурлычет.")
        hear("Down", "По вертикали:")
        # The cell, not only the grid, and its clue; a typed letter is said
        # and the frame moves on, right, and down after Down.
        hear("shift+Tab", "строка 1, столбец 1, номер 1, пусто", "1 по горизонтали: Мурлычет.")
        hear("r", "буква к", "строка 1, столбец 2, пусто")
        hear("j", "буква о", "строка 1, столбец 3, номер 2, пусто", "2 по вертикали: Бежит")
        hear("n", "буква т")
        hear("Right", "дальше клеток нет")
        hear("Down", "строка 2, столбец 3, пусто")
        hear("j", "буква о", "строка 3, столбец 3, пусто")
        hear("Return", "открыта клавиатура")
        hear("r", "буква к")
        hear("Tab", "вопросы")
        hear("Tab", "закончить")
        hear("space", "Молодец! Ты разгадал весь кроссворд.")
        hear("Tab", "попыток - ошибок")
        # The second crossword, from the menu, fails.
        hear("F10", "Кроссворд")
        hear("Down", "Открыть...")
        hear("Return", "Открыть диалог", "Имя файла", seconds=20)
        hear("type:" + house + " Return", "вопросы", "По горизонтали:", seconds=30)
        hear("shift+Tab", "строка 1, столбец 1, номер 1, пусто", "В нём живут.")
        hear("d", "буква в", "строка 1, столбец 2, пусто")
        hear("Tab", "вопросы")
        hear("Tab", "закончить")
        hear("space", "К сожалению, ты не смог разгадать весь кроссворд. Допущено ошибок - 3 "
             "Для дальнейшего редактирования нажми кнопку [назад]")
        hear("shift+Tab", "строка 1, столбец 2, пусто, ошибка")
        hear("Return", "вопросы", "Для дальнейшего редактирования нажми кнопку [назад]")
        print("orcasolve: Orca said:\n" + "\n".join(transcript), file=report)
        return 0
    finally:
        proc.kill()
        proc.wait()
        orca.kill()
        orca.wait()


def main():
    report = sys.stdout
    try:
        if sys.argv[1:2] == ["--orca"]:
            return run_orca(sys.argv[2])
        if sys.argv[1:2] == ["--inside"]:
            report = os.fdopen(int(sys.argv[4]), "w", buffering=1)
            return inside(sys.argv[2], sys.argv[3], report)
        missing = [p for p in ("orca", "openbox", "speech-dispatcher", "localedef")
                   if not shutil.which(p)]
        if missing:  # scripts/setup.sh installs them
            print("orcasolve: skipped: not installed: " + ", ".join(missing))
            return 77
        return outside(os.path.abspath(sys.argv[1]), os.path.abspath(__file__), BUDGET)
    except (Failure, subprocess.SubprocessError) as e:
        print("orcasolve: FAILED:", e, file=report)
        return 1


if __name__ == "__main__":
    sys.exit(main())
