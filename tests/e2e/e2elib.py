"""Helpers of the end-to-end tests, run inside the sandbox: they start the program from a scratch
folder of the prefix and look at what it did to files, the registry and its windows."""

import contextlib
import os
import re
import shutil
import subprocess
import sys
import time

BUILD = os.environ["GLENVASK_BUILD"]
EXE = os.environ["GLENVASK_EXE"]
PREFIX = os.environ["WINEPREFIX"]
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINTOOL = os.path.join(BUILD, "tools", "wintool.exe")

with open(os.path.join(ROOT, "src", "win", "ids.h"), encoding="utf-8") as _f:
    # The window classes and ids of the program: name -> text or number.
    IDS = {name: text if text else int(number) for name, text, number in re.findall(
        r'^inline constexpr .*?\b(k\w+) = (?:L"([^"]*)"|(-?\d+));', _f.read(), re.M)}
MAIN_CLASS = IDS["kMainWindowClass"]


def unix_path(win_path):
    """C:\\a\\b -> the file of the prefix's drive C."""
    assert win_path[1:3] == ":\\", win_path
    drive = os.path.join(PREFIX, "dosdevices", win_path[0].lower() + ":")
    return os.path.join(os.path.realpath(drive), *win_path[3:].split("\\"))


def canaries(name):
    """A file of the name in the drive root and one in the Windows folder, which nothing the
    program runs may delete; their paths, for the caller to check and remove."""
    paths = [unix_path("C:\\" + name), unix_path("C:\\windows\\" + name)]
    for p in paths:
        with open(p, "w") as f:
            f.write("stays")
    return paths


def record(*fields):
    """A line of the program's list files (plg.txt, a plug-in, UNFI.txt): the fields, split by
    \\x01, and CR LF."""
    return "\x01".join(fields) + "\r\n"


def wine(args, timeout=60, check=False):
    """Runs a Windows program in the prefix; its output is read as UTF-8."""
    return subprocess.run(["wine"] + [str(a) for a in args], stdin=subprocess.DEVNULL,
                          capture_output=True, encoding="utf-8", errors="replace",
                          timeout=timeout, check=check)


def tool(*args, timeout=60):
    """Runs the window tool (tests/e2e/wintool)."""
    return wine([WINTOOL, *args], timeout)


def _done(*args, wait=0):
    """Runs a verb of the tool; True when done. Why it was not is printed, for a failing test's
    output (a verb may also be expected to fail)."""
    r = tool(*args, timeout=wait + 60)
    if r.returncode:
        print(f"wintool {' '.join(map(str, args))}: exit {r.returncode} {r.stderr.strip()}",
              flush=True)
    return r.returncode == 0


def _ms(seconds):
    return str(int(seconds * 1000))


def _verb(name):
    return lambda *args: _done(name, *args)


def _waiter(name):
    return lambda cls, timeout=30: _done(name, cls, _ms(timeout), wait=timeout)


# A helper per verb of the tool; a control is an id from IDS or a caption; True means done:
# post_command(cls, id), click(cls, ctl), set_text(cls, ctl, text), select_tab(cls, ctl, index),
# select_combo(cls, ctl, item), select_rows(cls, ctl, *rows), double_click_row(cls, ctl, row).
post_command, click, set_text, select_tab, select_combo, select_rows, double_click_row = map(
    _verb, ["command", "click", "set-text", "select-tab", "select-combo", "select-rows",
            "dblclick-row"])
wait_window, wait_gone = _waiter("wait-window"), _waiter("wait-gone")  # (cls, timeout=30)


def set_check(cls, control, on=True):
    return _done("set-check", cls, control, int(on))


def get_text(cls, control):
    """The control's text with Unix line ends; None when it cannot be read."""
    r = tool("get-text", cls, control)
    return r.stdout[:-1] if r.returncode == 0 else None


def list_rows(cls, control):
    """Every row of a list view as (check state "1", "0" or "-", [cells]); None on failure."""
    r = tool("rows", cls, control)
    rows = [line.split("\t") for line in r.stdout.splitlines()]
    return [(row[0], row[1:]) for row in rows] if r.returncode == 0 else None


def message_box_text(timeout=30):
    """The text of the program's message box once one shows, or None."""
    r = tool("msgbox-text", _ms(timeout), timeout=timeout + 60)
    return r.stdout.rstrip("\n") if r.returncode == 0 else None


def answer_message_box(button, timeout=30):
    """Presses a button of the program's message box (caption, id, or "IDYES"...)."""
    return _done("msgbox-answer", button, _ms(timeout), wait=timeout)


class Scratch:
    """A folder C:\\e2e\\<name> of the prefix holding a copy of the program and its files."""

    def __init__(self, name):
        self.win = "C:\\e2e\\" + name
        self.unix = unix_path(self.win)
        shutil.rmtree(self.unix, ignore_errors=True)
        os.makedirs(self.unix)
        shutil.copy(EXE, self.unix)
        shutil.copytree(os.path.join(ROOT, "dist"), self.unix, dirs_exist_ok=True)
        self.exe = self.win + "\\glenvask.exe"

    def path(self, *parts):
        return os.path.join(self.unix, *parts)

    def write(self, name, data):
        p = self.path(name)
        os.makedirs(os.path.dirname(p), exist_ok=True)
        with open(p, "wb") as f:
            f.write(data.encode() if isinstance(data, str) else data)
        return p

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def snapshot(self):
        """Every file below the folder with its size and modification time."""
        paths = [os.path.join(d, f) for d, _, files in os.walk(self.unix) for f in files]
        return {os.path.relpath(p, self.unix): (os.stat(p).st_size, os.stat(p).st_mtime_ns)
                for p in paths}

    def start(self, *args):
        """Starts the program; its streams go nowhere, so nothing waits on them."""
        return subprocess.Popen(["wine", self.exe] + list(args), stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def run(self, *args, timeout=120):
        return self.start(*args).wait(timeout=timeout)


@contextlib.contextmanager
def scratch_drive(letter, folder):
    """Drive LETTER: of the prefix, a hard disk that is the Linux folder, while the block runs.
    Yields the link, or None when the letter is taken already (nothing is changed then)."""
    link = os.path.join(PREFIX, "dosdevices", letter.lower() + ":")
    key = "HKLM\\Software\\Wine\\Drives"
    if os.path.lexists(link):
        yield None
        return
    value = ["/v", letter.lower() + ":", "/f"]
    try:
        os.symlink(folder, link)
        wine(["reg", "add", key, "/d", "hd"] + value, check=True)
        yield link
    finally:
        if os.path.islink(link):
            os.remove(link)
        wine(["reg", "delete", key] + value)


@contextlib.contextmanager
def running(app, t, *args):
    """The program started from its scratch folder with its main window shown, while the block
    runs; then Exit ends it (a check), or it is killed when the block did not finish."""
    program = app.start(*args)
    try:
        t.check(wait_window(MAIN_CLASS), "the main window shows")
        yield program
        post_command(MAIN_CLASS, IDS["kCmdExit"])
        t.check(program.wait(timeout=30) == 0, "Exit ends the program")
    finally:
        if program.poll() is None:
            program.kill()


@contextlib.contextmanager
def held_open(t, win_path):
    """The file held open, without delete sharing, by another process while the block runs."""
    holder = subprocess.Popen(["wine", WINTOOL, "hold", win_path, "40000"],
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, text=True)
    try:
        t.check(holder.stdout.readline().strip() == "holding", f"{win_path} is held open")
        yield
    finally:
        holder.kill()
        holder.wait()


def wait_for(condition, timeout=20.0, step=0.1):
    end = time.time() + timeout
    while not (ok := condition()) and time.time() < end:
        time.sleep(step)
    return ok or condition()


class Checks:
    """Counts checks and ends the script with the usual closing line."""

    passed = failed = 0

    def check(self, ok, what):
        self.passed, self.failed = self.passed + bool(ok), self.failed + (not ok)
        if not ok:
            print("FAILED:", what, flush=True)
        return ok

    def finish(self):
        print(f"{self.passed} passed, {self.failed} failed")
        sys.exit(1 if self.failed else 0)
