"""A hidden run of the temporary-files and the six Firefox categories. In the tree TEMP and TMP
name, every file but one held open by another program goes, and the emptied folders; the temp
folder and the prefix's own stay. A profile in the prefix's %APPDATA% loses its cookie, cache,
form, password, history and download files; the rest, what lies outside the profiles or behind a
link, and a cookies.txt in the program's own (current) folder stay. The last-cleaned date is
written and the check states stay. Each category is tried in-process (tests/cleaner/system/)."""

import os
import shutil
import subprocess

from e2e_categories import category_boxes, chk_items
from e2elib import Checks, Scratch, held_open, unix_path, wine

P = "Firefox/Profiles/pr\u00f3fil.default/"
# Below %APPDATA%\Mozilla: True for the files the run must delete.
PROFILE = {
    P + "cookies.txt": True, P + "history.dat": True, P + "downloads.rdf": True,
    P + "key3.s": True, P + "forms.w": True, P + "Cache/_CACHE_MAP_": True,
    P + "prefs.js": False, P + "cookies.txt.bak": False, P + "Cache2/entry": False,
    "Firefox/cookies.txt": False, "Firefox/Cache/entry": False,
}
KEPT = ["target/cookies.txt", "target/Cache/entry", "cookies.txt"]  # behind a link, beside


def prefix_folder(variable):
    """The Linux path of a folder the prefix's environment variable names."""
    return unix_path(wine(["cmd", "/c", f"echo %{variable}%"]).stdout.strip())


t = Checks()
mozilla = os.path.join(prefix_folder("APPDATA"), "Mozilla")
if os.path.lexists(mozilla):
    t.check(False, f"{mozilla} is there already; it is not ours to touch")
    t.finish()
app = Scratch("hidden_folders")
temp_win, temp = app.win + "\\tmp", app.path("tmp")
for i, f in enumerate(["a.txt", "~x.tmp", "sub/deeper/d.bin", "other/f.txt", "held/held.txt"]):
    app.write("tmp/" + f, os.urandom(100 * (i + 1)))
for d in ["empty", "sub/deeper/empty", "nest/a/b/c"]:
    os.makedirs(os.path.join(temp, d))
# A file in the prefix's own temp folder, which this run must not reach.
marker = os.path.join(prefix_folder("TEMP"), "glenvask-e2e-marker.txt")
os.makedirs(os.path.dirname(marker), exist_ok=True)
with open(marker, "w") as f:
    f.write("keep")
checks = chk_items("chkTemp", *[b for b in category_boxes() if "Mozilla" in b])
app.write("chkItems.txt", checks)

try:
    for rel in PROFILE:
        os.makedirs(os.path.dirname(os.path.join(mozilla, rel)), exist_ok=True)
        with open(os.path.join(mozilla, rel), "wb") as f:
            f.write(b"x" * 100)
    for rel in KEPT:
        app.write(rel, "keep")
    os.symlink(app.path("target"), os.path.join(mozilla, P, "linked"))
    with held_open(t, temp_win + "\\held\\held.txt"):
        # Wine takes TEMP and TMP from the prefix's registry for a process that Linux starts; a
        # Windows parent passes its own environment on. The current folder is the program's.
        run = subprocess.run(["wine", "cmd", "/c", f"set TEMP={temp_win}&& set TMP={temp_win}&& "
                              f"{app.exe} -h"], cwd=app.unix, stdin=subprocess.DEVNULL,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        t.check(run.returncode == 0, f"the program ended by itself (exit {run.returncode})")
    for rel, goes in PROFILE.items():
        t.check(os.path.exists(os.path.join(mozilla, rel)) != goes,
                f"{rel} {'deleted' if goes else 'kept'}")
    for rel in KEPT:
        t.check(os.path.exists(app.path(rel)), f"{rel} stays")
finally:
    shutil.rmtree(mozilla, ignore_errors=True)  # removes links, never what they point to
t.check(not os.path.lexists(mozilla), "the profile made here is gone")

left = sorted(os.path.relpath(os.path.join(d, n), temp).replace(os.sep, "/")
              for d, dirs, names in os.walk(temp) for n in dirs + names)
t.check(left == ["held", "held/held.txt"], f"only the held file and its folder stay: {left}")
t.check(os.path.exists(marker), "the prefix's own temp folder was not touched")
os.remove(marker)
t.check("LastCleaned=" in app.read("settings.ini").decode("latin-1"), "last-cleaned date written")
t.check(app.read("chkItems.txt").decode() == checks, "chkItems.txt is unchanged")
t.finish()
