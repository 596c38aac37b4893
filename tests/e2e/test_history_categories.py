"""The registry history categories in a hidden run: the run, find, install-from, typed-address
and Office lists lose their values (the find lists their subkeys too); the keys and what is
stored beside them stay. Every list of each category is tried in-process
(tests/cleaner/system/categories_system_test.cpp)."""

from e2elib import Checks, Scratch, wine
from e2e_categories import reg_delete, reg_import, reg_key, run_hidden

M = "HKEY_CURRENT_USER\\Software\\Microsoft\\"
EXPLORER = M + "Windows\\CurrentVersion\\Explorer\\"
LISTS = [EXPLORER + "RunMRU", M + "Internet Explorer\\TypedURLs", EXPLORER + "Doc Find Spec MRU",
         M + "Search Assistant\\ACMru", "HKEY_CURRENT_USER\\InstallLocationsMRU",
         M + "Office\\10.0\\Word\\Recent Files"]
GONE_SUBKEYS = M + "Search Assistant\\ACMru"
KEPT = {M + "Internet Explorer": "GlenvaskE2E", M + "Office\\10.0\\Word": "Setting",
        M + "Office\\11.0\\Word\\Recent Files": "File1"}  # a version not cleaned


def cleanup():
    for key in LISTS + [M + "Office\\10.0", M + "Office\\11.0", M + "Search Assistant"]:
        reg_delete(key)
    wine(["reg", "delete", M + "Internet Explorer", "/v", "GlenvaskE2E", "/f"])


t = Checks()
app = Scratch("history_categories")
cleanup()
reg_import(app, sum(([f"[{key}]", '"a"="C:\\\\a.doc"', '"MRUList"="a"', "", f"[{key}\\5603]",
                      '"000"="q"', ""] for key in LISTS), [])
           + sum(([f"[{key}]", f'"{name}"="stays"', ""] for key, name in KEPT.items()), []))

code = run_hidden(app, ["chkRunMRU", "chkFindHistory", "chkInstallFrom", "chkURLHistory",
                        "chkOffice"])
t.check(code == 0, f"the hidden run ended by itself (exit {code})")
for key in LISTS:
    got = reg_key(key)
    t.check(got is not None and got[0] == {} and ("5603" in got[1]) == (key != GONE_SUBKEYS),
            f"{key} lost its values{' and subkeys' if key == GONE_SUBKEYS else ''}: {got}")
for key, name in KEPT.items():
    got = reg_key(key)
    t.check(got is not None and got[0].get(name) == "stays", f"{key} keeps {name}: {got}")
cleanup()
t.finish()
