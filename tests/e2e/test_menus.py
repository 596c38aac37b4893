"""Every menu command opens its window and the window closes again, driven from another
process by command id and window class; while a run shows its summary, no command and no
picture opens anything. The about box shows the program's version, and OK closes it."""

import time

from e2elib import (IDS, MAIN_CLASS, Checks, Scratch, click, get_text, post_command, tool,
                    wait_gone, wait_window)
from e2e_categories import chk_items

WINDOWS = [("kCmdOptions", "kOptionsClass"), ("kCmdManagePlugins", "kPluginManagerClass"),
           ("kCmdStartupPrograms", "kStartupClass"), ("kCmdUninstall", "kUninstallClass"),
           ("kCmdFileAssociations", "kFileAssocClass"), ("kCmdOrphanedDlls", "kOrphanedDllClass"),
           ("kCmdOrphanedFilePaths", "kInvalidFileClass"),
           ("kCmdOrphanedHelpFiles", "kInvalidHelpClass"),
           ("kCmdOrphanedAppPaths", "kInvalidAppPathClass"),
           ("kCmdOrphanedActiveX", "kInvalidActiveXClass"), ("kCmdIeFavorites", "kFavoritesClass"),
           ("kCmdIeCache", "kIeCacheClass"), ("kCmdHelpContents", "kHelpClass"),
           ("kCmdAbout", "kAboutClass")]

t = Checks()
app = Scratch("menus")
app.write("junk\\a.tmp", "x")
app.write("UDFO.txt", app.win + "\\junk\r\n")
app.write("chkItems.txt", chk_items("chkUserDefinedFolders"))

program = app.start()
try:
    t.check(wait_window(MAIN_CLASS), "the main window shows")
    t.check(get_text(MAIN_CLASS, IDS["kMainVersion"]) == "6.0.0", "the main window's version")
    for command, cls in WINDOWS:
        opened = post_command(MAIN_CLASS, IDS[command]) and wait_window(IDS[cls])
        t.check(opened, f"{command} opens {IDS[cls]}")
        if cls == "kAboutClass":
            shown = get_text(IDS[cls], IDS["kAboutVersion"])
            t.check(shown == "Version: 6.0.0", f"About shows the version ({shown!r})")
            click(IDS[cls], IDS["kAboutOK"])
        else:
            tool("close", IDS[cls])
        t.check(wait_gone(IDS[cls]), f"{IDS[cls]} closes")

    # A run: its summary is open, and neither a posted command nor a picture opens a window.
    summary = IDS["kSummaryClass"]
    t.check(post_command(MAIN_CLASS, IDS["kCmdClean"]) and wait_window(summary), "a run ends")
    for command, _ in WINDOWS[:4] + WINDOWS[-2:]:
        post_command(MAIN_CLASS, IDS[command])
    post_command(MAIN_CLASS, IDS["kMainPictureStartup"])  # a picture's click
    post_command(MAIN_CLASS, IDS["kMainPictureOptions"])
    time.sleep(1.5)
    for _, cls in WINDOWS:
        t.check(not wait_window(IDS[cls], timeout=0.2), f"no {IDS[cls]} during the run")
    t.check(click(summary, IDS["kSummaryClose"]) and wait_gone(summary), "the summary closes")
    t.check(post_command(MAIN_CLASS, IDS["kCmdExit"]), "Exit posted")
    program.wait(timeout=30)
finally:
    if program.poll() is None:
        program.kill()
t.check(program.returncode == 0, f"the program ended ({program.returncode})")
t.finish()
