"""The registry tools of the running program, driven from another process: the shared-DLL,
invalid-file and file-association windows open by their command ids, finish their scans, list
the seeded entries that are missing (and only those), and Delete removes exactly the entries
checked or selected, which the registry then shows."""

from e2e_categories import reg_import, reg_key
from e2elib import (IDS, MAIN_CLASS, Checks, Scratch, answer_message_box, click, get_text,
                    list_rows, post_command, running, select_rows, tool, wait_for, wait_gone,
                    wait_window)

t = Checks()
app = Scratch("registry_tools")
app.write("here.dll", "x")
D = app.win
DLLS = r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\SharedDLLs"
REFS = r"HKEY_CURRENT_USER\Software\GlenvaskE2E\refs"


def reg_text(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


SEED = f"""[{DLLS}]
{reg_text(D + chr(92) + "gone.dll")}=dword:00000001
{reg_text(D + chr(92) + "here.dll")}=dword:00000002

[{REFS}]
"gone"={reg_text(D + chr(92) + "gone.exe")}
"gone2"={reg_text(D + chr(92) + "gone2.exe -a")}
"quoted"={reg_text('"' + D + chr(92) + 'gone.exe" /s')}
"here"={reg_text(D + chr(92) + "glenvask.exe -x")}
"relative"="gone.exe"

[HKEY_CLASSES_ROOT\\.glve2ea]
@="GlvE2E.Type"

[HKEY_CLASSES_ROOT\\.glve2eb]
@="GlvE2E.Type"

[HKEY_CLASSES_ROOT\\GlvE2E.Type]
@="Glv e2e files"
"""
CLEAN = f"""[-HKEY_CURRENT_USER\\Software\\GlenvaskE2E]
[-HKEY_CLASSES_ROOT\\.glve2ea]
[-HKEY_CLASSES_ROOT\\.glve2eb]
[-HKEY_CLASSES_ROOT\\GlvE2E.Type]

[{DLLS}]
{reg_text(D + chr(92) + "gone.dll")}=-
{reg_text(D + chr(92) + "here.dll")}=-
"""


def has(key, value=None):
    shown = reg_key(key)
    return shown is not None and (value is None or value in shown[0])


def scanned(cls, status_id, ending):
    t.check(wait_window(cls), f"{cls} shows")
    return t.check(wait_for(lambda: (get_text(cls, status_id) or "").endswith(ending), 60),
                   f"{cls}: the scan ends ({get_text(cls, status_id)!r})")


def rows_of(cls, list_id, column, mark):
    return [(i, check, cells) for i, (check, cells) in enumerate(list_rows(cls, list_id) or [])
            if mark in cells[column]]


reg_import(app, SEED.splitlines())
try:
    with running(app, t):
        DLL = IDS["kOrphanedDllClass"]
        post_command(MAIN_CLASS, IDS["kCmdOrphanedDlls"])
        if scanned(DLL, IDS["kDllStatus"], "with zero usage count"):
            mine = [(check, cells) for _, check, cells in rows_of(DLL, IDS["kDllList"], 1, D)]
            t.check(mine == [("1", ["1", D + "\\gone.dll"]), ("0", ["2", D + "\\here.dll"])],
                    f"the missing library first and checked: {mine}")
            click(DLL, IDS["kDllDelete"])
            t.check(wait_for(lambda: len(rows_of(DLL, IDS["kDllList"], 1, D)) == 1),
                    "its row goes")
            t.check(not has(DLLS, D + "\\gone.dll") and has(DLLS, D + "\\here.dll"),
                    "the checked value is deleted, the other stays")
            click(DLL, IDS["kDllClose"])
            t.check(wait_gone(DLL), "the shared-DLL window closes")

        FILES = IDS["kInvalidFileClass"]
        post_command(MAIN_CLASS, IDS["kCmdOrphanedFilePaths"])
        if scanned(FILES, IDS["kInvalidFileStatus"], "invalid references"):
            mine = rows_of(FILES, IDS["kInvalidFileList"], 0, "GlenvaskE2E")
            t.check([(c, cells[1]) for _, c, cells in mine] ==
                    [("0", "gone"), ("0", "gone2"), ("0", "quoted")],
                    f"the missing files are listed, clear: {mine}")
            gone = [i for i, _, cells in mine if cells[1] == "gone"]
            t.check(gone and tool("toggle-rows", FILES, IDS["kInvalidFileList"], gone[0])
                    .returncode == 0, "the row is checked")
            t.check(wait_for(lambda: rows_of(FILES, IDS["kInvalidFileList"], 1, "gone")[0][1]
                             == "1"), "its box shows checked")
            click(FILES, IDS["kInvalidFileDelete"])
            t.check(wait_for(lambda: len(rows_of(FILES, IDS["kInvalidFileList"], 0,
                                                 "GlenvaskE2E")) == 2), "its row goes")
            t.check(not has(REFS, "gone") and all(has(REFS, v) for v in
                                                   ("gone2", "quoted", "here", "relative")),
                    "only the checked value is deleted")
            click(FILES, IDS["kInvalidFileClose"])
            t.check(wait_gone(FILES), "the invalid-file window closes")

        ASSOC = IDS["kFileAssocClass"]
        post_command(MAIN_CLASS, IDS["kCmdFileAssociations"])
        if scanned(ASSOC, IDS["kFileAssocStatus"], "registered file extensions"):
            mine = rows_of(ASSOC, IDS["kFileAssocList"], 0, ".glve2e")
            t.check([cells for _, _, cells in mine] == [[".glve2ea", "Glv e2e files"],
                                                        [".glve2eb", "Glv e2e files"]],
                    f"the two extensions share a type: {mine}")
            t.check(select_rows(ASSOC, IDS["kFileAssocList"], mine[0][0]), "the first is selected")
            click(ASSOC, IDS["kFileAssocDelete"])
            t.check(answer_message_box("IDYES"), "the question is answered Yes")
            t.check(wait_for(lambda: len(rows_of(ASSOC, IDS["kFileAssocList"], 0, ".glve2e"))
                             == 1), "its row goes")
            t.check(not has(r"HKEY_CLASSES_ROOT\.glve2ea") and has(r"HKEY_CLASSES_ROOT\.glve2eb")
                    and has(r"HKEY_CLASSES_ROOT\GlvE2E.Type"),
                    "the extension is deleted, the type the other names stays")
            click(ASSOC, IDS["kFileAssocClose"])
            t.check(wait_gone(ASSOC), "the file-association window closes")

finally:
    reg_import(app, CLEAN.splitlines())
t.finish()
