"""A hidden run with the backup delete method over C: and a scratch drive D: (an archive for
each, which Info-ZIP's `unzip -t` and Python's zipfile read), then the Backups page of the
program's options window driven from another process: the archive's row and size; Restore byte
for byte with the time, the real question's text and answers; archives of Info-ZIP's zip and
zipfile of every kind; hostile names refused with the error message, and listed by the viewer."""

import io
import os
import random
import shutil
import subprocess
import time
import zipfile

from e2e_categories import run_hidden
from e2elib import (IDS, MAIN_CLASS, Checks, Scratch, answer_message_box, click,
                    double_click_row, get_text, list_rows, post_command, scratch_drive,
                    select_rows, select_tab, set_check, tool, wait_gone, wait_window)

PAGE, VIEWER, QUESTION = IDS["kOptionsClass"], IDS["kZipViewClass"], IDS["kOverwriteClass"]
LIST, YES, NO = IDS["kBackupList"], IDS["kOverwriteYes"], IDS["kOverwriteNo"]
DONE, ERROR = "Files restored successfully.", "There was an error in restoring the files."
ASK = "Do you want to overwrite the existing copy of D:\\data\\"

t = Checks()
app = Scratch("backup_restore")
drive, bk, src = app.path("drive"), app.path("bk"), app.path("src", "f")
T0 = time.mktime((2024, 3, 1, 10, 20, 31, 0, 0, -1))  # an odd second: entries keep even ones
FILES = {"a.txt": b"alpha\r\n", "b.bin": random.Random(10).randbytes(300000), "sub/c.txt": b"",
         "sub/deeper/d \u00e9t\u00e9.txt": b"delta" * 1000}


def put(top, rel, data, mtime=None):
    p = os.path.join(top, *rel.split("/"))
    os.makedirs(os.path.dirname(p), exist_ok=True)
    open(p, "wb").write(data)
    if mtime is not None:
        os.utime(p, (mtime, mtime))


def read(rel, top="data"):
    p = os.path.join(drive, top, *rel.split("/"))
    return open(p, "rb").read() if os.path.isfile(p) else None


def foreign_archives():
    """Archives of the folder "f" by Info-ZIP's zip (to a pipe: with data descriptors; and cut
    before its directory) and by zipfile (to a stream that cannot seek: the same), stored and
    deflated, ZIP64 or not."""
    for rel, data in FILES.items():
        put(src, rel, data)
    for name, options in [("izip", []), ("izip0", ["-0"]), ("izip64", ["-fz"]), ("izippipe", None)]:
        out = os.path.join(bk, "D_" + name + ".zip")
        with open(out if options is None else os.devnull, "wb") as f:
            subprocess.run(["zip", "-qr"] + (options or []) + ["-" if options is None else out, "f"],
                           cwd=os.path.dirname(src), stdout=f, check=True)
    with open(os.path.join(bk, "D_izippipe.zip"), "rb") as f:
        data = f.read()  # the same without its central directory
    with open(os.path.join(bk, "D_izipcut.zip"), "wb") as f:
        f.write(data[:int.from_bytes(data[-6:-2], "little")])
    for name in ["py", "pypipe", "py64"]:
        with open(os.path.join(bk, "D_" + name + ".zip"), "wb") as raw:
            stream = type("Unseekable", (io.RawIOBase,), {"writable": lambda self: True,
                                                           "write": lambda self, b: raw.write(b)})()
            with zipfile.ZipFile(stream if name == "pypipe" else raw, "w") as z:
                z.writestr("f/sub/", b"")
                for i, (rel, data) in enumerate(FILES.items()):
                    info = zipfile.ZipInfo("f/" + rel, (2023, 5, 6, 7, 8, 10))
                    info.compress_type = zipfile.ZIP_STORED if i % 2 else zipfile.ZIP_DEFLATED
                    with z.open(info, "w", force_zip64=name == "py64") as e:
                        e.write(data)
    return ["izip", "izip0", "izip64", "izippipe", "izipcut", "py", "pypipe", "py64"]


def restore(archive, rule, answers=()):
    """Restores the archive by the rule, answering the questions in turn with (button, apply to
    all), No after them; returns the message shown and the questions asked."""
    names = [cells[1] for _, cells in list_rows(PAGE, LIST) or []]
    if not t.check(archive in names, f"{archive} is listed: {names}"):
        return None, []
    select_rows(PAGE, LIST, names.index(archive))
    click(PAGE, rule)
    click(PAGE, IDS["kBackupRestore"])
    asked, answers, end = [], list(answers), time.time() + 120
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


for rel, data in FILES.items():
    put(os.path.join(drive, "data"), rel, data, T0)
app.write("cdata/on c.txt", "on drive C:")
os.makedirs(bk)
app.write("UDFO.txt", "D:\\data\\\r\n" + app.win + "\\cdata\\\r\n")
app.write("settings.ini", "[General]\r\nDelMethod=B\r\n[Backup]\r\nPath=" + app.win + "\\bk\r\n")
ENTRIES = {"C_": {app.win[3:].replace("\\", "/") + "/cdata/on c.txt"}, "D_": {"data/" + r for r in FILES}}

with scratch_drive("D", drive) as link:
    if not t.check(link is not None, "drive D: of the prefix is free"):
        t.finish()
    t.check(run_hidden(app, ["chkUserDefinedFolders"]) == 0, "the hidden run ends by itself")
    archives = sorted(os.listdir(bk))
    t.check([a[:2] for a in archives] == ["C_", "D_"], f"one archive for each drive: {archives}")
    t.check(all(read(rel) is None for rel in FILES) and not os.path.exists(app.path("cdata", "on c.txt")),
            "the files are gone")
    for a in archives:  # other tools read them, names in UTF-8 included
        r = subprocess.run(["unzip", "-t", os.path.join(bk, a)], capture_output=True, text=True,
                           errors="replace")
        with zipfile.ZipFile(os.path.join(bk, a)) as z:
            t.check(r.returncode == 0 and z.testzip() is None and set(z.namelist()) ==
                    ENTRIES.get(a[:2]), f"{a}: unzip -t, zipfile, {z.namelist()}: {r.stdout}")
    own = archives[-1]
    foreign = foreign_archives()
    with zipfile.ZipFile(os.path.join(bk, "D_hostile.zip"), "w") as z:
        for n in ["../up", "a/../../up2", "..\\up3", "/abs", "\\abs2", "C:/drv", "D:x",
                  "//server/share/x", "a:stream", "nul.txt", "COM1", "safe/ok.txt"]:
            z.writestr(n, b"x")

    page = app.start()
    t.check(wait_window(MAIN_CLASS, 60) and post_command(MAIN_CLASS, IDS["kCmdOptions"]) and
            wait_window(PAGE) and select_tab(PAGE, IDS["kOptionsTabs"], 8), "the Backups page shows")
    try:
        rows = {cells[1]: cells[2] for _, cells in list_rows(PAGE, LIST) or []}
        t.check(rows.get(own) == str(os.path.getsize(os.path.join(bk, own))), f"its size: {rows}")
        t.check(restore(own, "Always")[0] == DONE, "Always: restored")
        for rel, data in FILES.items():
            t.check(read(rel) == data and os.path.getmtime(os.path.join(drive, "data", rel)) == T0 - 1,
                    f"{rel} byte for byte, with its time")
        for rel in FILES:
            put(os.path.join(drive, "data"), rel, b"changed")
        message, asked = restore(own, "Prompt", [(YES, False), (NO, True)])
        first = asked[0][len(ASK):-1].replace("\\", "/") if asked else None
        t.check(message == DONE and len(asked) == 2 and all(a.startswith(ASK) and a[-1] == "?"
                                                            for a in asked), f"Prompt: {asked}")
        t.check(first in FILES and all((read(rel) == FILES[rel]) == (rel == first) for rel in FILES),
                f"Yes, then No to all: only {first} replaced")
        for name in foreign:
            message, _ = restore("D_" + name + ".zip", "Always")
            t.check(message == DONE and all(read(rel, "f") == d for rel, d in FILES.items()),
                    f"{name}: restored ({message})")
            shutil.rmtree(os.path.join(drive, "f"), ignore_errors=True)

        before = app.snapshot()
        t.check(restore("D_hostile.zip", "Always")[0] == ERROR, "hostile names: the error")
        added = sorted(set(app.snapshot()) - set(before))
        t.check(added == [os.path.join("drive", "safe", "ok.txt")],
                f"only the safe entry is written, nothing outside the drive root: {added}")
        names = [cells[1] for _, cells in list_rows(PAGE, LIST)]
        double_click_row(PAGE, LIST, names.index("D_hostile.zip"))
        t.check(wait_window(VIEWER) and get_text(VIEWER, IDS["kZipViewStatus"]) == "12 files(s)" and
                len(list_rows(VIEWER, IDS["kZipViewList"]) or []) == 12, "the viewer lists them")
        tool("close", VIEWER)
        tool("close", PAGE)
        t.check(wait_gone(VIEWER) and wait_gone(PAGE) and post_command(MAIN_CLASS, IDS["kCmdExit"])
                and page.wait(timeout=30) == 0, "the viewer, the options and the program close")
    finally:
        if page.poll() is None:
            page.kill()
t.finish()
