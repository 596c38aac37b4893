"""The hidden mode with only the temporary-files category checked, TEMP and TMP naming a
prepared tree: every file goes but the one another program holds open, the emptied folders
go, the temp folder itself stays, the last-cleaned date is written, the check states stay as
they were, and the program ends by itself. The prefix's own temp folder is not touched."""

import os
import subprocess

from e2e_categories import chk_items
from e2elib import Checks, Scratch, held_open, unix_path, wine

t = Checks()
app = Scratch("hidden_temp")
temp_win = app.win + "\\tmp"
temp = app.path("tmp")

files = ["a.txt", "b.log", "~x.tmp", "sub/c.dat", "sub/deeper/d.bin", "sub/deeper/deepest/e",
         "other/f.txt", "held/held.txt"]
for i, f in enumerate(files):
    app.write("tmp/" + f, os.urandom(100 * (i + 1)))
for d in ["empty", "sub/deeper/empty", "nest/a/b/c"]:
    os.makedirs(os.path.join(temp, d))
wine(["attrib", "+r", temp_win + "\\a.txt"])
wine(["attrib", "+h", temp_win + "\\b.log"])

# A file in the prefix's own temp folder, which this run must not reach.
own_temp = wine(["cmd", "/c", "echo %TEMP%"]).stdout.strip()
marker = os.path.join(unix_path(own_temp), "glenvask-e2e-marker.txt")
os.makedirs(os.path.dirname(marker), exist_ok=True)
with open(marker, "w") as f:
    f.write("keep")

checks = chk_items("chkTemp")
app.write("chkItems.txt", checks)

with held_open(t, temp_win + "\\held\\held.txt"):
    # Wine takes TEMP and TMP from the prefix's registry for a process that Linux starts; a
    # Windows parent passes its own environment on.
    run = subprocess.run(["wine", "cmd", "/c", f"set TEMP={temp_win}&& set TMP={temp_win}&& "
                          f"{app.exe} -h"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL, timeout=60)
    t.check(run.returncode == 0, f"the program ended by itself (exit {run.returncode})")

left = []
for dirpath, dirs, names in os.walk(temp):
    for n in dirs + names:
        left.append(os.path.relpath(os.path.join(dirpath, n), temp).replace(os.sep, "/"))
t.check(sorted(left) == ["held", "held/held.txt"],
        f"only the held file and its folder stay: {left}")
t.check(os.path.isdir(temp), "the temp folder itself stays")
t.check(os.path.exists(marker), "the prefix's own temp folder was not touched")
os.remove(marker)

settings = app.read("settings.ini").decode("latin-1")
t.check("[CleanUp]" in settings and "LastCleaned=" in settings,
        f"the last-cleaned date is written: {settings!r}")
t.check(app.read("chkItems.txt").decode() == checks, "chkItems.txt is unchanged")
t.finish()
