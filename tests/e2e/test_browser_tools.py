"""The favorites window opened from the Tools menu of the running program and driven from
another process: the favorites of a Favorites folder of its own are listed with their names,
folders and addresses, Select all and Delete send every one to the Recycle Bin. The cache viewer
is tried in-process on the prefix's URL cache (tests/tools/system/frmIECache_test.cpp)."""

import os

from e2e_categories import favorites_folder
from e2elib import (IDS, MAIN_CLASS, Checks, Scratch, click, get_text, list_rows, post_command,
                    running, wait_for, wait_gone, wait_window)

FAV = IDS["kFavoritesClass"]


def trash_count():
    files = os.path.join(os.environ["HOME"], ".local", "share", "Trash", "files")
    return len(os.listdir(files)) if os.path.isdir(files) else 0


t = Checks()
app = Scratch("browser_tools")
app.write("fav/a.url", "[InternetShortcut]\r\nURL=http://a.example/\r\n")
app.write("fav/a.url.url", "[DEFAULT]\r\nBASEURL=http://aa.example/\r\n")
app.write("fav/Links/News.url", "[InternetShortcut]\nURL=http://news.example/\n")

with favorites_folder(app.win + "\\fav"):
    with running(app, t):
        post_command(MAIN_CLASS, IDS["kCmdIeFavorites"])
        t.check(wait_window(FAV), "Favorites opens from the Tools menu")
        rows = sorted(cells for _, cells in list_rows(FAV, IDS["kFavoritesList"]) or [])
        t.check(rows == [["News", "Links", "http://news.example/"], ["a", "", "http://a.example/"],
                         ["a", "", "http://aa.example/"]], f"the favorites are listed: {rows}")
        t.check(get_text(FAV, IDS["kFavoritesTotal"]) == "Total number of Favorites: 3",
                "the total")
        before = trash_count()
        t.check(click(FAV, IDS["kFavoritesSelectAll"]) and click(FAV, IDS["kFavoritesDelete"]),
                "Select all, then Delete")
        t.check(wait_for(lambda: list_rows(FAV, IDS["kFavoritesList"]) == []), "the list empties")
        t.check(get_text(FAV, IDS["kFavoritesTotal"]) == "Deleted 3 favorites", "the deleted count")
        for rel in ("fav/a.url", "fav/a.url.url", "fav/Links/News.url"):
            t.check(not os.path.exists(app.path(*rel.split("/"))), f"{rel} is gone")
        t.check(trash_count() == before + 3, "the three are in the Recycle Bin")
        t.check(click(FAV, IDS["kFavoritesClose"]) and wait_gone(FAV), "Favorites closes")
t.finish()
