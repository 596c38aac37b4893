"""The hidden mode with the user-defined folders and files categories: exactly the files that
UDFO.txt and UDFI.txt select, less those that IE.txt (extensions) and UDIFO.txt (folders)
keep, are deleted; the folders stay."""

import os

from e2e_categories import run_hidden
from e2elib import Checks, Scratch

t = Checks()
app = Scratch("hidden_user_lists")
d = app.win + "\\data\\"

# Below data/: True for the files the run must delete.
LAYOUT = {
    "f1/a.txt": True,
    "f1/sub/b.txt": True,
    "f1/sub/c.dll": False,         # ignored extension
    "f1/skip/d.txt": False,        # ignored folder
    "f1/sub/skip/deeper/x.txt": False,
    "f2/e.txt": True,
    "f2/\u00e9t\u00e9/n.txt": True,  # a folder name outside ASCII
    "f3/z.txt": True,
    "single/g.txt": True,
    "single/h.dll": False,         # named, but of an ignored extension
    "single/skip/i.txt": False,    # named, but in an ignored folder
    "single/k.txt": False,         # not named
    "untouched/j.txt": False,
}
for rel in LAYOUT:
    app.write("data/" + rel, "x" * 10)

app.write("UDFO.txt", "\r\n".join([
    d + "f1\\",
    d + "f2",                   # without the final backslash
    "   " + d + "f3\\   ",       # blanks around
    "",
    d + "missing\\",
    "relative\\folder\\",
]) + "\r\n")
app.write("UDFI.txt", "\r\n".join([
    d + "single\\g.txt",
    d + "single\\h.dll",
    d + "single\\skip\\i.txt",
    d + "single\\missing.txt",
    "k.txt",
]) + "\r\n")
app.write("IE.txt", "dll\r\n")
app.write("UDIFO.txt", "\\skip\\\r\n")

code = run_hidden(app, ["chkUserDefinedFolders", "chkUserDefinedFiles"], timeout=60)
t.check(code == 0, f"the program ended by itself (exit {code})")
for rel, deleted in LAYOUT.items():
    there = os.path.exists(app.path("data", *rel.split("/")))
    t.check(there != deleted, f"{rel} {'deleted' if deleted else 'kept'}")
for folder in ["f1/sub", "f1/skip", "f2/\u00e9t\u00e9", "f3", "single/skip"]:
    t.check(os.path.isdir(app.path("data", *folder.split("/"))), f"folder {folder} stays")
t.check("LastCleaned=" in app.read("settings.ini").decode("latin-1"), "last-cleaned date written")
t.finish()
