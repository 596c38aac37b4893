"""A hidden run with the backup delete method (DelMethod=B, [Backup] Path): every file that the
user-defined folders and files categories delete is in the run's archive, byte for byte,
under its path below the drive root; the archive passes Info-ZIP's `unzip -t`; a file held
open by another program is neither deleted nor counted as backed up in a way that loses it."""

import os
import subprocess
import zipfile

from e2e_categories import run_hidden
from e2elib import WINTOOL, Checks, Scratch

t = Checks()
app = Scratch("hidden_backup")
d = app.win + "\\data\\"

sizes = {
    "f/a.bin": 0,
    "f/b.bin": 1,
    "f/c.txt": 4096,
    "f/sub/d.bin": 300_000,
    "f/sub/deeper/e.bin": 2_500_000,
    "f/\u00fcnicode \u00e9t\u00e9.txt": 77,
    "f/held.bin": 1000,
    "one/g.dat": 12345,
}
contents = {}
for rel, n in sizes.items():
    data = os.urandom(n) if rel.endswith(".bin") else (b"text line\r\n" * (n // 11 + 1))[:n]
    contents[rel] = data
    app.write("data/" + rel, data)
app.write("keep/untouched.txt", "keep")

app.write("UDFO.txt", d + "f\\\r\n")
app.write("UDFI.txt", d + "one\\g.dat\r\n")
app.write("settings.ini", "[General]\r\nDelMethod=B\r\n[Backup]\r\nPath=" + app.win + "\\bk\r\n")
os.makedirs(app.path("bk"))

held = d + "f\\held.bin"
holder = subprocess.Popen(["wine", WINTOOL, "hold", held, "40000"], stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
try:
    t.check(holder.stdout.readline().strip() == "holding", "the test holds one file open")
    code = run_hidden(app, ["chkUserDefinedFolders", "chkUserDefinedFiles"], timeout=60)
    t.check(code == 0, f"the program ended by itself (exit {code})")
finally:
    holder.kill()
    holder.wait()

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
    gone = not os.path.exists(app.path("data", *rel.split("/")))
    entry = entries.get(below_root + rel)
    if rel == "f/held.bin":
        t.check(not gone, "the held file stays")
        continue
    t.check(gone, f"{rel} deleted")
    t.check(entry == data, f"{rel} in the archive byte for byte")
t.check(os.path.exists(app.path("keep", "untouched.txt")), "an unlisted file stays")
t.check(all(e.startswith(below_root) for e in entries), f"no other entry: {sorted(entries)}")
t.finish()
