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
    try:
        code = second.wait(timeout=20)
    except Exception:
        second.kill()
        code = None
    t.check(code == 0, f"second instance ended by itself (exit {code})")

    # The window manager of the display may take a moment to carry out the restore.
    wanted = ("iconic=0", "visible=1", "foreground=1")
    wait_for(lambda: all(w in tool("state", MAIN_CLASS).stdout for w in wanted), 15)
    state = tool("state", MAIN_CLASS).stdout
    for w in wanted:
        t.check(w in state, f"first window restored, shown and in front: {state.strip()}")
    t.check(first.poll() is None, "first instance still runs")
    time.sleep(0.5)
    t.check(app.snapshot() == before, "no file beside the executable changed")
finally:
    tool("close", MAIN_CLASS)
    try:
        first.wait(timeout=20)
    except Exception:
        first.kill()
t.check(first.returncode == 0, "first instance ended on close")
t.check(wait_for(lambda: app.snapshot().get("chkItems.txt") is not None, 5),
        "the first instance saved its check states on close")
t.finish()
