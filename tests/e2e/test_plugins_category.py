"""The Plugins category in a hidden run. A listed plug-in that deletes files by wildcard, INI
keys and a section, registry values and subkeys takes exactly those; the rest of each file, key
and folder stays. A plug-in whose records reach a drive root with "*.*" or every subkey of
HKEY_CURRENT_USER changes nothing."""

import os
import shutil

from e2elib import Checks, Scratch, unix_path
from e2e_categories import reg_delete, reg_import, reg_key, run_hidden

SEP = "\x01"
HKCU = "HKEY_CURRENT_USER\\"
KEY = "Software\\GlenvaskE2E\\Plugins"


def record(*fields):
    return SEP.join(fields) + "\r\n"


def write(unix_dir, rel, body):
    p = os.path.join(unix_dir, *rel.split("\\"))
    os.makedirs(os.path.dirname(p), exist_ok=True)
    with open(p, "w", encoding="ascii", newline="") as f:
        f.write(body)


def listing(unix_dir):
    out = set()
    for dirpath, dirs, files in os.walk(unix_dir):
        for n in dirs + files:
            out.add(os.path.relpath(os.path.join(dirpath, n), unix_dir))
    return out


t = Checks()
app = Scratch("plugins_category")
data_win = "C:\\e2e\\plugins_data"
data = unix_path(data_win)
probe_win = "C:\\e2e\\plugins_probe"
probe = unix_path(probe_win)
shutil.rmtree(data, ignore_errors=True)
shutil.rmtree(probe, ignore_errors=True)
for rel, body in {
    "a.tmp": "a" * 100,
    "b.TMP": "b" * 10,
    "keep.log": "stays",
    "sub\\c.tmp": "not recursed",
    "tree\\x.txt": "x",
    "tree\\deep\\y.bin": "y",
    "tree\\deep\\deeper\\z.txt": "z",
}.items():
    write(data, rel, body)
write(data, "app.ini",
              "[Keep]\r\na=1\r\n[Drop]\r\nx=1\r\ny=2\r\n[Mixed]\r\ngone=1\r\nstays=2\r\n")

reg_delete(HKCU + "Software\\GlenvaskE2E")
reg_import(app, [
    f"[{HKCU}{KEY}]", '"gone"="1"', '"stays"="2"', '@="default stays"', "",
    f"[{HKCU}{KEY}\\Tree]", '"own"="stays"', "",
    f"[{HKCU}{KEY}\\Tree\\A\\B]", '"v"="1"', "",
    f"[{HKCU}{KEY}\\Tree\\C]", "",
    f"[{HKCU}Software\\GlenvaskE2E\\Canary]", '"alive"="1"', "",
])

good = (record("D", "takes what it names")
        + record("F", "No", "No", data_win + "\\*.tmp")
        + record("F", "Yes", "Yes", data_win + "\\tree\\*.*")
        + record("R", "No", "No", HKCU + KEY, "gone")
        + record("R", "Yes", "No", HKCU + KEY + "\\Tree", "")
        + record("I", "app.ini", "Mixed", "No", "gone", data_win + "\\")
        + record("I", "app.ini", "Drop", "Yes", "", data_win + "\\"))
app.write("Plugins/good.qvp", good)
app.write("Plugins/unchecked.qvp", record("D", "off") + record("F", "No", "No", data_win + "\\*.*"))
app.write("plg.txt", record("1", "good.qvp", "good") + record("0", "unchecked.qvp", "off"))

code = run_hidden(app, ["chkPlugins"])
t.check(code == 0, f"the hidden run ended by itself (exit {code})")

left = listing(data)
expected = {"keep.log", "sub", os.path.join("sub", "c.tmp"), "tree", "app.ini"}
t.check(left == expected, f"exactly the named files and folders are gone: {sorted(left)}")
with open(os.path.join(data, "app.ini"), encoding="ascii") as f:
    ini = f.read()
t.check("[Keep]" in ini and "a=1" in ini, f"an untouched section stays: {ini!r}")
t.check("[Drop]" not in ini and "x=1" not in ini, f"the section is gone: {ini!r}")
t.check("gone=1" not in ini and "stays=2" in ini, f"only the named key is gone: {ini!r}")
values, subkeys = reg_key(HKCU + KEY)
t.check("gone" not in values and values.get("stays") == "2", f"only the named value: {values}")
t.check(values.get("") == "default stays", f"the default value stays: {values}")
tree = reg_key(HKCU + KEY + "\\Tree")
t.check(tree is not None and tree[1] == set(), f"the key's subkeys are gone: {tree}")
t.check(tree is not None and tree[0].get("own") == "stays", f"the key and its values stay: {tree}")

# A plug-in that reaches too far: nothing at all changes. A plug-in listed after it shows that
# the run went past it.
root_canary = unix_path("C:\\glenvask-e2e-canary.txt")
with open(root_canary, "w") as f:
    f.write("stays")
root_before = set(os.listdir(unix_path("C:\\")))
data_before = listing(data)
app.write("Plugins/dangerous.qvp",
          record("D", "reaches too far")
          + record("F", "No", "No", "C:\\*.*")
          + record("F", "Yes", "Yes", "C:\\*.*")
          + record("F", "Yes", "No", "%WINDIR%\\*.*")
          + record("R", "Yes", "Yes", HKCU, "")
          + record("R", "Yes", "No", "HKEY_CURRENT_USER\\\\", ""))
app.write("Plugins/probe.qvp",
          record("D", "probe") + record("F", "No", "No", probe_win + "\\*.tmp"))
write(probe, "probe.tmp", "p")
app.write("plg.txt", record("1", "dangerous.qvp", "dangerous") + record("1", "probe.qvp", "probe"))
code = run_hidden(app, ["chkPlugins"])
t.check(code == 0, f"the second hidden run ended by itself (exit {code})")
t.check(not os.path.exists(os.path.join(probe, "probe.tmp")), "the run went past the plug-in")
t.check(os.path.exists(root_canary), "the drive root's file stays")
t.check(set(os.listdir(unix_path("C:\\"))) == root_before, "the drive root is as it was")
t.check(listing(data) == data_before, "the data folder is as it was")
canary = reg_key(HKCU + "Software\\GlenvaskE2E\\Canary")
t.check(canary is not None and canary[0].get("alive") == "1", "HKEY_CURRENT_USER keeps its keys")
t.check(reg_key(HKCU + "Software\\Microsoft") is not None,
        "HKEY_CURRENT_USER\\Software\\Microsoft stays")

os.remove(root_canary)
shutil.rmtree(data, ignore_errors=True)
shutil.rmtree(probe, ignore_errors=True)
reg_delete(HKCU + "Software\\GlenvaskE2E")
t.finish()
