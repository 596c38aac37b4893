"""The hidden mode with the unnecessary-files and empty-files scans on a drive of its own: the
prefix's drive Q: names a scratch folder, srch.txt names Q: alone, and Protect1=1 enables the
empty-files box. The finds are deleted without review, hidden and read-only files skipped as
the search options say; a link on the drive is not followed, and nothing outside the drive is
touched. The scans' choices one by one are tried in-process (tests/services/scanner_test.cpp,
tests/cleaner/system/files_system_test.cpp)."""

import os

from e2e_categories import run_hidden
from e2elib import Checks, Scratch, scratch_drive, wine

t = Checks()
app = Scratch("hidden_drive_scans")
drive = app.path("drive")
os.makedirs(drive)

# Below the drive: the bytes, the attributes, and whether the run deletes the file.
LAYOUT = {
    "junk.tmp": (b"abc", "", True),
    "sub/~draft.doc": (b"draft", "", True),
    "sub/deep/empty.dat": (b"", "", True),
    "empty.txt": (b"", "", True),
    "hidden.tmp": (b"h", "+h", False),
    "readonly.tmp": (b"r", "+r", False),
    "sub/hiddenempty": (b"", "+h", False),
    "notes.txt": (b"keep", "", False),
    "sub/report.log": (b"keep", "", False),  # a pattern that is switched off
    "pagefile.sys": (b"", "", False),        # an ignored file name
}
OUTSIDE = ["outside/junk.tmp", "outside/empty.txt", "beside.tmp"]

with scratch_drive("Q", drive) as made:
    if not t.check(made is not None, "drive Q: of the prefix is free"):
        t.finish()
    for rel in OUTSIDE:
        app.write(rel, b"" if "empty" in rel else b"outside")
    os.symlink(app.path("outside"), os.path.join(drive, "link"))
    for rel, (data, attrib, _) in LAYOUT.items():
        app.write("drive/" + rel, data)
        if attrib:
            wine(["attrib", attrib, "Q:\\" + rel.replace("/", "\\")])
    outside_before = {rel: os.stat(app.path(rel)).st_mtime_ns for rel in OUTSIDE}
    app.write("settings.ini", "[General]\r\nProtect1=1\r\n")
    app.write("srch.txt", " Q: Hard drive\r\n0 0\r\n0 1/1/2000 1/1/2000\r\n"
              "0 False False False 1000\r\n1 1 1\r\n")

    code = run_hidden(app, ["chkUnNecessaryFiles", "chkEmptyFiles"], timeout=60)
    t.check(code == 0, f"the program ended by itself (exit {code})")
    for rel, (_, _, deleted) in LAYOUT.items():
        t.check(os.path.exists(os.path.join(drive, rel)) != deleted,
                f"{rel} {'deleted' if deleted else 'kept'}")
    for rel in OUTSIDE:
        t.check(os.path.exists(app.path(rel)) and
                os.stat(app.path(rel)).st_mtime_ns == outside_before[rel],
                f"{rel} outside the drive untouched")
    t.check(os.path.islink(os.path.join(drive, "link")), "the link stays")
    t.check("LastCleaned=" in app.read("settings.ini").decode("latin-1"),
            "last-cleaned date written")
t.finish()
