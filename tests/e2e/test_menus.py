"""Every menu command opens its window and the window closes again, driven from another process
by command id and window class; while a run shows its summary, no command and no picture opens
anything. About shows the program's version, and OK closes it. Select all and Delete remove every
favorite of a Favorites folder of its own (listing and Recycle Bin: tests/tools/system)."""

import os
import time

from e2elib import (IDS, MAIN_CLASS, Checks, Scratch, click, get_text, list_rows, post_command,
                    running, tool, wait_for, wait_gone, wait_window)
from e2e_categories import chk_items, favorites_folder

# Each command ("kCmd" + name) and the class of its window ("k" + name + "Class").
WINDOWS = [(IDS["kCmd" + c], IDS["k" + w + "Class"]) for c, w in (pair.split(":") for pair in """
    Options:Options ManagePlugins:PluginManager StartupPrograms:Startup Uninstall:Uninstall
    FileAssociations:FileAssoc OrphanedDlls:OrphanedDll OrphanedFilePaths:InvalidFile
    OrphanedHelpFiles:InvalidHelp OrphanedAppPaths:InvalidAppPath OrphanedActiveX:InvalidActiveX
    IeFavorites:Favorites IeCache:IeCache HelpContents:Help About:About""".split())]
FAV, FAV_LIST, FAVORITES = IDS["kFavoritesClass"], IDS["kFavoritesList"], ["a", "a.url", "L/N"]


def favorites():
    t.check(click(FAV, IDS["kFavoritesSelectAll"]) and click(FAV, IDS["kFavoritesDelete"]) and
            wait_for(lambda: list_rows(FAV, FAV_LIST) == []), "Select all, Delete: none is left")
    t.check(get_text(FAV, IDS["kFavoritesTotal"]) == "Deleted 3 favorites", "the deleted count")
    t.check(not any(os.path.exists(app.path("fav", f + ".url")) for f in FAVORITES), "all gone")


t = Checks()
app = Scratch("menus")
app.write("junk\\a.tmp", "x")
app.write("UDFO.txt", app.win + "\\junk\r\n")
app.write("chkItems.txt", chk_items("chkUserDefinedFolders"))
for f in FAVORITES:
    app.write("fav/" + f + ".url", "[InternetShortcut]\r\nURL=http://" + f + "/\r\n")

with favorites_folder(app.win + "\\fav"):
    with running(app, t):
        t.check(get_text(MAIN_CLASS, IDS["kMainVersion"]) == "6.0.0", "the main window's version")
        for command, cls in WINDOWS:
            opened = post_command(MAIN_CLASS, command) and wait_window(cls)
            t.check(opened, f"{command} opens {cls}")
            if cls == IDS["kAboutClass"]:
                shown = get_text(cls, IDS["kAboutVersion"])
                t.check(shown == "Version: 6.0.0", f"About shows the version ({shown!r})")
                click(cls, IDS["kAboutOK"])
            elif cls == FAV:
                favorites()
                click(FAV, IDS["kFavoritesClose"])
            else:
                tool("close", cls)
            t.check(wait_gone(cls), f"{cls} closes")

        # A run: its summary is open, and neither a posted command nor a picture's click opens one.
        summary = IDS["kSummaryClass"]
        t.check(post_command(MAIN_CLASS, IDS["kCmdClean"]) and wait_window(summary), "a run ends")
        for command in [c for c, _ in WINDOWS[:4] + WINDOWS[-2:]] + [
                IDS["kMainPictureStartup"], IDS["kMainPictureOptions"]]:
            post_command(MAIN_CLASS, command)
        time.sleep(1.5)
        for _, cls in WINDOWS:
            t.check(not wait_window(cls, timeout=0.2), f"no {cls} during the run")
        t.check(click(summary, IDS["kSummaryClose"]) and wait_gone(summary), "the summary closes")
t.finish()
