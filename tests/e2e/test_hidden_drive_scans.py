"""The hidden mode with the unnecessary-files and empty-files scans on a drive of its own: the
prefix's drive Q: names a scratch folder, srch.txt names Q: alone, and Protect1=1 enables the
empty-files box. The finds are deleted without review; hidden and read-only files are skipped
when the search options say so and taken when they do not; a link on the drive is not
followed, and nothing outside the drive is touched."""

import os

from e2e_categories import run_hidden
from e2elib import PREFIX, Checks, Scratch, scratch_drive, wine

t = Checks()
app = Scratch("hidden_drive_scans")
drive = app.path("drive")
os.makedirs(drive)
link = os.path.join(PREFIX, "dosdevices", "q:")

# Below the drive: how the file is made, and whether each of the two runs deletes it.
#   (bytes, attributes, deleted when hidden and read-only files are skipped, deleted otherwise)
LAYOUT = {
    "junk.tmp": (b"abc", "", True, True),
    "sub/~draft.doc": (b"draft", "", True, True),
    "sub/deep/scan.chk": (b"c" * 5000, "", True, True),
    "sub/deep/empty.dat": (b"", "", True, True),
    "empty.txt": (b"", "", True, True),
    "hidden.tmp": (b"h", "+h", False, True),
    "readonly.tmp": (b"r", "+r", False, True),
    "sub/hiddenempty": (b"", "+h", False, True),
    "notes.txt": (b"keep", "", False, False),
    "sub/data.bin": (b"keep", "", False, False),
    "sub/report.log": (b"keep", "", False, False),  # a pattern that is switched off
    "pagefile.sys": (b"", "", False, False),        # an ignored file name
}
OUTSIDE = ["outside/junk.tmp", "outside/empty.txt", "beside.tmp"]


def prepare():
    for rel, (data, attrib, _, _) in LAYOUT.items():
        p = os.path.join(drive, *rel.split("/"))
        if os.path.exists(p):
            continue
        os.makedirs(os.path.dirname(p), exist_ok=True)
        with open(p, "wb") as f:
            f.write(data)
        if attrib:
            wine(["attrib", attrib, "Q:\\" + rel.replace("/", "\\")])
    for rel in OUTSIDE:
        if not os.path.exists(app.path(rel)):
            app.write(rel, b"" if "empty" in rel else b"outside")


def search_options(skip_read_only, skip_hidden):
    flags = f"{int(skip_read_only)} {int(skip_hidden)} 1"
    app.write("srch.txt", " Q: Hard drive\r\n0 0\r\n0 1/1/2000 1/1/2000\r\n"
              f"0 False False False 1000\r\n{flags}\r\n")


with scratch_drive("Q", drive) as made:
    if not made:
        t.check(False, "drive Q: of the prefix is in use already")
        t.finish()
    os.symlink(app.path("outside"), os.path.join(drive, "link"))
    app.write("settings.ini", "[General]\r\nProtect1=1\r\n")
    prepare()
    outside_before = {rel: os.stat(app.path(rel)).st_mtime_ns for rel in OUTSIDE}

    for run, (skip_ro, skip_hidden) in enumerate([(True, True), (False, False)]):
        search_options(skip_ro, skip_hidden)
        code = run_hidden(app, ["chkUnNecessaryFiles", "chkEmptyFiles"], timeout=60)
        t.check(code == 0, f"run {run + 1}: the program ended by itself (exit {code})")
        for rel, (_, _, first, second) in LAYOUT.items():
            deleted = first if run == 0 else first or second
            there = os.path.exists(os.path.join(drive, *rel.split("/")))
            t.check(there != deleted, f"run {run + 1}: {rel} {'deleted' if deleted else 'kept'}")
        for rel in OUTSIDE:
            t.check(os.path.exists(app.path(rel)) and
                    os.stat(app.path(rel)).st_mtime_ns == outside_before[rel],
                    f"run {run + 1}: {rel} outside the drive untouched")
        t.check(os.path.islink(os.path.join(drive, "link")), f"run {run + 1}: the link stays")
        t.check("LastCleaned=" in app.read("settings.ini").decode("latin-1"),
                f"run {run + 1}: last-cleaned date written")
t.check(not os.path.lexists(link), "drive Q: removed again")
t.finish()
