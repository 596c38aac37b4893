"""The plug-in windows driven from another process. A plug-in written in the editor (a file
record, a registry value, a generated run of numbered keys, an INI key, and records that reach
a drive root, the Windows folder and a whole registry root) is saved byte for byte and listed
checked; a name that would leave the Plugins folder writes nothing. Process takes exactly what
the plug-in names, refuses what reaches too far and reports its totals; Delete of two of three
rows removes only their files; closing the manager writes plg.txt as the rows stand."""

import os

from e2e_categories import reg_delete, reg_import, reg_key
from e2elib import (IDS, MAIN_CLASS, Checks, Scratch, answer_message_box, canaries, click,
                    get_text, list_rows, message_box_text, post_command, record, running,
                    select_combo, select_rows, select_tab, set_text, wait_for, wait_gone,
                    wait_window)

MANAGER, EDITOR, KEYGEN = IDS["kPluginManagerClass"], IDS["kPluginEditorClass"], IDS["kKeygenClass"]
INPUT = "GlenvaskInputBox"
HKCU = "HKEY_CURRENT_USER\\"
KEY = "Software\\GlenvaskE2E\\Windows"


def save_as(name):
    """Presses Save and types the name into the program's input box."""
    click(EDITOR, IDS["kPluginSave"])
    ok = wait_window(INPUT) and set_text(INPUT, 3, name) and click(INPUT, "OK")
    return t.check(ok and wait_gone(INPUT), f"the name {name!r} is typed")


t = Checks()
app = Scratch("plugin_windows")
data = app.win + "\\data"
app.write("data/a.tmp", "a" * 1000)
app.write("data/b.tmp", "b" * 536)
app.write("data/keep.txt", "stays")
app.write("data/app.ini", "[S]\r\nk=1\r\nj=2\r\n")
kept = canaries("glenvask-e2e-plugin-canary.tmp")
app.write("Plugins/a.qvp", record("D", "A"))
app.write("Plugins/b.qvp", record("D", "B"))
app.write("plg.txt", record("1", "a.qvp", "A") + record("1", "b.qvp", "B"))
reg_delete(HKCU + "Software\\GlenvaskE2E")
reg_import(app, [f"[{HKCU}{KEY}]", '"v"="1"', '"w"="2"', ""]
           + sum(([f"[{HKCU}{KEY}\\Gen\\Key{i}]", '"g"="1"', ""] for i in range(7, 12)), [])
           + [f"[{HKCU}Software\\GlenvaskE2E\\Canary]", '"alive"="1"', ""])

with running(app, t):
    post_command(MAIN_CLASS, IDS["kCmdManagePlugins"])
    t.check(wait_window(MANAGER), "Plugins > Manage opens the manager")
    t.check(list_rows(MANAGER, IDS["kManagerList"]) ==
            [("1", ["a.qvp", "A"]), ("1", ["b.qvp", "B"])], "the listed plug-ins show checked")

    post_command(MANAGER, IDS["kCmdPluginNew"])
    t.check(wait_window(EDITOR), "New opens the editor")
    set_text(EDITOR, IDS["kPluginDescription"], "e2e plug-in")
    for path, spec in [(data, "*.tmp"), ("C:\\", "*.*"), ("%WINDIR%", "*.*")]:
        set_text(EDITOR, IDS["kPluginFilePath"], path)
        set_text(EDITOR, IDS["kPluginFileSpec"], spec)
        click(EDITOR, IDS["kPluginFilesAdd"])
    select_tab(EDITOR, IDS["kPluginTabs"], 1)
    click(EDITOR, IDS["kPluginRootBase"] + 4)  # HKEY_CURRENT_USER
    set_text(EDITOR, IDS["kPluginSubkey"], KEY)
    set_text(EDITOR, IDS["kPluginValue"], "v")
    click(EDITOR, IDS["kPluginRegistryAdd"])
    set_text(EDITOR, IDS["kPluginSubkey"], KEY + "\\Gen\\Key")
    set_text(EDITOR, IDS["kPluginValue"], "g")
    click(EDITOR, IDS["kPluginGenerateSubkeys"])
    t.check(wait_window(KEYGEN), "the key generator opens")
    select_combo(KEYGEN, IDS["kKeygenFrom"], "8")
    select_combo(KEYGEN, IDS["kKeygenTo"], "10")
    click(KEYGEN, IDS["kKeygenGenerate"])
    t.check(wait_gone(KEYGEN), "Generate closes the key generator")
    click(EDITOR, IDS["kPluginEntireSubkey"])
    set_text(EDITOR, IDS["kPluginSubkey"], "\\")  # every subkey of the root itself
    click(EDITOR, IDS["kPluginRegistryAdd"])
    select_tab(EDITOR, IDS["kPluginTabs"], 2)
    set_text(EDITOR, IDS["kPluginIniFileName"], data + "\\app.ini")
    set_text(EDITOR, IDS["kPluginIniSections"], "S")
    set_text(EDITOR, IDS["kPluginIniValues"], "k")
    click(EDITOR, IDS["kPluginIniAdd"])

    before = set(os.listdir(os.path.dirname(app.unix)))
    save_as("..\\evil")
    t.check(message_box_text() == ("The plugin name must be a file name without a folder, drive "
                                   "or device name."), "a name outside the folder is refused")
    answer_message_box("OK")
    save_as("e2e")
    plugin = app.path("Plugins", "e2e.qvp")
    t.check(wait_for(lambda: os.path.exists(plugin)), "the plug-in is saved")
    gen = HKCU + KEY + "\\Gen\\Key"
    expected = (record("D", "e2e plug-in")
                + record("F", "No", "No", data + "\\*.tmp")
                + record("F", "No", "No", "C:\\*.*")
                + record("F", "No", "No", "%WINDIR%\\*.*")
                + record("R", "No", "No", HKCU + KEY, "v")
                + "".join(record("R", "No", "No", gen + str(i), "g") for i in (8, 9, 10))
                + record("R", "Yes", "No", HKCU + "\\", "")
                + record("I", "app.ini", "S", "No", "k", data + "\\"))
    t.check(app.read("Plugins/e2e.qvp").decode() == expected,
            f"saved byte for byte: {app.read('Plugins/e2e.qvp')!r}")
    t.check(set(os.listdir(os.path.dirname(app.unix))) == before
            and not os.path.exists(app.path("evil.qvp")), "the refused name wrote nothing")
    click(EDITOR, IDS["kPluginClose"])
    t.check(wait_gone(EDITOR), "Close closes the editor")
    rows = list_rows(MANAGER, IDS["kManagerList"])
    t.check(rows is not None and rows[2:] == [("1", ["e2e.qvp", "e2e plug-in"])],
            f"the new plug-in is listed checked: {rows}")

    select_rows(MANAGER, IDS["kManagerList"], 2)
    post_command(MANAGER, IDS["kCmdPluginProcess"])
    done = "Processed selected plugin(s) Total Files Deleted:  2  none none  1.5  KB"
    t.check(wait_for(lambda: get_text(MANAGER, IDS["kManagerStatus"]) == done, 60),
            f"Process reports: {get_text(MANAGER, IDS['kManagerStatus'])!r}")
    left = sorted(os.listdir(app.path("data")))
    t.check(left == ["app.ini", "keep.txt"], f"exactly the named files are gone: {left}")
    t.check(all(os.path.exists(c) for c in kept), "the drive root and Windows folder stay")
    with open(app.path("data", "app.ini")) as f:
        t.check(f.read().split() == ["[S]", "j=2"], "the INI key is gone, the other stays")
    values = (reg_key(HKCU + KEY) or ({}, None))[0]
    t.check("v" not in values and values.get("w") == "2", f"the named value is gone: {values}")
    gens = {i: (reg_key(f"{gen}{i}") or ({}, None))[0].get("g") for i in range(7, 12)}
    t.check(gens == {7: "1", 8: None, 9: None, 10: None, 11: "1"},
            f"only the generated keys' values are gone: {gens}")
    canary = reg_key(HKCU + "Software\\GlenvaskE2E\\Canary")
    t.check(canary is not None and canary[0].get("alive") == "1",
            "the registry root keeps its keys")

    select_rows(MANAGER, IDS["kManagerList"], 0, 2)
    post_command(MANAGER, IDS["kCmdPluginDelete"])
    t.check(message_box_text() == "Are you sure you want to delete selected Plugin(s)?",
            "Delete asks first")
    answer_message_box("IDYES")
    t.check(wait_for(lambda: sorted(os.listdir(app.path("Plugins"))) == ["b.qvp"]),
            f"only the two highlighted files are gone: {os.listdir(app.path('Plugins'))}")
    click(MANAGER, IDS["kManagerClose"])
    t.check(wait_gone(MANAGER), "the manager closes")
    t.check(app.read("plg.txt").decode() == record("1", "b.qvp", "B"),
            "plg.txt holds the rows left")

for c in kept:
    os.remove(c)
reg_delete(HKCU + "Software\\GlenvaskE2E")
t.finish()
