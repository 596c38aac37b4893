"""The plug-in manager driven from another process, opened from the main window's menu.
Process applies the highlighted plug-in through the main window's own delete path, takes
exactly what it names and reports its totals; closing the manager writes plg.txt as the rows
stand. (What reaches too far is refused: test_hidden_registry runs such plug-ins.)"""

import os

from e2elib import (IDS, MAIN_CLASS, Checks, Scratch, get_text, list_rows, post_command,
                    running, select_rows, wait_for, wait_gone, wait_window)

MANAGER = IDS["kPluginManagerClass"]


def record(*fields):
    return "\x01".join(fields) + "\r\n"


t = Checks()
app = Scratch("plugin_windows")
data = app.win + "\\data"
app.write("data/a.tmp", "a" * 1000)
app.write("data/b.tmp", "b" * 536)
app.write("data/keep.txt", "stays")
app.write("Plugins/a.qvp", record("D", "A"))
app.write("Plugins/e2e.qvp", record("D", "e2e") + record("F", "No", "No", data + "\\*.tmp"))
app.write("plg.txt", record("1", "a.qvp", "A") + record("0", "e2e.qvp", "e2e"))

with running(app, t):
    post_command(MAIN_CLASS, IDS["kCmdManagePlugins"])
    t.check(wait_window(MANAGER), "Plugins > Manage opens the manager")
    rows = list_rows(MANAGER, IDS["kManagerList"])
    t.check(rows == [("1", ["a.qvp", "A"]), ("0", ["e2e.qvp", "e2e"])], f"the list: {rows}")
    select_rows(MANAGER, IDS["kManagerList"], 1)
    post_command(MANAGER, IDS["kCmdPluginProcess"])
    done = "Processed selected plugin(s) Total Files Deleted:  2  none none  1.5  KB"
    t.check(wait_for(lambda: get_text(MANAGER, IDS["kManagerStatus"]) == done, 60),
            f"Process reports: {get_text(MANAGER, IDS['kManagerStatus'])!r}")
    left = sorted(os.listdir(app.path("data")))
    t.check(left == ["keep.txt"], f"exactly the named files are gone: {left}")
    post_command(MANAGER, IDS["kCmdPluginClose"])
    t.check(wait_gone(MANAGER), "the manager closes")
    t.check(app.read("plg.txt") == b"1\x01a.qvp\x01A\r\n0\x01e2e.qvp\x01e2e\r\n", "plg.txt is written")
t.finish()
