"""The registry history categories in a hidden run: the run, find, install-from, typed-address
and Office lists lose their values (and the find lists their subkeys); the keys themselves,
their neighbours and whatever else is stored beside them stay."""

from e2elib import Checks, Scratch, wine
from e2e_categories import reg_delete, reg_import, reg_key, run_hidden

HKCU = "HKEY_CURRENT_USER\\"
EXPLORER = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
IE = "Software\\Microsoft\\Internet Explorer\\"
OFFICE = "Software\\Microsoft\\Office\\"

# key -> values written; the lists the run empties.
LISTS = {
    EXPLORER + "RunMRU": {"a": "notepad\\1", "b": "cmd\\1", "MRUList": "ab"},
    IE + "TypedURLs": {"url1": "http://one.example/", "url2": "http://two.example/"},
    EXPLORER + "Doc Find Spec MRU": {"a": "*.doc", "MRUList": "a"},
    EXPLORER + "FindComputerMRU": {"a": "SERVER"},
    "Software\\Microsoft\\Search Assistant\\ACMru": {"x": "y"},
    "InstallLocationsMRU": {"a": "D:\\setup", "MRUList": "a"},
    OFFICE + "10.0\\Word\\Recent Files": {"File1": "C:\\a.doc", "File2": "C:\\b.doc"},
    OFFICE + "9.0\\Common\\Open Find\\Microsoft Excel\\Settings\\Save As\\File Name MRU":
        {"Value": "C:\\x.xls"},
}
# key -> (value, data) that must stay.
KEPT_VALUES = {
    EXPLORER + "RunMRU\\Sub": ("inner", "stays"),
    EXPLORER + "Doc Find Spec MRU\\Sub": ("inner", "stays"),
    IE: ("GlenvaskE2E", "stays"),
    OFFICE + "10.0\\Word": ("Setting", "stays"),
    OFFICE + "11.0\\Word\\Recent Files": ("File1", "C:\\newer.doc"),
}
# Subkeys the find category removes.
GONE_SUBKEYS = {"Software\\Microsoft\\Search Assistant\\ACMru": "5603"}


def reg_lines():
    lines = []
    for key, values in LISTS.items():
        lines.append(f"[{HKCU}{key}]")
        lines += [f'"{n}"="{d.replace(chr(92), chr(92) * 2)}"' for n, d in values.items()]
        lines.append("")
    for key, (n, d) in KEPT_VALUES.items():
        lines += [f"[{HKCU}{key}]", f'"{n}"="{d.replace(chr(92), chr(92) * 2)}"', ""]
    for key, sub in GONE_SUBKEYS.items():
        lines += [f"[{HKCU}{key}\\{sub}]", '"000"="q"', ""]
    return lines


def cleanup():
    for key in list(LISTS) + list(KEPT_VALUES) + [OFFICE + "11.0", OFFICE + "10.0", OFFICE + "9.0"]:
        reg_delete(HKCU + key)
    reg_delete(HKCU + "Software\\Microsoft\\Search Assistant")
    wine(["reg", "delete", HKCU + IE.rstrip("\\"), "/v", "GlenvaskE2E", "/f"])


t = Checks()
app = Scratch("history_categories")
cleanup()
reg_import(app, reg_lines())
for key, values in LISTS.items():
    got = reg_key(HKCU + key)
    assert got and set(got[0]) == set(values), (key, got)

code = run_hidden(app, ["chkRunMRU", "chkFindHistory", "chkInstallFrom", "chkURLHistory",
                        "chkOffice"])
t.check(code == 0, f"the hidden run ended by itself (exit {code})")

for key in LISTS:
    got = reg_key(HKCU + key)
    t.check(got is not None, f"{key} is still there")
    if got:
        t.check(got[0] == {}, f"{key} has no values left: {got[0]}")
for key, (n, d) in KEPT_VALUES.items():
    got = reg_key(HKCU + key)
    t.check(got is not None and got[0].get(n) == d, f"{key} keeps {n}: {got}")
for key, sub in GONE_SUBKEYS.items():
    got = reg_key(HKCU + key)
    t.check(got is not None and sub not in got[1], f"{key} lost its subkey {sub}: {got}")
got = reg_key(HKCU + EXPLORER + "RunMRU")
t.check(got is not None and "Sub" in got[1], f"RunMRU keeps its subkey: {got}")

cleanup()
t.finish()
