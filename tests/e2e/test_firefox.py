"""The hidden mode with the six Firefox categories checked, on profiles made in the prefix's
%APPDATA%: exactly the profiles' cookie, cache, form, password, history and download files go;
a cookies.txt outside the profiles folder (beside the program, beside the profiles folder,
behind a link inside a profile) stays."""

import os
import shutil
import subprocess

from e2elib import Checks, Scratch, unix_path, wine

CATEGORIES = [
    "chkRecycleBin", "chkUserDefinedFolders", "chkActiveSetup", "chkIndexer", "chkRunMRU",
    "chkUserDefinedFiles", "chkUnNecessaryFiles", "chkEmptyFiles", "chkDeadShortcut",
    "chkRecentDocument", "chkPrinter", "chkDump", "chkHistory", "chkCache", "chkCookies",
    "chkURLHistory", "chkActiveX", "chkOffline", "chkClipBoard", "chkOffice", "chkPlugins",
    "chkTemp", "chkFindHistory", "chkInstallFrom", "chkCleanMozillaDownloads",
    "chkCleanMozillaCache", "chkCleanMozillaPasswords", "chkCleanMozillaForms",
    "chkCleanMozillaCookies", "chkCleanMozillaHistory",
]
assert len(CATEGORIES) == 30

P1 = "Firefox/Profiles/a1b2.default/"
P2 = "Firefox/Profiles/pr\u00f3fil.work/"
# Below %APPDATA%\Mozilla: True for the files the run must delete.
LAYOUT = {
    P1 + "cookies.txt": True,
    P1 + "cookperm.txt": True,
    P1 + "history.dat": True,
    P1 + "downloads.rdf": True,
    P1 + "key3.s": True,
    P1 + "signons.txt": True,
    P1 + "ac-weights.txt": True,
    P1 + "forms.w": True,
    P1 + "formhistory.dat": True,
    P1 + "Cache/_CACHE_MAP_": True,
    P1 + "Cache/0A1B2C3D": True,
    P1 + "Cache/deeper/Cache/entry": True,
    P1 + "chrome/history.dat": True,
    P1 + "prefs.js": False,
    P1 + "places.sqlite": False,
    P1 + "cookies.txt.bak": False,
    P1 + "Cache/deeper/entry": False,
    P1 + "Cache2/entry": False,
    P2 + "cookies.txt": True,
    P2 + "signons.txt": True,
    P2 + "cache/lower": False,
    P2 + "bookmarks.html": False,
    "Firefox/cookies.txt": False,
    "Firefox/history.dat": False,
    "Firefox/Cache/entry": False,
    "cookies.txt": False,
}

t = Checks()
appdata = wine(["cmd", "/c", "echo %APPDATA%"]).stdout.strip()
t.check(len(appdata) > 3 and appdata[1:3] == ":\\", f"the prefix's application data: {appdata!r}")
mozilla = os.path.join(unix_path(appdata), "Mozilla")
if os.path.lexists(mozilla):
    t.check(False, f"{mozilla} is there already; it is not ours to touch")
    t.finish()

app = Scratch("firefox")
outside = app.path("outside")
try:
    for i, (rel, _) in enumerate(sorted(LAYOUT.items())):
        p = os.path.join(mozilla, *rel.split("/"))
        os.makedirs(os.path.dirname(p), exist_ok=True)
        with open(p, "wb") as f:
            f.write(b"x" * (100 + i))
    # A link inside a profile to a folder outside it, and a link named Cache.
    for rel in ["target/cookies.txt", "target/history.dat", "target/Cache/entry",
                "cachetarget/entry"]:
        app.write(os.path.join("outside", *rel.split("/")), "keep")
    os.symlink(os.path.join(outside, "target"), os.path.join(mozilla, *P1.split("/"), "linked"))
    os.makedirs(os.path.join(mozilla, *P2.split("/"), "y"))
    os.symlink(os.path.join(outside, "cachetarget"),
               os.path.join(mozilla, *P2.split("/"), "y", "Cache"))
    # The canary beside the program, which is also its current folder.
    app.write("cookies.txt", "keep")
    app.write("history.dat", "keep")
    app.write("chkItems.txt", ",".join("1" if c.startswith("chkCleanMozilla") else "0"
                                       for c in CATEGORIES) + "\r\n")

    p = subprocess.Popen(["wine", app.exe, "-h"], cwd=app.unix, stdin=subprocess.DEVNULL,
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        code = p.wait(timeout=120)
    except subprocess.TimeoutExpired:
        p.kill()
        code = None
    t.check(code == 0, f"the hidden run ended by itself (exit {code})")

    for rel, goes in sorted(LAYOUT.items()):
        there = os.path.exists(os.path.join(mozilla, *rel.split("/")))
        t.check(there != goes, f"{rel} {'deleted' if goes else 'kept'}")
    for rel in ["target/cookies.txt", "target/history.dat", "target/Cache/entry",
                "cachetarget/entry"]:
        t.check(os.path.exists(os.path.join(outside, *rel.split("/"))), f"behind a link: {rel}")
    t.check(os.path.islink(os.path.join(mozilla, *P1.split("/"), "linked")), "the link stays")
    t.check(os.path.exists(app.path("cookies.txt")), "canary cookies.txt beside the program")
    t.check(os.path.exists(app.path("history.dat")), "history.dat beside the program")
    t.check(os.path.exists(app.path("chkItems.txt")), "the check states are kept")
finally:
    # rmtree removes links, never what they point to.
    shutil.rmtree(mozilla, ignore_errors=True)
    shutil.rmtree(app.unix, ignore_errors=True)
t.check(not os.path.lexists(mozilla), "the profiles made here are gone")
t.finish()
