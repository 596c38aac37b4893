"""A hidden run with the backup delete method on a scratch drive D:, then the backup list driven
from another process (the Backups page of review_system_tests.exe's harness, with the real
questions and message boxes): the archive's row and size; Restore under each rule, byte for byte
with the time, the question's exact text and answers; archives of Info-ZIP's zip and Python's
zipfile of every kind; hostile names refused with the error message, also in the viewer."""

import io
import os
import random
import subprocess
import time
import zipfile

from e2e_categories import run_hidden
from e2elib import (BUILD, IDS, Checks, Scratch, answer_message_box, click, double_click_row,
                    get_text, list_rows, scratch_drive, select_rows, set_check, tool, wait_gone,
                    wait_window)

PAGE, VIEWER, QUESTION = "GlenvaskTestBackupPage", IDS["kZipViewClass"], IDS["kOverwriteClass"]
LIST, CAPTION = IDS["kBackupList"], IDS["kOverwriteCaption"]
DONE, ERROR = "Files restored successfully.", "There was an error in restoring the files."
YES, NO, CANCEL = IDS["kOverwriteYes"], IDS["kOverwriteNo"], IDS["kOverwriteCancel"]

t = Checks()
app = Scratch("backup_restore")
drive, bk = app.path("drive"), app.path("bk")
os.makedirs(drive)
os.makedirs(bk)
T0 = time.mktime((2024, 3, 1, 10, 20, 31, 0, 0, -1))  # an odd second: entries keep even ones
rnd = random.Random(10)
FILES = {"a.txt": b"alpha\r\n", "b.bin": rnd.randbytes(300000), "sub/c.txt": b"",
         "sub/deeper/d \u00e9t\u00e9.txt": b"delta" * 1000}


def on_d(*parts):
    return os.path.join(drive, *"/".join(parts).split("/"))


def put(rel, data, mtime=None):
    p = on_d("data", rel)
    os.makedirs(os.path.dirname(p), exist_ok=True)
    with open(p, "wb") as f:
        f.write(data)
    if mtime is not None:
        os.utime(p, (mtime, mtime))


def read(*parts):
    p = on_d(*parts)
    return open(p, "rb").read() if os.path.isfile(p) else None


def snapshot(top):
    return sorted(os.path.relpath(os.path.join(d, f), top) for d, _, fs in os.walk(top) for f in fs)


def foreign_archives():
    """Archives of Info-ZIP's zip and of zipfile, each below a folder of its own name."""
    src = app.path("src")
    files = {"top.txt": b"top level\r\n" * 50, "dir/empty.dat": b"",
             "caf\u00e9 \u20ac/\u65e5\u672c.txt": "non-ASCII".encode(), "big/r.bin": rnd.randbytes(200000)}
    made = {}
    for name, how in [("izip", []), ("izip0", ["-0"]), ("izip64", ["-fz"]), ("izipstream", None)]:
        for rel, data in files.items():
            p = os.path.join(src, name, *rel.split("/"))
            os.makedirs(os.path.dirname(p), exist_ok=True)
            open(p, "wb").write(data)
        out = os.path.join(bk, "D_" + name + ".zip")
        if how is None:  # to a pipe: data descriptors
            with open(out, "wb") as f:
                subprocess.run(["zip", "-qr", "-", name], cwd=src, stdout=f, check=True)
        else:
            subprocess.run(["zip", "-qr"] + how + [out, name], cwd=src, check=True)
        made[name] = files
    unseekable = type("Unseekable", (io.RawIOBase,), {"writable": lambda self: True})
    for name in ["py", "pystream", "py64"]:
        with open(os.path.join(bk, "D_" + name + ".zip"), "wb") as raw:
            stream = raw
            if name == "pystream":
                stream = unseekable()
                stream.write = raw.write
            with zipfile.ZipFile(stream, "w") as z:
                z.writestr(name + "/dir/", b"")
                for i, (rel, data) in enumerate(files.items()):
                    info = zipfile.ZipInfo(name + "/" + rel, (2023, 5, 6, 7, 8, 10))
                    info.compress_type = zipfile.ZIP_STORED if i % 2 else zipfile.ZIP_DEFLATED
                    with z.open(info, "w", force_zip64=name == "py64") as e:
                        e.write(data)
        made[name] = files
    return made


def restore(archive, rule, answer=lambda caption: (NO, False)):
    """Restores the archive by the rule, answering each question by answer(caption), which
    gives (button, apply to all); returns the message shown and the questions' captions."""
    names = [cells[1] for _, cells in list_rows(PAGE, LIST) or []]
    if not t.check(archive in names, f"{archive} is listed: {names}"):
        return None, []
    select_rows(PAGE, LIST, names.index(archive))
    click(PAGE, rule)
    click(PAGE, IDS["kBackupRestore"])
    captions = []
    end = time.time() + 120
    while time.time() < end:
        caption = get_text(QUESTION, CAPTION) if tool("wait-window", QUESTION, "0").returncode == 0 else None
        if caption is not None and (not captions or caption != captions[-1]):
            captions.append(caption)
            button, all_files = answer(caption)
            set_check(QUESTION, IDS["kOverwriteAllFiles"], all_files)
            click(QUESTION, button)
            continue
        r = tool("msgbox-text", "100")
        if r.returncode == 0:
            answer_message_box("OK")
            return r.stdout.rstrip("\n"), captions
    return None, captions


for rel, data in FILES.items():
    put(rel, data, T0)
app.write("UDFO.txt", "D:\\data\\\r\n")
app.write("settings.ini", "[General]\r\nDelMethod=B\r\n[Backup]\r\nPath=" + app.win + "\\bk\r\n")

with scratch_drive("D", drive) as link:
    if not t.check(link is not None, "drive D: of the prefix is free"):
        t.finish()
    t.check(run_hidden(app, ["chkUserDefinedFolders"]) == 0, "the hidden run ends by itself")
    own = sorted(os.listdir(bk))
    t.check(len(own) == 1 and own[0].startswith("D_"), f"one archive of drive D: {own}")
    t.check(all(read("data", rel) is None for rel in FILES), "the files are gone")
    own = own[0]
    foreign = foreign_archives()
    with zipfile.ZipFile(os.path.join(bk, "D_hostile.zip"), "w") as z:
        for n in ["../up", "a/../../up2", "..\\up3", "/abs", "\\abs2", "C:/drv", "D:x",
                  "//server/share/x", "a:stream", "nul.txt", "COM1", "safe/ok.txt"]:
            z.writestr(n, b"x")
    with zipfile.ZipFile(os.path.join(bk, "D_badcrc.zip"), "w") as z:
        z.writestr("data/a.txt", b"damaged copy")
    raw = bytearray(open(os.path.join(bk, "D_badcrc.zip"), "rb").read())
    for sig, at in ((b"PK\x03\x04", 14), (b"PK\x01\x02", 16)):
        raw[raw.find(sig) + at] ^= 0xFF  # the CRC, in the header and the directory
    open(os.path.join(bk, "D_badcrc.zip"), "wb").write(raw)

    env = dict(os.environ, GLENVASK_BACKUP_HARNESS=app.win + "\\bk")
    page = subprocess.Popen(["wine", os.path.join(BUILD, "review_system_tests.exe"),
                             "--gtest_filter=BackupPageHarness.*"], env=env,
                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        t.check(wait_window(PAGE, 60), "the backup list shows")
        rows = {cells[1]: cells for _, cells in list_rows(PAGE, LIST) or []}
        t.check(rows.get(own, [None] * 3)[2] == str(os.path.getsize(os.path.join(bk, own))),
                f"the archive's size: {rows.get(own)}")

        t.check(restore(own, "Always")[0] == DONE, "Always: restored")
        for rel, data in FILES.items():
            t.check(read("data", rel) == data, f"{rel} byte for byte")
            t.check(os.path.getmtime(on_d("data", rel)) == T0 - 1, f"{rel} with its time")

        def changed(rel, mtime=None):
            put(rel, b"changed", mtime)
            return rel

        changed("a.txt")
        os.remove(on_d("data", "sub/c.txt"))
        t.check(restore(own, "Never")[0] == DONE and read("data", "a.txt") == b"changed"
                and read("data", "sub/c.txt") == b"", "Never: kept, and the missing file back")
        for mtime, replaced in ((T0 - 86400, True), (time.time(), False)):
            changed("a.txt", mtime)
            t.check(restore(own, "Newer")[0] == DONE and
                    (read("data", "a.txt") == FILES["a.txt"]) == replaced,
                    f"Newer: {'an older file replaced' if replaced else 'a newer one kept'}")

        # Prompt: Yes for the first file asked, then No for all the files left.
        for rel in FILES:
            changed(rel)
        answers = iter([(YES, False), (NO, True)])
        message, asked = restore(own, "Prompt", lambda c: next(answers, (NO, True)))
        want = "Do you want to overwrite the existing copy of D:\\data\\"
        first = asked[0][len(want):-1].replace("\\", "/") if asked else None
        t.check(message == DONE and len(asked) == 2 and all(
            c.startswith(want) and c.endswith("?") for c in asked), f"Prompt: two questions {asked}")
        t.check(first in FILES and all((read("data", rel) == FILES[rel]) == (rel == first)
                                       for rel in FILES), f"only {first} replaced")
        for rel in FILES:
            changed(rel)
        message, asked = restore(own, "Prompt", lambda c: (CANCEL, False))
        t.check(message == DONE and len(asked) == 1 and
                all(read("data", rel) == b"changed" for rel in FILES),
                f"Prompt: Cancel is no to all ({len(asked)} questions)")

        for name, files in foreign.items():
            message, _ = restore("D_" + name + ".zip", "Always")
            t.check(message == DONE and all(read(name, rel) == d for rel, d in files.items()),
                    f"{name}: restored ({message})")

        put("a.txt", b"changed")
        t.check(restore("D_badcrc.zip", "Always")[0] == ERROR and read("data", "a.txt") == b"changed",
                "a bad CRC: the error, and the old file as it was")

        before, outside = snapshot(drive), snapshot(app.unix)
        t.check(restore("D_hostile.zip", "Always")[0] == ERROR, "hostile names: the error")
        after = snapshot(drive)
        t.check(sorted(set(after) - set(before)) == [os.path.join("safe", "ok.txt")],
                f"only the safe entry is written: {sorted(set(after) - set(before))}")
        t.check(snapshot(app.unix) == sorted(outside + [os.path.join("drive", "safe", "ok.txt")]),
                "nothing outside the drive root")
        names = [cells[1] for _, cells in list_rows(PAGE, LIST)]
        double_click_row(PAGE, LIST, names.index("D_hostile.zip"))
        t.check(wait_window(VIEWER), "the viewer shows")
        t.check(get_text(VIEWER, IDS["kZipViewStatus"]) == "12 files(s)" and
                len(list_rows(VIEWER, IDS["kZipViewList"]) or []) == 12, "it lists every entry")
        tool("close", VIEWER)
        t.check(wait_gone(VIEWER) and snapshot(drive) == after, "and writes nothing")
        tool("close", PAGE)
        t.check(page.wait(timeout=30) == 0, "the page closes")
    finally:
        if page.poll() is None:
            page.kill()
t.finish()
