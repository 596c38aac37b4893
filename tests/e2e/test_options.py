"""The options window driven from another process: Cancel and the close box change nothing; a
fresh Accept writes settings.ini as it must be and no list the user did not change, and a second
Accept leaves every file as it was, a stored date range included; the General page changes the
main window at once and writes the Run value; Defaults then Cancel keeps the user's file; an
extension added in the window and a cookie kept there are honoured by the next hidden run."""

import os
import shutil

from e2e_categories import category_boxes, reg_key, run_hidden, values_kept
from e2elib import (IDS, MAIN_CLASS, Checks, Scratch, click, list_rows, post_command, running,
                    select_rows, select_tab, set_check, set_text, tool, unix_path, wait_for,
                    wait_gone, wait_window)

OPT = IDS["kOptionsClass"]
RUN_KEY = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
SHELL_FOLDERS = ("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
                 "Shell Folders")
EMPTY_FILES = IDS["kCategoryBase"] + category_boxes().index("chkEmptyFiles")

t = Checks()
app = Scratch("options")
app.write("data/f1/a.txt", "a")
app.write("data/f1/b.qqq", "b")
app.write("UDFO.txt", app.win + "\\data\\f1\\\r\n")

# The prefix's Cookies folder holds two cookie files for the test; what it held comes back.
cookies = unix_path(reg_key(SHELL_FOLDERS)[0]["Cookies"].rstrip("\\"))
saved = os.path.join(os.path.dirname(app.unix), "options-cookies-saved")
shutil.rmtree(saved, ignore_errors=True)
os.makedirs(cookies, exist_ok=True)
shutil.copytree(cookies, saved)
for name in os.listdir(cookies):
    p = os.path.join(cookies, name)
    shutil.rmtree(p) if os.path.isdir(p) else os.remove(p)
for name in ("user@kept.example.txt", "user@gone.example.txt"):
    with open(os.path.join(cookies, name), "w") as f:
        f.write("c=1\n")


def run_value():
    return reg_key(RUN_KEY)[0].get("Glenvask")


def contents():
    return {name: app.read(name) for name in sorted(os.listdir(app.unix))
            if os.path.isfile(app.path(name))}


def options(*steps, button="kOptionsAccept"):
    """Opens the options window, acts in it, then presses the button (None: the close box)."""
    options.count = getattr(options, "count", 0) + 1
    t.check(post_command(MAIN_CLASS, IDS["kCmdOptions"]) and wait_window(OPT),
            f"options open ({options.count})")
    for step in steps:
        step()
    if button:
        click(OPT, IDS[button])
    else:
        tool("close", OPT)
    t.check(wait_gone(OPT), f"options closed by {button} ({options.count})")


wine_run_before = run_value()
with values_kept(RUN_KEY, "Glenvask"):
    with running(app, t):
        t.check(not set_check(MAIN_CLASS, EMPTY_FILES), "the empty-files box starts disabled")
        before = app.snapshot()
        options(button="kOptionsCancel")
        options(button=None)
        t.check(app.snapshot() == before and run_value() == wine_run_before,
                "Cancel and the close box change no file and no Run value")

        udfo = app.read("UDFO.txt")
        options()
        files = contents()
        t.check(files.get("settings.ini") == (
            "[Backup]\r\nPath=" + app.win + "\\Backup\\\r\nMethod=Always\r\n[General]\r\n"
            "StartupClean=0\r\nAutoClean=0\r\nHM=1\r\nDuration=1\r\nDelMethod=D\r\nExtraS=0\r\n"
            "Rename=0\r\nProtect1=0\r\nProtect2=0\r\nTipBox=1\r\n").encode(),
            f"a fresh Accept's settings.ini: {files.get('settings.ini')!r}")
        changed = sorted(n for n, v in app.snapshot().items() if before.get(n) != v)
        t.check(changed == ["settings.ini"] and files["UDFO.txt"] == udfo,
                f"a fresh Accept makes or rewrites no list the user did not change: {changed}")

        app.write("srch.txt", " C: Hard drive\r\n0 0\r\n1 1/2/2020 3/4/2021\r\n"
                  "0 False True False 1000\r\n0 0 0\r\n")
        before = app.snapshot()
        options(*[lambda page=page: select_tab(OPT, IDS["kOptionsTabs"], page)
                  for page in range(9)])
        t.check(app.snapshot() == before, "a second Accept, every page shown, leaves every file, "
                "the stored date range too")

        options(lambda: set_check(OPT, IDS["kOptProtectEmpty"]),
                lambda: set_check(OPT, IDS["kOptStartWithWindows"]))
        t.check(set_check(MAIN_CLASS, EMPTY_FILES) and set_check(MAIN_CLASS, EMPTY_FILES, False),
                "the empty-files box is enabled at once")
        t.check(run_value() == f'"{app.win}\\glenvask.exe" -S', f"the Run value: {run_value()!r}")

        ie = b"bak\r\n"  # the user's own list
        app.write("IE.txt", ie)
        options(lambda: select_tab(OPT, IDS["kOptionsTabs"], 3),
                lambda: click(OPT, IDS["kOptIgnoreExtensionDefaults"]),
                lambda: set_text(OPT, IDS["kOptIgnoreExtensionText"], "*.zzz"),
                lambda: click(OPT, IDS["kOptIgnoreExtensionAdd"]), button="kOptionsCancel")
        t.check(app.read("IE.txt") == ie, "Defaults then Cancel keeps the user's IE.txt")

        def keep_cookie():
            select_tab(OPT, IDS["kOptionsTabs"], 7)
            rows = list_rows(OPT, IDS["kOptCurrentCookies"]) or []
            names = [cells[0] for _, cells in rows]
            t.check(sorted(names) == ["user@gone.example.txt", "user@kept.example.txt"],
                    f"the current cookies: {names}")
            if "user@kept.example.txt" in names:
                select_rows(OPT, IDS["kOptCurrentCookies"], names.index("user@kept.example.txt"))
                click(OPT, IDS["kOptCookieAdd"])
                t.check(wait_for(lambda: len(list_rows(OPT, IDS["kOptKeepCookies"]) or []) == 1),
                        "the cookie is kept")

        options(lambda: select_tab(OPT, IDS["kOptionsTabs"], 3),
                lambda: set_text(OPT, IDS["kOptIgnoreExtensionText"], "qqq"),
                lambda: click(OPT, IDS["kOptIgnoreExtensionAdd"]),
                lambda: set_check(OPT, IDS["kOptStartWithWindows"], False), keep_cookie)
        t.check(run_value() is None, "clearing Start with Windows deletes the Run value")

code = run_hidden(app, ["chkUserDefinedFolders", "chkCookies"])
t.check(code == 0, f"the hidden run ended by itself (exit {code})")
t.check(not os.path.exists(app.path("data", "f1", "a.txt")), "a.txt is cleaned")
t.check(os.path.exists(app.path("data", "f1", "b.qqq")),
        "the extension added in the window is kept")
t.check(os.path.exists(os.path.join(cookies, "user@kept.example.txt")), "the kept cookie stays")
t.check(not os.path.exists(os.path.join(cookies, "user@gone.example.txt")), "the other goes")

shutil.rmtree(cookies)
shutil.copytree(saved, cookies)
shutil.rmtree(saved)
t.finish()
