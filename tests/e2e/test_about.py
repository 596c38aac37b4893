"""Help > About from another process: the about box shows the version the main window shows,
and OK closes it."""

from e2elib import (IDS, MAIN_CLASS, Checks, Scratch, click, get_text, post_command, wait_gone,
                    wait_window)

ABOUT = IDS["kAboutClass"]

t = Checks()
app = Scratch("about")
program = app.start()
try:
    t.check(wait_window(MAIN_CLASS), "the main window shows")
    version = get_text(MAIN_CLASS, IDS["kMainVersion"])
    t.check(bool(version), f"the main window shows a version ({version!r})")
    t.check(post_command(MAIN_CLASS, IDS["kCmdAbout"]) and wait_window(ABOUT), "About opens")
    shown = get_text(ABOUT, IDS["kAboutVersion"])
    t.check(shown == f"Version: {version}", f"it shows the version ({shown!r})")
    t.check(click(ABOUT, IDS["kAboutOK"]) and wait_gone(ABOUT), "OK closes it")
    t.check(post_command(MAIN_CLASS, IDS["kCmdExit"]), "Exit posted")
    program.wait(timeout=30)
finally:
    if program.poll() is None:
        program.kill()
t.check(program.returncode == 0, f"the program ended ({program.returncode})")
t.finish()
