"""Shared pieces of the category end-to-end tests: the check-state file, the registry as
`wine reg` shows it, and the hidden run."""

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


def reg_key(key):
    """The values (name -> data) and the subkey names of a key; None when it is missing."""
    r = wine(["reg", "query", key])
    values, subkeys, prefix = {}, set(), key.rstrip("\\").lower() + "\\"
    for line in r.stdout.splitlines():
        if line.startswith("    "):
            parts = line.strip().split("    ")
            values["" if parts[0] == "(Default)" else parts[0]] = (parts[2:] + [""])[0]
        elif line.lower().startswith(prefix):
            subkeys.add(line[len(prefix):].strip())
    return (values, subkeys) if r.returncode == 0 else None


def run_hidden(app, checked, timeout=120):
    """Checks exactly these categories and runs the program with "-h"; its exit code."""
    app.write("chkItems.txt", chk_items(*checked))
    return app.run("-h", timeout=timeout)
