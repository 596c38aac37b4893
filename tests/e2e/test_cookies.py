"""The Cookies category in a hidden run with a ck.txt that keeps one cookie: every other
cookie file of the Cookies folder and its subfolders goes; the kept one and files that are no
cookie files stay."""

import os
import shutil

from e2elib import Checks, Scratch, unix_path
from e2e_categories import reg_key, run_hidden

SHELL_FOLDERS = ("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
                 "Shell Folders")

t = Checks()
app = Scratch("cookies")
values, _ = reg_key(SHELL_FOLDERS)
folder = values["Cookies"].rstrip("\\")
unix_folder = unix_path(folder)
os.makedirs(unix_folder, exist_ok=True)
saved = os.path.join(os.path.dirname(app.unix), "cookies-saved")
shutil.rmtree(saved, ignore_errors=True)
shutil.copytree(unix_folder, saved)  # what the prefix had, put back at the end
for name in os.listdir(unix_folder):
    p = os.path.join(unix_folder, name)
    shutil.rmtree(p) if os.path.isdir(p) else os.remove(p)

files = {
    "user@kept.example.txt": b"kept=1\n",
    "user@one.example.txt": b"one=1\n" * 10,
    "user@two.example.txt": b"two=1\n",
    "Deep\\user@three.example.txt": b"three=1\n",
    "index.dat": b"not a cookie file",
}
for rel, data in files.items():
    p = os.path.join(unix_folder, *rel.split("\\"))
    os.makedirs(os.path.dirname(p), exist_ok=True)
    with open(p, "wb") as f:
        f.write(data)

# The kept cookie's folder and name, in another case, then the character 1 and the line end.
app.write("ck.txt", (folder + "\\").upper() + "USER@KEPT.EXAMPLE.TXT" + "\x01\r\n")

code = run_hidden(app, ["chkCookies"])
t.check(code == 0, f"the hidden run ended by itself (exit {code})")


def present(rel):
    return os.path.exists(os.path.join(unix_folder, *rel.split("\\")))


t.check(present("user@kept.example.txt"), "the kept cookie stays")
for rel in ("user@one.example.txt", "user@two.example.txt", "Deep\\user@three.example.txt"):
    t.check(not present(rel), f"{rel} is gone")
t.check(present("index.dat"), "a file that is no cookie file stays")
t.check(present("Deep"), "the folders of the Cookies folder stay")

shutil.rmtree(unix_folder)
shutil.copytree(saved, unix_folder)
shutil.rmtree(saved)
t.finish()
