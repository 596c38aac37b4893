"""Helpers of the end-to-end tests: they run inside the sandbox (scripts/test, or
scripts/wine-env), start the program from a scratch folder of the prefix and look at what it
did to files, the registry and its windows."""

import os
import shutil
import subprocess
import sys
import time

BUILD = os.environ["GLENVASK_BUILD"]
EXE = os.environ["GLENVASK_EXE"]
PREFIX = os.environ["WINEPREFIX"]
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINTOOL = os.path.join(BUILD, "tools", "wintool.exe")
MAIN_CLASS = "GlenvaskMainWindow"


def unix_path(win_path):
    """C:\\a\\b -> the file of the prefix's drive C."""
    assert win_path[1:3] == ":\\", win_path
    drive = os.path.join(PREFIX, "dosdevices", win_path[0].lower() + ":")
    return os.path.join(os.path.realpath(drive), *win_path[3:].split("\\"))


def wine(args, timeout=60, check=False):
    return subprocess.run(["wine"] + list(args), stdin=subprocess.DEVNULL,
                          capture_output=True, text=True, timeout=timeout, check=check)


def tool(*args, timeout=60):
    return wine([WINTOOL] + list(args), timeout=timeout)


class Scratch:
    """A folder C:\\e2e\\<name> of the prefix holding a copy of the program and its files."""

    def __init__(self, name):
        self.win = "C:\\e2e\\" + name
        self.unix = unix_path(self.win)
        shutil.rmtree(self.unix, ignore_errors=True)
        os.makedirs(self.unix)
        shutil.copy(EXE, self.unix)
        for f in os.listdir(os.path.join(ROOT, "dist")):
            shutil.copy(os.path.join(ROOT, "dist", f), self.unix)
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
        out = {}
        for dirpath, _, files in os.walk(self.unix):
            for f in files:
                p = os.path.join(dirpath, f)
                st = os.stat(p)
                out[os.path.relpath(p, self.unix)] = (st.st_size, st.st_mtime_ns)
        return out

    def start(self, *args):
        """Starts the program; its streams go nowhere, so nothing waits on them."""
        return subprocess.Popen(["wine", self.exe] + list(args), stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def run(self, *args, timeout=120):
        p = self.start(*args)
        return p.wait(timeout=timeout)


def wait_for(condition, timeout=20.0, step=0.1):
    end = time.time() + timeout
    while time.time() < end:
        if condition():
            return True
        time.sleep(step)
    return condition()


class Checks:
    """Counts checks and ends the script with the usual closing line."""

    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, ok, what):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print("FAILED:", what, flush=True)
        return ok

    def finish(self):
        print(f"{self.passed} passed, {self.failed} failed")
        sys.exit(1 if self.failed else 0)
