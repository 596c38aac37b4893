"""A hidden run with the backup delete method (DelMethod=B, [Backup] Path) and the user-defined
folders and files categories: every file the lists select, less those IE.txt (extensions) and
UDIFO.txt (folders) keep, is deleted and is in the run's archive, byte for byte, under its path
below the drive root; the archive passes Info-ZIP's `unzip -t`; a file held open by another
program stays."""

import os
import subprocess
import zipfile

from e2e_categories import run_hidden
from e2elib import Checks, Scratch, held_open

t = Checks()
app = Scratch("hidden_backup")
d = app.win + "\\data\\"

sizes = {"f/a.bin": 0, "f/b.bin": 1, "f/c.txt": 4096, "f/sub/d.bin": 300_000,
         "f/sub/deeper/e.bin": 2_500_000, "f/\u00e9t\u00e9/\u00fcnicode \u00e9t\u00e9.txt": 77,
         "f/held.bin": 1000, "one/g.dat": 12345,
         # an ignored extension, in an ignored folder; named, but of an ignored extension
         "f/lib.dll": 10, "f/skip/s.txt": 10, "one/h.dll": 10}
KEPT = {"f/held.bin", "f/lib.dll", "f/skip/s.txt", "one/h.dll"}
contents = {}
for rel, n in sizes.items():
    data = os.urandom(n) if rel.endswith(".bin") else (b"text line\r\n" * (n // 11 + 1))[:n]
    contents[rel] = data
    app.write("data/" + rel, data)
app.write("keep/untouched.txt", "keep")

app.write("UDFO.txt", "  " + d + "f  \r\n\r\n" + d + "missing\\\r\n")
app.write("UDFI.txt", d + "one\\g.dat\r\n" + d + "one\\h.dll\r\n")
app.write("IE.txt", "dll\r\n")
app.write("UDIFO.txt", "\\skip\\\r\n")
app.write("settings.ini", "[General]\r\nDelMethod=B\r\n[Backup]\r\nPath=" + app.win + "\\bk\r\n")
os.makedirs(app.path("bk"))

with held_open(t, d + "f\\held.bin"):
    code = run_hidden(app, ["chkUserDefinedFolders", "chkUserDefinedFiles"], timeout=60)
    t.check(code == 0, f"the program ended by itself (exit {code})")

archives = sorted(os.listdir(app.path("bk")))
t.check(len(archives) == 1 and archives[0].startswith("C_") and archives[0].endswith(".zip"),
        f"one archive of drive C: {archives}")
entries = {}
for name in archives:
    path = app.path("bk", name)
    r = subprocess.run(["unzip", "-t", path], capture_output=True, text=True, errors="replace")
    t.check(r.returncode == 0 and "No errors detected" in r.stdout, f"unzip -t {name}: {r.stdout}")
    with zipfile.ZipFile(path) as z:
        for info in z.infolist():
            entries[info.filename] = z.read(info)

below_root = app.win[3:].replace("\\", "/") + "/data/"
for rel, data in contents.items():
    kept = rel in KEPT
    t.check(os.path.exists(app.path("data", *rel.split("/"))) == kept,
            f"{rel} {'kept' if kept else 'deleted'}")
    t.check(kept or entries.get(below_root + rel) == data, f"{rel} in the archive byte for byte")
t.check(os.path.exists(app.path("keep", "untouched.txt")), "an unlisted file stays")
for folder in ["f/sub", "f/skip", "f/\u00e9t\u00e9"]:
    t.check(os.path.isdir(app.path("data", *folder.split("/"))), f"folder {folder} stays")
t.check(set(entries) - {below_root + "f/held.bin"} == {below_root + r for r in contents
                                                       if r not in KEPT},
        f"no other entry: {sorted(entries)}")
t.check("LastCleaned=" in app.read("settings.ini").decode("latin-1"), "last-cleaned date written")
t.finish()
