"""A hidden run of the registry history categories and the Plugins category. The run, find,
install-from, typed-address and Office lists lose their values (the find lists their subkeys);
the keys and what is beside them stay. A plug-in whose records name every file of the drive root
or Windows folder, or every subkey of HKEY_CURRENT_USER, changes nothing; an unchecked plug-in
does not run, a checked one after them does. Each list and each kind of record is tried
in-process (tests/cleaner/system/, tests/plugins/)."""

import os

from e2elib import Checks, Scratch, canaries, record, unix_path, wine
from e2e_categories import reg_delete, reg_import, reg_key, run_hidden

HKCU = "HKEY_CURRENT_USER\\"
M = HKCU + "Software\\Microsoft\\"
EXPLORER = M + "Windows\\CurrentVersion\\Explorer\\"
LISTS = [EXPLORER + "RunMRU", M + "Internet Explorer\\TypedURLs", EXPLORER + "Doc Find Spec MRU",
         M + "Search Assistant\\ACMru", HKCU + "InstallLocationsMRU",
         M + "Office\\10.0\\Word\\Recent Files"]
GONE_SUBKEYS = M + "Search Assistant\\ACMru"
KEPT = {M + "Internet Explorer": "GlenvaskE2E", M + "Office\\10.0\\Word": "Setting",
        M + "Office\\11.0\\Word\\Recent Files": "File1",  # a version not cleaned
        HKCU + "Software\\GlenvaskE2E\\Canary": "alive"}


def cleanup():
    for key in LISTS + [M + "Office\\10.0", M + "Office\\11.0", M + "Search Assistant",
                        HKCU + "Software\\GlenvaskE2E"]:
        reg_delete(key)
    wine(["reg", "delete", M + "Internet Explorer", "/v", "GlenvaskE2E", "/f"])


t = Checks()
app = Scratch("hidden_registry")
cleanup()
reg_import(app, sum(([f"[{key}]", '"a"="C:\\\\a.doc"', '"MRUList"="a"', "", f"[{key}\\5603]",
                      '"000"="q"', ""] for key in LISTS), [])
           + sum(([f"[{key}]", f'"{name}"="stays"', ""] for key, name in KEPT.items()), []))
probe = app.win + "\\probe"
app.write("probe/probe.tmp", "p")
app.write("probe/unchecked.log", "u")
kept = canaries("glenvask-e2e-canary.txt")
root_before = set(os.listdir(unix_path("C:\\")))
app.write("Plugins/dangerous.qvp", record("D", "reaches too far")
          + record("F", "No", "No", "C:\\*.*") + record("F", "Yes", "Yes", "C:\\*.*")
          + record("F", "Yes", "No", "%WINDIR%\\*.*") + record("R", "Yes", "Yes", HKCU, "")
          + record("R", "Yes", "No", "HKEY_CURRENT_USER\\\\", ""))
app.write("Plugins/off.qvp", record("D", "off") + record("F", "No", "No", probe + "\\*.*"))
app.write("Plugins/probe.qvp", record("D", "probe") + record("F", "No", "No", probe + "\\*.tmp"))
app.write("plg.txt", record("1", "dangerous.qvp", "dangerous") + record("0", "off.qvp", "off")
          + record("1", "probe.qvp", "probe"))

code = run_hidden(app, ["chkRunMRU", "chkFindHistory", "chkInstallFrom", "chkURLHistory",
                        "chkOffice", "chkPlugins"])
t.check(code == 0, f"the hidden run ended by itself (exit {code})")
for key in LISTS:
    got = reg_key(key)
    t.check(got is not None and got[0] == {} and ("5603" in got[1]) == (key != GONE_SUBKEYS),
            f"{key} lost its values{' and subkeys' if key == GONE_SUBKEYS else ''}: {got}")
for key, name in KEPT.items():
    got = reg_key(key)
    t.check(got is not None and got[0].get(name) == "stays", f"{key} keeps {name}: {got}")
t.check(os.listdir(app.path("probe")) == ["unchecked.log"],
        "the checked plug-in after it ran, the unchecked one did not")
t.check(all(os.path.exists(c) for c in kept), "the drive root and Windows folder keep theirs")
t.check(set(os.listdir(unix_path("C:\\"))) == root_before, "the drive root is as it was")
for c in kept:
    os.remove(c)
cleanup()
t.finish()
