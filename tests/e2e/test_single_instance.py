"""A second start brings the running instance's window to the front, restored, and ends by
itself without touching a file; its switch starts nothing."""

import time

from e2elib import MAIN_CLASS, Checks, Scratch, tool, wait_for, wait_window

t = Checks()
app = Scratch("single_instance")
first = app.start()
try:
    t.check(wait_window(MAIN_CLASS), "first instance shows its window")
    tool("minimize", MAIN_CLASS)
    t.check(wait_for(lambda: "iconic=1" in tool("state", MAIN_CLASS).stdout, 15),
            "minimised before the second start")
    time.sleep(0.5)
    before = app.snapshot()

    second = app.start("-c")
    t.check(wait_for(lambda: second.poll() is not None, 20) and second.returncode == 0,
            f"second instance ended by itself (exit {second.poll()})")
    if second.poll() is None:
        second.kill()

    # The window manager of the display may take a moment to carry out the restore.
    restored = "iconic=0 visible=1 foreground=1"
    t.check(wait_for(lambda: restored in tool("state", MAIN_CLASS).stdout, 15),
            "first window restored, shown and in front: " + tool("state", MAIN_CLASS).stdout)
    t.check(first.poll() is None, "first instance still runs")
    time.sleep(0.5)
    t.check(app.snapshot() == before, "no file beside the executable changed")
finally:
    tool("close", MAIN_CLASS)
    if not wait_for(lambda: first.poll() is not None, 20):
        first.kill()
t.check(first.returncode == 0, "first instance ended on close")
t.check(wait_for(lambda: app.snapshot().get("chkItems.txt") is not None, 5),
        "the first instance saved its check states on close")
t.finish()
