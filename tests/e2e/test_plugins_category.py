"""The Plugins category in a hidden run, with a listed plug-in that reaches too far: records for
every file of the drive root or the Windows folder and for every subkey of HKEY_CURRENT_USER
change nothing; an unchecked plug-in does not run, and a checked one listed after them shows
that the run went past them. What each kind of record takes is tried in-process
(tests/plugins/engine_test.cpp, with the checked and unchecked plug-ins of the category in
tests/cleaner/system/categories_system_test.cpp)."""

import os

from e2elib import Checks, Scratch, unix_path
from e2e_categories import reg_delete, reg_import, reg_key, run_hidden

HKCU = "HKEY_CURRENT_USER\\"


def record(*fields):
    return "\x01".join(fields) + "\r\n"


t = Checks()
app = Scratch("plugins_category")
probe = app.win + "\\probe"
app.write("probe/probe.tmp", "p")
app.write("probe/unchecked.log", "u")
canaries = [unix_path("C:\\glenvask-e2e-canary.txt"),
            unix_path("C:\\windows\\glenvask-e2e-canary.txt")]
for c in canaries:
    with open(c, "w") as f:
        f.write("stays")
root_before = set(os.listdir(unix_path("C:\\")))
reg_delete(HKCU + "Software\\GlenvaskE2E")
reg_import(app, [f"[{HKCU}Software\\GlenvaskE2E\\Canary]", '"alive"="1"', ""])

app.write("Plugins/dangerous.qvp", record("D", "reaches too far")
          + record("F", "No", "No", "C:\\*.*") + record("F", "Yes", "Yes", "C:\\*.*")
          + record("F", "Yes", "No", "%WINDIR%\\*.*") + record("R", "Yes", "Yes", HKCU, "")
          + record("R", "Yes", "No", "HKEY_CURRENT_USER\\\\", ""))
app.write("Plugins/off.qvp", record("D", "off") + record("F", "No", "No", probe + "\\*.*"))
app.write("Plugins/probe.qvp", record("D", "probe") + record("F", "No", "No", probe + "\\*.tmp"))
app.write("plg.txt", record("1", "dangerous.qvp", "dangerous") + record("0", "off.qvp", "off")
          + record("1", "probe.qvp", "probe"))
code = run_hidden(app, ["chkPlugins"])
t.check(code == 0, f"the hidden run ended by itself (exit {code})")
t.check(os.listdir(app.path("probe")) == ["unchecked.log"],
        "the checked plug-in after it ran, the unchecked one did not")
t.check(all(os.path.exists(c) for c in canaries), "the drive root and Windows folder keep theirs")
t.check(set(os.listdir(unix_path("C:\\"))) == root_before, "the drive root is as it was")
canary = reg_key(HKCU + "Software\\GlenvaskE2E\\Canary")
t.check(canary is not None and canary[0].get("alive") == "1", "HKEY_CURRENT_USER keeps its keys")
t.check(reg_key(HKCU + "Software\\Microsoft") is not None,
        "HKEY_CURRENT_USER\\Software\\Microsoft stays")

for c in canaries:
    os.remove(c)
reg_delete(HKCU + "Software\\GlenvaskE2E")
t.finish()
