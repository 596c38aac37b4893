"""A hidden run with the backup delete method over C: and a scratch drive D: (an archive each,
read by `unzip -t` and zipfile), then the Backups page of the options window driven from another
process: the archive's row and size; Restore, byte for byte with times, of it and of Info-ZIP's;
the Newer rule both ways, and the Prompt rule with the real question answered Yes, then No to
all."""

import os
import random
import shutil
import subprocess
import time
import zipfile
from pathlib import Path

from e2e_categories import run_hidden
from e2elib import (IDS, MAIN_CLASS, Checks, Scratch, answer_message_box, click, get_text,
                    list_rows, post_command, running, scratch_drive, select_rows, select_tab,
                    set_check, tool, wait_gone, wait_window)

PAGE, LIST, DONE = IDS["kOptionsClass"], IDS["kBackupList"], "Files restored successfully."
QUESTION, YES, NO = IDS["kOverwriteClass"], IDS["kOverwriteYes"], IDS["kOverwriteNo"]
ASK = "Do you want to overwrite the existing copy of D:\\data\\"

t = Checks()
app = Scratch("backup_restore")
drive, bk = app.path("drive"), app.path("bk")
T0 = time.mktime((2024, 3, 1, 10, 20, 31, 0, 0, -1))  # an odd second: entries keep even ones
FILES = {"a.txt": b"alpha\r\n", "b.bin": random.Random(10).randbytes(300000), "sub/c.txt": b"",
         "sub/deeper/d \u00e9t\u00e9.txt": b"delta" * 1000}


def read(rel, top="data"):
    p = os.path.join(drive, top, *rel.split("/"))
    return open(p, "rb").read() if os.path.isfile(p) else None


def foreign_archives():
    """Archives of the folder "f" by Info-ZIP's zip: deflated, stored, ZIP64, to a pipe (with data
    descriptors), and that one cut before its directory."""
    for rel, data in FILES.items():
        app.write("src/f/" + rel, data)
    for name, options in [("izip", []), ("izip0", ["-0"]), ("izip64", ["-fz"]), ("izippipe", None)]:
        out = os.path.join(bk, "D_" + name + ".zip")
        args = ["-"] if options is None else options + [out]
        with open(out if options is None else os.devnull, "wb") as f:
            subprocess.run(["zip", "-qr"] + args + ["f"], cwd=app.path("src"), stdout=f, check=True)
    data = Path(bk, "D_izippipe.zip").read_bytes()  # the same without its central directory
    Path(bk, "D_izipcut.zip").write_bytes(data[:int.from_bytes(data[-6:-2], "little")])
    return ["izip", "izip0", "izip64", "izippipe", "izipcut"]


def restore(archive, rule="Always", answers=()):
    """Restores the archive by the rule, answering the questions in turn with (button, apply to
    all), No after them; returns the message shown and the questions asked."""
    names = [cells[1] for _, cells in list_rows(PAGE, LIST) or []]
    if not t.check(archive in names, f"{archive} is listed: {names}"):
        return None, []
    select_rows(PAGE, LIST, names.index(archive))
    click(PAGE, rule)
    click(PAGE, IDS["kBackupRestore"])
    asked, answers = [], list(answers)
    end = time.time() + 120
    while time.time() < end:
        shown = tool("wait-window", QUESTION, "0").returncode == 0
        caption = get_text(QUESTION, IDS["kOverwriteCaption"]) if shown else None
        if caption is not None and (not asked or caption != asked[-1]):
            asked.append(caption)
            button, all_files = answers.pop(0) if answers else (NO, False)
            set_check(QUESTION, IDS["kOverwriteAllFiles"], all_files)
            click(QUESTION, button)
        elif (r := tool("msgbox-text", "100")).returncode == 0:
            answer_message_box("OK")
            return r.stdout.rstrip("\n"), asked
    return None, asked


def change(*rels, mtime=None):
    for rel in rels:
        p = app.write("drive/data/" + rel, b"changed")
        if mtime is not None:
            os.utime(p, (mtime, mtime))


for rel, data in FILES.items():
    os.utime(app.write("drive/data/" + rel, data), (T0, T0))
app.write("cdata/on c.txt", "on drive C:")
os.makedirs(bk)
app.write("UDFO.txt", "D:\\data\\\r\n" + app.win + "\\cdata\\\r\n")
app.write("settings.ini", "[General]\r\nDelMethod=B\r\n[Backup]\r\nPath=" + app.win + "\\bk\r\n")
ENTRIES = {"C_": {app.win[3:].replace("\\", "/") + "/cdata/on c.txt"},
           "D_": {"data/" + r for r in FILES}}

with scratch_drive("D", drive) as link:
    if not t.check(link is not None, "drive D: of the prefix is free"):
        t.finish()
    t.check(run_hidden(app, ["chkUserDefinedFolders"]) == 0, "the hidden run ends by itself")
    archives = sorted(os.listdir(bk))
    t.check([a[:2] for a in archives] == ["C_", "D_"], f"one archive for each drive: {archives}")
    t.check(all(read(rel) is None for rel in FILES) and os.listdir(app.path("cdata")) == [],
            "the files are gone")
    for a in archives:  # other tools read them, names in UTF-8 included
        r = subprocess.run(["unzip", "-t", os.path.join(bk, a)], capture_output=True, text=True,
                           errors="replace")
        with zipfile.ZipFile(os.path.join(bk, a)) as z:
            t.check(r.returncode == 0 and z.testzip() is None and set(z.namelist()) ==
                    ENTRIES.get(a[:2]), f"{a}: unzip -t, zipfile, {z.namelist()}: {r.stdout}")
    own = archives[-1]
    foreign = foreign_archives()
    with running(app, t):
        t.check(post_command(MAIN_CLASS, IDS["kCmdOptions"]) and wait_window(PAGE) and
                select_tab(PAGE, IDS["kOptionsTabs"], 8), "the Backups page")
        rows = {cells[1]: cells[2] for _, cells in list_rows(PAGE, LIST) or []}
        t.check(rows.get(own) == str(os.path.getsize(os.path.join(bk, own))), f"its size: {rows}")
        t.check(restore(own)[0] == DONE, "Always: restored")
        t.check(all(read(rel) == data and os.path.getmtime(app.path("drive", "data", rel)) == T0 - 1
                    for rel, data in FILES.items()), "the files byte for byte, with their times")
        for mtime, replaced in ((T0 - 86400, True), (time.time(), False)):
            change("a.txt", mtime=mtime)
            t.check(restore(own, "Newer")[0] == DONE and (read("a.txt") == FILES["a.txt"]) == replaced,
                    f"Newer: {'an older file replaced' if replaced else 'a newer one kept'}")
        change(*FILES)
        message, asked = restore(own, "Prompt", [(YES, False), (NO, True)])
        first = asked[0][len(ASK):-1].replace("\\", "/") if asked else None
        t.check(message == DONE and len(asked) == 2 and all(a.startswith(ASK) and a[-1] == "?"
                                                            for a in asked), f"Prompt: {asked}")
        t.check(first in FILES and all((read(rel) == FILES[rel]) == (rel == first) for rel in FILES),
                f"Yes, then No to all: only {first} replaced")
        for name in foreign:
            message, _ = restore("D_" + name + ".zip")
            t.check(message == DONE and all(read(rel, "f") == d for rel, d in FILES.items()),
                    f"{name}: restored ({message})")
            shutil.rmtree(os.path.join(drive, "f"), ignore_errors=True)

        tool("close", PAGE)
        t.check(wait_gone(PAGE), "the options close")
t.finish()
