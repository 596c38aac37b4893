"""The hidden mode with the six Firefox categories checked, on profiles made in the prefix's
%APPDATA%: the profiles' cookie, cache, form, password, history and download files go; the rest
of a profile, what lies outside the profiles folder or behind a link inside a profile, and a
cookies.txt in the program's own (current) folder stay. Each category's files are tried
in-process (tests/cleaner/system/firefox_test.cpp)."""

import os
import shutil
import subprocess

from e2e_categories import category_boxes, chk_items
from e2elib import Checks, Scratch, unix_path, wine

P1 = "Firefox/Profiles/a1b2.default/"
P2 = "Firefox/Profiles/pr\u00f3fil.work/"
# Below %APPDATA%\Mozilla: True for the files the run must delete.
LAYOUT = {
    P1 + "cookies.txt": True, P1 + "cookperm.txt": True, P1 + "history.dat": True,
    P1 + "downloads.rdf": True, P1 + "key3.s": True, P1 + "forms.w": True,
    P1 + "Cache/_CACHE_MAP_": True, P1 + "Cache/deeper/Cache/entry": True,
    P1 + "prefs.js": False, P1 + "cookies.txt.bak": False, P1 + "Cache/deeper/entry": False,
    P1 + "Cache2/entry": False, P2 + "signons.txt": True, P2 + "cache/lower": False,
    "Firefox/cookies.txt": False, "Firefox/Cache/entry": False, "cookies.txt": False,
}
BEHIND_LINKS = ["target/cookies.txt", "target/history.dat", "target/Cache/entry",
                "cachetarget/entry"]

t = Checks()
appdata = wine(["cmd", "/c", "echo %APPDATA%"]).stdout.strip()
mozilla = os.path.join(unix_path(appdata), "Mozilla")
if os.path.lexists(mozilla):
    t.check(False, f"{mozilla} is there already; it is not ours to touch")
    t.finish()

app = Scratch("firefox")
try:
    for rel in LAYOUT:
        os.makedirs(os.path.dirname(os.path.join(mozilla, rel)), exist_ok=True)
        with open(os.path.join(mozilla, rel), "wb") as f:
            f.write(b"x" * 100)
    for rel in BEHIND_LINKS:
        app.write("outside/" + rel, "keep")
    os.symlink(app.path("outside", "target"), os.path.join(mozilla, P1, "linked"))
    os.makedirs(os.path.join(mozilla, P2, "y"))
    os.symlink(app.path("outside", "cachetarget"), os.path.join(mozilla, P2, "y", "Cache"))
    app.write("cookies.txt", "keep")
    app.write("chkItems.txt", chk_items(*[b for b in category_boxes() if "Mozilla" in b]))

    code = subprocess.run(["wine", app.exe, "-h"], cwd=app.unix, stdin=subprocess.DEVNULL,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=120).returncode
    t.check(code == 0, f"the hidden run ended by itself (exit {code})")
    for rel, goes in LAYOUT.items():
        t.check(os.path.exists(os.path.join(mozilla, rel)) != goes,
                f"{rel} {'deleted' if goes else 'kept'}")
    for rel in BEHIND_LINKS:
        t.check(os.path.exists(app.path("outside", rel)), f"behind a link: {rel}")
    t.check(os.path.islink(os.path.join(mozilla, P1, "linked")), "the link stays")
    t.check(os.path.exists(app.path("cookies.txt")), "the cookies.txt beside the program stays")
finally:
    shutil.rmtree(mozilla, ignore_errors=True)  # removes links, never what they point to
    shutil.rmtree(app.unix, ignore_errors=True)
t.check(not os.path.lexists(mozilla), "the profiles made here are gone")
t.finish()
