"""Shared pieces of the end-to-end tests: the check-state file, the registry as `wine reg` shows
it and values put back after a block, and the hidden run."""

import contextlib
import os
import re

from e2elib import ROOT, wine


def category_boxes():
    """The check boxes in the order of chkItems.txt, as the program declares them."""
    with open(os.path.join(ROOT, "src", "cleaner", "categories.h"), encoding="utf-8") as f:
        return re.findall(r'^\s*\{"(chk\w+)"', f.read().split("kCategories{{")[1], re.M)


def chk_items(*checked):
    boxes = category_boxes()
    assert len(boxes) == 30 and set(checked) <= set(boxes), (boxes, checked)
    return ",".join("1" if b in checked else "0" for b in boxes) + "\r\n"


def reg_import(app, lines):
    """Imports registry data given as the lines of a .reg file (after its header)."""
    app.write("import.reg", "Windows Registry Editor Version 5.00\r\n\r\n" + "\r\n".join(lines)
              + "\r\n")
    r = wine(["regedit", "/s", app.win + "\\import.reg"])
    assert r.returncode == 0, r.stderr


def reg_delete(key):
    wine(["reg", "delete", key, "/f"])


def _value(line):
    """The name, type and data of a value line of `reg query`; None for another line."""
    if not line.startswith("    "):
        return None
    name, kind, data = (line.strip().split("    ") + ["", ""])[:3]
    return ("" if name == "(Default)" else name), kind, data


def reg_key(key):
    """The values (name -> data) and the subkey names of a key; None when it is missing."""
    r = wine(["reg", "query", key])
    values, subkeys, prefix = {}, set(), key.rstrip("\\").lower() + "\\"
    for line in r.stdout.splitlines():
        if value := _value(line):
            values[value[0]] = value[2]
        elif line.lower().startswith(prefix):
            subkeys.add(line[len(prefix):].strip())
    return (values, subkeys) if r.returncode == 0 else None


def reg_value(key, name):
    """The type and data of a value, or None when it is missing."""
    r = wine(["reg", "query", key, "/v", name])
    values = [v for v in map(_value, r.stdout.splitlines()) if v] if r.returncode == 0 else []
    return values[0][1:] if values else None


@contextlib.contextmanager
def values_kept(key, *names):
    """The named values of the key as they are now, type and data, come back after the block;
    those missing now are deleted again."""
    saved = {name: reg_value(key, name) for name in names}
    try:
        yield
    finally:
        for name, old in saved.items():
            wine(["reg", "add", key, "/v", name, "/t", old[0], "/d", old[1], "/f"] if old else
                 ["reg", "delete", key, "/v", name, "/f"])


EXPLORER = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
SHELL_FOLDERS = [(EXPLORER + "Shell Folders", "REG_SZ"),
                 (EXPLORER + "User Shell Folders", "REG_EXPAND_SZ")]


@contextlib.contextmanager
def favorites_folder(folder):
    """The user's Favorites folder, in both shell-folder keys, is the folder while the block
    runs; then both values are as they were."""
    with contextlib.ExitStack() as kept:
        for key, kind in SHELL_FOLDERS:
            kept.enter_context(values_kept(key, "Favorites"))
            wine(["reg", "add", key, "/v", "Favorites", "/t", kind, "/d", folder, "/f"],
                 check=True)
        yield


def run_hidden(app, checked, timeout=120):
    """Checks exactly these categories and runs the program with "-h"; its exit code."""
    app.write("chkItems.txt", chk_items(*checked))
    return app.run("-h", timeout=timeout)
