"""Dates under regional settings set in the prefix's registry (put back at the end): the hidden
run's unnecessary-files scan honours a srch.txt date window written in the region's short
dates, deleting the files of the days after From up to To and keeping the others, and writes
the last-cleaned date in the region's format. A window that cannot be read deletes nothing."""

import os
import re
import time

from e2e_categories import reg_key, run_hidden, values_kept
from e2elib import PREFIX, Checks, Scratch, record, scratch_drive, wine

t = Checks()
app = Scratch("regional_dates")
drive = app.path("drive")
os.makedirs(drive)
app.write("UNFI.txt", record("1", "*.tmp", "Temporary files"))
INTL_KEY = "HKCU\\Control Panel\\International"
INTL_VALUES = ("sShortDate", "sTimeFormat", "s1159", "s2359")

GERMAN = ("dd.MM.yyyy", "HH:mm:ss", "", "")
# (sShortDate, sTimeFormat, s1159, s2359), the date line, the March days deleted (a file of
# each of 1 to 4 March), the last-cleaned date's shape
CASES = [
    (GERMAN, "1 01.03.2024 03.03.2024", [2, 3], r"\d\d\.\d\d\.\d{4}( \d\d:\d\d:\d\d)?"),
    (("dd/MM/yyyy", "HH:mm:ss", "am", "pm"), "1 01/03/2024 03/03/2024", [2, 3],
     r"\d\d/\d\d/\d{4}( \d\d:\d\d:\d\d)?"),
    (("yyyy/MM/dd", "H:mm:ss", "AM", "PM"), "1 2024/03/01 2024/03/03", [2, 3],
     r"\d{4}/\d\d/\d\d( \d{1,2}:\d\d:\d\d)?"),
    # The British text, read as 3 January to 3 March.
    (("M/d/yyyy", "h:mm:ss tt", "AM", "PM"), "1 01/03/2024 03/03/2024", [1, 2, 3],
     r"\d{1,2}/\d{1,2}/\d{4}( \d{1,2}:\d\d:\d\d [AP]M)?"),
    (GERMAN, "1 01.03.2024 garbage", [], None),
    (GERMAN, "garbage", [], None),
]

before = reg_key(INTL_KEY)[0]
with values_kept(INTL_KEY, *INTL_VALUES):
    with scratch_drive("P", drive) as link:
        if not t.check(link is not None, "drive P: of the prefix is free"):
            t.finish()
        for settings, line, deleted, shape in CASES:
            what = f"{settings[0]} '{line}'"
            for value, data in zip(INTL_VALUES, settings):
                wine(["reg", "add", INTL_KEY, "/v", value, "/d", data, "/f"], check=True)
            for day in range(1, 5):
                noon = time.mktime((2024, 3, day, 12, 0, 0, 0, 0, -1))
                os.utime(app.write(f"drive/mar{day}.tmp", "x"), (noon, noon))
            app.write("srch.txt", f" P: Hard drive\r\n0 0\r\n{line}\r\n0 False False False 1000\r\n"
                      "0 0 0\r\n")
            app.write("settings.ini", "")
            code = run_hidden(app, ["chkUnNecessaryFiles"], timeout=60)
            t.check(code == 0, f"{what}: the program ended by itself (exit {code})")
            for day in range(1, 5):
                gone = not os.path.exists(app.path("drive", f"mar{day}.tmp"))
                t.check(gone == (day in deleted), f"{what}: the file of {day} March "
                        f"{'deleted' if day in deleted else 'kept'}")
            stamp = re.search(r"LastCleaned=(.*)\r\n", app.read("settings.ini").decode("utf-8"))
            t.check(stamp is not None, f"{what}: last-cleaned date written")
            if stamp and shape:
                t.check(re.fullmatch(shape, stamp.group(1)) is not None,
                        f"{what}: last-cleaned date '{stamp.group(1)}' in the region's format")
t.check(reg_key(INTL_KEY)[0] == before, "the regional settings are as they were")
t.check(not os.path.lexists(os.path.join(PREFIX, "dosdevices", "p:")), "drive P: removed again")
t.finish()
