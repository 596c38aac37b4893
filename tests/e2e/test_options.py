"""The options window driven from another process: Cancel and the close box change nothing;
Accept enables the empty-files box of the main window at once, and an extension added in the
window is written, alone of the lists, and honoured by the next hidden run."""

import os

from e2e_categories import category_boxes, run_hidden
from e2elib import (IDS, MAIN_CLASS, Checks, Scratch, click, post_command, select_tab,
                    set_check, set_text, tool, wait_gone, wait_window)

OPT = IDS["kOptionsClass"]
EMPTY_FILES = IDS["kCategoryBase"] + category_boxes().index("chkEmptyFiles")

t = Checks()
app = Scratch("options")
app.write("data/f1/a.txt", "a")
app.write("data/f1/b.qqq", "b")
app.write("UDFO.txt", app.win + "\\data\\f1\\\r\n")


def options(*steps, button="kOptionsAccept"):
    """Opens the options window, acts in it, then presses the button (None: the close box)."""
    t.check(post_command(MAIN_CLASS, IDS["kCmdOptions"]) and wait_window(OPT), "options open")
    for step in steps:
        step()
    if button:
        click(OPT, IDS[button])
    else:
        tool("close", OPT)
    t.check(wait_gone(OPT), f"options closed by {button}")


program = app.start()
try:
    t.check(wait_window(MAIN_CLASS), "the main window shows")
    t.check(not set_check(MAIN_CLASS, EMPTY_FILES), "the empty-files box starts disabled")
    before = app.snapshot()
    options(lambda: set_check(OPT, IDS["kOptProtectEmpty"]), button="kOptionsCancel")
    options(lambda: set_check(OPT, IDS["kOptProtectEmpty"]), button=None)
    t.check(app.snapshot() == before, "Cancel and the close box change no file")
    options(lambda: set_check(OPT, IDS["kOptProtectEmpty"]),
            lambda: select_tab(OPT, IDS["kOptionsTabs"], 3),
            lambda: set_text(OPT, IDS["kOptIgnoreExtensionText"], "qqq"),
            lambda: click(OPT, IDS["kOptIgnoreExtensionAdd"]))
    t.check(set_check(MAIN_CLASS, EMPTY_FILES) and set_check(MAIN_CLASS, EMPTY_FILES, False),
            "the empty-files box is enabled at once")
    t.check(app.read("IE.txt") == app.read("DefIE.txt") + b"qqq\r\n"
            and not os.path.exists(app.path("IFI.txt")), "IE.txt gains qqq, no other list is made")
    post_command(MAIN_CLASS, IDS["kCmdExit"])
    t.check(program.wait(timeout=30) == 0, "Exit ends the program")
finally:
    if program.poll() is None:
        program.kill()

code = run_hidden(app, ["chkUserDefinedFolders"])
t.check(code == 0, f"the hidden run ended by itself (exit {code})")
t.check(not os.path.exists(app.path("data", "f1", "a.txt")), "a.txt is cleaned")
t.check(os.path.exists(app.path("data", "f1", "b.qqq")),
        "the extension added in the window is kept")
t.finish()
